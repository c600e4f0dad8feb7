#include "sequence/lednamelabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

class LedNameAccessible : public QAccessibleWidget
{
public:
    explicit LedNameAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        // The colour list waits in a loop of its own: not inside the tool's call.
        if (action == pressAction())
            QMetaObject::invokeMethod(static_cast<LedNameLabel*>(widget()),
                                      &LedNameLabel::activated, Qt::QueuedConnection);
    }
};

QAccessibleInterface* ledNameInterface(const QString&, QObject* object)
{
    if (auto* label = qobject_cast<LedNameLabel*>(object))
        return new LedNameAccessible(label);
    return nullptr;
}

} // namespace

LedNameLabel::LedNameLabel(int led, QWidget* parent) : QLabel(tr("LED#%1").arg(led + 1), parent)
{
    static const bool installed = (QAccessible::installFactory(ledNameInterface), true);
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("LEDlabel1(%1)").arg(led));
    setAlignment(Qt::AlignCenter);
    setToolTip(tr("Click here to change color of LED#%1").arg(led + 1));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void LedNameLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
        Q_EMIT activated();
    else
        QLabel::keyPressEvent(event);
}

// A click is a release over the label it was pressed on.
void LedNameLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        Q_EMIT activated();
}

// A frame shows which name has the focus.
void LedNameLabel::focusInEvent(QFocusEvent* event)
{
    setFrameStyle(QFrame::Box);
    QLabel::focusInEvent(event);
}

void LedNameLabel::focusOutEvent(QFocusEvent* event)
{
    setFrameStyle(QFrame::NoFrame);
    QLabel::focusOutEvent(event);
}
