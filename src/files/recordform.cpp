#include "files/recordform.h"

namespace {

std::string_view viewOf(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

FieldText fieldText(const RecordField& field)
{
    return {field.quoted, field.text.toStdString(), field.line};
}

} // namespace

QByteArray quotedRecord(const QByteArray& text)
{
    return QByteArray::fromStdString(quotedRecordText(viewOf(text)));
}

QByteArray integerRecord(int value)
{
    return QByteArray::fromStdString(integerRecordText(value));
}

QList<RecordField> readRecordFields(const QByteArray& bytes)
{
    QList<RecordField> fields;
    for (const FieldText& f : splitFields(viewOf(bytes)))
        fields.append({f.quoted, QByteArray::fromStdString(f.text), f.line});
    return fields;
}

std::optional<long long> recordNumber(const RecordField& field)
{
    return fieldNumber(fieldText(field));
}

bool isWholeNumberText(const RecordField& field)
{
    return fieldIsWholeNumber(fieldText(field));
}

QString describeField(const RecordField& field)
{
    return QString::fromStdString(fieldDescription(fieldText(field)));
}
