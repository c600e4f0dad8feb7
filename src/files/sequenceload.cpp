#include "files/sequenceload.h"

#include "core/usertexts.h"
#include "files/savefile.h"
#include "files/sequencefile.h"

#include <QCoreApplication>

SequenceLoad loadSequenceFile(const QString& path)
{
    QString error;
    const std::optional<QByteArray> bytes = readSmallFile(path, kMaxDataFileBytes, &error);
    if (!bytes)
        return {std::nullopt,
                QCoreApplication::translate("GLIMMERON", "The file %1 could not be read: %2.")
                    .arg(shownPath(path), error)};
    const SequenceReadResult read = readSequenceFile(*bytes);
    if (!read.data)
        return {std::nullopt,
                QString::fromStdString(invalidSequenceText(
                    shownPath(path).toStdString(), read.record, read.problem.toStdString()))};
    return {read.data, QString()};
}
