#include "preview/servo.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

class TestServo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void zoneBitOfPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("bit");
        for (auto [p, b] : {std::pair{100, 1},
                            {124, 1},
                            {125, 2},
                            {149, 2},
                            {150, 4},
                            {174, 4},
                            {175, 8},
                            {199, 8}})
            QTest::addRow("%d", p) << p << b;
    }

    void zoneBitOfPosition()
    {
        QFETCH(int, position);
        QFETCH(int, bit);
        QCOMPARE(servoZoneBit(position), bit);
    }

    void stickUpdatesPulseWidthAndZone()
    {
        TestWindow t;
        QScrollBar* stick = t.ui().ServoStick;
        QCOMPARE(stick->value(), 150);
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1500"));
        QCOMPARE(t.window->servoZoneBit(), 4);
        QCOMPARE(stick->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(stick->singleStep(), 1);
        QCOMPARE(stick->pageStep(), 10);

        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        stick->show();
        stick->setFocus();
        for (int i = 0; i < 26; ++i)
            QTest::keyClick(stick, Qt::Key_Left);
        QCOMPARE(stick->value(), 124);
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1240"));
        QCOMPARE(t.window->servoZoneBit(), 1);
        stick->setValue(199);
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1990"));
        QCOMPARE(t.window->servoZoneBit(), 8);
    }

    void selectorsAreListsThatAlwaysHoldAMode()
    {
        TestWindow t;
        for (QComboBox* combo : t.ui().ServoControl) {
            QVERIFY(!combo->isEditable());
            QCOMPARE(combo->count(), 16);
            QCOMPARE(combo->currentIndex(), 15);
        }
    }
};

QTEST_MAIN(TestServo)
#include "tst_servo.moc"
