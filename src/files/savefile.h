#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Writes the whole file next to the target and puts it in place only once it is
// complete, so a failure never leaves a damaged or missing file behind.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// Reads a file of at most `maxBytes`; a larger one is refused unread.
std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString* error);
