#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QObject>
#include <array>

class QTimer;
class SequenceDocument;

using LampColours = std::array<QColor, 4>;

// The on-screen test run: a state machine driven by the one-shot timer `Timer1`, one
// step per tick and nothing in between. Each step reads the document afresh; the last
// event is read once per pass.
class TestRun : public QObject
{
    Q_OBJECT
public:
    explicit TestRun(SequenceDocument& document, QObject* parent = nullptr);

    // The Test command: starts a run, or stops the one in progress.
    void toggle();
    // Clears the running flag; the step on show ends at its tick, then the run.
    void stop();
    void setStickPosition(int position);
    // One event per sequencer delay, as the device plays, instead of per test speed; from
    // the next run on.
    void setDeviceSpeed(bool on) { m_deviceSpeed = on; }

    bool running() const { return m_running; }
    // A run is on show, possibly finishing its last step after a stop.
    bool visible() const { return m_visible; }
    int servoZoneBit() const { return m_zoneBit; }

Q_SIGNALS:
    void runningChanged(bool running);
    // The servo stick and its labels: shown when a run with servo response starts.
    void servoControlsShown(bool shown);
    void stepShown(int slot, const LampColours& lamps);
    void stepEnded(int slot);
    void ended();

private:
    void startRun();
    void beginStep();
    void scheduleStepEnd();
    void tick();
    void endRun();

    SequenceDocument& m_document;
    QTimer* m_timer;
    bool m_running = false;
    bool m_visible = false;
    bool m_restartPending = false;
    bool m_deviceSpeed = false;
    int m_slot = 0;
    int m_last = 0;
    int m_stickPosition;
    int m_zoneBit;
    QElapsedTimer m_clock;
    qint64 m_periodNs = 20'000'000;
    qint64 m_stepDeadlineNs = 0; // end of the current step, on m_clock
};
