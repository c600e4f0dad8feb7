#pragma once

#include <array>

class CellBox;
class LedShape;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTimer;

// The main window's controls, under their design names. Arrays are indexed from 0;
// iSwitchLedX[k] is the row of LED k + 1.
struct MainControls
{
    std::array<std::array<CellBox*, 50>, 4> iSwitchLedX{};
    std::array<QLabel*, 50> TimeAxis{};
    std::array<QLabel*, 50> mem{};
    std::array<QLabel*, 4> LEDlabel1{};
    std::array<LedShape*, 4> LED{};
    std::array<QPushButton*, 4> RowOptions{};
    QListWidget* RowOptionsList = nullptr;
    QListWidget* CopyList = nullptr;
    QListWidget* ColorList = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QComboBox*, 4> ServoControl{};
    QPushButton* OpenButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* TestButton = nullptr;
    QPushButton* Settings_button = nullptr;
    QPushButton* DownloadButton = nullptr;
    QPushButton* Exit_button = nullptr;
    QLabel* DLlabel = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QScrollBar* ServoStick = nullptr;
    QLabel* PulseWidthlabel1 = nullptr;
    QLabel* PulseWidth = nullptr;
    QLabel* PulseWidthlabel2 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* Vspeed = nullptr;
    QTimer* Timer1 = nullptr;

    QMenu* MENUfile = nullptr;
    QAction* MENUnew = nullptr;
    QAction* MENUopen = nullptr;
    QAction* MENUmerge = nullptr;
    QAction* MENUsave = nullptr;
    QAction* MENUexit = nullptr;
    QAction* MENUtest = nullptr;
    QAction* MENUdownload = nullptr;
    QAction* MENUsettings = nullptr;
    QMenu* MENUedit = nullptr;
    QAction* MENUundo = nullptr;
    QAction* MENUredo = nullptr;
    QMenu* MENUhelp = nullptr;
    QAction* MENUabout = nullptr;
    QAction* MENUhowto = nullptr;
};
