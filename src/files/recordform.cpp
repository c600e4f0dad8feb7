#include "files/recordform.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>

QByteArray quotedRecord(const QByteArray& text)
{
    return '"' + text + "\"\r\n";
}

QByteArray integerRecord(int value)
{
    return QByteArray::number(value) + "\r\n";
}

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

QList<RecordField> readRecordFields(const QByteArray& bytes)
{
    QList<RecordField> fields;
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    int line = 1;
    while (pos < size) {
        RecordField field;
        field.line = line;
        while (pos < size && isBlank(bytes[pos]))
            ++pos;
        if (pos < size && bytes[pos] == '"') {
            field.quoted = true;
            const qsizetype start = ++pos;
            while (pos < size && bytes[pos] != '"' && !isLineEnd(bytes[pos]))
                ++pos;
            field.text = bytes.mid(start, pos - start);
            if (pos < size && bytes[pos] == '"')
                ++pos;
            // Anything between the closing quote and the delimiter is passed over.
            while (pos < size && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < size && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
                ++pos;
            field.text = bytes.mid(start, pos - start).trimmed();
        }
        fields.append(field);
        if (pos < size && bytes[pos] == ',') {
            ++pos;
            if (pos == size || isLineEnd(bytes[pos]))
                fields.append(RecordField{false, {}, line}); // "a," holds an empty second field
        }
        if (pos < size && isLineEnd(bytes[pos])) {
            if (bytes[pos] == '\r' && pos + 1 < size && bytes[pos + 1] == '\n')
                ++pos;
            ++pos;
            ++line;
        }
    }
    while (!fields.isEmpty() && !fields.last().quoted && fields.last().text.isEmpty())
        fields.removeLast();
    return fields;
}

std::optional<long long> recordNumber(const RecordField& field)
{
    const QByteArray text = field.text.trimmed();
    if (text.isEmpty() || text.size() > 12)
        return std::nullopt;
    // The conversion stops at a NUL and calls "5\0junk" a 5: no control byte may pass.
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::nullopt;
    }
    bool ok = false;
    const long long value = text.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

bool isWholeNumberText(const RecordField& field)
{
    QByteArray text = field.text.trimmed();
    if (text.startsWith('-') || text.startsWith('+'))
        text.remove(0, 1);
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

QString describeField(const RecordField& field)
{
    if (field.text.isEmpty())
        return QCoreApplication::translate("GLIMMERON", "an empty field");
    QString shown;
    for (char c : field.text.left(20)) {
        const auto u = static_cast<unsigned char>(c);
        shown += u >= 0x20 && u < 0x7F ? QString(QLatin1Char(c))
                                       : QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    if (field.text.size() > 20)
        shown += QStringLiteral("...");
    return QStringLiteral("\"%1\"").arg(shown);
}
