#include "sequence/eventcommands.h"

#include "core/eventedits.h"
#include "platform/clipboardreader.h"
#include "platform/platform.h"
#include "sequence/gridview.h"
#include "sequence/sequencedocument.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString kEventsType = QStringLiteral("application/x-glimmeron-events");

} // namespace

EventCommands::EventCommands(SequenceDocument& document, GridView& grid, Platform& platform,
                             QObject* parent)
    : QObject(parent), m_document(document), m_grid(grid), m_platform(platform)
{
    addAction(QStringLiteral("MENUcut"), tr("Cu&t Events"), QKeySequence::Cut, [this] { cut(); });
    addAction(QStringLiteral("MENUcopy"), tr("&Copy Events"), QKeySequence::Copy,
              [this] { copy(); });
    addAction(QStringLiteral("MENUpaste"), tr("&Paste Events"), QKeySequence::Paste,
              [this] { paste(); });
    addAction(QStringLiteral("MENUclearevents"), tr("Cl&ear Events"), Qt::Key_Delete,
              [this] { clear(); });
    m_actions << new QAction(this);
    m_actions.last()->setSeparator(true);
    addAction(QStringLiteral("MENUinsertevent"), tr("&Insert Event"), Qt::Key_Insert,
              [this] { insert(); });
    addAction(QStringLiteral("MENUdeleteevents"), tr("&Delete Events"), Qt::CTRL | Qt::Key_Delete,
              [this] { remove(); });
    addAction(QStringLiteral("MENUrotateleft"), tr("Rotate Le&ft"), {}, [this] { rotate(-1); });
    addAction(QStringLiteral("MENUrotateright"), tr("Rotate Ri&ght"), {}, [this] { rotate(1); });
    addAction(QStringLiteral("MENUreverse"), tr("Re&verse Events"), {}, [this] { reverse(); });
    addAction(QStringLiteral("MENUselectall"), tr("Select &All Events"), QKeySequence::SelectAll,
              [this] { selectAll(); });
    // A drag is half an edit: no command cuts into it.
    connect(&grid, &GridView::dragActiveChanged, this, [this](bool active) {
        for (QAction* action : std::as_const(m_actions))
            action->setEnabled(!active);
    });
}

void EventCommands::addAction(const QString& name, const QString& text, const QKeySequence& key,
                              const std::function<void()>& command)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, command);
    m_actions << action;
}

// "event 5" or "events 3 to 7", as the ruler counts them.
QString EventCommands::describe(int first, int count) const
{
    return count == 1 ? tr("event %1").arg(first + 1)
                      : tr("events %1 to %2").arg(first + 1).arg(first + count);
}

void EventCommands::copy()
{
    const EventRange range = m_grid.selectedEvents();
    const std::vector<int> values = m_document.events(range);
    auto* mime = new QMimeData;
    mime->setData(kEventsType, QByteArray::fromStdString(eventsBytes(values)));
    mime->setText(QString::fromStdString(eventsText(values)));
    QGuiApplication::clipboard()->setMimeData(mime);
    Q_EMIT status(tr("Copied %1.").arg(describe(range.first, range.count)));
}

void EventCommands::cut()
{
    copy();
    const EventRange range = m_grid.selectedEvents();
    m_document.removeEvents(range, tr("Cut Events"));
    m_grid.moveCursorTo(range.first);
    Q_EMIT status(tr("Cut %1.").arg(describe(range.first, range.count)));
}

// The program's own copies first; text from anywhere else in the same form too.
void EventCommands::paste()
{
    const ClipboardRead clip = readClipboard(
        QGuiApplication::clipboard()->mimeData(), kEventsType,
        [](const QByteArray& bytes) { return readEventsBytes(bytes.toStdString()).error.empty(); });
    if (clip.noAnswer)
        return (void)m_platform.messageBox(clip.problem, applicationTitle(), Platform::Buttons::Ok,
                                           Platform::Icon::Exclamation);
    EventsRead read{{}, clip.problem.toStdString()};
    if (clip.own)
        read = readEventsBytes(clip.own->toStdString());
    else if (clip.text)
        read = readEventsText(clip.text->toStdString());
    if (!read.error.empty()) {
        m_platform.messageBox(
            tr("The clipboard holds no events to paste. %1\rCopy events in the editor, or "
               "text of four lines of # (lit) and . (dark), one line per LED, then paste again.")
                .arg(QString::fromStdString(read.error)),
            applicationTitle(), Platform::Buttons::Ok, Platform::Icon::Exclamation);
        return;
    }
    const int first = m_grid.selectedEvents().first;
    const int dropped = m_document.pasteEvents(first, read.values);
    const int pasted = int(read.values.size()) - dropped;
    m_grid.moveCursorTo(first);
    QString text = tr("Pasted %1.").arg(describe(first, pasted));
    if (dropped > 0)
        text += QLatin1Char(' ') +
                (dropped == 1 ? tr("One more ran past event 50 and was dropped.")
                              : tr("%1 more ran past event 50 and were dropped.").arg(dropped));
    Q_EMIT status(text);
}

void EventCommands::clear()
{
    m_document.clearEvents(m_grid.selectedEvents());
}

void EventCommands::remove()
{
    const EventRange range = m_grid.selectedEvents();
    m_document.removeEvents(range, tr("Delete Events"));
    m_grid.moveCursorTo(range.first);
}

void EventCommands::insert()
{
    const int slot = m_grid.cursorSlot();
    m_document.insertEvent(slot);
    m_grid.moveCursorTo(slot);
}

void EventCommands::rotate(int step)
{
    m_document.rotateEvents(step);
}

// Without a selection, the whole sequence.
void EventCommands::reverse()
{
    m_document.reverseEvents(m_grid.hasSelection() ? m_grid.selectedEvents()
                                                   : EventRange{0, m_document.lastEvent() + 1});
}

void EventCommands::selectAll()
{
    m_grid.selectEvents(0, 49);
}
