#include "app/mainwindow.h"
#include "sequence/cellbox.h"
#include "sequence/edithistory.h"
#include "settings/settingsform.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

void Main_LEDFlasher_form::wireHistory()
{
    m_history = new EditHistory(
        [this] { return currentSequence(); },
        [this](const SequenceData& to, const SequenceData& from) { restoreSequence(to, from); },
        this);
    m_ui.MENUundo = m_history->createUndoAction(this);
    m_ui.MENUundo->setObjectName(QStringLiteral("MENUundo"));
    m_ui.MENUundo->setShortcut(QKeySequence::Undo);
    m_ui.MENUredo = m_history->createRedoAction(this);
    m_ui.MENUredo->setObjectName(QStringLiteral("MENUredo"));
    m_ui.MENUredo->setShortcut(QKeySequence::Redo);
    m_ui.MENUedit->addAction(m_ui.MENUundo);
    m_ui.MENUedit->addAction(m_ui.MENUredo);

    for (const auto& row : m_ui.iSwitchLedX) {
        for (CellBox* cell : row) // clicked: by the user only, mouse or Space
            connect(cell, &QAbstractButton::clicked, this,
                    [this] { commitEdit(tr("Cell Click")); });
    }
    for (int k = 0; k < 4; ++k) {
        connect(m_ui.ServoControl[k], &QComboBox::activated, this,
                [this, k] { commitEdit(tr("Servo Mode of LED#%1").arg(k + 1)); });
    }
    // Settings OK changes the timing settings outside the history.
    connect(m_settingsForm, &Settings_form::commPortNumberChanged, m_history, &EditHistory::sync);
}

void Main_LEDFlasher_form::commitEdit(const QString& name)
{
    if (m_history)
        m_history->commit(name);
}

void Main_LEDFlasher_form::restoreSequence(const SequenceData& to, const SequenceData& from)
{
    for (int i = 0; i < 50; ++i) {
        if (to.events[i] == from.events[i])
            continue;
        for (int led = 1; led <= 4; ++led)
            setCell(led, i, (to.events[i] >> (led - 1)) & 1);
        iSwitchLedX_Click(i);
    }
    for (int k = 0; k < 8; ++k) {
        if (to.colourIndexes[k] == from.colourIndexes[k])
            continue;
        m_ledColourIndex[k] = to.colourIndexes[k];
        if (k < 4)
            applyLedColour(k);
    }
    if (to.lastEvent != from.lastEvent)
        moveLastEvent(to.lastEvent);
    for (int k = 0; k < 4; ++k) {
        if (to.servoModes[k] != from.servoModes[k])
            m_ui.ServoControl[k]->setCurrentIndex(to.servoModes[k]);
    }
    if (to.sequencerDelay != from.sequencerDelay) {
        m_settings.sequencerDelay = static_cast<qint16>(to.sequencerDelay);
        m_settingsForm->PICSpeedcombo->setCurrentIndex(to.sequencerDelay - 1);
    }
    if (to.testSpeed != from.testSpeed) {
        m_settings.testSpeed = static_cast<qint16>(to.testSpeed);
        m_settingsForm->PCSpeedcombo->setCurrentIndex(to.testSpeed - 1);
    }
}
