#include "platform/accessiblecombo.h"

#include <QAbstractItemView>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

const char* const kLabels = "glimmeronAccessibleLabels";
const char* const kCaption = "glimmeronAccessibleCaption";

// What a screen reader speaks before "combo box": the box's name and its current entry. Orca
// names a labelled box by its first label alone and speaks the value only after a pause, so
// this caption, a child object of the box, comes before the visible labels.
class ComboCaption : public QAccessibleObject
{
public:
    explicit ComboCaption(QObject* caption) : QAccessibleObject(caption) {}

    QComboBox* combo() const { return static_cast<QComboBox*>(object()->parent()); }
    QAccessibleInterface* box() const { return QAccessible::queryAccessibleInterface(combo()); }

    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !combo()->isVisible();
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? combo()->accessibleName() + QStringLiteral(", ") +
                                            combo()->currentText().trimmed()
                                      : QString();
    }
    QRect rect() const override { return box()->rect(); }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        if (!(match & QAccessible::Labelled))
            return {};
        return {{box(), QAccessible::Labelled}};
    }
    QAccessibleInterface* parent() const override { return box(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

// Read-only text of the current entry: with it, a screen reader speaks the value after the
// label (Qt 6.4 offers no selection for a combo box's entries).
class ComboAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
    QString current() const { return combo()->currentText().trimmed(); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description) { // what the entry means, then what the box is for
            const QString tip = combo()->currentData(Qt::ToolTipRole).toString();
            const QString own = QAccessibleWidget::text(t);
            return tip.isEmpty() ? own : own.isEmpty() ? tip : tip + QStringLiteral(". ") + own;
        }
        if (t == QAccessible::Value ||
            (t == QAccessible::Name && combo()->accessibleName().isEmpty()))
            return current();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view() && combo()->view()->isVisible();
        return s;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto found = QAccessibleWidget::relations(match);
        if (match & QAccessible::Label) {
            if (QObject* caption =
                    combo()->findChild<QObject*>(kCaption, Qt::FindDirectChildrenOnly);
                caption && !combo()->accessibleName().isEmpty())
                found.prepend({QAccessible::queryAccessibleInterface(caption), QAccessible::Label});
            for (QObject* label : combo()->property(kLabels).value<QObjectList>())
                if (label)
                    found.append(
                        {QAccessible::queryAccessibleInterface(label), QAccessible::Label});
        }
        return found;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString&) override { combo()->showPopup(); }

    // QAccessibleTextInterface, read-only, over the current entry.
    QString text(int start, int end) const override { return current().mid(start, end - start); }
    int characterCount() const override { return int(current().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
};

QAccessibleInterface* comboInterface(const QString&, QObject* object)
{
    if (auto* combo = qobject_cast<QComboBox*>(object))
        return new ComboAccessible(combo);
    if (object->objectName() == QLatin1String(kCaption) &&
        qobject_cast<QComboBox*>(object->parent()))
        return new ComboCaption(object);
    return nullptr;
}

} // namespace

QComboBox* newComboBox(QWidget* parent)
{
    // Before the first combo box: Qt asks a factory once per object and keeps the answer.
    static const bool installed = (QAccessible::installFactory(comboInterface), true);
    Q_UNUSED(installed);
    auto* combo = new QComboBox(parent);
    auto* caption = new QObject(combo);
    caption->setObjectName(QLatin1String(kCaption));
    QObject::connect(combo, &QComboBox::currentIndexChanged, caption, [caption] {
        QAccessibleEvent event(caption, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    });
    return combo;
}

void setAccessibleLabels(QComboBox* combo, const QList<QWidget*>& labels)
{
    QObjectList objects;
    for (QWidget* label : labels)
        objects << label;
    combo->setProperty(kLabels, QVariant::fromValue(objects));
}
