#include "sequence/cellbox.h"
#include "sequence/rowpatterns.h"
#include "testwindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Slots set on and off, and the last slot touched, by a pattern.
struct Pattern
{
    QList<int> on;
    QList<int> off;
};

Pattern patternOf(RowOperation op, int last)
{
    Pattern p;
    for (const CellAssignment& cell : rowOperationCells(op, last, RowStates{}))
        (cell.on ? p.on : p.off) << cell.slot;
    return p;
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

class TestRowOperations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void skipPatterns_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<QList<int>>("off");
        auto offAfter = [](int period, int lastStart) {
            QList<int> off;
            for (int i = 0; i <= lastStart; i += period)
                for (int j = 1; j < period; ++j)
                    off << i + j;
            return off;
        };
        const int skip1 = int(RowOperation::Skip1);
        const int skip2 = int(RowOperation::Skip2);
        const int skip3 = int(RowOperation::Skip3);
        QTest::newRow("skip 1, last 49") << skip1 << 49 << range(0, 48, 2) << range(1, 49, 2);
        QTest::newRow("skip 2, last 49") << skip2 << 49 << range(0, 45, 3) << offAfter(3, 45);
        QTest::newRow("skip 3, last 49") << skip3 << 49 << range(0, 44, 4) << offAfter(4, 44);
        QTest::newRow("skip 1, last 10") << skip1 << 10 << range(0, 10, 2) << range(1, 11, 2);
        QTest::newRow("skip 2, last 10")
            << skip2 << 10 << QList<int>{0, 3, 6} << QList<int>{1, 2, 4, 5, 7, 8};
        QTest::newRow("skip 3, last 10")
            << skip3 << 10 << QList<int>{0, 4} << QList<int>{1, 2, 3, 5, 6, 7};
        QTest::newRow("skip 1, last 1") << skip1 << 1 << QList<int>{0} << QList<int>{1};
        QTest::newRow("skip 2, last 1") << skip2 << 1 << QList<int>{} << QList<int>{};
        QTest::newRow("skip 3, last 1") << skip3 << 1 << QList<int>{} << QList<int>{};
        QTest::newRow("skip 3, last 2") << skip3 << 2 << QList<int>{} << QList<int>{};
        QTest::newRow("skip 1, last 0") << skip1 << 0 << QList<int>{0} << QList<int>{1};
        QTest::newRow("skip 2, last 0") << skip2 << 0 << QList<int>{} << QList<int>{};
    }

    void skipPatterns()
    {
        QFETCH(int, operation);
        QFETCH(int, last);
        QFETCH(QList<int>, on);
        QFETCH(QList<int>, off);
        const Pattern p = patternOf(RowOperation(operation), last);
        QCOMPARE(p.on, on);
        QCOMPARE(p.off, off);
    }

    void wholeRowBounds()
    {
        QCOMPARE(patternOf(RowOperation::ClearAll, 3).off, range(0, 49)); // past the last event
        QCOMPARE(patternOf(RowOperation::MarkAll, 3).on, range(0, 3));
        RowStates states{};
        states[1] = true;
        QCOMPARE(rowOperationCells(RowOperation::ToggleAll, 2, states),
                 QList<CellAssignment>({{0, true}, {1, false}, {2, true}}));
        QVERIFY(rowOperationCells(RowOperation::Empty, 49, states).isEmpty());
        QVERIFY(rowOperationCells(RowOperation::Cancel, 49, states).isEmpty());
    }

    void operationsThroughTheWindow()
    {
        TestWindow t;
        t.window->TimeAxis_DblClick(10);
        t.window->setCell(2, 30, true);
        QVERIFY(t.ui().RowOptionsList->isHidden());

        runRowOperation(t, 1, 1); // Mark All
        QVERIFY(t.ui().RowOptionsList->isHidden());
        QCOMPARE(rowOn(*t.window, 2), range(0, 10) << 30);
        runRowOperation(t, 1, 2); // Toggle All: slot 30 lies past the last event
        QCOMPARE(rowOn(*t.window, 2), QList<int>{30});
        runRowOperation(t, 1, 5); // Skip 1: sets slot 11 off too
        t.window->setCell(2, 11, true);
        runRowOperation(t, 1, 5);
        QCOMPARE(rowOn(*t.window, 2), range(0, 10, 2) << 30);
        QVERIFY(eventValuesMatchCells(*t.window));
        runRowOperation(t, 1, 8); // the empty line
        runRowOperation(t, 1, 9); // Cancel
        QCOMPARE(rowOn(*t.window, 2), range(0, 10, 2) << 30);
        runRowOperation(t, 1, 0); // Clear All: the whole row
        QVERIFY(rowOn(*t.window, 2).isEmpty());
        QVERIFY(eventValuesMatchCells(*t.window));
    }

    void listOpensOnClearAll()
    {
        TestWindow t;
        t.window->setCell(3, 45, true);
        int highlighted = -1;
        QTimer::singleShot(0, [&] {
            highlighted = t.ui().RowOptionsList->currentRow();
            clickListEntry(t.ui().RowOptionsList, highlighted);
        });
        t.window->RowOptions_Click(2);
        QCOMPARE(highlighted, 0);
        QVERIFY(rowOn(*t.window, 3).isEmpty());
    }

    void copyFromAndTo_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("partner");
        QTest::addColumn<QList<int>>("led2");
        QTest::addColumn<QList<int>>("led4");
        const QList<int> led2{1, 20};
        const QList<int> led4{0, 5, 40};
        QTest::newRow("LED 2 from LED 4") << 1 << 3 << 3 << QList<int>{0, 5, 20} << led4;
        QTest::newRow("LED 2 to LED 4") << 1 << 4 << 3 << led2 << QList<int>{1, 40};
        QTest::newRow("LED 2 from itself") << 1 << 3 << 1 << led2 << led4;
        QTest::newRow("LED 4 to itself") << 3 << 4 << 3 << led2 << led4;
        QTest::newRow("empty line") << 1 << 3 << 6 << led2 << led4;
        QTest::newRow("Cancel") << 1 << 4 << 9 << led2 << led4;
    }

    void copyFromAndTo()
    {
        QFETCH(int, row);
        QFETCH(int, operation);
        QFETCH(int, partner);
        QFETCH(QList<int>, led2);
        QFETCH(QList<int>, led4);
        TestWindow t;
        t.window->TimeAxis_DblClick(10); // copies reach slots 0..10 only
        for (int i : {1, 20})
            t.window->setCell(2, i, true);
        for (int i : {0, 5, 40})
            t.window->setCell(4, i, true);
        runRowOperation(t, row, operation, partner);
        QVERIFY(t.ui().CopyList->isHidden());
        QCOMPARE(rowOn(*t.window, 2), led2);
        QCOMPARE(rowOn(*t.window, 4), led4);
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(t.ui().CopyList->currentRow(), partner); // kept for the next time
    }

    void nestedRowHandlersShareOneChoice()
    {
        TestWindow t;
        // Row 1's list is open when row 3's button is pressed; one click ends both waits,
        // the inner (row 3) first.
        QList<int> order;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                order << 3;
                clickListEntry(t.ui().RowOptionsList, 1);
            });
            t.window->RowOptions_Click(2);
            order << 31; // row 3's operation has been applied
            QCOMPARE(rowOn(*t.window, 3), range(0, 49));
            QVERIFY(rowOn(*t.window, 1).isEmpty());
        });
        t.window->RowOptions_Click(0);
        order << 11;
        QCOMPARE(order, QList<int>({3, 31, 11}));
        QCOMPARE(rowOn(*t.window, 1), range(0, 49));
        QCOMPARE(rowOn(*t.window, 3), range(0, 49));
    }

    void windowStaysLiveWhileAListIsOpen()
    {
        TestWindow t;
        QTimer::singleShot(0, [&] {
            QTest::mouseClick(t.ui().iSwitchLedX[0][0], Qt::LeftButton);
            t.window->TimeAxis_DblClick(3); // read when the operation is applied
            clickListEntry(t.ui().RowOptionsList, 1);
        });
        t.window->RowOptions_Click(1);
        QCOMPARE(t.ui().mem[0]->text(), QStringLiteral("3"));
        QCOMPARE(rowOn(*t.window, 2), range(0, 3));
    }
};

QTEST_MAIN(TestRowOperations)
#include "tst_rowoperations.moc"
