#pragma once

#include "platform/seriallink.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

// Everything that blocks on the user or reaches outside the program goes
// through here, so that every handler can run headless in tests.
class Platform
{
public:
    enum class Buttons { Ok, OkCancel, YesNoCancel, SaveDiscardCancel };
    enum class Icon { None, Question, Exclamation };
    enum class Answer { Ok, Cancel, Yes, No, Save, Discard };

    struct FileDialogRequest
    {
        QString title;
        QString filter; // "Description|pattern|Description|pattern"
        QString initialName;
        QString folder; // where the dialog opens; empty for the current directory
    };

    virtual ~Platform() = default;

    // Line breaks in the prompt are single carriage returns.
    virtual Answer messageBox(const QString& prompt, const QString& title, Buttons buttons,
                              Icon icon) = 0;
    // Full path of the chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
    // A folder chosen by the user; `request.filter` is not used.
    virtual std::optional<QString> folderName(const FileDialogRequest& request) = 0;
    virtual std::unique_ptr<SerialLink> createSerialLink() = 0;
    // The serial ports the system reports, in any order.
    virtual QList<SerialPortEntry> serialPorts() = 0;
    // Opens the address with the desktop's launcher; `failed` runs when there is none or
    // it reports an error, now or later.
    virtual void openUrl(const QUrl& url, std::function<void()> failed) = 0;
    // Shows an HTML document in the program's one window for it.
    virtual void showDocument(const QString& title, const QString& html) = 0;
    // Ends the program at once: nothing is saved and no question is asked.
    virtual void quit() = 0;
    // For what no box may wait on, as the program ends: one line on standard error.
    virtual void printError(const QString& text)
    {
        std::fprintf(stderr, "glimmeron: %s\n", qPrintable(text));
    }
};

// Title of message boxes that have none of their own.
inline QString applicationTitle()
{
    return QStringLiteral("GLIMMERON");
}
