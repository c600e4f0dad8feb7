#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

// A serial device the system reports, as the user would recognise it.
struct SerialPortEntry
{
    QString device;      // what the port is opened by: /dev/ttyUSB0, COM3
    QString description; // "FT232R USB UART"; may be empty
};

// The one serial connection a download needs: open write-only at 2400,n,8,1,
// hand each record to the system at once, drain before closing.
class SerialLink
{
public:
    virtual ~SerialLink() = default;
    // On failure `error` says what went wrong in words a user can act on.
    virtual bool open(const QString& device, QString* error) = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray& bytes, QString* error) = 0;
    // Waits until every written byte has left, then closes.
    virtual void close() = 0;
};

class QtSerialLink : public SerialLink
{
public:
    bool open(const QString& device, QString* error) override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray& bytes, QString* error) override;
    void close() override;

    static QString describe(QSerialPort::SerialPortError error, const QString& detail);

private:
    QSerialPort m_port;
};
