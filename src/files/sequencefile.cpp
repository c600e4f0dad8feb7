#include "files/sequencefile.h"

#include "files/recordform.h"

#include <QCoreApplication>

QByteArray writeSequenceFile(const SequenceData& data)
{
    QByteArray bytes;
    for (int value : data.events)
        bytes += quotedRecord(QByteArray::number(value));
    for (int index : data.colourIndexes)
        bytes += integerRecord(index);
    bytes += integerRecord(data.lastEvent);
    for (int mode : data.servoModes)
        bytes += integerRecord(mode);
    bytes += integerRecord(data.sequencerDelay);
    bytes += integerRecord(data.testSpeed);
    return bytes;
}

namespace {

class Reader
{
public:
    explicit Reader(const QList<RecordField>& fields) : m_fields(fields) {}

    // Reads the next record as a number within [low, high]; `what` names it in messages.
    bool next(int* out, long long low, long long high, const QString& what)
    {
        const int record = m_next + 1;
        if (m_next >= m_fields.size())
            return fail(record, QCoreApplication::translate(
                                    "GLIMMERON", "the file ends after %1 records; a sequence file "
                                                 "has %2")
                                    .arg(m_fields.size())
                                    .arg(kSequenceRecords));
        const RecordField& field = m_fields[m_next++];
        const auto number = recordNumber(field);
        if (!number && isWholeNumberText(field)) // too long to hold: out of range all the same
            return fail(record,
                        QCoreApplication::translate("GLIMMERON", "%1 is %2, outside %3 to %4")
                            .arg(what, QString::fromLatin1(field.text.trimmed()))
                            .arg(low)
                            .arg(high));
        if (!number)
            return fail(record, QCoreApplication::translate(
                                    "GLIMMERON", "%1 should be a number, but the file holds %2")
                                    .arg(what, describeField(field)));
        if (*number < low || *number > high)
            return fail(record,
                        QCoreApplication::translate("GLIMMERON", "%1 is %2, outside %3 to %4")
                            .arg(what)
                            .arg(*number)
                            .arg(low)
                            .arg(high));
        *out = static_cast<int>(*number);
        return true;
    }

    SequenceReadResult error() const { return {std::nullopt, m_record, m_problem}; }

private:
    bool fail(int record, const QString& problem)
    {
        m_record = record;
        m_problem = problem;
        return false;
    }

    const QList<RecordField>& m_fields;
    qsizetype m_next = 0;
    int m_record = 0;
    QString m_problem;
};

} // namespace

SequenceReadResult readSequenceFile(const QByteArray& bytes)
{
    // Some editors begin a UTF-8 file with a byte-order mark.
    const QList<RecordField> fields =
        readRecordFields(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    Reader in(fields);
    SequenceData data;
    for (int i = 0; i < 50; ++i) {
        if (!in.next(
                &data.events[i], 0, 15,
                QCoreApplication::translate("GLIMMERON", "the event value of event %1").arg(i + 1)))
            return in.error();
    }
    for (int k = 0; k < 8; ++k) {
        const bool led = k < 4;
        const QString what =
            led ? QCoreApplication::translate("GLIMMERON", "the colour index of LED %1").arg(k + 1)
                : QCoreApplication::translate("GLIMMERON", "colour entry %1").arg(k);
        if (!in.next(&data.colourIndexes[k], led ? 0 : -32768, led ? 7 : 32767, what))
            return in.error();
    }
    if (!in.next(&data.lastEvent, 0, 49,
                 QCoreApplication::translate("GLIMMERON", "the last event index")))
        return in.error();
    for (int k = 0; k < 4; ++k) {
        int& mode = data.servoModes[k];
        if (!in.next(
                &mode, -1, 15,
                QCoreApplication::translate("GLIMMERON", "the servo mode of LED %1").arg(k + 1)))
            return in.error();
        if (mode == -1)
            mode = 15; // older files write -1 for an empty selector, which behaves as NONE
    }
    if (!in.next(&data.sequencerDelay, 1, 255,
                 QCoreApplication::translate("GLIMMERON", "the sequencer delay")) ||
        !in.next(&data.testSpeed, 1, 255,
                 QCoreApplication::translate("GLIMMERON", "the LED test speed")))
        return in.error();
    // Whatever follows record 65 (a note, an end-of-file byte) is not read.
    return {data, 0, {}};
}

QString sequenceNote(const QByteArray& bytes)
{
    const QList<RecordField> fields = readRecordFields(bytes);
    if (fields.size() <= kSequenceRecords)
        return {};
    const QList<QByteArray> lines = bytes.split('\n');
    return QString::fromUtf8(lines.value(fields[kSequenceRecords].line - 1)).trimmed();
}
