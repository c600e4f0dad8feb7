#include "sequence/cellbox.h"
#include "testwindow.h"

#include <QLabel>
#include <QTest>
#include <QWindow>

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
    void press(int led, int slot)
    {
        QTest::mousePress(m_window, Qt::LeftButton, {}, at(led, slot));
    }
    void moveTo(int led, int slot) { QTest::mouseMove(m_window, at(led, slot)); }
    void moveToPoint(QPoint p) { QTest::mouseMove(m_window, p); }
    void release(int led, int slot)
    {
        QTest::mouseRelease(m_window, Qt::LeftButton, {}, at(led, slot));
    }
    // Presses on `from`, moves towards `to` in `led`'s row `stride` slots at a time,
    // releases on `to`. With `again`, a click comes first and the press follows it at
    // once, so the system reports the press as a double-click.
    void drag(int led, int from, int to, int stride = 1, bool again = false)
    {
        if (again) {
            press(led, from);
            release(led, from);
            QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        }
        press(led, from);
        const int step = to > from ? stride : -stride;
        for (int i = from + step; step > 0 ? i < to : i > to; i += step)
            moveTo(led, i);
        moveTo(led, to);
        release(led, to);
    }

private:
    TestWindow& m_t;
    QWindow* m_window;
};

} // namespace

class TestDragPaint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void paintsTheStartCellsState_data()
    {
        QTest::addColumn<bool>("startOn");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("stride");
        QTest::addColumn<bool>("again");
        QTest::addColumn<QList<int>>("on");
        QTest::newRow("right from an on cell") << true << 10 << 20 << 1 << false << range(10, 20);
        QTest::newRow("right from an off cell") << false << 10 << 20 << 1 << false << QList<int>{};
        QTest::newRow("left from an on cell") << true << 20 << 10 << 1 << false << range(10, 20);
        QTest::newRow("left from an off cell") << false << 20 << 10 << 1 << false << QList<int>{};
        QTest::newRow("fast right") << true << 10 << 20 << 5 << false << range(10, 20);
        QTest::newRow("fast left") << true << 20 << 10 << 5 << false << range(10, 20);
        QTest::newRow("fast left, off") << false << 20 << 10 << 4 << false << QList<int>{};
        QTest::newRow("press after a click") << true << 10 << 20 << 1 << true << range(10, 20);
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

    void paintsEachRowFromItsOwnStartSlot()
    {
        TestWindow t;
        t.window->setCell(1, 3, true);
        t.window->setCell(2, 7, true); // LED 2 at the start slot is off
        Pointer p(t);
        p.press(1, 3);
        p.moveTo(1, 4);
        p.moveTo(2, 7);
        p.release(2, 7);
        QVERIFY(!t.window->cellOn(2, 7));
        QVERIFY(t.window->cellOn(1, 4));
        QVERIFY(t.window->cellOn(1, 3));
        // The release filled LED 2 forward from slot 4 with LED 2's state at slot 3 (off).
        QVERIFY(rowOn(*t.window, 2).isEmpty());
        QVERIFY(eventValuesMatchCells(*t.window));
    }

    // A press and release on one cell is a click, also after wandering off the grid and
    // back; a drag that returns to its start cell leaves it as it was.
    void clicksAndDragsBackToTheStart()
    {
        TestWindow t;
        Pointer p(t);
        p.press(2, 9);
        p.release(2, 9);
        QCOMPARE(t.ui().mem[9]->text(), QStringLiteral("2"));
        p.press(2, 9);
        p.moveToPoint(QPoint(5, 5));
        p.moveTo(2, 9);
        p.release(2, 9);
        QVERIFY(!t.window->cellOn(2, 9));
        p.press(1, 20);
        p.moveTo(1, 21);
        p.moveTo(1, 20);
        p.release(1, 20);
        QVERIFY(!t.window->cellOn(1, 20) && !t.window->cellOn(1, 21));
        p.press(1, 20); // the next plain click works as before
        p.release(1, 20);
        QVERIFY(t.window->cellOn(1, 20));
    }
};

QTEST_MAIN(TestDragPaint)
#include "tst_dragpaint.moc"
