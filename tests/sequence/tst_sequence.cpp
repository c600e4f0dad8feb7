#include "platform/layout.h"
#include "sequence/cellbox.h"
#include "sequence/edithistory.h"
#include "sequence/rowpatterns.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

using Edit = std::function<void(TestWindow&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

// Real input through the window system: the pressed cell keeps the mouse until release.
QPoint at(const TestWindow& t, int led, int slot)
{
    CellBox* cell = t.ui().iSwitchLedX[led - 1][slot];
    return cell->mapTo(t.window.get(), cell->rect().center());
}

// Presses on the first point, moves through the others, releases on the last.
void stroke(const TestWindow& t, const QList<QPoint>& points)
{
    QTest::mousePress(t.window->windowHandle(), Qt::LeftButton, {}, points.first());
    for (QPoint p : points.mid(1))
        QTest::mouseMove(t.window->windowHandle(), p);
    QTest::mouseRelease(t.window->windowHandle(), Qt::LeftButton, {}, points.last());
}

// From `from` to `to` in `led`'s row, `stride` slots at a time. With `again`, a click
// comes first and the press follows it at once: the system reports a double-click.
void drag(const TestWindow& t, int led, int from, int to, int stride = 1, bool again = false)
{
    if (again) {
        stroke(t, {at(t, led, from)});
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
    }
    QList<QPoint> points;
    const int step = to > from ? stride : -stride;
    for (int i = from; step > 0 ? i < to : i > to; i += step)
        points << at(t, led, i);
    stroke(t, points << at(t, led, to));
}

// Presses the options button of `row` and picks entries as the lists open.
void runRowOperation(TestWindow& t, int row, int operation, int partner = -1)
{
    clickListEntryLater(t.ui().RowOptionsList, operation);
    if (partner >= 0)
        clickListEntryLater(t.ui().CopyList, partner, 20);
    QTest::mouseClick(t.ui().RowOptions[row], Qt::LeftButton);
}

} // namespace

class TestSequence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A double-click moves the one mark; a single click does nothing; later cells stay.
    void doubleClickMovesTheRulerMark()
    {
        TestWindow t;
        t.window->setCell(1, 20, true);
        QTest::mouseClick(t.ui().TimeAxis[5], Qt::LeftButton);
        QCOMPARE(t.window->lastEventIndex(), 49);
        QTest::mouseDClick(t.ui().TimeAxis[10], Qt::LeftButton);
        QTest::mouseDClick(t.ui().TimeAxis[0], Qt::LeftButton);
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(t.ui().TimeAxis[i]->font().pointSizeF(), i == 0 ? 8.0 : 6.0);
            QCOMPARE(textColour(t.ui().TimeAxis[i]), i == 0 ? QColor(Qt::red) : QColor(Qt::black));
        }
        QCOMPARE(t.window->lastEventIndex(), 0);
        QCOMPARE(t.ui().mem[20]->text(), QStringLiteral("1"));
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
        QTest::newRow("row operation")
            << Edit([](TestWindow& t) { runRowOperation(t, 0, 0); }) << "Clear All";
        QTest::newRow("copy") << Edit([](TestWindow& t) { runRowOperation(t, 0, 4, 3); })
                              << "Copy to LED#4";
        QTest::newRow("colour") << Edit([](TestWindow& t) {
            clickListEntryLater(t.ui().ColorList, 2);
            t.window->LEDlabel1_Click(1);
        }) << "Colour of LED#2";
        QTest::newRow("servo mode")
            << Edit([](TestWindow& t) { QTest::keyClick(t.ui().ServoControl[2], Qt::Key_Up); })
            << "Servo Mode of LED#3";
        QTest::newRow("new") << Edit([](TestWindow& t) { t.window->MENUnew_Click(); })
                             << "New/Clear";
        QTest::newRow("open") << Edit([](TestWindow& t) { t.window->MENUopen_Click(); })
                              << "Open worked-example.dat";
        QTest::newRow("merge") << Edit([](TestWindow& t) { t.window->MENUmerge_Click(); })
                               << "Merge worked-example.dat";
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
        t.platform.fileChoices << goldenPath("worked-example.dat"); // for Open and Merge
        const SequenceData before = t.window->currentSequence();
        edit(t);
        const SequenceData after = t.window->currentSequence();
        QVERIFY(after != before);
        QCOMPARE(t.ui().MENUundo->text(), "&Undo " + step);
        const QString titleAfter = t.window->windowTitle();

        t.window->MENUtest_Click(); // a running test goes on through undo and redo
        auto matches = [&](const SequenceData& s) {
            QCOMPARE(t.window->currentSequence(), s);
            QVERIFY(showsItsSequence(*t.window));
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

    // The grid, the LED names and the settings lists without a mouse.
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
        drag(t, 3, from, to, stride, again);
        QCOMPARE(rowOn(*t.window, 3), on);
        QCOMPARE(t.window->dragStartSlot(), from);
        QVERIFY(showsItsSequence(*t.window));
        QCOMPARE(t.ui().iSwitchLedX[2][from]->isChecked(), startOn); // never toggled
    }

    // A press and release on one cell is a click, also after wandering off the grid and
    // back; a drag that returns to its start cell leaves it as it was; a drag into another
    // row fills it from the start slot with that row's own state there.
    void clicksAndDragsAcrossRows()
    {
        TestWindow t;
        stroke(t, {at(t, 2, 9)});
        QCOMPARE(t.ui().mem[9]->text(), QStringLiteral("2"));
        stroke(t, {at(t, 2, 9), QPoint(5, 5), at(t, 2, 9)});
        stroke(t, {at(t, 1, 20), at(t, 1, 21), at(t, 1, 20)});
        QVERIFY(rowOn(*t.window, 1).isEmpty() && rowOn(*t.window, 2).isEmpty());
        t.window->setCell(1, 3, true);
        t.window->setCell(2, 7, true); // LED 2 at the start slot is off
        stroke(t, {at(t, 1, 3), at(t, 1, 4), at(t, 2, 7)});
        QCOMPARE(rowOn(*t.window, 1), QList<int>({3, 4}));
        QVERIFY(rowOn(*t.window, 2).isEmpty());
        stroke(t, {at(t, 1, 20)});                   // the next plain click works as before
        CellBox* corner = t.ui().iSwitchLedX[3][20]; // the whole cell is clickable
        QTest::mouseClick(corner, Qt::LeftButton, {},
                          QPoint(corner->width() - 1, corner->height() - 1));
        QCOMPARE(rowOn(*t.window, 1), QList<int>({3, 4, 20}));
        QCOMPARE(t.ui().mem[20]->text(), QStringLiteral("9"));
    }

    // Slots set on, and the last slot touched: every other touched slot is set off.
    void skipPatterns_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<int>("upTo");
        const int skip1 = int(RowOperation::Skip1), skip2 = int(RowOperation::Skip2),
                  skip3 = int(RowOperation::Skip3);
        QTest::newRow("skip 1, last 49") << skip1 << 49 << range(0, 48, 2) << 49;
        QTest::newRow("skip 2, last 49") << skip2 << 49 << range(0, 45, 3) << 47;
        QTest::newRow("skip 3, last 49") << skip3 << 49 << range(0, 44, 4) << 47;
        QTest::newRow("skip 1, last 10") << skip1 << 10 << range(0, 10, 2) << 11;
        QTest::newRow("skip 2, last 10") << skip2 << 10 << QList<int>{0, 3, 6} << 8;
        QTest::newRow("skip 3, last 10") << skip3 << 10 << QList<int>{0, 4} << 7;
        QTest::newRow("skip 1, last 0") << skip1 << 0 << QList<int>{0} << 1;
        QTest::newRow("skip 2, last 1") << skip2 << 1 << QList<int>{} << -1;
        QTest::newRow("skip 3, last 2") << skip3 << 2 << QList<int>{} << -1;
        QTest::newRow("mark all, last 3") << int(RowOperation::MarkAll) << 3 << range(0, 3) << 3;
        QTest::newRow("clear all, last 3")
            << int(RowOperation::ClearAll) << 3 << QList<int>{} << 49;
    }

    void skipPatterns()
    {
        QFETCH(int, operation);
        QFETCH(int, last);
        QFETCH(QList<int>, on);
        QFETCH(int, upTo);
        QList<int> setOn, setOff;
        for (const CellAssignment& cell :
             rowOperationCells(RowOperation(operation), last, RowStates{}))
            (cell.on ? setOn : setOff) << cell.slot;
        QCOMPARE(setOn, on);
        QCOMPARE(setOn.size() + setOff.size(), upTo + 1);
        for (int slot : setOff)
            QVERIFY(slot <= upTo && !on.contains(slot));
    }

    void operationsThroughTheWindow()
    {
        TestWindow t;
        t.window->TimeAxis_DblClick(10);
        t.window->setCell(2, 30, true);
        t.window->setCell(2, 3, true);
        runRowOperation(t, 1, 2); // Toggle All: slot 30 lies past the last event
        QVERIFY(t.ui().RowOptionsList->isHidden());
        QCOMPARE(rowOn(*t.window, 2), QList<int>({0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 30}));
        runRowOperation(t, 1, 5); // Skip 1
        runRowOperation(t, 1, 8); // the empty line
        runRowOperation(t, 1, 9); // Cancel
        QCOMPARE(rowOn(*t.window, 2), range(0, 10, 2) << 30);
        QVERIFY(showsItsSequence(*t.window));
        // The list opens on Clear All, and the window stays live while it waits.
        int highlighted = -1;
        QTimer::singleShot(0, [&] {
            highlighted = t.ui().RowOptionsList->currentRow();
            QTest::mouseClick(t.ui().iSwitchLedX[0][0], Qt::LeftButton);
            clickListEntry(t.ui().RowOptionsList, highlighted);
        });
        t.window->RowOptions_Click(1);
        QCOMPARE(highlighted, 0);
        QVERIFY(rowOn(*t.window, 2).isEmpty()); // the whole row
        QCOMPARE(t.ui().mem[0]->text(), QStringLiteral("1"));
    }

    // Copies between LED 2 and LED 4 reach slots 0..10 only; the copy list keeps its entry.
    void copyFromAndTo_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("partner");
        QTest::addColumn<QList<int>>("led2");
        QTest::addColumn<QList<int>>("led4");
        const QList<int> led2{1, 20}, led4{0, 5, 40};
        QTest::newRow("LED 2 from LED 4") << 3 << 3 << QList<int>{0, 5, 20} << led4;
        QTest::newRow("LED 2 to LED 4") << 4 << 3 << led2 << QList<int>{1, 40};
        QTest::newRow("LED 2 from itself") << 3 << 1 << led2 << led4;
        QTest::newRow("empty line") << 3 << 6 << led2 << led4;
        QTest::newRow("Cancel") << 4 << 9 << led2 << led4;
    }

    void copyFromAndTo()
    {
        QFETCH(int, operation);
        QFETCH(int, partner);
        QFETCH(QList<int>, led2);
        QFETCH(QList<int>, led4);
        TestWindow t;
        t.window->TimeAxis_DblClick(10);
        for (auto [led, slot] : {std::pair{2, 1}, {2, 20}, {4, 0}, {4, 5}, {4, 40}})
            t.window->setCell(led, slot, true);
        runRowOperation(t, 1, operation, partner);
        QVERIFY(t.ui().CopyList->isHidden());
        QCOMPARE(rowOn(*t.window, 2), led2);
        QCOMPARE(rowOn(*t.window, 4), led4);
        QVERIFY(showsItsSequence(*t.window));
        QCOMPARE(t.ui().CopyList->currentRow(), partner);
    }

    // The list opens on the LED's colour; the choice recolours that LED's name only.
    void choosingAColourRecoloursTheLabel()
    {
        TestWindow t;
        QList<int> highlighted;
        for (auto [entry, colour] : {std::pair{6, QColor(0, 255, 255)}, {0, QColor(0, 0, 0)}}) {
            QTimer::singleShot(0, [&, entry] {
                highlighted << t.ui().ColorList->currentRow();
                clickListEntry(t.ui().ColorList, entry);
            });
            QTest::mouseClick(t.ui().LEDlabel1[1], Qt::LeftButton);
            QCOMPARE(textColour(t.ui().LEDlabel1[1]), colour);
            QCOMPARE(t.window->ledColourIndex(1), entry);
        }
        QCOMPARE(highlighted, QList<int>({7, 6}));
        QVERIFY(t.ui().ColorList->isHidden() && textColour(t.ui().LEDlabel1[0]) == Qt::white);
    }

    // A second label clicked while the list is open: one choice, applied inner first. The
    // row lists wait the same way.
    void secondLabelClickNestsInsideTheFirst()
    {
        TestWindow t;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] { clickListEntry(t.ui().ColorList, 2); });
            t.window->LEDlabel1_Click(2);
            QCOMPARE(t.window->ledColourIndex(2), 2);
            QCOMPARE(t.window->ledColourIndex(0), 7); // LED 1 not yet
        });
        t.window->LEDlabel1_Click(0);
        QCOMPARE(t.window->ledColourIndex(0), 2);
        QVERIFY(showsItsSequence(*t.window));
    }

    // The window opens on an empty sequence; New returns to it.
    void newReturnsToTheStartState()
    {
        TestWindow t;
        const MainControls& ui = t.ui();
        QCOMPARE(t.window->windowTitle(),
                 "GLIMMERON  -  Programmable LED Sequencer/Flasher - Rev4");
        QCOMPARE(t.window->currentSequence(), SequenceData{});
        QVERIFY(ui.TimeAxis[10]->text() == "1" && ui.ServoControl[3]->currentText() == "NONE");
        for (QWidget* hidden :
             std::initializer_list<QWidget*>{ui.DLlabel, ui.ProgressBar1, ui.ServoStick,
                                             ui.PulseWidth, t.window->settingsForm()})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QByteArray file = readFile(goldenPath("worked-example.dat"));
        file.replace("\r\n0\r\n0\r\n0\r\n0\r\n2\r\n", "\r\n9\r\n9\r\n9\r\n9\r\n2\r\n");
        writeFile(t.path("FULL.DAT"), file.replace("\r\n30\r\n20\r\n", "\r\n99\r\n42\r\n"));
        t.platform.fileChoices << t.path("FULL.DAT");
        t.window->MENUopen_Click();
        t.window->MENUtest_Click();
        t.window->MENUnew_Click();
        QCOMPARE(t.window->windowTitle(), "GLIMMERON  -  Programmable LED Sequencer/Flasher");
        SequenceData cleared; // the start state, but for entries 4..7 and the settings
        cleared.colourIndexes = {7, 7, 7, 7, 9, 9, 9, 9};
        cleared.sequencerDelay = 99;
        cleared.testSpeed = 42;
        QCOMPARE(t.window->currentSequence(), cleared);
        QVERIFY(showsItsSequence(*t.window));
        QVERIFY(t.window->testRunning() && t.platform.messageBoxes.isEmpty()); // a run goes on
        t.window->MENUnew_Click(); // again, with the mark already at 49
        QVERIFY(showsItsSequence(*t.window));
        t.window->MENUsave_Click(); // the remembered name survives New
        QCOMPARE(t.platform.fileDialogs.last().initialName, QStringLiteral("FULL.DAT"));
    }
};

QTEST_MAIN(TestSequence)
#include "tst_sequence.moc"
