#include "app/mainwindow.h"

#include "app/layout.h"
#include "app/platform.h"
#include "preview/ledshape.h"
#include "preview/servo.h"
#include "sequence/cellbox.h"
#include "sequence/colourtable.h"
#include "settings/ledcfg.h"
#include "settings/settingsform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString kInitialTitle =
    QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - Rev4");

QLabel* designLabel(QWidget* parent, const QString& name, const QString& text, int l, int t, int w,
                    int h)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    placeTwips(label, l, t, w, h);
    return label;
}

QListWidget* popupList(QWidget* parent, const QString& name, const QStringList& items, int l, int t,
                       int w, int h)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(designFont(9.75));
    list->addItems(items);
    placeTwips(list, l, t, w, h);
    list->hide();
    return list;
}

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text,
                           const QString& tip, int l, int t)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setFont(designFont(12, true));
    placeTwips(button, l, t, 2175, 495);
    return button;
}

void designLine(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    const QPoint from(twips(std::min(x1, x2)), twips(std::min(y1, y2)));
    const QPoint to(twips(std::max(x1, x2)), twips(std::max(y1, y2)));
    line->setGeometry(
        QRect(from, QSize(std::max(1, to.x() - from.x() + 1), std::max(1, to.y() - from.y() + 1))));
    setBackgroundColour(line, Qt::black);
}

// Three short bars: the caption-less row buttons open a menu.
QIcon menuGlyph()
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (int y : {2, 5, 8})
        painter.fillRect(2, y, 8, 2, Qt::black);
    return QIcon(pixmap);
}

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

} // namespace

Main_LEDFlasher_form::Main_LEDFlasher_form(Platform& platform, QString ledCfgPath, QUrl manualUrl,
                                           QWidget* parent)
    : QMainWindow(parent), m_platform(platform), m_ledCfgPath(std::move(ledCfgPath)),
      m_manualUrl(std::move(manualUrl))
{
    setObjectName(QStringLiteral("Main_LEDFlasher_form"));
    setWindowTitle(kInitialTitle);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(9600), twips(3825));
    client->setFont(designFont(8.25));
    setBackgroundColour(client, designColour(0x80000016));
    setCentralWidget(client);

    buildGrid(client);
    buildRowControls(client);
    buildCommands(client);
    buildServoControls(client);
    buildLists(client); // last, so the pop-up lists open above the grid
    buildMenus();

    m_ui.Timer1 = new QTimer(this);
    m_ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_ui.Timer1->setSingleShot(true);
    m_ui.Timer1->setTimerType(Qt::PreciseTimer);
    connect(m_ui.Timer1, &QTimer::timeout, this, &Main_LEDFlasher_form::Timer1_Timer);

    m_downloadStatus = new QLabel(this);
    m_downloadStatus->setObjectName(QStringLiteral("DownloadStatus"));
    statusBar()->addWidget(m_downloadStatus, 1);
    statusBar()->setSizeGripEnabled(false);
    wireDownloadSession();

    Form_Load();
    wireHistory();
    setFixedSize(sizeHint());
}

Main_LEDFlasher_form::~Main_LEDFlasher_form() = default;

void Main_LEDFlasher_form::buildGrid(QWidget* client)
{
    // Cells sit at the 120-twip pitch (the design's 135-twip boxes would overlap), in
    // whole pixels so that every column is alike, rounded down so the grid stays in its box.
    const int pitch = int(120 / twipsPerPixel());
    const int left = twips(1920);
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 50; ++i) {
            auto* cell = new CellBox(k + 1, i, client);
            cell->setGeometry(left + pitch * i, twips(360 + 360 * k), pitch, twips(195));
            cell->installEventFilter(this);
            connect(cell, &QCheckBox::toggled, this, [this, i] { iSwitchLedX_Click(i); });
            m_ui.iSwitchLedX[k][i] = cell;
        }
    }
    for (int i = 0; i < 50; ++i) {
        QLabel* axis = designLabel(client, QStringLiteral("TimeAxis(%1)").arg(i),
                                   QString::number((i + 1) % 10), 1920, 1920, 120, 255);
        axis->setGeometry(left + pitch * i, axis->y(), pitch, axis->height());
        axis->setAlignment(Qt::AlignCenter);
        axis->setFont(designFont(6));
        setTextColour(axis, designColour(0));
        setBackgroundColour(axis, designColour(0x8000000F));
        axis->installEventFilter(this);
        m_ui.TimeAxis[i] = axis;

        QLabel* mem = designLabel(client, QStringLiteral("mem(%1)").arg(i), QStringLiteral("0"),
                                  1920 + 120 * i, 2280, 135, 255);
        mem->hide();
        m_ui.mem[i] = mem;
    }
    designLine(client, QStringLiteral("Line3"), 1800, 240, 8040, 240);
    designLine(client, QStringLiteral("Line4"), 8040, 240, 8040, 1800);
    designLine(client, QStringLiteral("Line1"), 8040, 1800, 1800, 1800);
    designLine(client, QStringLiteral("Line2"), 1800, 1800, 1800, 240);
}

void Main_LEDFlasher_form::buildRowControls(QWidget* client)
{
    for (int k = 0; k < 4; ++k) {
        const int top = 360 + 360 * k;
        QLabel* name = designLabel(client, QStringLiteral("LEDlabel1(%1)").arg(k),
                                   tr("LED#%1").arg(k + 1), 120, top, 975, 255);
        name->setAlignment(Qt::AlignCenter);
        name->setToolTip(tr("Click here to change color of LED#%1").arg(k + 1));
        setBackgroundColour(name, designColour(0x909090));
        setTextColour(name, designColour(0xFFFFFF));
        name->setCursor(Qt::PointingHandCursor);
        name->setFocusPolicy(Qt::StrongFocus); // Space or Enter opens the colour list
        name->installEventFilter(this);
        m_ui.LEDlabel1[k] = name;

        auto* led = new LedShape(client);
        led->setObjectName(QStringLiteral("LED(%1)").arg(k));
        led->setAccessibleName(tr("LED %1 test light").arg(k + 1));
        placeTwips(led, 1200, top, 255, 255);
        m_ui.LED[k] = led;

        auto* options = new QPushButton(client);
        options->setObjectName(QStringLiteral("RowOptions%1").arg(k));
        options->setToolTip(tr("Click here to change LED#%1 flash pattern").arg(k + 1));
        options->setAccessibleName(tr("LED %1 row options").arg(k + 1));
        options->setIcon(menuGlyph());
        placeTwips(options, 1560, top, 135, 135);
        options->setIconSize(options->size() - QSize(4, 4));
        connect(options, &QPushButton::clicked, this, [this, k] { RowOptions_Click(k); });
        m_ui.RowOptions[k] = options;
    }
}

void Main_LEDFlasher_form::buildLists(QWidget* client)
{
    m_ui.RowOptionsList = popupList(client, QStringLiteral("RowOptionsList"),
                                    {tr("Clear All"), tr("Mark All"), tr("Toggle All"),
                                     tr("Copy from..."), tr("Copy to..."), tr("Skip 1..."),
                                     tr("Skip 2..."), tr("Skip 3..."), QString(), tr("Cancel")},
                                    1680, 480, 1455, 2940);
    m_ui.CopyList = popupList(client, QStringLiteral("CopyList"),
                              {tr("LED #1"), tr("LED #2"), tr("LED #3"), tr("LED #4"), QString(),
                               QString(), QString(), QString(), QString(), tr("Cancel")},
                              1560, 360, 975, 2940);
    m_ui.CopyList->setCurrentRow(-1);
    m_ui.ColorList =
        popupList(client, QStringLiteral("ColorList"), colourNames(), 1560, 360, 1455, 2940);
    const auto codes = initialColourCodes();
    for (int i = 0; i < m_ui.ColorList->count(); ++i)
        m_ui.ColorList->item(i)->setIcon(swatch(colourFromValue(colourCodeValue(codes[i]))));
    connect(m_ui.RowOptionsList, &QListWidget::itemClicked, this,
            &Main_LEDFlasher_form::RowOptionsList_Click);
    connect(m_ui.CopyList, &QListWidget::itemClicked, this, &Main_LEDFlasher_form::CopyList_Click);
    connect(m_ui.ColorList, &QListWidget::itemClicked, this,
            &Main_LEDFlasher_form::ColorList_Click);
}

void Main_LEDFlasher_form::buildCommands(QWidget* client)
{
    m_ui.OpenButton =
        commandButton(client, QStringLiteral("OpenButton"), QStringLiteral("&Open File..."),
                      tr("Click here to open and load a  LED sequence..."), 240, 2280);
    m_ui.SaveButton =
        commandButton(client, QStringLiteral("SaveButton"), QStringLiteral("&Save File..."),
                      tr("Click here to save the current LED sequence..."), 240, 3000);
    m_ui.TestButton = commandButton(
        client, QStringLiteral("TestButton"), QStringLiteral("&Test"),
        tr("Click here to Start/Stop the visual test of the LED sequence..."), 3840, 2280);
    m_ui.Settings_button =
        commandButton(client, QStringLiteral("Settings_button"), tr("S&ettings..."),
                      tr("Click here to change Software/Glimmeron Settings..."), 3840, 3000);
    m_ui.DownloadButton = commandButton(
        client, QStringLiteral("DownloadButton"), QStringLiteral("&DOWNLOAD"),
        tr("Click here to Download data to Glimmeron Sequencer/Flasher..."), 7200, 2280);
    m_ui.Exit_button = commandButton(client, QStringLiteral("Exit_button"), tr("E&xit"),
                                     tr("Exit software..."), 7200, 3000);

    m_ui.DLlabel = designLabel(client, QStringLiteral("DLlabel"),
                               tr("Downloading to GLIMMERON ..."), 3120, 2880, 3495, 735);
    m_ui.DLlabel->setToolTip(tr("Downloading data to the Glimmeron..."));
    m_ui.DLlabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont bold = m_ui.DLlabel->font();
    bold.setBold(true);
    m_ui.DLlabel->setFont(bold);
    setTextColour(m_ui.DLlabel, designColour(0xFF));
    setBackgroundColour(m_ui.DLlabel, designColour(0xC0C0C0));
    m_ui.DLlabel->hide();

    m_ui.ProgressBar1 = new QProgressBar(client);
    m_ui.ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_ui.ProgressBar1->setRange(0, 56);
    m_ui.ProgressBar1->setValue(0);
    m_ui.ProgressBar1->setTextVisible(false);
    placeTwips(m_ui.ProgressBar1, 3360, 3240, 3015, 255);
    m_ui.ProgressBar1->hide();

    // Alt+T, Alt+D and Alt+E belong to the menu bar's commands of the same name; with the
    // buttons holding them too, Qt would only move the focus between the two.
    for (QPushButton* button : {m_ui.TestButton, m_ui.DownloadButton, m_ui.Settings_button})
        button->setShortcut(QKeySequence());

    connect(m_ui.OpenButton, &QPushButton::clicked, this, &Main_LEDFlasher_form::OpenButton_Click);
    connect(m_ui.SaveButton, &QPushButton::clicked, this, &Main_LEDFlasher_form::SaveButton_Click);
    connect(m_ui.TestButton, &QPushButton::clicked, this, &Main_LEDFlasher_form::TestButton_Click);
    connect(m_ui.Settings_button, &QPushButton::clicked, this,
            &Main_LEDFlasher_form::Settings_button_Click);
    connect(m_ui.DownloadButton, &QPushButton::clicked, this,
            &Main_LEDFlasher_form::DownloadButton_Click);
    connect(m_ui.Exit_button, &QPushButton::clicked, this,
            &Main_LEDFlasher_form::Exit_button_Click);
}

void Main_LEDFlasher_form::buildServoControls(QWidget* client)
{
    m_ui.Label1 = designLabel(client, QStringLiteral("Label1"), QStringLiteral("Servo Control"),
                              8040, 120, 1095, 255);
    setBackgroundColour(m_ui.Label1, designColour(0xE0E0E0));
    for (int k = 0; k < 4; ++k) {
        auto* combo = new QComboBox(client);
        combo->setObjectName(QStringLiteral("ServoControl(%1)").arg(k));
        // A pure drop-down list, so a selector is never left without a mode.
        combo->setEditable(false);
        combo->setToolTip(tr("Change how LED#%1 will repond to R/C servo signal").arg(k + 1));
        combo->setGeometry(twips(8040), twips(360 + 360 * k), twips(1095), twips(300));
        m_ui.ServoControl[k] = combo;
    }

    m_ui.ServoStick = new QScrollBar(Qt::Horizontal, client);
    m_ui.ServoStick->setObjectName(QStringLiteral("ServoStick"));
    m_ui.ServoStick->setRange(kServoStickMin, kServoStickMax);
    m_ui.ServoStick->setSingleStep(1);
    m_ui.ServoStick->setPageStep(10);
    m_ui.ServoStick->setValue(kServoStickStart);
    // The pulse and zone follow the thumb when it is released, not while it is dragged.
    m_ui.ServoStick->setTracking(false);
    // A scroll bar takes no keyboard focus by default; the arrow keys need it.
    m_ui.ServoStick->setFocusPolicy(Qt::StrongFocus);
    // Scroll bars invert their keys by default; Left must move towards 100.
    m_ui.ServoStick->setInvertedControls(false);
    placeTwips(m_ui.ServoStick, 3360, 3120, 3135, 255);
    m_ui.ServoStick->hide();
    connect(m_ui.ServoStick, &QScrollBar::valueChanged, this,
            &Main_LEDFlasher_form::ServoStick_Change);

    m_ui.PulseWidthlabel1 = designLabel(client, QStringLiteral("PulseWidthlabel1"),
                                        tr("Servo Pulsewidth ="), 3600, 2880, 1575, 255);
    m_ui.PulseWidth = designLabel(client, QStringLiteral("PulseWidth"), QStringLiteral("1500"),
                                  5160, 2880, 495, 255);
    setTextColour(m_ui.PulseWidth, designColour(0xFF0000));
    m_ui.PulseWidthlabel2 =
        designLabel(client, QStringLiteral("PulseWidthlabel2"), tr("ms"), 5760, 2880, 375, 255);
    m_ui.Label2 = designLabel(client, QStringLiteral("Label2"),
                              tr("(Use Mouse or Left + Right Arrow key to change servo position)"),
                              2520, 3480, 4575, 255);
    m_ui.Label2->setToolTip(
        tr("Use the Mouse or Left + Right Arrow key to change servo position..."));
    setBackgroundColour(m_ui.Label2, designColour(0xE0E0E0));
    for (QLabel* label :
         {m_ui.PulseWidthlabel1, m_ui.PulseWidth, m_ui.PulseWidthlabel2, m_ui.Label2})
        label->hide();

    m_ui.Vspeed = new QCheckBox(tr("Variable Speed"), client);
    m_ui.Vspeed->setObjectName(QStringLiteral("Vspeed"));
    placeTwips(m_ui.Vspeed, 8040, 1920, 1455, 315);
    m_ui.Vspeed->hide();
}

void Main_LEDFlasher_form::buildMenus()
{
    QMenuBar* bar = menuBar();
    m_ui.MENUfile = bar->addMenu(QStringLiteral("&File"));
    m_ui.MENUnew = m_ui.MENUfile->addAction(QStringLiteral("&New/Clear"));
    m_ui.MENUopen = m_ui.MENUfile->addAction(QStringLiteral("&Open..."));
    m_ui.MENUmerge = m_ui.MENUfile->addAction(QStringLiteral("&Merge..."));
    m_ui.MENUsave = m_ui.MENUfile->addAction(QStringLiteral("&Save..."));
    m_ui.MENUexit = m_ui.MENUfile->addAction(QStringLiteral("E&xit"));
    // "i": Alt+E belongs to Settings. Undo and Redo join it once the history exists.
    m_ui.MENUedit = bar->addMenu(QStringLiteral("Ed&it"));
    m_ui.MENUtest = bar->addAction(QStringLiteral("&Test"));
    m_ui.MENUdownload = bar->addAction(QStringLiteral("&Download"));
    m_ui.MENUsettings = bar->addAction(QStringLiteral("S&ettings"));
    m_ui.MENUhelp = bar->addMenu(QStringLiteral("&Help"));
    m_ui.MENUabout = m_ui.MENUhelp->addAction(QStringLiteral("&About"));
    m_ui.MENUhowto = m_ui.MENUhelp->addAction(QStringLiteral("&Users' Manual..."));

    m_ui.MENUnew->setShortcut(QKeySequence::New);
    m_ui.MENUopen->setShortcut(QKeySequence::Open);
    m_ui.MENUsave->setShortcut(QKeySequence::Save);
    // Some desktops define no Quit key; Ctrl+Q is what users try.
    m_ui.MENUexit->setShortcut(QKeySequence(QKeySequence::Quit).isEmpty()
                                   ? QKeySequence(Qt::CTRL | Qt::Key_Q)
                                   : QKeySequence(QKeySequence::Quit));
    m_ui.MENUtest->setShortcut(Qt::Key_F5);
    m_ui.MENUhowto->setShortcut(Qt::Key_F1);
    const std::pair<QObject*, const char*> names[] = {
        {m_ui.MENUfile, "MENUfile"},         {m_ui.MENUnew, "MENUnew"},
        {m_ui.MENUopen, "MENUopen"},         {m_ui.MENUmerge, "MENUmerge"},
        {m_ui.MENUsave, "MENUsave"},         {m_ui.MENUexit, "MENUexit"},
        {m_ui.MENUedit, "MENUedit"},         {m_ui.MENUtest, "MENUtest"},
        {m_ui.MENUdownload, "MENUdownload"}, {m_ui.MENUsettings, "MENUsettings"},
        {m_ui.MENUhelp, "MENUhelp"},         {m_ui.MENUabout, "MENUabout"},
        {m_ui.MENUhowto, "MENUhowto"}};
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    connect(m_ui.MENUnew, &QAction::triggered, this, &Main_LEDFlasher_form::MENUnew_Click);
    connect(m_ui.MENUopen, &QAction::triggered, this, &Main_LEDFlasher_form::MENUopen_Click);
    connect(m_ui.MENUmerge, &QAction::triggered, this, &Main_LEDFlasher_form::MENUmerge_Click);
    connect(m_ui.MENUsave, &QAction::triggered, this, &Main_LEDFlasher_form::MENUsave_Click);
    connect(m_ui.MENUexit, &QAction::triggered, this, &Main_LEDFlasher_form::MENUexit_Click);
    connect(m_ui.MENUtest, &QAction::triggered, this, &Main_LEDFlasher_form::MENUtest_Click);
    connect(m_ui.MENUdownload, &QAction::triggered, this,
            &Main_LEDFlasher_form::MENUdownload_Click);
    connect(m_ui.MENUsettings, &QAction::triggered, this,
            &Main_LEDFlasher_form::MENUsettings_Click);
    connect(m_ui.MENUabout, &QAction::triggered, this, &Main_LEDFlasher_form::MENUabout_Click);
    connect(m_ui.MENUhowto, &QAction::triggered, this, &Main_LEDFlasher_form::MENUhowto_Click);
}

void Main_LEDFlasher_form::Form_Load()
{
    // Settings first: LED.cfg, the timing start values, the hidden dialog, the port number.
    const LedCfgLoad cfg = loadLedCfg(m_ledCfgPath);
    m_settings.commPortNumber = static_cast<qint16>(cfg.port);
    m_settings.sequencerDelay = 30;
    m_settings.testSpeed = 20;
    m_settingsForm = new Settings_form(m_settings, m_platform, m_ledCfgPath, this);
    m_settingsForm->setWindowFlag(Qt::Window);
    connect(m_settingsForm, &Settings_form::commPortNumberChanged, this,
            [this](int number) { m_serialPortNumber = number; });
    m_serialPortNumber = m_settings.commPortNumber;
    if (!cfg.problem.isEmpty())
        m_platform.messageBox(cfg.problem, applicationTitle(), Platform::Buttons::Ok,
                              Platform::Icon::Exclamation);

    m_colourCodes = initialColourCodes();
    for (int k = 0; k < 4; ++k) {
        m_ledColourIndex[k] = kColourWhite;
        applyLedColour(k);
    }
    const QStringList modes = servoModeTexts();
    for (QComboBox* combo : m_ui.ServoControl) {
        combo->addItems(modes);
        combo->setCurrentIndex(kServoModeNone);
    }
    m_servoZoneBit = ::servoZoneBit(m_ui.ServoStick->value());
    m_lastEvent = 49;
    markRuler(49, true);
}

bool Main_LEDFlasher_form::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* cell = qobject_cast<CellBox*>(watched))
        return handleCellEvent(cell, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < 50; ++i) {
            if (watched == m_ui.TimeAxis[i]) {
                TimeAxis_DblClick(i);
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int k = 0; k < 4; ++k) {
            if (watched == m_ui.LEDlabel1[k] &&
                (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
                LEDlabel1_Click(k);
                return true;
            }
        }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (QLabel* name : m_ui.LEDlabel1) { // a frame shows which name has the focus
            if (watched == name)
                name->setFrameStyle(event->type() == QEvent::FocusIn ? QFrame::Box
                                                                     : QFrame::NoFrame);
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int k = 0; k < 4; ++k) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // A click is a release over the label it was pressed on.
            if (watched == m_ui.LEDlabel1[k] &&
                m_ui.LEDlabel1[k]->rect().contains(mouse->position().toPoint())) {
                LEDlabel1_Click(k);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Main_LEDFlasher_form::closeEvent(QCloseEvent* event)
{
    if (quitAfterDownload()) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void Main_LEDFlasher_form::Form_Unload()
{
    m_platform.quit();
}
