#include "app/layout.h"
#include "sequence/cellbox.h"
#include "testwindow.h"

#include <QLabel>
#include <QTest>

class TestEventGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clicksKeepTheEventValue()
    {
        TestWindow t;
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        const MainControls& ui = t.ui();
        // The whole cell rectangle is clickable, not only an indicator.
        CellBox* led1 = ui.iSwitchLedX[0][0];
        QTest::mouseClick(led1, Qt::LeftButton, {}, QPoint(led1->width() - 1, led1->height() - 1));
        QTest::mouseClick(ui.iSwitchLedX[2][0], Qt::LeftButton);
        QCOMPARE(ui.mem[0]->text(), QStringLiteral("5"));
        QTest::mouseClick(led1, Qt::LeftButton);
        QCOMPARE(ui.mem[0]->text(), QStringLiteral("4"));
        for (int k = 0; k < 4; ++k)
            QTest::mouseClick(ui.iSwitchLedX[k][49], Qt::LeftButton);
        QCOMPARE(ui.mem[49]->text(), QStringLiteral("15"));
        for (int k = 0; k < 4; ++k)
            QTest::mouseClick(ui.iSwitchLedX[k][49], Qt::LeftButton);
        QCOMPARE(ui.mem[49]->text(), QStringLiteral("0"));
    }

    void codeChangesRefreshWithoutExplicitCalls()
    {
        TestWindow t;
        for (int i = 0; i < 50; ++i)
            t.window->setCell(2, i, true);
        QCOMPARE(memTexts(*t.window), QStringList(50, QStringLiteral("2")));
        t.window->setCell(4, 7, true);
        QCOMPARE(t.ui().mem[7]->text(), QStringLiteral("10"));
        t.window->setCell(4, 7, true); // same state again: still right
        QCOMPARE(t.ui().mem[7]->text(), QStringLiteral("10"));
        QVERIFY(eventValuesMatchCells(*t.window));
    }

    void doubleClickMovesTheRulerMark_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("last");
        QTest::newRow("to 10") << QList<int>{10} << 10;
        QTest::newRow("to 0") << QList<int>{0} << 0;
        QTest::newRow("marked label again") << QList<int>{49} << 49;
        QTest::newRow("10 then 10") << QList<int>{10, 10} << 10;
        QTest::newRow("10 then 30") << QList<int>{10, 30} << 30;
    }

    void doubleClickMovesTheRulerMark()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(int, last);
        TestWindow t;
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        t.window->setCell(1, 20, true);
        for (int index : clicks)
            QTest::mouseDClick(t.ui().TimeAxis[index], Qt::LeftButton);
        QCOMPARE(t.window->lastEventIndex(), last);
        for (int i = 0; i < 50; ++i) {
            QLabel* label = t.ui().TimeAxis[i];
            const bool marked = i == last;
            QCOMPARE(label->font().pointSizeF(), marked ? 8.0 : 6.0);
            QCOMPARE(textColour(label), marked ? QColor(Qt::red) : QColor(Qt::black));
        }
        QVERIFY(t.window->cellOn(1, 20)); // slots after the last event keep their cells
        QCOMPARE(t.ui().mem[20]->text(), QStringLiteral("1"));
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
