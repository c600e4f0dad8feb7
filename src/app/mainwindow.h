#pragma once

#include "app/controls.h"
#include "platform/layout.h"

#include <QMainWindow>
#include <QUrl>

class Download;
class EventCommands;
class FileCommands;
class GridView;
class HistoryActions;
class Platform;
class PatternLibrary;
class RecentFiles;
class RowControls;
class SequenceDocument;
class SettingsDialog;
class TestRun;

// The editor's window `Main_LEDFlasher_form`: it builds the controls, owns the document
// and the objects that work on it, connects them, and decides which commands are
// enabled or shown.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // The recent files and the pattern folders are kept in `configFolder`.
    MainWindow(Platform& platform, const QString& ledCfgPath, QUrl manualUrl,
               const QString& configFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainControls& ui() const { return m_ui; }
    SequenceDocument& document() const { return *m_document; }
    GridView* grid() const { return m_grid; }
    RowControls* rows() const { return m_rows; }
    EventCommands* eventCommands() const { return m_events; }
    FileCommands* files() const { return m_files; }
    Download* download() const { return m_download; }
    TestRun* testRun() const { return m_testRun; }
    // Built on first use: most sessions never open it, and start-up is quicker without.
    SettingsDialog* settingsDialog();

    void newSequence();
    void openSequence();
    void mergeSequence();
    void saveSequence();
    void openFile(const QString& path);
    void openRecent(const QString& path);
    void toggleTest();
    void downloadSequence();
    void showSettings();
    void exitButton();
    void askToExit();
    void showAbout();
    void showManual();
    // Ends the program without a question, once a running download is done.
    void quitWhenIdle();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void wireCommands();
    void wireTestRun();
    void wireDownload();
    void wireZoom();
    void zoomTo(double twipsPerPixel);
    ZoomRange zoomRange() const;
    void restoreWindowSize();
    void storeWindowSize();
    void endProgram();
    void orderTabs();
    void showRecentFiles();
    void addPatternFolder();
    void showCycleTime();
    void setDownloadCommandsEnabled(bool enabled);
    void showStatus(const QString& text);
    bool quitAfterDownload();
    // Unsaved changes: saved, discarded, or the user stays. False when the program must
    // stay open.
    bool settleUnsavedChanges();

    Platform& m_platform;
    QUrl m_manualUrl;
    MainControls m_ui;
    SequenceDocument* m_document;
    GridView* m_grid = nullptr;
    RowControls* m_rows = nullptr;
    HistoryActions* m_history = nullptr;
    EventCommands* m_events = nullptr;
    FileCommands* m_files = nullptr;
    Download* m_download = nullptr;
    TestRun* m_testRun = nullptr;
    QString m_ledCfgPath;
    QString m_windowSizePath;
    int m_startPort = 1; // from LED.cfg, until the settings dialog holds it
    SettingsDialog* m_settingsDialog = nullptr;
    RecentFiles* m_recent = nullptr;
    PatternLibrary* m_patterns = nullptr;
    QAction* m_addPatternFolder = nullptr;
    bool m_quitAfterDownload = false;
};
