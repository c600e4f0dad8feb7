#include "app/layout.h"
#include "sequence/cellbox.h"
#include "sequence/edithistory.h"
#include "settings/settingsform.h"
#include "testwindow.h"

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

// Real input through the window system: the pressed cell keeps the mouse until release.
class Pointer
{
public:
    explicit Pointer(TestWindow& t) : m_t(t), m_window(t.window->windowHandle()) {}

    QPoint at(int led, int slot) const
    {
        CellBox* cell = m_t.ui().iSwitchLedX[led - 1][slot];
        return cell->mapTo(m_t.window.get(), cell->rect().center());
    }
    // Presses on the first point, moves through the others, releases on the last.
    void stroke(const QList<QPoint>& points)
    {
        QTest::mousePress(m_window, Qt::LeftButton, {}, points.first());
        for (QPoint p : points.mid(1))
            QTest::mouseMove(m_window, p);
        QTest::mouseRelease(m_window, Qt::LeftButton, {}, points.last());
    }
    // From `from` to `to` in `led`'s row, `stride` slots at a time. With `again`, a click
    // comes first and the press follows it at once: the system reports a double-click.
    void drag(int led, int from, int to, int stride = 1, bool again = false)
    {
        if (again) {
            stroke({at(led, from)});
            QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        }
        QList<QPoint> points;
        const int step = to > from ? stride : -stride;
        for (int i = from; step > 0 ? i < to : i > to; i += step)
            points << at(led, i);
        stroke(points << at(led, to));
    }

private:
    TestWindow& m_t;
    QWindow* m_window;
};

} // namespace

class TestGrid : public QObject
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
        t.window->setCell(4, 7, true); // changes made by code refresh their slot too
        t.window->setCell(4, 7, true);
        QCOMPARE(ui.mem[7]->text(), QStringLiteral("8"));
    }

    void doubleClickMovesTheRulerMark_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("last");
        QTest::newRow("to 0") << QList<int>{0} << 0;
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
        QTest::newRow("drag") << Edit([](TestWindow& t) { Pointer(t).drag(1, 6, 11); })
                              << "Paint Cells";
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
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down,
                            Qt::Key_Space, Qt::Key_End})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), ui.iSwitchLedX[1][49]);
        QCOMPARE(ui.iSwitchLedX[1][3]->accessibleName(), QStringLiteral("LED 2, event 4, on"));

        ui.LEDlabel1[2]->setFocus();
        clickListEntryLater(ui.ColorList, 4);
        QTest::keyClick(ui.LEDlabel1[2], Qt::Key_Space);
        QCOMPARE(t.window->ledColourIndex(2), 4);
        ui.RowOptions[3]->setFocus();
        clickListEntryLater(ui.RowOptionsList, 1);
        QTest::keyClick(ui.RowOptions[3], Qt::Key_Space);
        QCOMPARE(rowOn(*t.window, 4), range(0, 49));

        QComboBox* speed = t.window->settingsForm()->PCSpeedcombo;
        QTest::keyClicks(speed, "100");
        QCOMPARE(speed->currentIndex(), 99);
        QTest::keyClicks(speed, "7"); // no entry 1007: a new number starts
        QCOMPARE(speed->currentIndex(), 6);
    }

    void paintsTheStartCellsState_data()
    {
        QTest::addColumn<bool>("startOn");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("stride");
        QTest::addColumn<bool>("again");
        QTest::addColumn<QList<int>>("on");
        QTest::newRow("right from an on cell") << true << 10 << 20 << 1 << false << range(10, 20);
        QTest::newRow("left from an off cell") << false << 20 << 10 << 1 << false << QList<int>{};
        QTest::newRow("fast right") << true << 10 << 20 << 5 << false << range(10, 20);
        QTest::newRow("fast left, off") << false << 20 << 10 << 4 << false << QList<int>{};
        QTest::newRow("press after a click, left")
            << true << 20 << 10 << 3 << true << range(10, 20);
    }

    void paintsTheStartCellsState()
    {
        QFETCH(bool, startOn);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, stride);
        QFETCH(bool, again);
        QFETCH(QList<int>, on);
        TestWindow t;
        for (int i = 11; i < 20; i += 2)
            t.window->setCell(3, i, !startOn);        // every other cell starts the other way
        t.window->setCell(3, from, startOn != again); // the click before the press toggles it
        Pointer(t).drag(3, from, to, stride, again);
        QCOMPARE(rowOn(*t.window, 3), on);
        QCOMPARE(t.window->dragStartSlot(), from);
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(t.ui().iSwitchLedX[2][from]->isChecked(), startOn); // never toggled
    }

    // A press and release on one cell is a click, also after wandering off the grid and
    // back; a drag that returns to its start cell leaves it as it was; a drag into another
    // row fills it from the start slot with that row's own state there.
    void clicksAndDragsAcrossRows()
    {
        TestWindow t;
        Pointer p(t);
        p.stroke({p.at(2, 9)});
        QCOMPARE(t.ui().mem[9]->text(), QStringLiteral("2"));
        p.stroke({p.at(2, 9), QPoint(5, 5), p.at(2, 9)});
        p.stroke({p.at(1, 20), p.at(1, 21), p.at(1, 20)});
        QVERIFY(rowOn(*t.window, 1).isEmpty() && rowOn(*t.window, 2).isEmpty());
        t.window->setCell(1, 3, true);
        t.window->setCell(2, 7, true); // LED 2 at the start slot is off
        p.stroke({p.at(1, 3), p.at(1, 4), p.at(2, 7)});
        QCOMPARE(rowOn(*t.window, 1), QList<int>({3, 4}));
        QVERIFY(rowOn(*t.window, 2).isEmpty());
        p.stroke({p.at(1, 20)}); // the next plain click works as before
        QCOMPARE(rowOn(*t.window, 1), QList<int>({3, 4, 20}));
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
