#include "app/layout.h"
#include "sequence/cellbox.h"
#include "sequence/rowpatterns.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Presses the options button of `row` and picks entries as the lists open.
void runRowOperation(TestWindow& t, int row, int operation, int partner = -1)
{
    clickListEntryLater(t.ui().RowOptionsList, operation);
    if (partner >= 0)
        clickListEntryLater(t.ui().CopyList, partner, 20);
    QTest::mouseClick(t.ui().RowOptions[row], Qt::LeftButton);
}

} // namespace

class TestRowTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
        runRowOperation(t, 1, 1); // Mark All
        QVERIFY(t.ui().RowOptionsList->isHidden());
        QCOMPARE(rowOn(*t.window, 2), range(0, 10) << 30);
        runRowOperation(t, 1, 2); // Toggle All: slot 30 lies past the last event
        QCOMPARE(rowOn(*t.window, 2), QList<int>{30});
        t.window->setCell(2, 11, true);
        runRowOperation(t, 1, 5); // Skip 1: sets slot 11 off too
        QCOMPARE(rowOn(*t.window, 2), range(0, 10, 2) << 30);
        runRowOperation(t, 1, 8); // the empty line
        runRowOperation(t, 1, 9); // Cancel
        QCOMPARE(rowOn(*t.window, 2), range(0, 10, 2) << 30);
        QVERIFY(eventValuesMatchCells(*t.window));
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
        for (int i : {1, 20})
            t.window->setCell(2, i, true);
        for (int i : {0, 5, 40})
            t.window->setCell(4, i, true);
        runRowOperation(t, 1, operation, partner);
        QVERIFY(t.ui().CopyList->isHidden());
        QCOMPARE(rowOn(*t.window, 2), led2);
        QCOMPARE(rowOn(*t.window, 4), led4);
        QVERIFY(eventValuesMatchCells(*t.window));
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
        QList<int> appliedTo;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] { clickListEntry(t.ui().ColorList, 2); });
            t.window->LEDlabel1_Click(2);
            appliedTo << 3;
            QCOMPARE(t.window->ledColourIndex(0), 7); // LED 1 not yet
        });
        t.window->LEDlabel1_Click(0);
        appliedTo << 1;
        QCOMPARE(appliedTo, QList<int>({3, 1}));
        QCOMPARE(t.window->ledColourIndex(0), 2);
        QCOMPARE(textColour(t.ui().LEDlabel1[2]), QColor(0, 255, 0));
    }

    void newReturnsToTheStartState()
    {
        TestWindow t;
        QByteArray file = readFile(GOLDEN_DIR "/sequencefile/worked-example.dat");
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
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(textColour(t.ui().TimeAxis[2]), QColor(Qt::black));
        QCOMPARE(textColour(t.ui().TimeAxis[49]), QColor(Qt::red));
        QCOMPARE(textColour(t.ui().LEDlabel1[0]), QColor(Qt::white));
        QVERIFY(t.window->testRunning() && t.platform.messageBoxes.isEmpty()); // a run goes on
        t.window->MENUnew_Click(); // again, with the mark already at 49
        QCOMPARE(textColour(t.ui().TimeAxis[49]), QColor(Qt::red));
        t.window->MENUsave_Click(); // the remembered name survives New
        QCOMPARE(t.platform.fileDialogs.last().initialName, QStringLiteral("FULL.DAT"));
    }
};

QTEST_MAIN(TestRowTools)
#include "tst_rowtools.moc"
