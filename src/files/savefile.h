#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Writes the whole file next to the target and puts it in place only once it is
// complete, so a failure never leaves a damaged or missing file behind. A symbolic link
// is followed to its file. A read-only file is refused unless it is the program's own
// (`ownFile`), which is made readable and writable by its owner again.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error,
                        bool ownFile = false);

// Reads a file of at most `maxBytes`; a larger one is refused unread.
std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString* error);

// The program's own lists (recent files, pattern folders): one path a line. Reading a
// missing or unreadable list gives an empty one; a list that cannot be written is only a
// convenience lost, so writing says nothing.
QStringList readListFile(const QString& path);
void writeListFile(const QString& path, const QStringList& lines);
