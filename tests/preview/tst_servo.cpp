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

    // Each selector entry's text shows the zones in which its LED lights: a star per zone.
    void modeTextsMatchTheirZones_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        const char* texts[] = {"OFF",       "|* - - -|", "|- * - -|", "|* * - -|",
                               "|- - * -|", "|* - * -|", "|- * * -|", "|* * * -|",
                               "|- - - *|", "|* - - *|", "|- * - *|", "|* * - *|",
                               "|- - * *|", "|* - * *|", "|- * * *|", "NONE"};
        for (int mode = 0; mode < 16; ++mode)
            QTest::addRow("%d", mode) << mode << QString::fromLatin1(texts[mode]);
    }

    void modeTextsMatchTheirZones()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        TestWindow t;
        for (QComboBox* selector : t.ui().ServoControl)
            QCOMPARE(selector->itemText(mode), text);
        for (int zone = 0; zone < 4; ++zone) {
            const bool star = text == "NONE" || (text != "OFF" && text[1 + 2 * zone] == '*');
            const int position = 100 + 25 * zone + 12;
            QCOMPARE(ledLit(true, servoZoneBit(position), mode), star);
            QVERIFY(!ledLit(false, servoZoneBit(position), mode));
        }
    }

    void stickUpdatesPulseWidthAndZone()
    {
        TestWindow t;
        QScrollBar* stick = t.ui().ServoStick;
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1500"));
        QCOMPARE(t.window->servoZoneBit(), 4);
        stick->show();
        stick->setFocus();
        for (int i = 0; i < 26; ++i)
            QTest::keyClick(stick, Qt::Key_Left); // towards 100
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1240"));
        QCOMPARE(t.window->servoZoneBit(), 1);
        QTest::keyClick(stick, Qt::Key_PageUp);
        QCOMPARE(stick->value(), 134);
        stick->setValue(199);
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1990"));
        QCOMPARE(t.window->servoZoneBit(), 8);
    }
};

QTEST_MAIN(TestServo)
#include "tst_servo.moc"
