#pragma once

#include <QObject>

class Platform;
class QAction;
class SequenceDocument;
struct CommandResult;

// The Edit menu's commands on whole events, as the session names and runs them. They work
// on the session's selection, or on the cursor's event when none is selected; copies go
// to the clipboard as the program's own type and as text of # and . for anywhere else.
class EventCommands : public QObject
{
    Q_OBJECT
public:
    EventCommands(SequenceDocument& document, Platform& platform, QObject* parent);

    // The menu entries in menu order, separators among them, named and with their keys.
    QList<QAction*> actions() const { return m_actions; }

    void run(const QString& name);
    void paste();

Q_SIGNALS:
    // What a command did, for the status bar.
    void status(const QString& text);

private:
    void report(const CommandResult& result);
    void updateEnabled();

    SequenceDocument& m_document;
    Platform& m_platform;
    QList<QAction*> m_actions;
};
