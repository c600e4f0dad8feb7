#include "files/sequencefile.h"

QByteArray writeSequenceFile(const SequenceData& data)
{
    return QByteArray::fromStdString(sequenceFileBytes(data));
}

SequenceReadResult readSequenceFile(const QByteArray& bytes)
{
    const SequenceFileRead read =
        readSequenceBytes(std::string_view(bytes.constData(), size_t(bytes.size())));
    return {read.data, read.record, QString::fromStdString(read.problem)};
}

QString sequenceNote(const QByteArray& bytes)
{
    return QString::fromStdString(
        sequenceFileNote(std::string_view(bytes.constData(), size_t(bytes.size()))));
}
