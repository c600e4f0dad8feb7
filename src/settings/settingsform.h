#pragma once

#include "device/portmap.h"
#include "settings/settings.h"

#include <QDialog>

class Platform;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The modeless settings dialog. Created once, hidden, and only shown and hidden after.
class Settings_form : public QDialog
{
    Q_OBJECT
public:
    Settings_form(Settings& settings, Platform& platform, QString ledCfgPath,
                  QWidget* parent = nullptr);

    void Form_Load();
    void SettingsOKbutton_Click();
    void SettingsCancelbutton_Click();

    QComboBox* CommPortcombo = nullptr;
    QComboBox* PCSpeedcombo = nullptr;
    QComboBox* PICSpeedcombo = nullptr;
    QPushButton* SettingsOKbutton = nullptr;
    QPushButton* SettingsCancelbutton = nullptr;
    QLabel* PortDevicelabel = nullptr;

    // Shows which device each port number stands for now.
    void refreshPortDevices();

Q_SIGNALS:
    void commPortNumberChanged(int number);

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void showPortDevice();
    QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int l, int t, int w,
                     int h);

    Settings& m_settings;
    Platform& m_platform;
    QString m_ledCfgPath;
    QList<SerialPortEntry> m_ports;
};
