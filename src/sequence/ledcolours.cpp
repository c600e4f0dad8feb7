#include "app/layout.h"
#include "app/mainwindow.h"
#include "sequence/colourtable.h"

#include <QLabel>
#include <QListWidget>

void Main_LEDFlasher_form::LEDlabel1_Click(int n)
{
    m_ui.ColorList->setCurrentRow(m_ledColourIndex[n]);
    waitForChoice(m_ui.ColorList);
    m_ui.ColorList->hide();
    m_ledColourIndex[n] = m_ui.ColorList->currentRow();
    applyLedColour(n);
    commitEdit(tr("Colour of LED#%1").arg(n + 1));
}

void Main_LEDFlasher_form::ColorList_Click()
{
    m_ui.ColorList->hide();
    Q_EMIT popupListHidden();
}

void Main_LEDFlasher_form::applyLedColour(int k)
{
    const int index = m_ledColourIndex[k];
    if (index < 0 || index > 7)
        return;
    setTextColour(m_ui.LEDlabel1[k], colourFromValue(colourCodeValue(m_colourCodes[index])));
    m_ui.LEDlabel1[k]->setAccessibleName(
        QStringLiteral("LED %1 colour: %2").arg(k + 1).arg(colourNames().value(index)));
}
