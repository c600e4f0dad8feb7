#pragma once

#include "platform/platform.h"
#include "platform/seriallink.h"

#include <QList>
#include <QQueue>
#include <chrono>
#include <functional>

// Records every message box and dialog and answers from a script, else Cancel (or OK).
class ScriptedPlatform : public Platform
{
public:
    struct MessageBoxCall
    {
        QString prompt, title;
        Buttons buttons;
        Icon icon;
    };

    QQueue<Answer> answers;
    QQueue<std::optional<QString>> fileChoices;
    QList<SerialPortEntry> ports; // what the system reports
    bool browserWorks = true;

    QList<MessageBoxCall> messageBoxes;
    QList<FileDialogRequest> fileDialogs;
    QList<QUrl> openedUrls;
    QList<std::pair<QString, QString>> shownDocuments;
    // When each serial write began, as the program hands records to the port.
    QList<std::chrono::steady_clock::time_point> serialWrites;
    int quitCalls = 0;

    Answer messageBox(const QString& prompt, const QString& title, Buttons buttons,
                      Icon icon) override
    {
        messageBoxes << MessageBoxCall{prompt, title, buttons, icon};
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    std::optional<QString> openFileName(const FileDialogRequest& r) override { return file(r); }
    std::optional<QString> saveFileName(const FileDialogRequest& r) override { return file(r); }
    std::optional<QString> folderName(const FileDialogRequest& r) override { return file(r); }
    // The real port (a pty through GLIMMERON_PORT_<n>), noting when each write begins.
    std::unique_ptr<SerialLink> createSerialLink() override
    {
        struct TimedSerialLink : QtSerialLink
        {
            QList<std::chrono::steady_clock::time_point>* writes;
            bool write(const QByteArray& bytes, QString* error) override
            {
                *writes << std::chrono::steady_clock::now();
                return QtSerialLink::write(bytes, error);
            }
        };
        auto link = std::make_unique<TimedSerialLink>();
        link->writes = &serialWrites;
        return link;
    }
    QList<SerialPortEntry> serialPorts() override { return ports; }
    void openUrl(const QUrl& url, std::function<void()> failed) override
    {
        openedUrls << url;
        if (!browserWorks)
            failed();
    }
    void showDocument(const QString& title, const QString& html) override
    {
        shownDocuments << std::pair{title, html};
    }
    void quit() override { ++quitCalls; }

private:
    std::optional<QString> file(const FileDialogRequest& request)
    {
        fileDialogs << request;
        return fileChoices.isEmpty() ? std::nullopt : fileChoices.dequeue();
    }
};
