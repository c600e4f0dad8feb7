#pragma once

#include "core/recordform.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The record form (core/recordform.h) on Qt's byte arrays.
struct RecordField
{
    bool quoted = false;
    QByteArray text;
    int line = 0; // 1-based line the field starts on
};

QByteArray quotedRecord(const QByteArray& text);
QByteArray integerRecord(int value);
QList<RecordField> readRecordFields(const QByteArray& bytes);
std::optional<long long> recordNumber(const RecordField& field);
bool isWholeNumberText(const RecordField& field);
QString describeField(const RecordField& field);
