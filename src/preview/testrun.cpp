#include "preview/testrun.h"

#include "core/servozones.h"
#include "core/teststep.h"
#include "platform/qtconvert.h"
#include "sequence/sequencedocument.h"

#include <QTimer>

TestRun::TestRun(SequenceDocument& document, QObject* parent)
    : QObject(parent), m_document(document), m_timer(new QTimer(this)),
      m_stickPosition(kServoStickStart), m_zoneBit(::servoZoneBit(kServoStickStart))
{
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &TestRun::tick);
}

void TestRun::toggle()
{
    bool servoResponse = false;
    for (int led = 0; led < 4; ++led)
        servoResponse = servoResponse || m_document.servoMode(led) < kServoModeNone;
    if (servoResponse)
        Q_EMIT servoControlsShown(true);
    if (m_running) {
        stop();
        return;
    }
    m_running = true;
    Q_EMIT runningChanged(true);
    m_periodNs =
        qint64(m_deviceSpeed ? m_document.sequencerDelay() : m_document.testSpeed()) * 1'000'000;
    m_zoneBit = ::servoZoneBit(m_stickPosition);
    if (m_visible) {
        // A stopped run is still showing its last step: the new one follows on its tick,
        // so only one run is ever visible.
        m_restartPending = true;
        return;
    }
    startRun();
}

void TestRun::stop()
{
    if (!m_running)
        return;
    Q_EMIT servoControlsShown(false);
    m_running = false;
    Q_EMIT runningChanged(false);
}

void TestRun::setStickPosition(int position)
{
    m_stickPosition = position;
    m_zoneBit = ::servoZoneBit(position);
}

void TestRun::startRun()
{
    m_visible = true;
    m_last = m_document.lastEvent();
    m_slot = 0;
    m_clock.start();
    m_stepDeadlineNs = 0;
    beginStep();
}

void TestRun::beginStep()
{
    if (!m_running)
        return endRun();
    LampColours lamps;
    for (int led = 0; led < 4; ++led) {
        const bool lit = ledLit(m_document.cell(led, m_slot), m_zoneBit, m_document.servoMode(led));
        lamps[led] = lit ? tableColour(m_document.colourIndex(led)) : QColor(Qt::black);
    }
    Q_EMIT stepShown(m_slot, lamps);
    scheduleStepEnd();
}

void TestRun::scheduleStepEnd()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_stepDeadlineNs = nextStepDeadline(m_stepDeadlineNs, now, m_periodNs);
    m_timer->start(static_cast<int>((m_stepDeadlineNs - now + 500'000) / 1'000'000));
}

void TestRun::tick()
{
    Q_EMIT stepEnded(m_slot);
    m_slot = nextTestSlot(m_slot, m_last);
    if (m_restartPending) {
        m_restartPending = false;
        m_slot = 0;
    }
    if (m_slot == 0)
        m_last = m_document.lastEvent(); // read once per pass
    beginStep();
}

void TestRun::endRun()
{
    m_visible = false;
    m_restartPending = false;
    Q_EMIT ended();
}
