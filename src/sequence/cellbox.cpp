#include "sequence/cellbox.h"

#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>

namespace {

// A cell to assistive tools: a check box named by its LED and event. The name is made
// when a tool asks, not for each of the 200 cells at start-up.
class CellAccessible : public QAccessibleWidget
{
public:
    explicit CellAccessible(CellBox* cell) : QAccessibleWidget(cell, QAccessible::CheckBox) {}

    // Screen readers leave out a check box's selected state, so the name carries it.
    QString text(QAccessible::Text t) const override
    {
        const auto* cell = static_cast<const CellBox*>(widget());
        if (t == QAccessible::Description && selected()) // spoken after the cell
            return area()->selectionText();
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        return (selected() ? CellBox::tr("LED %1, event %2, selected")
                           : CellBox::tr("LED %1, event %2"))
            .arg(cell->led())
            .arg(cell->slot() + 1);
    }
    const CellArea* area() const { return static_cast<const CellArea*>(widget()->parentWidget()); }
    QAccessible::State state() const override
    {
        const auto* cell = static_cast<const CellBox*>(widget());
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = cell->isChecked();
        s.pressed = cell->isDown();
        s.selectable = true;
        s.selected = selected();
        return s;
    }
    bool selected() const
    {
        return area()->isSelected(static_cast<const CellBox*>(widget())->slot());
    }
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& action) override
    {
        if (action == toggleAction())
            static_cast<CellBox*>(widget())->click();
    }
};

QAccessibleInterface* cellInterface(const QString&, QObject* object)
{
    if (auto* cell = qobject_cast<CellBox*>(object))
        return new CellAccessible(cell);
    return nullptr;
}

} // namespace

CellBox::CellBox(int led, int slot, QWidget* parent)
    : QAbstractButton(parent), m_led(led), m_slot(slot)
{
    setCheckable(true);
    static const bool installed = (QAccessible::installFactory(cellInterface), true);
    Q_UNUSED(installed);
    // Only the cell under the keyboard cursor is in the focus chain: Tab enters the grid
    // once, and the arrow keys move within it.
    setFocusPolicy(led == 1 && slot == 0 ? Qt::StrongFocus : Qt::NoFocus);
    setObjectName(QLatin1String("iSwitchLedX") + QString::number(led) + QLatin1Char('(') +
                  QString::number(slot) + QLatin1Char(')'));
}

QSize CellBox::sizeHint() const
{
    return {12, 19};
}

bool CellBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void CellBox::paintCell(QPainter& painter) const
{
    // A one-pixel frame and its inside, as solid fills: the fastest a raster painter draws.
    const QRect frame = geometry().adjusted(1, 2, -1, -2);
    const QPalette& pal = palette();
    painter.fillRect(frame, pal.color(QPalette::Dark));
    painter.fillRect(frame.adjusted(1, 1, -1, -1),
                     isDown() ? pal.color(QPalette::Midlight) : pal.color(QPalette::Base));
    if (isChecked())
        painter.fillRect(frame.adjusted(2, 2, -2, -2), pal.color(QPalette::Highlight));
    if (hasFocus()) { // the keyboard cursor
        painter.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(geometry().adjusted(0, 0, -1, -1));
    }
}

bool CellArea::setSelection(int first, int count)
{
    if (first == m_first && count == m_count)
        return false;
    update(columns(m_first, m_count));
    m_first = first;
    m_count = count;
    update(columns(m_first, m_count));
    // Assistive tools learn of it through the cell with the keyboard.
    if (auto* cell = qobject_cast<CellBox*>(focusWidget())) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(cell, changed);
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

QString CellArea::selectionText() const
{
    return m_count == 1 ? tr("Selection: event %1").arg(m_first + 1)
                        : tr("Selection: events %1 to %2").arg(m_first + 1).arg(m_first + m_count);
}

QRect CellArea::columns(int first, int count) const
{
    const int pitch = width() / 50;
    return {first * pitch, 0, count * pitch, height()};
}

void CellArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    for (QObject* child : children()) {
        auto* cell = qobject_cast<CellBox*>(child);
        if (cell && exposed.intersects(cell->geometry()))
            cell->paintCell(painter);
    }
    if (m_count == 0)
        return;
    // A tint over the selected events and a frame around them: the cells stay readable.
    QColor tint = palette().color(QPalette::Highlight);
    const QRect selected = columns(m_first, m_count);
    painter.setPen(tint);
    painter.drawRect(selected.adjusted(0, 0, -1, -1));
    tint.setAlpha(60);
    painter.fillRect(selected, tint);
}
