#include "preview/servo.h"
#include "preview/testrun.h"
#include "sequence/sequencedocument.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace {

struct Step
{
    int slot;
    LampColours lamps;
    qint64 atNs;
};

// Calls `check` for each of the next `steps` steps; `start` starts the run first.
void watchSteps(TestRun& run, int steps, const std::function<void(const Step&)>& check,
                bool start = false)
{
    int seen = 0;
    QElapsedTimer clock;
    clock.start();
    auto connection =
        QObject::connect(&run, &TestRun::stepShown, [&](int slot, const LampColours& lamps) {
            if (seen++ < steps)
                check({slot, lamps, clock.nsecsElapsed()});
        });
    if (start)
        run.toggle();
    QTRY_VERIFY_WITH_TIMEOUT(seen >= steps, 20000);
    QObject::disconnect(connection);
}

void stopAndWait(TestRun& run)
{
    QSignalSpy ended(&run, &TestRun::ended);
    run.stop();
    QTRY_COMPARE(ended.size(), 1);
    QVERIFY(!run.visible());
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Cells, colours and servo zones light the LEDs; edits show at the next step.
    void lightsByCellColourAndZone()
    {
        SequenceDocument doc;
        doc.setTiming(30, 2);
        for (int i = 0; i < 50; ++i)
            for (int led : {0, 1, 2})
                doc.setCell(led, i, true);
        doc.setColourIndex(2, 1); // LED 3 red
        doc.setServoMode(0, 0);   // OFF
        doc.setServoMode(1, 2);   // zone 2 only
        TestRun run(doc);
        QSignalSpy servo(&run, &TestRun::servoControlsShown);
        const LampColours zone3{Qt::black, Qt::black, Qt::red, Qt::black}; // stick at 150
        watchSteps(run, 3, [&](const Step& s) { QVERIFY(s.lamps == zone3); }, true);
        QCOMPARE(servo.value(0).value(0).toBool(), true);
        run.setStickPosition(125);
        doc.setCell(3, 20, true);
        watchSteps(run, 60, [&](const Step& s) {
            QCOMPARE(s.lamps[1], QColor(Qt::white));
            QCOMPARE(s.lamps[3], s.slot == 20 ? QColor(Qt::white) : QColor(Qt::black));
        });
        stopAndWait(run);
        QCOMPARE(servo.last().value(0).toBool(), false);
    }

    // A stop ends the run at the step's tick; a start inside that step shows one run.
    void stopEndsTheStepAndAQuickRestartShowsOneRun()
    {
        SequenceDocument doc;
        doc.setTiming(30, 200);
        TestRun run(doc);
        QList<int> shown, ended;
        connect(&run, &TestRun::stepShown, [&](int slot) { shown << slot; });
        connect(&run, &TestRun::stepEnded, [&](int slot) { ended << slot; });
        QSignalSpy runEnded(&run, &TestRun::ended);
        run.toggle();
        run.toggle();
        QVERIFY(!run.running());
        QVERIFY(run.visible()); // until the tick
        run.toggle();
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 5000);
        QCOMPARE(shown, QList<int>({0, 0})); // the new run starts on the old one's tick
        QCOMPARE(ended, QList<int>({0}));
        QCOMPARE(runEnded.size(), 0);
        stopAndWait(run);
    }

    // Steps never come faster than the test speed; the last event is read once per pass.
    void stepsKeepThePaceAndReadTheLastEventOncePerPass()
    {
        SequenceDocument doc;
        doc.setTiming(30, 20);
        doc.setLastEvent(7);
        TestRun run(doc);
        QList<Step> steps;
        watchSteps(
            run, 14,
            [&](const Step& s) {
                steps << s;
                if (s.slot == 3 && steps.size() < 5)
                    doc.setLastEvent(1);
            },
            true);
        stopAndWait(run);
        QList<int> slots;
        for (const Step& s : steps)
            slots << s.slot;
        QCOMPARE(slots, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 0, 1, 0, 1}));
        for (qsizetype i = 1; i < steps.size(); ++i) {
            const double ms = (steps[i].atNs - steps[i - 1].atNs) / 1e6;
            QVERIFY2(ms >= 19.0, qPrintable(QStringLiteral("step %1: %2 ms").arg(i).arg(ms)));
        }
        const double total = (steps.last().atNs - steps.first().atNs) / 1e6;
        QVERIFY2(total >= 13 * 20 - 1, qPrintable(QString::number(total)));
    }

    // Each selector entry's text shows the zones in which its LED lights: a star per zone.
    void modeTextsMatchTheirZones()
    {
        const QStringList texts{"OFF",       "|* - - -|", "|- * - -|", "|* * - -|",
                                "|- - * -|", "|* - * -|", "|- * * -|", "|* * * -|",
                                "|- - - *|", "|* - - *|", "|- * - *|", "|* * - *|",
                                "|- - * *|", "|* - * *|", "|- * * *|", "NONE"};
        QCOMPARE(servoModeTexts(), texts);
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
