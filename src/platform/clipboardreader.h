#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

class QMimeData;

// What a paste found on the clipboard: the program's own bytes, else text, else why not.
struct ClipboardRead
{
    std::optional<QByteArray> own;
    std::optional<QString> text;
    bool noAnswer = false; // the program that copied never answered
    QString problem;       // a sentence for the user when neither was read
};

// Reads `mime` (the clipboard's, whose every question may wait for the program that copied)
// once, within the platform's own time limit. The own type `ownType` comes first while
// `ownUsable` accepts its bytes; else text from any text type offered, in its charset (plain,
// UTF-8, UTF-16...). A question that comes back empty after `slow` went unanswered: nothing
// more is asked.
ClipboardRead readClipboard(const QMimeData* mime, const QString& ownType,
                            const std::function<bool(const QByteArray&)>& ownUsable,
                            std::chrono::milliseconds slow = std::chrono::milliseconds(2000));
