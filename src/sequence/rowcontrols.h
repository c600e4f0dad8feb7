#pragma once

#include <QObject>
#include <array>

class QComboBox;
class LedNameLabel;
class QListWidget;
class QPushButton;
class QWidget;
class SequenceDocument;

// The controls of the four LED rows: the name labels `LEDlabel1` that show and choose
// each LED's colour, the row buttons `RowOptions0..3` with the pop-up lists
// `RowOptionsList` and `CopyList`, the colour list `ColorList`, and the servo mode
// selectors `ServoControl`. A list waits for its click with the window live; waits
// nest, and one click ends every wait on the same list, innermost first. An open list has
// the keyboard: Return, Enter or Space choose as a click does, Escape cancels.
class RowControls : public QObject
{
    Q_OBJECT
public:
    RowControls(SequenceDocument& document, QWidget* client);

    LedNameLabel* nameLabel(int led) const { return m_names[led]; }
    QPushButton* optionsButton(int led) const { return m_options[led]; }
    QComboBox* servoSelector(int led) const { return m_servo[led]; }
    // The lists are built when first opened: start-up is quicker without them.
    QListWidget* rowOptionsList();
    QListWidget* copyList();
    QListWidget* colourList();

    // The whole choice for one row or LED, from opening its list to the edit.
    void chooseRowOperation(int row);
    void chooseColour(int led);

Q_SIGNALS:
    // A list was hidden by its click: every wait on a list looks again.
    void listHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(QWidget* client);
    QListWidget* popupList(const QString& name, const QStringList& items, int l, int t, int w,
                           int h);
    void waitForChoice(QListWidget* list);
    void choose(QListWidget* list);
    void showColour(int led);
    void fitGlyphs();

    SequenceDocument& m_document;
    QWidget* m_client;
    std::array<LedNameLabel*, 4> m_names{};
    std::array<QPushButton*, 4> m_options{};
    std::array<QComboBox*, 4> m_servo{};
    QListWidget* m_rowOptionsList = nullptr;
    QListWidget* m_copyList = nullptr;
    QListWidget* m_colourList = nullptr;
    int m_colourOpenedOn = 0; // Escape keeps this colour
};
