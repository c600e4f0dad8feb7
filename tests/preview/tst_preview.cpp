#include "core/servozones.h"
#include "preview/testrun.h"
#include "sequence/sequencedocument.h"

#include <QTest>
#include <functional>

namespace {

// Calls `check` with the slot, the lamps and the time of the next `steps` steps.
void watchSteps(TestRun& run, int steps,
                const std::function<void(int, const LampColours&, qint64)>& check)
{
    int seen = 0;
    QElapsedTimer clock;
    clock.start();
    auto connection =
        QObject::connect(&run, &TestRun::stepShown, [&](int slot, const LampColours& lamps) {
            if (seen++ < steps)
                check(slot, lamps, clock.nsecsElapsed());
        });
    if (!run.running())
        run.toggle();
    QTRY_VERIFY_WITH_TIMEOUT(seen >= steps, 20000);
    QObject::disconnect(connection);
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
        doc.session().applySettings(30, 2);
        for (int i = 0; i < 50; ++i)
            for (int led : {0, 1, 2})
                doc.session().clickCell(led, i, true);
        doc.session().setColour(2, 1);    // LED 3 red
        doc.session().setServoMode(0, 0); // OFF
        doc.session().setServoMode(1, 2); // zone 2 only, the second of four
        QCOMPARE(servoModeText(2), "|- * - -|");
        QCOMPARE(servoModeTip(13), "lit for pulses 1000-1240 and 1500-1990 \u00b5s");
        TestRun run(doc);
        const LampColours zone3{Qt::black, Qt::black, Qt::red, Qt::black}; // stick at 150
        watchSteps(run, 3, [&](int, const LampColours& lamps, qint64) { QVERIFY(lamps == zone3); });
        run.setStickPosition(125);
        doc.session().clickCell(3, 20, true);
        watchSteps(run, 60, [&](int slot, const LampColours& lamps, qint64) {
            QCOMPARE(lamps[1], QColor(Qt::white));
            QCOMPARE(lamps[3], slot == 20 ? QColor(Qt::white) : QColor(Qt::black));
        });
        run.toggle();
    }

    // Steps keep the device's pace; the last event counts per pass; a stop ends at the
    // step's tick, and a start inside it shows one run.
    void stepsKeepThePaceAndPassesTheirLastEvent()
    {
        SequenceDocument doc;
        doc.session().applySettings(20, 100);
        doc.session().setLastEvent(7);
        TestRun run(doc);
        run.setDeviceSpeed(true);
        QList<int> slots;
        QList<qint64> times;
        watchSteps(run, 14, [&](int slot, const LampColours&, qint64 ns) {
            slots << slot;
            times << ns;
            if (slot == 3 && slots.size() < 5)
                doc.session().setLastEvent(1);
        });
        QCOMPARE(slots, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 0, 1, 0, 1}));
        for (qsizetype i = 1; i < times.size(); ++i) // step k never before k delays
            QVERIFY2(times[i] - times[0] >= i * 20'000'000 - 1'000'000,
                     qPrintable(QString::number(i)));
        QVERIFY(times.last() - times.first() < 13 * 90'000'000); // not at the test speed

        QStringList events; // in order, from the stop on
        connect(&run, &TestRun::stepEnded, [&](int s) { events << QString("end %1").arg(s); });
        connect(&run, &TestRun::stepShown, [&](int s) { events << QString("show %1").arg(s); });
        connect(&run, &TestRun::ended, [&] { events << "ended"; });
        run.toggle();
        QVERIFY(!run.running());
        QVERIFY(run.visible()); // until the tick
        run.toggle();           // the new run starts on the old one's tick
        QTRY_VERIFY(events.size() >= 2);
        QVERIFY(events[0].startsWith("end ") && events[1] == "show 0");
        run.toggle();
        QTRY_COMPARE(events.last(), "ended");
        QCOMPARE(events.count("ended"), 1);
        QVERIFY(!run.visible());
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
