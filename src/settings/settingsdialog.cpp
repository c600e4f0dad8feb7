#include "settings/settingsdialog.h"

#include "device/portmap.h"
#include "files/savefile.h"
#include "platform/accessiblecombo.h"
#include "platform/layout.h"
#include "platform/platform.h"
#include "sequence/sequencedocument.h"
#include "settings/ledcfg.h"
#include "settings/numbertypeahead.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// Entry k shows the number k + 1 after one blank.
QComboBox* numberList(QWidget* parent, const char* name, int count, int l, int t, int w, int h)
{
    auto* combo = newComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMaxVisibleItems(count < 20 ? count : 20);
    placeTwips(combo, l, t, w, h + 60);
    for (int k = 1; k <= count; ++k)
        combo->addItem(QStringLiteral(" %1").arg(k));
    return combo;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int l, int t, int w, int h)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    placeTwips(label, l, t, w, h);
    return label;
}

} // namespace

SettingsDialog::SettingsDialog(SequenceDocument& document, Platform& platform, QString ledCfgPath,
                               int commPortNumber, QWidget* parent)
    : QDialog(parent), m_document(document), m_platform(platform),
      m_ledCfgPath(std::move(ledCfgPath)), m_commPortNumber(commPortNumber)
{
    setObjectName(QStringLiteral("Settings_form"));
    setWindowTitle(tr("GLIMMERON  -  Programmable LED Sequencer/Flasher Settings..."));
    setWindowFlag(Qt::Window);
    setModal(false);
    new TwipsLayout(this);
    setDesignFont(this, 8.25);
    fitToScale();
    buildControls();
    CommPortcombo->setCurrentIndex(commPortNumber - 1);
    showTiming();
    // Open, Merge and undo select the file's timing; what the user chose but cancelled
    // stays selected otherwise.
    connect(&document, &SequenceDocument::timingChanged, this, &SettingsDialog::showTiming);
}

void SettingsDialog::buildControls()
{
    auto* software = new QGroupBox(tr("Software Settings"), this);
    software->setObjectName(QStringLiteral("CommPortSettingsFrame"));
    placeTwips(software, 120, 240, 4215, 2655);
    QLabel* port = addLabel(software, "Label2", QStringLiteral("Communication Port# (RS-232)"), 120,
                            600, 2895, 375);
    addLabel(software, "Label3", tr("(Programming cable is connected to this 9-pin port#)"), 120,
             960, 3975, 495);
    QLabel* speed =
        addLabel(software, "Label1", QStringLiteral("LED Test Speed (ms)"), 240, 1680, 2415, 375);
    addLabel(software, "Label4", QStringLiteral("(Set to match Test speed with Sequencer speed)"),
             240, 2160, 3735, 375);

    auto* device = new QGroupBox(tr("Glimmeron Settings"), this);
    device->setObjectName(QStringLiteral("SpeedSettingsFrame"));
    placeTwips(device, 4440, 240, 3975, 1815);
    QLabel* delay =
        addLabel(device, "SequencerSpeed", tr("Sequencer Delay (ms)"), 240, 720, 2415, 375);
    addLabel(device, "Label5", QStringLiteral("(Sets the delay between each of the 50 events )"),
             120, 1320, 3735, 375);
    // In the order that Tab visits them.
    CommPortcombo = numberList(software, "CommPortcombo", 20, 3000, 600, 975, 315);
    PCSpeedcombo = numberList(software, "PCSpeedcombo", 255, 3000, 1680, 975, 315);
    PICSpeedcombo = numberList(device, "PICSpeedcombo", 255, 2880, 720, 975, 315);
    port->setBuddy(CommPortcombo);
    speed->setBuddy(PCSpeedcombo);
    delay->setBuddy(PICSpeedcombo);

    QLabel* hint =
        addLabel(this, "Label6", QStringLiteral("Use Pull-downs for changing all settings!"), 4440,
                 2160, 4095, 375);
    setTextColour(hint, designColour(0xFF));

    SettingsOKbutton = new QPushButton(tr("OK"), this);
    SettingsOKbutton->setObjectName(QStringLiteral("SettingsOKbutton"));
    placeTwips(SettingsOKbutton, 6960, 2520, 975, 495);
    SettingsCancelbutton = new QPushButton(tr("Cancel"), this);
    SettingsCancelbutton->setObjectName(QStringLiteral("SettingsCancelbutton"));
    placeTwips(SettingsCancelbutton, 5160, 2520, 1095, 495);
    SettingsOKbutton->setDefault(true);

    PortDevicelabel = addLabel(this, "PortDevicelabel", QString(), 120, 3090, 8400, 435);
    PortDevicelabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QString shown = QDir::toNativeSeparators(QFileInfo(m_ledCfgPath).absoluteFilePath());
    if (shown.startsWith(QDir::homePath() + QLatin1Char('/')))
        shown.replace(0, QDir::homePath().size(), QStringLiteral("~"));
    QLabel* file = addLabel(this, "LedCfglabel", tr("The port number is kept in %1").arg(shown),
                            120, 3525, 8400, 255);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Assistive tools name each list by what it sets, as its label does.
    const std::pair<QComboBox*, QString> names[] = {{CommPortcombo, tr("Serial port")},
                                                    {PCSpeedcombo, tr("Test speed")},
                                                    {PICSpeedcombo, tr("Sequencer delay")}};
    for (const auto& [list, name] : names)
        list->setAccessibleName(name);
    auto* typeAhead = new NumberTypeAhead(this);
    for (QComboBox* list : {CommPortcombo, PCSpeedcombo, PICSpeedcombo})
        list->installEventFilter(typeAhead);
    connect(CommPortcombo, &QComboBox::currentIndexChanged, this, &SettingsDialog::showPortDevice);
    connect(SettingsOKbutton, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(SettingsCancelbutton, &QPushButton::clicked, this, &SettingsDialog::reject);
}

Settings SettingsDialog::values() const
{
    return {static_cast<qint16>(CommPortcombo->currentIndex() + 1),
            static_cast<qint16>(PICSpeedcombo->currentIndex() + 1),
            static_cast<qint16>(PCSpeedcombo->currentIndex() + 1)};
}

void SettingsDialog::showTiming()
{
    PICSpeedcombo->setCurrentIndex(m_document.sequencerDelay() - 1);
    PCSpeedcombo->setCurrentIndex(m_document.testSpeed() - 1);
}

// OK: apply, hide, then store the port number.
void SettingsDialog::accept()
{
    const Settings chosen = values();
    m_document.session().applySettings(chosen.sequencerDelay, chosen.testSpeed);
    m_commPortNumber = chosen.commPortNumber;
    Q_EMIT applied(chosen);
    hide();
    QString error;
    if (QFileInfo(m_ledCfgPath).isAbsolute()) // the user's folder may not exist yet
        QDir().mkpath(QFileInfo(m_ledCfgPath).path());
    if (!saveFileAtomically(m_ledCfgPath, ledCfgBytes(m_commPortNumber), &error, true)) {
        m_platform.messageBox(
            tr("The serial port number could not be stored in the settings file %1: %2.\r\rThe "
               "new settings apply until the program ends. Check that the folder is writable, "
               "then press OK in Settings again.")
                .arg(m_ledCfgPath, error),
            applicationTitle(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
    }
}

void SettingsDialog::reject()
{
    hide();
}

void SettingsDialog::refreshPortDevices()
{
    m_ports = m_platform.serialPorts();
    const PortMap map(m_ports);
    for (int k = 0; k < CommPortcombo->count(); ++k) {
        const QString device = map.entry(k + 1).device;
        CommPortcombo->setItemData(
            k, device.isEmpty() ? tr("No serial port has this number") : device, Qt::ToolTipRole);
    }
    showPortDevice();
}

void SettingsDialog::showPortDevice()
{
    const int number = CommPortcombo->currentIndex() + 1;
    PortDevicelabel->setText(tr("Port %1: %2").arg(number).arg(PortMap(m_ports).describe(number)));
}

// At the main window's scale. Taller than designed by two lines: the port's device and the
// file that keeps the port show under the buttons.
void SettingsDialog::fitToScale()
{
    TwipsLayout::of(this)->rescale();
    setFixedSize(twips(8640), twips(3840));
}

// The ports are looked up again each time the dialog opens.
void SettingsDialog::showEvent(QShowEvent* event)
{
    fitToScale();
    refreshPortDevices();
    QDialog::showEvent(event);
}
