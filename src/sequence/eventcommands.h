#pragma once

#include <QObject>
#include <functional>

class GridView;
class Platform;
class QAction;
class SequenceDocument;

// The Edit menu's commands on whole events. They work on the grid's selection, or on the
// cursor's event when none is selected, through the document's operations; copies go to
// the clipboard as the program's own type and as text of # and . for anywhere else.
class EventCommands : public QObject
{
    Q_OBJECT
public:
    EventCommands(SequenceDocument& document, GridView& grid, Platform& platform, QObject* parent);

    // The menu entries in menu order, a separator among them, named and with their keys.
    QList<QAction*> actions() const { return m_actions; }

    void copy();
    void cut();
    void paste();
    void clear();
    void remove();
    void insert();
    void rotate(int step);
    void reverse();
    void selectAll();

Q_SIGNALS:
    // What a command did, for the status bar.
    void status(const QString& text);

private:
    void addAction(const QString& name, const QString& text, const QKeySequence& key,
                   const std::function<void()>& command);
    QString describe(int first, int count) const;

    SequenceDocument& m_document;
    GridView& m_grid;
    Platform& m_platform;
    QList<QAction*> m_actions;
};
