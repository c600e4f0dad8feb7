#include "files/sequenceload.h"

#include "core/sequencefile.h"
#include "files/savefile.h"

std::optional<QByteArray> readDataFile(const QString& path, QString* problem)
{
    QString error;
    std::optional<QByteArray> bytes = readSmallFile(path, kMaxDataFileBytes, &error);
    if (!bytes)
        *problem = QString::fromStdString(
            unreadableFileText(shownPath(path).toStdString(), error.toStdString()));
    return bytes;
}

SequenceLoad loadSequenceFile(const QString& path)
{
    QString problem;
    const std::optional<QByteArray> bytes = readDataFile(path, &problem);
    if (!bytes)
        return {std::nullopt, problem};
    const SequenceFileRead read = readSequenceBytes(bytes->toStdString());
    if (!read.data)
        return {std::nullopt, QString::fromStdString(invalidSequenceText(
                                  shownPath(path).toStdString(), read.record, read.problem))};
    return {read.data, QString()};
}
