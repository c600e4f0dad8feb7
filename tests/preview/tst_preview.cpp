#include "platform/layout.h"
#include "preview/ledshape.h"
#include "preview/servo.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QList<int> greySlots(const MainControls& ui)
{
    QList<int> slots;
    for (int i = 0; i < 50; ++i)
        if (backgroundColour(ui.TimeAxis[i]) == QColor(0x80, 0x80, 0x80))
            slots << i;
    return slots;
}

void setTestSpeed(TestWindow& t, int ms)
{
    t.window->settingsForm()->PCSpeedcombo->setCurrentIndex(ms - 1);
    t.window->settingsForm()->SettingsOKbutton_Click();
}

// Calls `check` with the slot shown right after each of the next `steps` steps began.
void watchSteps(TestWindow& t, int steps, const std::function<void(int slot)>& check)
{
    int seen = 0;
    auto connection = QObject::connect(t.ui().Timer1, &QTimer::timeout, [&] {
        if (const QList<int> grey = greySlots(t.ui()); grey.size() == 1 && seen < steps) {
            ++seen;
            check(grey.first());
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(seen >= steps, 10000);
    QObject::disconnect(connection);
}

void stopAndWait(TestWindow& t)
{
    if (t.window->testRunning())
        t.window->MENUtest_Click();
    QTRY_VERIFY(!t.window->runVisible());
    QVERIFY(greySlots(t.ui()).isEmpty());
    for (LedShape* led : t.ui().LED)
        QCOMPARE(led->fillColour(), QColor(Qt::black));
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Cells, colours and servo zones light the LEDs; edits show at the next step.
    void lightsByCellColourAndZone()
    {
        TestWindow t;
        setTestSpeed(t, 2);
        for (int i = 0; i < 50; ++i)
            for (int led : {1, 2, 3})
                t.window->setCell(led, i, true);
        clickListEntryLater(t.ui().ColorList, 1);
        t.window->LEDlabel1_Click(2);               // LED 3 red
        t.ui().ServoControl[0]->setCurrentIndex(0); // OFF
        t.ui().ServoControl[1]->setCurrentIndex(2); // zone 2 only
        t.window->MENUtest_Click();
        QVERIFY(t.ui().ServoStick->isVisible() && t.ui().ServoStick->hasFocus() &&
                t.ui().Settings_button->isHidden() && t.ui().Label2->isVisible());
        watchSteps(t, 3, [&](int) {
            QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::black));
            QCOMPARE(t.ui().LED[1]->fillColour(), QColor(Qt::black)); // stick at 150: zone 3
            QCOMPARE(t.ui().LED[2]->fillColour(), QColor(Qt::red));
            QCOMPARE(t.ui().LED[3]->fillColour(), QColor(Qt::black));
        });
        t.ui().ServoStick->setValue(125);
        QCOMPARE(t.ui().PulseWidth->text(), QStringLiteral("1250"));
        t.window->setCell(4, 20, true);
        watchSteps(t, 60, [&](int slot) {
            QCOMPARE(t.ui().LED[1]->fillColour(), QColor(Qt::white));
            QCOMPARE(t.ui().LED[3]->fillColour(),
                     slot == 20 ? QColor(Qt::white) : QColor(Qt::black));
        });
        stopAndWait(t);
        QVERIFY(t.ui().ServoStick->isHidden() && t.ui().Settings_button->isVisible());
    }

    void stopEndsTheStepAndAQuickRestartShowsOneRun()
    {
        TestWindow t;
        setTestSpeed(t, 200);
        t.window->setCell(1, 0, true);
        t.window->MENUtest_Click();
        t.window->TestButton_Click();
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Test"));
        QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::white)); // until the tick
        QVERIFY(t.window->runVisible());
        t.window->MENUtest_Click(); // start again inside that step
        QVERIFY(t.window->testRunning());
        for (int i = 0; i < 30; ++i) {
            QTest::qWait(10);
            QCOMPARE(greySlots(t.ui()).size(), 1);
        }
        stopAndWait(t);
    }

    // Steps never come faster than the test speed; the last event is read once per pass.
    void lastEventIsReadOncePerPass()
    {
        TestWindow t;
        setTestSpeed(t, 2);
        QList<int> shown;
        QElapsedTimer clock;
        clock.start();
        t.window->MENUtest_Click();
        watchSteps(t, 80, [&](int slot) {
            shown << slot;
            if (slot == 20 && !shown.mid(0, shown.size() - 1).contains(20))
                t.window->TimeAxis_DblClick(5);
        });
        QVERIFY2(clock.elapsed() >= 79 * 2, qPrintable(QString::number(clock.elapsed())));
        stopAndWait(t);
        const qsizetype at20 = shown.indexOf(20);
        // The pass that saw the change runs on to 49; later passes run 0..5.
        QCOMPARE(shown.mid(at20 + 29, 13), QList<int>({49, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5}));
    }

    void whichCommandsStopARun()
    {
        using M = Main_LEDFlasher_form;
        for (auto [handler, stops] : {std::pair{&M::MENUmerge_Click, false},
                                      {&M::MENUopen_Click, true},
                                      {&M::MENUsave_Click, true},
                                      {&M::MENUsettings_Click, true}}) {
            TestWindow t;
            t.ui().ServoControl[0]->setCurrentIndex(3);
            t.window->MENUtest_Click();
            if (handler == &M::MENUmerge_Click)
                t.platform.fileChoices << goldenPath("start-up.dat");
            (t.window.get()->*handler)(); // other dialogs and questions are cancelled
            QCOMPARE(t.window->testRunning(), !stops);
            QCOMPARE(t.ui().ServoStick->isVisible(), !stops);
            stopAndWait(t);
        }
    }

    // Each selector entry's text shows the zones in which its LED lights: a star per zone.
    void modeTextsMatchTheirZones()
    {
        const QStringList texts{"OFF",       "|* - - -|", "|- * - -|", "|* * - -|",
                                "|- - * -|", "|* - * -|", "|- * * -|", "|* * * -|",
                                "|- - - *|", "|* - - *|", "|- * - *|", "|* * - *|",
                                "|- - * *|", "|* - * *|", "|- * * *|", "NONE"};
        TestWindow t;
        for (QComboBox* selector : t.ui().ServoControl)
            for (int mode = 0; mode < 16; ++mode)
                QCOMPARE(selector->itemText(mode), texts[mode]);
        for (int mode = 0; mode < 16; ++mode) {
            for (int position = 100; position <= 199; ++position) { // zones of 25 from 100
                const QString& text = texts[mode];
                const int zone = (position - 100) / 25;
                const bool star = text == "NONE" || (text != "OFF" && text[1 + 2 * zone] == '*');
                QVERIFY2(ledLit(true, servoZoneBit(position), mode) == star &&
                             !ledLit(false, servoZoneBit(position), mode),
                         qPrintable(QStringLiteral("mode %1 at %2").arg(mode).arg(position)));
            }
        }
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
