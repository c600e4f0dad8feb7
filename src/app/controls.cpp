#include "app/controls.h"

#include "core/servozones.h"
#include "platform/layout.h"
#include "platform/scaledview.h"
#include "preview/ledshape.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

QLabel* designLabel(QWidget* parent, const QString& name, const QString& text, int l, int t, int w,
                    int h)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    placeTwips(label, l, t, w, h);
    return label;
}

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text,
                           const QString& tip, int l, int t)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    setDesignFont(button, 12, true);
    placeTwips(button, l, t, 2175, 495);
    return button;
}

} // namespace

void MainControls::setupUi(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("Main_LEDFlasher_form"));
    new TwipsLayout(window);
    view = new ScaledView(window);
    client = view->surface();
    setDesignFont(client, 8.25);
    setBackgroundColour(view, designColour(0x80000016));
    window->setCentralWidget(view);
    buildLeds();
    buildCommands();
    buildServoStick();
    buildMenus(window);
    DownloadStatus = new QLabel(window);
    DownloadStatus->setObjectName(QStringLiteral("DownloadStatus"));
    window->statusBar()->addWidget(DownloadStatus, 1);
    CycleTime = new QLabel(window);
    CycleTime->setObjectName(QStringLiteral("CycleTime"));
    window->statusBar()->addPermanentWidget(CycleTime);
    CycleTime->hide();
}

void MainControls::buildLeds()
{
    for (int k = 0; k < 4; ++k) {
        LED[k] = new LedShape(client);
        LED[k]->setObjectName(QStringLiteral("LED(%1)").arg(k));
        LED[k]->setAccessibleName(tr("LED %1 test light").arg(k + 1));
        placeTwips(LED[k], 1200, 360 + 360 * k, 255, 255);
    }
}

void MainControls::buildCommands()
{
    OpenButton =
        commandButton(client, QStringLiteral("OpenButton"), QStringLiteral("&Open File..."),
                      tr("Click here to open and load a  LED sequence..."), 240, 2280);
    SaveButton =
        commandButton(client, QStringLiteral("SaveButton"), QStringLiteral("&Save File..."),
                      tr("Click here to save the current LED sequence..."), 240, 3000);
    TestButton = commandButton(
        client, QStringLiteral("TestButton"), QStringLiteral("&Test"),
        tr("Click here to Start/Stop the visual test of the LED sequence..."), 3840, 2280);
    Settings_button =
        commandButton(client, QStringLiteral("Settings_button"), tr("S&ettings..."),
                      tr("Click here to change Software/Glimmeron Settings..."), 3840, 3000);
    DownloadButton = commandButton(
        client, QStringLiteral("DownloadButton"), QStringLiteral("&DOWNLOAD"),
        tr("Click here to Download data to Glimmeron Sequencer/Flasher..."), 7200, 2280);
    Exit_button = commandButton(client, QStringLiteral("Exit_button"), tr("E&xit"),
                                tr("Exit software..."), 7200, 3000);
    // Alt+T, Alt+D and Alt+E belong to the menu bar's commands of the same name; with the
    // buttons holding them too, Qt would only move the focus between the two.
    for (QPushButton* button : {TestButton, DownloadButton, Settings_button})
        button->setShortcut(QKeySequence());

    DLlabel = designLabel(client, QStringLiteral("DLlabel"), tr("Downloading to GLIMMERON ..."),
                          3120, 2880, 3495, 735);
    DLlabel->setToolTip(tr("Downloading data to the Glimmeron..."));
    DLlabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setDesignFont(DLlabel, 8.25, true);
    setTextColour(DLlabel, designColour(0xFF));
    setBackgroundColour(DLlabel, designColour(0xC0C0C0));
    DLlabel->hide();

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 56);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(tr("Download progress"));
    placeTwips(ProgressBar1, 3360, 3240, 3015, 255);
    ProgressBar1->hide();
}

void MainControls::buildServoStick()
{
    ServoStick = new QScrollBar(Qt::Horizontal, client);
    ServoStick->setObjectName(QStringLiteral("ServoStick"));
    ServoStick->setRange(kServoStickMin, kServoStickMax);
    ServoStick->setSingleStep(1);
    ServoStick->setPageStep(10);
    ServoStick->setValue(kServoStickStart);
    ServoStick->setAccessibleName(tr("Servo stick position"));
    // The pulse and zone follow the thumb when it is released, not while it is dragged.
    ServoStick->setTracking(false);
    // A scroll bar takes no keyboard focus by default; the arrow keys need it.
    ServoStick->setFocusPolicy(Qt::StrongFocus);
    // Scroll bars invert their keys by default; Left must move towards 100.
    ServoStick->setInvertedControls(false);
    placeTwips(ServoStick, 3360, 3120, 3135, 255);
    ServoStick->hide();

    PulseWidthlabel1 = designLabel(client, QStringLiteral("PulseWidthlabel1"),
                                   tr("Servo Pulsewidth ="), 3600, 2880, 1575, 255);
    PulseWidth = designLabel(client, QStringLiteral("PulseWidth"), QStringLiteral("1500"), 5160,
                             2880, 495, 255);
    setTextColour(PulseWidth, designColour(0xFF0000));
    PulseWidthlabel2 = designLabel(client, QStringLiteral("PulseWidthlabel2"), tr("\u00b5s"), 5760,
                                   2880, 375, 255);
    Label2 = designLabel(client, QStringLiteral("Label2"),
                         tr("(Use Mouse or Left + Right Arrow key to change servo position)"), 2520,
                         3480, 4575, 255);
    Label2->setToolTip(tr("Use the Mouse or Left + Right Arrow key to change servo position..."));
    setBackgroundColour(Label2, designColour(0xE0E0E0));
    for (QLabel* label : {PulseWidthlabel1, PulseWidth, PulseWidthlabel2, Label2})
        label->hide();

    Vspeed = new QCheckBox(tr("Variable Speed"), client);
    Vspeed->setObjectName(QStringLiteral("Vspeed"));
    placeTwips(Vspeed, 8040, 1920, 1455, 315);
    Vspeed->hide();
}

void MainControls::buildMenus(QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();
    MENUfile = bar->addMenu(QStringLiteral("&File"));
    MENUnew = MENUfile->addAction(QStringLiteral("&New/Clear"));
    MENUopen = MENUfile->addAction(QStringLiteral("&Open..."));
    MENUrecent = MENUfile->addMenu(tr("Open &Recent"));
    MENUmerge = MENUfile->addAction(QStringLiteral("&Merge..."));
    MENUsave = MENUfile->addAction(QStringLiteral("&Save..."));
    MENUexportpicture = MENUfile->addAction(tr("Export &Picture..."));
    MENUexportanimation = MENUfile->addAction(tr("Export &Animation..."));
    MENUexit = MENUfile->addAction(QStringLiteral("E&xit"));
    // "i": Alt+E belongs to Settings. Undo and Redo join it once the document exists.
    MENUedit = bar->addMenu(QStringLiteral("Ed&it"));
    MENUview = bar->addMenu(tr("&View"));
    MENUdevicespeed = MENUview->addAction(tr("Preview at &Device Speed"));
    MENUdevicespeed->setCheckable(true);
    MENUview->addSeparator();
    MENUzoomin = MENUview->addAction(tr("Zoom &In"));
    MENUzoomout = MENUview->addAction(tr("Zoom &Out"));
    MENUactualsize = MENUview->addAction(tr("&Actual Size"));
    MENUpatterns = bar->addMenu(tr("&Patterns"));
    MENUtest = bar->addAction(QStringLiteral("&Test"));
    MENUdownload = bar->addAction(QStringLiteral("&Download"));
    MENUsettings = bar->addAction(QStringLiteral("S&ettings"));
    MENUhelp = bar->addMenu(QStringLiteral("&Help"));
    MENUabout = MENUhelp->addAction(QStringLiteral("&About"));
    MENUhowto = MENUhelp->addAction(QStringLiteral("&Users' Manual..."));

    MENUnew->setShortcut(QKeySequence::New);
    MENUopen->setShortcut(QKeySequence::Open);
    MENUsave->setShortcut(QKeySequence::Save);
    // Some desktops define no Quit key; Ctrl+Q is what users try.
    MENUexit->setShortcut(QKeySequence(QKeySequence::Quit).isEmpty()
                              ? QKeySequence(Qt::CTRL | Qt::Key_Q)
                              : QKeySequence(QKeySequence::Quit));
    MENUtest->setShortcut(Qt::Key_F5);
    MENUhowto->setShortcut(Qt::Key_F1);
    // Ctrl+= too: on most keyboards "+" needs Shift.
    MENUzoomin->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    MENUzoomout->setShortcut(QKeySequence::ZoomOut);
    MENUactualsize->setShortcut(Qt::CTRL | Qt::Key_0);
    const std::pair<QObject*, const char*> names[] = {{MENUfile, "MENUfile"},
                                                      {MENUnew, "MENUnew"},
                                                      {MENUopen, "MENUopen"},
                                                      {MENUrecent, "MENUrecent"},
                                                      {MENUmerge, "MENUmerge"},
                                                      {MENUsave, "MENUsave"},
                                                      {MENUexportpicture, "MENUexportpicture"},
                                                      {MENUexportanimation, "MENUexportanimation"},
                                                      {MENUexit, "MENUexit"},
                                                      {MENUedit, "MENUedit"},
                                                      {MENUview, "MENUview"},
                                                      {MENUdevicespeed, "MENUdevicespeed"},
                                                      {MENUzoomin, "MENUzoomin"},
                                                      {MENUzoomout, "MENUzoomout"},
                                                      {MENUactualsize, "MENUactualsize"},
                                                      {MENUpatterns, "MENUpatterns"},
                                                      {MENUtest, "MENUtest"},
                                                      {MENUdownload, "MENUdownload"},
                                                      {MENUsettings, "MENUsettings"},
                                                      {MENUhelp, "MENUhelp"},
                                                      {MENUabout, "MENUabout"},
                                                      {MENUhowto, "MENUhowto"}};
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));
}
