#include "app/layout.h"
#include "app/mainwindow.h"
#include "preview/ledshape.h"
#include "preview/servo.h"
#include "sequence/colourtable.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

// The run is a state machine driven by Timer1: one step per tick, nothing in between.
void Main_LEDFlasher_form::MENUtest_Click()
{
    bool servoResponse = false;
    for (QComboBox* mode : m_ui.ServoControl)
        servoResponse = servoResponse || mode->currentIndex() < kServoModeNone;
    if (servoResponse)
        showServoControls(true);
    if (m_testRunning) {
        StopTest();
        return;
    }
    m_testRunning = true;
    m_ui.TestButton->setText(tr("Stop Test"));
    m_runPeriodNs = qint64(m_settings.testSpeed) * 1'000'000;
    m_servoZoneBit = ::servoZoneBit(m_ui.ServoStick->value());
    if (m_runActive) {
        // A stopped run is still showing its last step: the new one follows on its tick,
        // so only one run is ever visible.
        m_restartPending = true;
        return;
    }
    startRun();
}

void Main_LEDFlasher_form::startRun()
{
    m_runActive = true;
    m_runLast = m_lastEvent;
    m_runSlot = 0;
    m_runClock.start();
    m_stepDeadlineNs = 0;
    beginStep();
}

void Main_LEDFlasher_form::beginStep()
{
    if (!m_testRunning)
        return endRun();
    setBackgroundColour(m_ui.TimeAxis[m_runSlot], designColour(0x808080));
    for (int k = 0; k < 4; ++k) {
        const int mode = m_ui.ServoControl[k]->currentIndex();
        const bool lit = ledLit(cellOn(k + 1, m_runSlot), m_servoZoneBit, mode);
        const quint32 colour = colourCodeValue(m_colourCodes[m_ledColourIndex[k]]);
        m_ui.LED[k]->setFillColour(lit ? colourFromValue(colour) : QColor(Qt::black));
    }
    scheduleStepEnd();
}

// Each step ends at the run's start + k x TestSpeed, so the steps keep the device's
// pace instead of adding the work of every step to it. A step that begins more than a
// whole period late gets its full time: no burst of short steps to catch up.
void Main_LEDFlasher_form::scheduleStepEnd()
{
    const qint64 now = m_runClock.nsecsElapsed();
    m_stepDeadlineNs += m_runPeriodNs;
    if (m_stepDeadlineNs < now)
        m_stepDeadlineNs = now + m_runPeriodNs;
    m_ui.Timer1->start(static_cast<int>((m_stepDeadlineNs - now + 500'000) / 1'000'000));
}

void Main_LEDFlasher_form::Timer1_Timer()
{
    m_ui.Timer1->stop();
    setBackgroundColour(m_ui.TimeAxis[m_runSlot], designColour(0x8000000F));
    ++m_runSlot;
    if (m_restartPending) {
        m_restartPending = false;
        m_runSlot = m_runLast + 1;
    }
    if (m_runSlot > m_runLast) {
        m_runLast = m_lastEvent; // read once per pass
        m_runSlot = 0;
    }
    beginStep();
}

void Main_LEDFlasher_form::endRun()
{
    for (LedShape* led : m_ui.LED)
        led->setFillColour(Qt::black);
    m_testRunning = false;
    m_runActive = false;
    m_restartPending = false;
    // A download that stopped the run shows the button itself when it ends.
    if (!m_downloading)
        m_ui.Settings_button->show();
}

void Main_LEDFlasher_form::showServoControls(bool shown)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_ui.ServoStick, m_ui.PulseWidthlabel1, m_ui.Label2,
                                         m_ui.PulseWidth, m_ui.PulseWidthlabel2})
        w->setVisible(shown);
    if (shown) {
        m_ui.Settings_button->hide();
        m_ui.ServoStick->setFocus();
    }
}

void Main_LEDFlasher_form::ServoStick_Change()
{
    const int position = m_ui.ServoStick->value();
    m_ui.PulseWidth->setText(QString::number(10 * position));
    m_servoZoneBit = ::servoZoneBit(position);
}

void Main_LEDFlasher_form::StopTest()
{
    if (!m_testRunning)
        return;
    showServoControls(false);
    m_testRunning = false;
    m_ui.TestButton->setText(tr("Test"));
}
