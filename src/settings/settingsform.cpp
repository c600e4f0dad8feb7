#include "settings/settingsform.h"

#include "app/layout.h"
#include "app/platform.h"
#include "files/savefile.h"
#include "settings/ledcfg.h"
#include "settings/numbertypeahead.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

QComboBox* numberList(QWidget* parent, const char* name, int count, int l, int t, int w, int h)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMaxVisibleItems(count < 20 ? count : 20);
    placeTwips(combo, l, t, w, h + 60);
    return combo;
}

void fillNumbers(QComboBox* combo, int count)
{
    for (int k = 1; k <= count; ++k)
        combo->addItem(QStringLiteral(" %1").arg(k));
}

} // namespace

Settings_form::Settings_form(Settings& settings, Platform& platform, QString ledCfgPath,
                             QWidget* parent)
    : QDialog(parent), m_settings(settings), m_platform(platform),
      m_ledCfgPath(std::move(ledCfgPath))
{
    setObjectName(QStringLiteral("Settings_form"));
    setWindowTitle(tr("GLIMMERON  -  Programmable LED Sequencer/Flasher Settings..."));
    setModal(false);
    // Taller than designed by one line: the port's device shows under the buttons.
    setFixedSize(twips(8640), twips(3600));
    setFont(designFont(8.25));
    buildControls();
    Form_Load();
}

QLabel* Settings_form::addLabel(QWidget* parent, const char* name, const QString& text, int l,
                                int t, int w, int h)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    placeTwips(label, l, t, w, h);
    return label;
}

void Settings_form::buildControls()
{
    auto* software = new QGroupBox(tr("Software Settings"), this);
    software->setObjectName(QStringLiteral("CommPortSettingsFrame"));
    placeTwips(software, 120, 240, 4215, 2655);
    addLabel(software, "Label2", QStringLiteral("Communication Port# (RS-232)"), 120, 600, 2895,
             375);
    CommPortcombo = numberList(software, "CommPortcombo", 20, 3000, 600, 975, 315);
    addLabel(software, "Label3", tr("(Programming cable is connected to this 9-pin port#)"), 120,
             960, 3975, 495);
    addLabel(software, "Label1", QStringLiteral("LED Test Speed (ms)"), 240, 1680, 2415, 375);
    PCSpeedcombo = numberList(software, "PCSpeedcombo", 255, 3000, 1680, 975, 315);
    addLabel(software, "Label4", QStringLiteral("(Set to match Test speed with Sequencer speed)"),
             240, 2160, 3735, 375);

    auto* device = new QGroupBox(tr("Glimmeron Settings"), this);
    device->setObjectName(QStringLiteral("SpeedSettingsFrame"));
    placeTwips(device, 4440, 240, 3975, 1815);
    addLabel(device, "SequencerSpeed", tr("Sequencer Delay (ms)"), 240, 720, 2415, 375);
    PICSpeedcombo = numberList(device, "PICSpeedcombo", 255, 2880, 720, 975, 315);
    addLabel(device, "Label5", QStringLiteral("(Sets the delay between each of the 50 events )"),
             120, 1320, 3735, 375);

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

    auto* typeAhead = new NumberTypeAhead(this);
    for (QComboBox* list : {CommPortcombo, PCSpeedcombo, PICSpeedcombo})
        list->installEventFilter(typeAhead);
    connect(CommPortcombo, &QComboBox::currentIndexChanged, this, &Settings_form::showPortDevice);
    connect(SettingsOKbutton, &QPushButton::clicked, this, &Settings_form::SettingsOKbutton_Click);
    connect(SettingsCancelbutton, &QPushButton::clicked, this,
            &Settings_form::SettingsCancelbutton_Click);
}

void Settings_form::Form_Load()
{
    fillNumbers(PICSpeedcombo, 255);
    fillNumbers(PCSpeedcombo, 255);
    fillNumbers(CommPortcombo, 20);
    CommPortcombo->setCurrentIndex(m_settings.commPortNumber - 1);
    PCSpeedcombo->setCurrentIndex(m_settings.testSpeed - 1);
    PICSpeedcombo->setCurrentIndex(m_settings.sequencerDelay - 1);
}

void Settings_form::SettingsOKbutton_Click()
{
    m_settings.sequencerDelay = static_cast<qint16>(PICSpeedcombo->currentIndex() + 1);
    m_settings.testSpeed = static_cast<qint16>(PCSpeedcombo->currentIndex() + 1);
    m_settings.commPortNumber = static_cast<qint16>(CommPortcombo->currentIndex() + 1);
    Q_EMIT commPortNumberChanged(m_settings.commPortNumber);
    hide();
    QString error;
    if (!saveFileAtomically(m_ledCfgPath, ledCfgBytes(m_settings.commPortNumber), &error)) {
        m_platform.messageBox(
            QStringLiteral("The serial port number could not be stored in the settings file "
                           "%1: %2.\r\rThe new settings apply until the program ends. Check "
                           "that the folder is writable, then press OK in Settings again.")
                .arg(m_ledCfgPath, error),
            applicationTitle(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
    }
}

void Settings_form::SettingsCancelbutton_Click()
{
    hide();
}

void Settings_form::refreshPortDevices()
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

void Settings_form::showPortDevice()
{
    const int number = CommPortcombo->currentIndex() + 1;
    PortDevicelabel->setText(tr("Port %1: %2").arg(number).arg(PortMap(m_ports).describe(number)));
}

void Settings_form::showEvent(QShowEvent* event)
{
    refreshPortDevices();
    QDialog::showEvent(event);
}

void Settings_form::reject()
{
    SettingsCancelbutton_Click();
}
