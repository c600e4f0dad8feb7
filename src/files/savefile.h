#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Writes the whole file next to the target and puts it in place only once it is
// complete, so a failure never leaves a damaged or missing file behind. A symbolic link
// is followed to its file. Only a regular file is replaced: a FIFO, device, socket or
// folder is refused and left as it is. A read-only file is refused unless it is the
// program's own (`ownFile`), which is made readable and writable by its owner again.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error,
                        bool ownFile = false);

// Every read of the program: a regular file (links followed) or one built into the
// program (":/"), of at most `maxBytes`. Nothing waits: a FIFO, device or folder is
// refused unopened, and so is a larger file.
std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString* error);

// Why a name was not found when it holds bytes that are not valid UTF-8: they reach the
// program as a stand-in character, under which the system cannot find the file.
QString notValidUtf8();
// The same for a name to be written: there is nothing there to rename.
QString notValidUtf8ToWrite();
// A path for messages; an empty one is called so, not shown as nothing.
QString shownPath(const QString& path);

// The program's own lists (recent files, pattern folders): one path a line. A missing or
// unreadable list reads as empty; for one that is there but cannot be read, `problem`
// says so, naming the file and why, so that it is not written over.
QStringList readListFile(const QString& path, QString* problem = nullptr);
// Empty when written; else what went wrong, naming the file and what to do.
QString writeListFile(const QString& path, const QStringList& lines);
