#pragma once

#include "platform/platform.h"

#include <QPointer>

class QWidget;

class QtPlatform : public Platform
{
public:
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    Answer messageBox(const QString& prompt, const QString& title, Buttons buttons,
                      Icon icon) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<QString> folderName(const FileDialogRequest& request) override;
    std::unique_ptr<SerialLink> createSerialLink() override;
    QList<SerialPortEntry> serialPorts() override;
    void openUrl(const QUrl& url, std::function<void()> failed) override;
    void showDocument(const QString& title, const QString& html) override;
    void quit() override;

    // "Desc (*.X)|*.x|..." to Qt's "Desc (*.x *.X);;..." (file systems here are case-sensitive).
    static QString toQtFilter(const QString& filter);

private:
    QWidget* m_parent = nullptr;
    QPointer<QWidget> m_document;
};
