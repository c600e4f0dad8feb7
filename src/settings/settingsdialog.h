#pragma once

#include "platform/seriallink.h"
#include "settings/settings.h"

#include <QDialog>

class Platform;
class QComboBox;
class QLabel;
class QPushButton;
class SequenceDocument;

// The modeless settings dialog `Settings_form`: the serial port number, kept in
// LED.cfg, and the document's two timing settings. Created once, hidden, and only
// shown and hidden after; its lists keep what the user last chose.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    SettingsDialog(SequenceDocument& document, Platform& platform, QString ledCfgPath,
                   int commPortNumber, QWidget* parent = nullptr);

    // What the lists show now.
    Settings values() const;
    // The port number as last applied.
    int commPortNumber() const { return m_commPortNumber; }

    // Follows the main window's scale.
    void fitToScale();

    void accept() override;
    void reject() override;

    QComboBox* CommPortcombo = nullptr;
    QComboBox* PCSpeedcombo = nullptr;
    QComboBox* PICSpeedcombo = nullptr;
    QPushButton* SettingsOKbutton = nullptr;
    QPushButton* SettingsCancelbutton = nullptr;
    QLabel* PortDevicelabel = nullptr;

Q_SIGNALS:
    void applied(const Settings& settings);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void showTiming();
    void refreshPortDevices();
    void showPortDevice();

    SequenceDocument& m_document;
    Platform& m_platform;
    QString m_ledCfgPath;
    int m_commPortNumber;
    QList<SerialPortEntry> m_ports;
};
