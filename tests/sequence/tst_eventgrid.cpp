#include "app/layout.h"
#include "sequence/cellbox.h"
#include "testwindow.h"

#include "sequence/edithistory.h"
#include "settings/settingsform.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <functional>

using Edit = std::function<void(TestWindow&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

void drag(TestWindow& t, int led, int from, int to)
{
    auto at = [&](int slot) {
        CellBox* cell = t.ui().iSwitchLedX[led - 1][slot];
        return cell->mapTo(t.window.get(), cell->rect().center());
    };
    QTest::mousePress(t.window->windowHandle(), Qt::LeftButton, {}, at(from));
    QTest::mouseMove(t.window->windowHandle(), at(to));
    QTest::mouseRelease(t.window->windowHandle(), Qt::LeftButton, {}, at(to));
}

} // namespace

class TestEventGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cellsKeepTheEventValue()
    {
        TestWindow t;
        const MainControls& ui = t.ui();
        // The whole cell rectangle is clickable, not only an indicator.
        CellBox* led1 = ui.iSwitchLedX[0][0];
        QTest::mouseClick(led1, Qt::LeftButton, {}, QPoint(led1->width() - 1, led1->height() - 1));
        QTest::mouseClick(ui.iSwitchLedX[2][0], Qt::LeftButton);
        QCOMPARE(ui.mem[0]->text(), QStringLiteral("5"));
        QTest::mouseClick(led1, Qt::LeftButton);
        QCOMPARE(ui.mem[0]->text(), QStringLiteral("4"));
        for (int i = 0; i < 50; ++i) // changes made by code refresh their slot too
            t.window->setCell(4, i, true);
        t.window->setCell(2, 7, true);
        t.window->setCell(2, 7, true); // the same state again
        QCOMPARE(ui.mem[7]->text(), QStringLiteral("10"));
        QCOMPARE(ui.mem[0]->text(), QStringLiteral("12"));
        QVERIFY(eventValuesMatchCells(*t.window));
    }

    void doubleClickMovesTheRulerMark_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("last");
        QTest::newRow("to 10") << QList<int>{10} << 10;
        QTest::newRow("to 0") << QList<int>{0} << 0;
        QTest::newRow("marked label again") << QList<int>{49} << 49;
        QTest::newRow("10 then 30") << QList<int>{10, 30} << 30;
        QTest::newRow("a single click does nothing") << QList<int>{-5} << 49;
    }

    void doubleClickMovesTheRulerMark()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(int, last);
        TestWindow t;
        t.window->setCell(1, 20, true);
        for (int index : clicks) {
            if (index < 0)
                QTest::mouseClick(t.ui().TimeAxis[-index], Qt::LeftButton);
            else
                QTest::mouseDClick(t.ui().TimeAxis[index], Qt::LeftButton);
        }
        QCOMPARE(t.window->lastEventIndex(), last);
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(t.ui().TimeAxis[i]->font().pointSizeF(), i == last ? 8.0 : 6.0);
            QCOMPARE(textColour(t.ui().TimeAxis[i]),
                     i == last ? QColor(Qt::red) : QColor(Qt::black));
        }
        QCOMPARE(t.ui().mem[20]->text(), QStringLiteral("1")); // cells after the last event stay
    }

    // Every kind of edit is one step; undo brings back exactly what it changed.
    void undoAndRedoEveryEdit_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("step");
        QTest::newRow("cell") << Edit([](TestWindow& t) {
            QTest::mouseClick(t.ui().iSwitchLedX[1][4], Qt::LeftButton);
        }) << "Cell Click";
        QTest::newRow("drag") << Edit([](TestWindow& t) { drag(t, 1, 6, 11); }) << "Paint Cells";
        QTest::newRow("ruler") << Edit([](TestWindow& t) {
            QTest::mouseDClick(t.ui().TimeAxis[7], Qt::LeftButton);
        }) << "Mark Last Event";
        QTest::newRow("row operation") << Edit([](TestWindow& t) {
            clickListEntryLater(t.ui().RowOptionsList, 0);
            t.window->RowOptions_Click(0);
        }) << "Clear All";
        QTest::newRow("copy") << Edit([](TestWindow& t) {
            clickListEntryLater(t.ui().RowOptionsList, 4);
            clickListEntryLater(t.ui().CopyList, 3, 50);
            t.window->RowOptions_Click(0);
        }) << "Copy to LED#4";
        QTest::newRow("colour") << Edit([](TestWindow& t) {
            clickListEntryLater(t.ui().ColorList, 2);
            t.window->LEDlabel1_Click(1);
        }) << "Colour of LED#2";
        QTest::newRow("servo mode")
            << Edit([](TestWindow& t) { QTest::keyClick(t.ui().ServoControl[2], Qt::Key_Up); })
            << "Servo Mode of LED#3";
        QTest::newRow("new") << Edit([](TestWindow& t) { t.window->MENUnew_Click(); })
                             << "New/Clear";
        QTest::newRow("open") << Edit([](TestWindow& t) {
            t.platform.fileChoices << GOLDEN_DIR "/sequencefile/worked-example.dat";
            t.window->MENUopen_Click();
        }) << "Open worked-example.dat";
        QTest::newRow("merge") << Edit([](TestWindow& t) {
            t.platform.fileChoices << GOLDEN_DIR "/sequencefile/worked-example.dat";
            t.window->MENUmerge_Click();
        }) << "Merge worked-example.dat";
    }

    void undoAndRedoEveryEdit()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, step);
        TestWindow t;
        for (int i = 0; i < 50; i += 3)
            t.window->setCell(1, i, true);
        t.window->setCell(4, 0, true);
        t.window->history()->sync();
        const SequenceData before = t.window->currentSequence();
        edit(t);
        const SequenceData after = t.window->currentSequence();
        QVERIFY(after != before);
        QCOMPARE(t.ui().MENUundo->text(), "&Undo " + step);
        const QString titleAfter = t.window->windowTitle();

        t.window->MENUtest_Click(); // a running test goes on through undo and redo
        auto matches = [&](const SequenceData& s) {
            QCOMPARE(t.window->currentSequence(), s);
            QVERIFY(eventValuesMatchCells(*t.window));
            for (int i = 0; i < 50; ++i)
                QCOMPARE(textColour(t.ui().TimeAxis[i]) == QColor(Qt::red), i == s.lastEvent);
            for (int k = 0; k < 4; ++k)
                QCOMPARE(t.ui().LEDlabel1[k]->accessibleName().section(": ", 1),
                         t.ui().ColorList->item(s.colourIndexes[k])->text());
            QCOMPARE(t.window->settingsForm()->PCSpeedcombo->currentIndex(), s.testSpeed - 1);
            QCOMPARE(t.window->settingsForm()->PICSpeedcombo->currentIndex(), s.sequencerDelay - 1);
        };
        t.ui().MENUundo->trigger();
        matches(before);
        QCOMPARE(t.ui().MENUredo->text(), "&Redo " + step);
        QVERIFY(!t.ui().MENUundo->isEnabled());
        t.ui().MENUredo->trigger();
        matches(after);
        QVERIFY(t.window->testRunning());
        QCOMPARE(t.window->windowTitle(), titleAfter); // undo leaves files and title alone
    }

    // The grid, the LED names, the row buttons and the settings lists without a mouse.
    void keyboardEditing()
    {
        TestWindow t;
        const MainControls& ui = t.ui();
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        QWidget* first = t.window->focusWidget();
        while (!qobject_cast<CellBox*>(QApplication::focusWidget())) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != first); // the grid is in the focus chain
        }
        QCOMPARE(QApplication::focusWidget(), ui.iSwitchLedX[0][0]);
        for (Qt::Key key :
             {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), ui.iSwitchLedX[1][3]);
        QVERIFY(t.window->cellOn(2, 3));
        QCOMPARE(ui.mem[3]->text(), QStringLiteral("2"));
        QCOMPARE(ui.iSwitchLedX[1][3]->accessibleName(), QStringLiteral("LED 2, event 4, on"));
        QCOMPARE(ui.MENUundo->text(), QStringLiteral("&Undo Cell Click"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QCOMPARE(QApplication::focusWidget(), ui.iSwitchLedX[1][49]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QCOMPARE(QApplication::focusWidget(), ui.iSwitchLedX[1][0]);
        QCOMPARE(ui.iSwitchLedX[1][3]->focusPolicy(), Qt::NoFocus); // one grid stop for Tab

        ui.LEDlabel1[2]->setFocus();
        clickListEntryLater(ui.ColorList, 4);
        QTest::keyClick(ui.LEDlabel1[2], Qt::Key_Space);
        QCOMPARE(t.window->ledColourIndex(2), 4);
        ui.RowOptions[3]->setFocus();
        QVERIFY(ui.RowOptions[3]->hasFocus());
        clickListEntryLater(ui.RowOptionsList, 1);
        QTest::keyClick(ui.RowOptions[3], Qt::Key_Space);
        QCOMPARE(rowOn(*t.window, 4), range(0, 49));

        QComboBox* speed = t.window->settingsForm()->PCSpeedcombo;
        QTest::keyClicks(speed, "100");
        QCOMPARE(speed->currentIndex(), 99);
        QTest::keyClicks(speed, "7"); // no entry 1007: a new number starts

        QCOMPARE(speed->currentIndex(), 6);
    }

    void singleClickOnTheRulerDoesNothing()
    {
        TestWindow t;
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        QTest::mouseClick(t.ui().TimeAxis[5], Qt::LeftButton);
        QCOMPARE(t.window->lastEventIndex(), 49);
    }
};

QTEST_MAIN(TestEventGrid)
#include "tst_eventgrid.moc"
