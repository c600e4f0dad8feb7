#include "app/layout.h"
#include "files/sequencefile.h"
#include "preview/ledshape.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QColor kGrey(0x80, 0x80, 0x80);

QList<int> greySlots(const MainControls& ui)
{
    QList<int> slots;
    for (int i = 0; i < 50; ++i)
        if (backgroundColour(ui.TimeAxis[i]) == kGrey)
            slots << i;
    return slots;
}

void setTestSpeed(TestWindow& t, int ms)
{
    t.window->settingsForm()->PCSpeedcombo->setCurrentIndex(ms - 1);
    t.window->settingsForm()->SettingsOKbutton_Click();
}

// Calls `check` right after each step has begun, for `steps` steps.
void watchSteps(TestWindow& t, int steps, const std::function<void(int slot)>& check)
{
    int seen = 0;
    auto connection = QObject::connect(t.ui().Timer1, &QTimer::timeout, [&] {
        const QList<int> grey = greySlots(t.ui());
        if (grey.size() == 1) {
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
}

} // namespace

class TestTestRun : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stepsAtTheTestSpeed()
    {
        TestWindow t;
        setTestSpeed(t, 5);
        QSignalSpy ticks(t.ui().Timer1, &QTimer::timeout);
        QElapsedTimer clock;
        clock.start();
        t.window->TestButton_Click();
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Stop Test"));
        QCOMPARE(t.ui().Timer1->interval(), 5);
        QVERIFY(t.ui().Timer1->isSingleShot());
        QCOMPARE(t.ui().Timer1->timerType(), Qt::PreciseTimer);
        QTest::qWait(300);
        const qint64 elapsed = clock.elapsed();
        QVERIFY(ticks.size() >= 10);
        QVERIFY2(ticks.size() <= elapsed / 5 + 1, qPrintable(QString::number(ticks.size())));
        stopAndWait(t);
        QVERIFY(t.ui().Settings_button->isVisible());
        QVERIFY(greySlots(t.ui()).isEmpty());
        for (LedShape* led : t.ui().LED)
            QCOMPARE(led->fillColour(), QColor(Qt::black));
    }

    void playsSlotsUpToTheLastEventAndLightsInColour()
    {
        TestWindow t;
        setTestSpeed(t, 2);
        t.window->TimeAxis_DblClick(0);
        t.window->setCell(1, 0, true);
        t.window->setCell(3, 1, true);
        clickListEntryLater(t.ui().ColorList, 1);
        t.window->LEDlabel1_Click(0);
        t.window->MENUtest_Click();
        QVERIFY(t.ui().ServoStick->isHidden()); // every mode NONE: no stick
        QVERIFY(t.ui().Settings_button->isVisible());
        watchSteps(t, 5, [&](int slot) {
            QCOMPARE(slot, 0);
            QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::red));
            QCOMPARE(t.ui().LED[2]->fillColour(), QColor(Qt::black));
        });
        stopAndWait(t);
    }

    void servoModesGateTheLeds()
    {
        TestWindow t;
        setTestSpeed(t, 2);
        for (int i = 0; i < 50; ++i) {
            t.window->setCell(1, i, true);
            t.window->setCell(2, i, true);
            t.window->setCell(3, i, true);
        }
        t.ui().ServoControl[0]->setCurrentIndex(0); // OFF
        t.ui().ServoControl[1]->setCurrentIndex(2); // zone 2 only
        t.window->MENUtest_Click();
        QVERIFY(t.ui().ServoStick->isVisible());
        QVERIFY(t.ui().ServoStick->hasFocus());
        QVERIFY(t.ui().Settings_button->isHidden());
        QVERIFY(t.ui().Label2->isVisible());
        watchSteps(t, 5, [&](int) {
            QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::black));
            QCOMPARE(t.ui().LED[1]->fillColour(), QColor(Qt::black)); // stick at 150: zone 3
            QCOMPARE(t.ui().LED[2]->fillColour(), QColor(Qt::white));
        });
        for (int position : {125, 149}) {
            t.ui().ServoStick->setValue(position);
            watchSteps(t, 2, [&](int) {
                QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::black));
                QCOMPARE(t.ui().LED[1]->fillColour(), QColor(Qt::white));
            });
        }
        stopAndWait(t);
        QVERIFY(t.ui().ServoStick->isHidden());
        QVERIFY(t.ui().Settings_button->isVisible());
    }

    void stopTakesEffectAtTheEndOfTheStep()
    {
        TestWindow t;
        setTestSpeed(t, 255);
        t.window->setCell(1, 0, true);
        t.ui().ServoControl[3]->setCurrentIndex(8);
        t.window->MENUtest_Click();
        QCOMPARE(greySlots(t.ui()), QList<int>{0});
        QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::white));
        t.window->TestButton_Click();
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Test"));
        QVERIFY(t.ui().ServoStick->isHidden());
        QVERIFY(t.ui().PulseWidth->isHidden());
        QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::white)); // until the tick
        QVERIFY(t.window->runVisible());
        QTRY_VERIFY(!t.window->runVisible());
        QCOMPARE(t.ui().LED[0]->fillColour(), QColor(Qt::black));
        QVERIFY(greySlots(t.ui()).isEmpty());
        QVERIFY(t.ui().Settings_button->isVisible());
    }

    void restartWhileStoppingShowsOneRun()
    {
        TestWindow t;
        setTestSpeed(t, 100);
        t.window->MENUtest_Click();
        t.window->MENUtest_Click(); // stop: the step goes on for up to 100 ms
        t.window->MENUtest_Click(); // start again inside that step
        QVERIFY(t.window->testRunning());
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Stop Test"));
        for (int i = 0; i < 30; ++i) {
            QTest::qWait(10);
            QVERIFY(greySlots(t.ui()).size() <= 1);
        }
        QVERIFY(t.window->testRunning());
        QCOMPARE(greySlots(t.ui()).size(), 1);
        stopAndWait(t);
        QVERIFY(greySlots(t.ui()).isEmpty());
    }

    void lastEventIsReadOncePerPass()
    {
        TestWindow t;
        setTestSpeed(t, 1);
        QList<int> shown;
        bool moved = false;
        auto connection = QObject::connect(t.ui().Timer1, &QTimer::timeout, [&] {
            const QList<int> grey = greySlots(t.ui());
            if (grey.size() != 1)
                return;
            shown << grey.first();
            if (grey.first() == 20 && !moved) {
                moved = true;
                t.window->TimeAxis_DblClick(5);
            }
        });
        t.window->MENUtest_Click();
        QTRY_VERIFY_WITH_TIMEOUT(shown.size() > 80, 10000);
        QObject::disconnect(connection);
        stopAndWait(t);
        const qsizetype at20 = shown.indexOf(20);
        QVERIFY(at20 >= 0);
        // The pass that saw the change runs on to 49; later passes run 0..5.
        QCOMPARE(shown.mid(at20, 30), [] {
            QList<int> rest;
            for (int i = 20; i <= 49; ++i)
                rest << i;
            return rest;
        }());
        QCOMPARE(shown.mid(at20 + 30, 12), QList<int>({0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5}));
    }

    void editsShowAtTheNextStep()
    {
        TestWindow t;
        setTestSpeed(t, 1);
        t.window->TimeAxis_DblClick(1);
        t.window->MENUtest_Click();
        QTest::qWait(20);
        t.window->setCell(4, 1, true);
        watchSteps(t, 4, [&](int slot) {
            QCOMPARE(t.ui().LED[3]->fillColour(),
                     slot == 1 ? QColor(Qt::white) : QColor(Qt::black));
        });
        stopAndWait(t);
    }

    void whichCommandsStopARun()
    {
        TestWindow t;
        writeFile(t.path("A.DAT"), writeSequenceFile(SequenceData{}));
        auto running = [&] { return t.window->testRunning(); };

        t.window->MENUtest_Click();
        t.platform.fileChoices << t.path("A.DAT");
        t.window->MENUmerge_Click();
        QVERIFY(running());
        t.window->MENUnew_Click();
        QVERIFY(running());
        t.platform.fileChoices << t.path("A.DAT");
        t.window->MENUopen_Click();
        QVERIFY(!running());
        stopAndWait(t);

        t.window->MENUtest_Click();
        t.window->MENUsave_Click(); // even when the dialog is cancelled
        QVERIFY(!running());
        stopAndWait(t);

        t.window->MENUtest_Click();
        t.window->MENUsettings_Click();
        QVERIFY(!running());
        t.window->settingsForm()->SettingsCancelbutton_Click();
        stopAndWait(t);
    }
};

QTEST_MAIN(TestTestRun)
#include "tst_testrun.moc"
