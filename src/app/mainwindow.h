#pragma once

#include "app/controls.h"
#include "device/downloadstream.h"
#include "files/sequencedata.h"
#include "settings/settings.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QUrl>
#include <array>

class DownloadSession;
class EditHistory;
class Platform;
class Settings_form;
class QLabel;
class QListWidget;

// The editor's only working window. It owns all editing state: the cells and the
// `mem` captions are the sequence; the handlers below work on them directly.
class Main_LEDFlasher_form : public QMainWindow
{
    Q_OBJECT
public:
    Main_LEDFlasher_form(Platform& platform, QString ledCfgPath, QUrl manualUrl,
                         QWidget* parent = nullptr);
    ~Main_LEDFlasher_form() override;

    const MainControls& ui() const { return m_ui; }
    Settings_form* settingsForm() const { return m_settingsForm; }
    const Settings& settings() const { return m_settings; }
    EditHistory* history() const { return m_history; }

    // Event grid
    bool cellOn(int led, int slot) const;
    void setCell(int led, int slot, bool on);
    int lastEventIndex() const { return m_lastEvent; }
    void iSwitchLedX_Click(int slot); // the event value refresh, the same for all four rows
    void TimeAxis_DblClick(int index);

    // Drag painting; `led` is 1..4
    void iSwitchLedX_MouseDown(int led, int slot);
    void iSwitchLedX_DragOver(int led, int slot);
    void iSwitchLedX_MouseUp(int led, int slot);
    int dragStartSlot() const { return m_dragStartSlot; }

    void MENUnew_Click();

    // Row operations and colours; `row` and `n` are 0..3
    void RowOptions_Click(int row);
    void RowOptionsList_Click();
    void CopyList_Click();
    void LEDlabel1_Click(int n);
    void ColorList_Click();
    int ledColourIndex(int k) const { return m_ledColourIndex[k]; }

    // Files
    void MENUsave_Click();
    void SaveButton_Click() { MENUsave_Click(); }
    void MENUopen_Click();
    void OpenButton_Click() { MENUopen_Click(); }
    void MENUmerge_Click();
    // Opens `path` as Open would, without the dialog (a file named at start-up).
    void openFile(const QString& path) { loadFile(path, false); }
    SequenceData currentSequence() const;

    // Download
    void MENUdownload_Click();
    void DownloadButton_Click() { MENUdownload_Click(); }
    int serialPortNumber() const { return m_serialPortNumber; }
    bool downloading() const { return m_downloading; }
    QLabel* downloadStatus() const { return m_downloadStatus; }

    // Test run, servo, stop
    void MENUtest_Click();
    void TestButton_Click() { MENUtest_Click(); }
    void Timer1_Timer();
    void ServoStick_Change();
    int servoZoneBit() const { return m_servoZoneBit; }
    void StopTest();
    bool testRunning() const { return m_testRunning; }
    bool runVisible() const { return m_runActive; }

    // Settings and shell
    void MENUsettings_Click();
    void Settings_button_Click();
    void Exit_button_Click();
    void MENUexit_Click();
    void MENUabout_Click();
    void MENUhowto_Click();
    void Form_Unload();

Q_SIGNALS:
    // A pop-up list was hidden by its click handler: every wait on a list looks again.
    void popupListHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction (mainwindow.cpp)
    void buildGrid(QWidget* client);
    void buildRowControls(QWidget* client);
    void buildLists(QWidget* client);
    void buildCommands(QWidget* client);
    void buildServoControls(QWidget* client);
    void buildMenus();
    void Form_Load();

    // Grid helpers
    void markRuler(int index, bool marked);
    void moveLastEvent(int index);
    void clearGrid();
    void decodeEventValue(int slot, int value);

    // Drag helpers
    CellBox* cellAt(const QPoint& globalPos) const;
    bool handleCellEvent(CellBox* cell, QEvent* event);
    bool moveGridCursor(CellBox* from, int key);

    // Pop-up lists
    void waitForChoice(QListWidget* list);
    void applyRowOperation(int row, int operation);
    void applyLedColour(int k);

    // Files
    void saveToChosenFile(const QString& path);
    void loadFromFile(bool merge);
    void loadFile(const QString& path, bool merge);
    void applySequence(const SequenceData& data, bool merge);
    void setFileTitle(const QString& path);
    void showFileProblem(const QString& text);

    // Undo history
    void wireHistory();
    void commitEdit(const QString& name);
    void restoreSequence(const SequenceData& to, const SequenceData& from);

    // Download
    void setDownloadCommandsEnabled(bool enabled);
    void wireDownloadSession();
    DownloadValues downloadValuesNow() const;
    void downloadFinished(const QString& error);
    void setDownloadStatus(const QString& text);
    bool quitAfterDownload();

    // Test run
    void startRun();
    void beginStep();
    void scheduleStepEnd();
    void endRun();
    void showServoControls(bool shown);

    Platform& m_platform;
    QString m_ledCfgPath;
    QUrl m_manualUrl;
    MainControls m_ui;
    Settings m_settings;
    Settings_form* m_settingsForm = nullptr;
    int m_serialPortNumber = 1;

    int m_lastEvent = 49;
    std::array<QString, 11> m_colourCodes;
    std::array<int, 11> m_ledColourIndex{};
    QString m_fileTitle;  // bare name of the file last chosen in a file dialog
    QString m_fileFolder; // folder of that file: the dialogs open there

    int m_dragStartSlot = 0;
    CellBox* m_dragCell = nullptr;     // pressed cell while the button is held
    CellBox* m_dragOverCell = nullptr; // cell last reported as passed over
    int m_dragLastSlot = 0;            // slot last passed over
    bool m_dragMoved = false;

    bool m_testRunning = false;
    bool m_runActive = false; // a run is visible, possibly finishing its last step
    bool m_restartPending = false;
    int m_runSlot = 0;
    int m_runLast = 0;
    int m_servoZoneBit = 4;
    QElapsedTimer m_runClock;
    qint64 m_runPeriodNs = 20'000'000;
    qint64 m_stepDeadlineNs = 0; // end of the current step, on m_runClock

    bool m_downloading = false;
    DownloadSession* m_downloadSession = nullptr;
    std::pair<int, QString> m_downloadPort; // number and device of the running download
    QLabel* m_downloadStatus = nullptr;     // the last download's result, in the status bar
    bool m_quitAfterDownload = false;

    EditHistory* m_history = nullptr;
};
