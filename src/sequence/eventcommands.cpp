#include "sequence/eventcommands.h"

#include "core/editsession.h"
#include "core/eventedits.h"
#include "platform/clipboardreader.h"
#include "platform/platform.h"
#include "sequence/sequencedocument.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString kEventsType = QStringLiteral("application/x-glimmeron-events");

QKeySequence keyOf(const QString& name)
{
    static const QHash<QString, QKeySequence> keys{
        {QStringLiteral("MENUcut"), QKeySequence::Cut},
        {QStringLiteral("MENUcopy"), QKeySequence::Copy},
        {QStringLiteral("MENUpaste"), QKeySequence::Paste},
        {QStringLiteral("MENUclearevents"), Qt::Key_Delete},
        {QStringLiteral("MENUinsertevent"), Qt::Key_Insert},
        {QStringLiteral("MENUdeleteevents"), Qt::CTRL | Qt::Key_Delete},
        {QStringLiteral("MENUselectall"), QKeySequence::SelectAll},
        {QStringLiteral("MENUlastevent"), Qt::CTRL | Qt::Key_L}};
    return keys.value(name);
}

} // namespace

EventCommands::EventCommands(SequenceDocument& document, Platform& platform, QObject* parent)
    : QObject(parent), m_document(document), m_platform(platform)
{
    for (const CommandEntry& entry : EditSession::editCommands()) {
        auto* action = new QAction(this);
        m_actions << action;
        if (entry.name.empty()) {
            action->setSeparator(true);
            continue;
        }
        const QString name = QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size()));
        action->setText(QString::fromLatin1(entry.text.data(), qsizetype(entry.text.size())));
        action->setObjectName(name);
        action->setShortcut(keyOf(name));
        connect(action, &QAction::triggered, this, [this, name] { run(name); });
    }
    // A drag is half an edit: no command cuts into it.
    connect(&document, &SequenceDocument::historyChanged, this, &EventCommands::updateEnabled);
}

void EventCommands::updateEnabled()
{
    for (QAction* action : std::as_const(m_actions))
        action->setEnabled(!m_document.session().painting());
}

void EventCommands::run(const QString& name)
{
    if (name == QLatin1String("MENUpaste"))
        return paste();
    report(m_document.session().run(name.toStdString()));
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
    if (clip.own)
        report(m_document.session().pasteBytes(clip.own->toStdString()));
    else if (clip.text)
        report(m_document.session().pasteText(clip.text->toStdString()));
    else
        report(m_document.session().pasteText(std::nullopt));
}

void EventCommands::report(const CommandResult& result)
{
    if (result.copied) {
        auto* mime = new QMimeData;
        mime->setData(kEventsType, QByteArray::fromStdString(eventsBytes(result.copiedEvents)));
        mime->setText(QString::fromStdString(eventsText(result.copiedEvents)));
        QGuiApplication::clipboard()->setMimeData(mime);
    }
    if (!result.refusal.empty())
        m_platform.messageBox(QString::fromStdString(result.refusal), applicationTitle(),
                              Platform::Buttons::Ok, Platform::Icon::Exclamation);
    if (!result.status.empty())
        Q_EMIT status(QString::fromStdString(result.status));
}
