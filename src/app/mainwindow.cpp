#include "app/mainwindow.h"

#include "app/patternmenu.h"
#include "core/picturelayout.h"
#include "device/download.h"
#include "files/filecommands.h"
#include "files/patternlibrary.h"
#include "files/recentfiles.h"
#include "files/savefile.h"
#include "platform/platform.h"
#include "platform/signalwatch.h"
#include "preview/ledshape.h"
#include "preview/testrun.h"
#include "sequence/cellbox.h"
#include "sequence/eventcommands.h"
#include "sequence/gridview.h"
#include "sequence/historyactions.h"
#include "sequence/lednamelabel.h"
#include "sequence/rowcontrols.h"
#include "sequence/sequencedocument.h"
#include "settings/ledcfg.h"
#include "settings/settingsdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <csignal>

MainWindow::MainWindow(Platform& platform, const QString& ledCfgPath, QUrl manualUrl,
                       const QString& configFolder, QWidget* parent)
    : QMainWindow(parent), m_platform(platform), m_manualUrl(std::move(manualUrl)),
      m_document(new SequenceDocument(this)), m_ledCfgPath(ledCfgPath),
      m_windowSizePath(configFolder + QStringLiteral("/window"))
{
    m_ui.setupUi(this);
    // Settings first: the port number from LED.cfg.
    const LedCfgLoad cfg = loadLedCfg(ledCfgPath);
    m_startPort = cfg.port;
    if (!cfg.problem.isEmpty())
        platform.messageBox(cfg.problem, applicationTitle(), Platform::Buttons::Ok,
                            Platform::Icon::Exclamation);
    m_grid = new GridView(*m_document, m_ui.client);
    m_rows = new RowControls(*m_document, m_ui.client);
    m_history = new HistoryActions(*m_document, this);
    m_events = new EventCommands(*m_document, platform, this);
    m_files = new FileCommands(*m_document, platform, this);
    m_download = new Download(*m_document, platform, this);
    m_testRun = new TestRun(*m_document, this);
    m_recent = new RecentFiles(configFolder + QStringLiteral("/recent"), this);
    m_patterns = new PatternLibrary(configFolder + QStringLiteral("/pattern-folders"), this);
    wireCommands();
    wireTestRun();
    wireDownload();
    orderTabs();
    wireZoom();
    // Logout, a closed terminal or Ctrl+C in it end the program as a close would, but
    // without a question: a download in progress finishes first.
    auto* watch = new SignalWatch({SIGINT, SIGTERM, kHangUp}, this);
    connect(watch, &SignalWatch::signalled, this, [this] {
        m_download->failWithoutBox();
        quitWhenIdle();
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::wireCommands()
{
    m_ui.MENUundo = m_history->undoAction();
    m_ui.MENUundo->setObjectName(QStringLiteral("MENUundo"));
    m_ui.MENUundo->setShortcut(QKeySequence::Undo);
    m_ui.MENUredo = m_history->redoAction();
    m_ui.MENUredo->setObjectName(QStringLiteral("MENUredo"));
    // The platform's Redo key, and Ctrl+Y where that is another.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    m_ui.MENUredo->setShortcuts(redoKeys);
    m_ui.MENUedit->addActions({m_ui.MENUundo, m_ui.MENUredo});
    m_ui.MENUedit->addSeparator();
    m_ui.MENUedit->addActions(m_events->actions());
    connect(m_events, &EventCommands::status, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    // What the bar said of an edit is no longer true after the next edit, undo or redo.
    connect(m_document, &SequenceDocument::historyChanged, statusBar(), &QStatusBar::clearMessage);

    const std::pair<QAction*, void (MainWindow::*)()> menu[] = {
        {m_ui.MENUnew, &MainWindow::newSequence},
        {m_ui.MENUopen, &MainWindow::openSequence},
        {m_ui.MENUmerge, &MainWindow::mergeSequence},
        {m_ui.MENUsave, &MainWindow::saveSequence},
        {m_ui.MENUexit, &MainWindow::askToExit},
        {m_ui.MENUtest, &MainWindow::toggleTest},
        {m_ui.MENUdownload, &MainWindow::downloadSequence},
        {m_ui.MENUsettings, &MainWindow::showSettings},
        {m_ui.MENUabout, &MainWindow::showAbout},
        {m_ui.MENUhowto, &MainWindow::showManual}};
    for (const auto& [action, handler] : menu)
        connect(action, &QAction::triggered, this, handler);
    // Every button but Exit runs its menu entry's handler.
    const std::pair<QPushButton*, void (MainWindow::*)()> buttons[] = {
        {m_ui.OpenButton, &MainWindow::openSequence},
        {m_ui.SaveButton, &MainWindow::saveSequence},
        {m_ui.TestButton, &MainWindow::toggleTest},
        {m_ui.Settings_button, &MainWindow::showSettings},
        {m_ui.DownloadButton, &MainWindow::downloadSequence},
        {m_ui.Exit_button, &MainWindow::exitButton}};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);

    // The title names the file; its mark shows unsaved changes.
    auto showTitle = [this] { setWindowTitle(m_document->title() + QStringLiteral("[*]")); };
    showTitle();
    connect(m_document, &SequenceDocument::fileChanged, this, showTitle);
    connect(m_document, &SequenceDocument::modifiedChanged, this, &QWidget::setWindowModified);
    m_addPatternFolder = new QAction(tr("Add Pattern &Folder..."), this);
    m_addPatternFolder->setObjectName(QStringLiteral("MENUaddpatterns"));
    connect(m_addPatternFolder, &QAction::triggered, this, &MainWindow::addPatternFolder);
    auto* patternMenu = new PatternMenu(m_ui.MENUpatterns, m_patterns, m_addPatternFolder, this);
    connect(patternMenu, &PatternMenu::chosen, this, [this](const Pattern& pattern) {
        m_testRun->stop();
        m_files->loadPattern(pattern.path, pattern.name);
    });
    const auto listProblem = [this](const QString& problem) {
        m_platform.messageBox(problem, applicationTitle(), Platform::Buttons::Ok,
                              Platform::Icon::Exclamation);
    };
    connect(m_patterns, &PatternLibrary::storeFailed, this, listProblem);
    connect(m_recent, &RecentFiles::storeFailed, this, listProblem);
    for (const QString& problem : {m_recent->readProblem(), m_patterns->readProblem()})
        if (!problem.isEmpty())
            listProblem(problem);
    connect(m_ui.MENUexportpicture, &QAction::triggered, m_files, &FileCommands::exportPicture);
    connect(m_ui.MENUexportanimation, &QAction::triggered, m_files, &FileCommands::exportAnimation);
    QAction* copyPicture = m_ui.MENUedit->addAction(tr("C&opy Picture"));
    copyPicture->setObjectName(QStringLiteral("MENUcopypicture"));
    copyPicture->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    connect(copyPicture, &QAction::triggered, m_files, &FileCommands::copyPicture);
    connect(m_ui.MENUdevicespeed, &QAction::toggled, m_testRun, &TestRun::setDeviceSpeed);
    connect(m_document, &SequenceDocument::timingChanged, this, &MainWindow::showCycleTime);
    connect(m_document, &SequenceDocument::lastEventChanged, this, &MainWindow::showCycleTime);
    connect(m_ui.MENUdevicespeed, &QAction::toggled, this, &MainWindow::showCycleTime);
    connect(m_files, &FileCommands::fileUsed, m_recent, &RecentFiles::add);
    connect(m_recent, &RecentFiles::changed, this, &MainWindow::showRecentFiles);
    showRecentFiles();
    connect(m_files, &FileCommands::progress, this, [this](int value) {
        m_ui.ProgressBar1->setValue(std::max(value, 0));
        m_ui.ProgressBar1->setVisible(value >= 0);
    });
}

void MainWindow::wireTestRun()
{
    // The pulse width is named with its unit: a bare number means nothing read out alone.
    auto showPulse = [this](int position) {
        m_ui.PulseWidth->setText(QString::number(10 * position));
        m_ui.PulseWidth->setAccessibleName(tr("Servo pulse width %1 \u00b5s").arg(10 * position));
    };
    showPulse(m_ui.ServoStick->value());
    connect(m_ui.ServoStick, &QScrollBar::valueChanged, this, [this, showPulse](int position) {
        showPulse(position);
        m_testRun->setStickPosition(position);
    });
    connect(m_testRun, &TestRun::runningChanged, this, [this](bool running) {
        m_ui.TestButton->setText(running ? tr("Stop Test") : tr("Test"));
    });
    connect(m_testRun, &TestRun::servoControlsShown, this, [this](bool shown) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{m_ui.ServoStick, m_ui.PulseWidthlabel1, m_ui.Label2,
                                             m_ui.PulseWidth, m_ui.PulseWidthlabel2})
            w->setVisible(shown);
        if (shown) {
            m_ui.Settings_button->hide();
            m_ui.ServoStick->setFocus();
        }
    });
    connect(m_testRun, &TestRun::stepShown, this, [this](int slot, const LampColours& lamps) {
        m_grid->highlightStep(slot, true);
        for (int k = 0; k < 4; ++k)
            m_ui.LED[k]->setFillColour(lamps[k]);
    });
    connect(m_testRun, &TestRun::stepEnded, this,
            [this](int slot) { m_grid->highlightStep(slot, false); });
    connect(m_testRun, &TestRun::ended, this, [this] {
        for (LedShape* led : m_ui.LED)
            led->setFillColour(Qt::black);
        // A download that stopped the run shows the button itself when it ends.
        if (!m_download->busy())
            m_ui.Settings_button->show();
    });
}

void MainWindow::wireDownload()
{
    connect(m_download, &Download::busyChanged, this,
            [this](bool busy) { setDownloadCommandsEnabled(!busy); });
    connect(m_download, &Download::streamStarted, this, [this] {
        m_ui.Settings_button->hide();
        m_ui.ProgressBar1->setValue(0);
        m_ui.ProgressBar1->show();
        m_ui.DLlabel->show();
        // The silent pause follows: paint the notice now.
        m_ui.DLlabel->repaint();
        m_ui.ProgressBar1->repaint();
    });
    connect(m_download, &Download::recordSent, m_ui.ProgressBar1, &QProgressBar::setValue);
    connect(m_download, &Download::statusChanged, this, &MainWindow::showStatus);
    connect(m_download, &Download::finished, this, [this] {
        if (m_quitAfterDownload)
            endProgram();
    });
}

// Tab runs as the screen reads: grid, each LED's row, then the commands.
void MainWindow::orderTabs()
{
    QList<QWidget*> order{static_cast<QWidget*>(m_grid->cell(0, 0))};
    for (int k = 0; k < 4; ++k)
        order << m_rows->nameLabel(k) << m_rows->optionsButton(k) << m_rows->servoSelector(k);
    order << m_ui.OpenButton << m_ui.SaveButton << m_ui.TestButton << m_ui.Settings_button
          << m_ui.DownloadButton << m_ui.Exit_button << m_ui.ServoStick;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    order[0]->setFocus(); // the window opens with the keyboard on the grid
}

void MainWindow::showRecentFiles()
{
    QMenu* menu = m_ui.MENUrecent;
    menu->clear();
    const QStringList files = m_recent->files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        QAction* entry = menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
        entry->setStatusTip(QDir::toNativeSeparators(files[i]));
        connect(entry, &QAction::triggered, this, [this, path = files[i]] { openRecent(path); });
    }
    menu->addSeparator();
    QAction* clear = menu->addAction(tr("Clear Menu"), m_recent, &RecentFiles::clear);
    clear->setObjectName(QStringLiteral("MENUclearrecent"));
    clear->setEnabled(!files.isEmpty());
}

void MainWindow::addPatternFolder()
{
    const auto folder = m_platform.folderName(
        {tr("Add a Folder of GLIMMERON Patterns"), QString(), QString(), QString()});
    if (!folder)
        return;
    // A name that is not valid UTF-8 reaches us altered: the system cannot find it.
    if (!QFileInfo(*folder).isDir())
        return (void)m_platform.messageBox(
            tr("The folder %1 cannot be added: %2.")
                .arg(QDir::toNativeSeparators(*folder),
                     folder->contains(QChar::ReplacementCharacter) ? notValidUtf8()
                                                                   : tr("it is not there")),
            applicationTitle(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
    m_patterns->addFolder(*folder);
}

// The device plays one event per sequencer delay: with the preview at its pace, the status
// bar tells how long a cycle of the sequence takes.
void MainWindow::showCycleTime()
{
    m_ui.CycleTime->setText(QString::fromStdString(
        cycleDescription(m_document->lastEvent(), m_document->sequencerDelay())));
    m_ui.CycleTime->setVisible(m_ui.MENUdevicespeed->isChecked());
}

void MainWindow::openRecent(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        m_platform.messageBox(tr("The file %1 is no longer there. It is taken off the list of "
                                 "recent files.")
                                  .arg(QDir::toNativeSeparators(path)),
                              applicationTitle(), Platform::Buttons::Ok,
                              Platform::Icon::Exclamation);
        m_recent->remove(path);
        return;
    }
    m_testRun->stop();
    m_files->openFile(path);
}

void MainWindow::setDownloadCommandsEnabled(bool enabled)
{
    for (QPushButton* button : {m_ui.TestButton, m_ui.Settings_button, m_ui.DownloadButton,
                                m_ui.OpenButton, m_ui.SaveButton})
        button->setEnabled(enabled);
    // The menu entries of the same commands too, so none of them starts inside a download.
    for (QAction* action :
         {m_ui.MENUdownload, m_ui.MENUtest, m_ui.MENUsettings, m_ui.MENUopen, m_ui.MENUsave,
          m_ui.MENUrecent->menuAction(), m_ui.MENUpatterns->menuAction()})
        action->setEnabled(enabled);
    if (!enabled)
        return;
    m_ui.ProgressBar1->hide();
    m_ui.DLlabel->hide();
    // A test run that ended inside the download left the button hidden for it.
    if (!m_testRun->visible())
        m_ui.Settings_button->show();
}

void MainWindow::showStatus(const QString& text)
{
    m_ui.DownloadStatus->setText(QString(text)
                                     .replace(QStringLiteral("\r\r"), QStringLiteral(" "))
                                     .replace(QLatin1Char('\r'), QLatin1Char(' ')));
}

void MainWindow::newSequence()
{
    m_files->newSequence();
}

void MainWindow::openSequence()
{
    m_testRun->stop();
    m_files->open();
}

void MainWindow::mergeSequence()
{
    m_files->merge();
}

void MainWindow::saveSequence()
{
    m_testRun->stop();
    m_files->save();
}

void MainWindow::openFile(const QString& path)
{
    m_files->openFile(path);
}

void MainWindow::toggleTest()
{
    m_testRun->toggle();
}

void MainWindow::downloadSequence()
{
    m_testRun->stop();
    m_download->start(m_settingsDialog ? m_settingsDialog->commPortNumber() : m_startPort);
}

void MainWindow::showSettings()
{
    m_testRun->stop();
    SettingsDialog* dialog = settingsDialog();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

SettingsDialog* MainWindow::settingsDialog()
{
    if (!m_settingsDialog)
        m_settingsDialog =
            new SettingsDialog(*m_document, m_platform, m_ledCfgPath, m_startPort, this);
    return m_settingsDialog;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_quitAfterDownload || !settleUnsavedChanges() || quitAfterDownload()) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram();
}

void MainWindow::quitWhenIdle()
{
    if (!quitAfterDownload())
        endProgram();
}

void MainWindow::endProgram()
{
    storeWindowSize();
    m_platform.quit();
}

// Ending the program mid-stream would leave a half-programmed device.
bool MainWindow::quitAfterDownload()
{
    if (!m_download->sending())
        return false;
    m_quitAfterDownload = true;
    m_ui.DownloadStatus->setText(
        tr("The program will end when the download to the GLIMMERON is done."));
    return true;
}
