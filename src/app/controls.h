#pragma once

#include <array>

class LedShape;
class QAction;
class QCheckBox;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QWidget;
class ScaledView;

// The main window's own controls, under their design names; the grid and the LED rows
// build theirs on `client`. Arrays are indexed from 0.
struct MainControls
{
    void setupUi(QMainWindow* window);

    ScaledView* view = nullptr; // scales `client` with the window
    QWidget* client = nullptr;
    std::array<LedShape*, 4> LED{};
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
    QLabel* DownloadStatus = nullptr; // the last download's result, in the status bar
    QLabel* CycleTime = nullptr;      // the device's cycle, with the device-speed preview

    QMenu* MENUfile = nullptr;
    QAction* MENUnew = nullptr;
    QAction* MENUopen = nullptr;
    QMenu* MENUrecent = nullptr;
    QAction* MENUmerge = nullptr;
    QAction* MENUsave = nullptr;
    QAction* MENUexit = nullptr;
    QMenu* MENUedit = nullptr;
    QAction* MENUundo = nullptr;
    QAction* MENUredo = nullptr;
    QAction* MENUtest = nullptr;
    QAction* MENUdownload = nullptr;
    QAction* MENUsettings = nullptr;
    QMenu* MENUview = nullptr;
    QAction* MENUdevicespeed = nullptr;
    QAction* MENUzoomin = nullptr;
    QAction* MENUzoomout = nullptr;
    QAction* MENUactualsize = nullptr;
    QMenu* MENUpatterns = nullptr;
    QAction* MENUexportpicture = nullptr;
    QAction* MENUexportanimation = nullptr;
    QMenu* MENUhelp = nullptr;
    QAction* MENUabout = nullptr;
    QAction* MENUhowto = nullptr;

private:
    void buildLeds();
    void buildCommands();
    void buildServoStick();
    void buildMenus(QMainWindow* window);
};
