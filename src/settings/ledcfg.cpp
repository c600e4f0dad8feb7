#include "settings/ledcfg.h"

#include "core/portnumbers.h"
#include "core/recordform.h"
#include "files/savefile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr qint64 kMaxLedCfgBytes = 4096;
}

QByteArray ledCfgBytes(int port)
{
    return QByteArray::fromStdString(integerRecordText(port));
}

std::optional<int> parseLedCfg(const QByteArray& bytes)
{
    const std::vector<FieldText> fields = splitFields(bytes.toStdString());
    if (fields.empty())
        return std::nullopt;
    const auto number = fieldNumber(fields.front());
    if (!number || *number < kFirstPort || *number > kLastPort)
        return std::nullopt;
    return static_cast<int>(*number);
}

LedCfgLoad loadLedCfg(const QString& path)
{
    LedCfgLoad result;
    if (!QFileInfo::exists(path))
        return result;
    const QString fallback = QCoreApplication::translate(
        "GLIMMERON", "Serial port 1 is used for now. Choose the port under "
                     "Settings and press OK to store it.");
    QString error;
    const auto bytes = readSmallFile(path, kMaxLedCfgBytes, &error);
    if (!bytes) {
        result.problem = QCoreApplication::translate(
                             "GLIMMERON", "The settings file %1 could not be read: %2.\r\r%3")
                             .arg(path, error, fallback);
        return result;
    }
    if (const auto port = parseLedCfg(*bytes)) {
        result.port = *port;
        return result;
    }
    const std::vector<FieldText> fields = splitFields(bytes->toStdString());
    const QString held = fields.empty() ? QStringLiteral("nothing")
                                        : QString::fromStdString(fieldDescription(fields.front()));
    result.problem = QCoreApplication::translate(
                         "GLIMMERON", "The settings file %1 holds %2, which is not a serial port "
                                      "number from 1 to 20.\r\r%3")
                         .arg(path, held, fallback);
    return result;
}

QString userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/glimmeron");
}

QString ledCfgLocation()
{
    const QString here = QStringLiteral("LED.cfg");
    return QFileInfo::exists(here) ? here : userConfigFolder() + QLatin1Char('/') + here;
}
