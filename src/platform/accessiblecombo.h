#pragma once

#include <QList>

class QComboBox;
class QWidget;

// A combo box as assistive tools should know it: by its accessible name (not, as Qt gives on
// Linux, by its current text), with its current text as its value and as text that a screen
// reader speaks after the label, labelled first by a caption of its name and current text (what
// a screen reader speaks for it), then by the sibling labels whose buddy it is. Its
// description starts with the current entry's tool tip (what a servo mode means).
QComboBox* newComboBox(QWidget* parent);
// Visible labels that name the combo box besides its buddies.
void setAccessibleLabels(QComboBox* combo, const QList<QWidget*>& labels);
