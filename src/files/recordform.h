#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// The text form shared by data files and LED.cfg: one value per line, text in double
// quotes, integers as bare signed decimals, CR LF after every record.
struct RecordField
{
    bool quoted = false;
    QByteArray text;
    int line = 0; // 1-based line the field starts on
};

QByteArray quotedRecord(const QByteArray& text);
QByteArray integerRecord(int value);

// Splits file bytes into fields. A comma also ends a field; CR LF, LF or CR end a line,
// the last line may lack its line end, and empty lines at the very end are not fields.
QList<RecordField> readRecordFields(const QByteArray& bytes);

// A field's value as a whole number, quoted or not; nothing when it is not one.
std::optional<long long> recordNumber(const RecordField& field);
// True for a sign and digits only, however many.
bool isWholeNumberText(const RecordField& field);
// A short, printable rendering of a field for messages.
QString describeField(const RecordField& field);
