#include "app/layout.h"
#include "app/mainwindow.h"
#include "preview/servo.h"
#include "sequence/colourtable.h"

#include <QComboBox>
#include <QLabel>

// The remembered file title survives: Save after New proposes the last name used
// (each file dialog is given its initial name afresh, so there is none to clear).
void Main_LEDFlasher_form::MENUnew_Click()
{
    setWindowTitle(tr("GLIMMERON  -  Programmable LED Sequencer/Flasher"));
    clearGrid();
    for (int k = 0; k < 4; ++k) {
        m_ledColourIndex[k] = kColourWhite;
        applyLedColour(k);
        m_ui.ServoControl[k]->setCurrentIndex(kServoModeNone);
    }
    moveLastEvent(49);
    commitEdit(tr("New/Clear"));
}
