#include "sequence/gridview.h"

#include "platform/layout.h"
#include "sequence/cellbox.h"
#include "sequence/sequencedocument.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

// The frame around the grid, as Line3, Line4, Line1 and Line2 run: x1, y1, x2, y2.
constexpr int kLines[4][4] = {{1800, 240, 8040, 240},
                              {8040, 240, 8040, 1800},
                              {8040, 1800, 1800, 1800},
                              {1800, 1800, 1800, 240}};

QRect lineRect(const int (&l)[4])
{
    const QPoint from(twips(std::min(l[0], l[2])), twips(std::min(l[1], l[3])));
    const QPoint to(twips(std::max(l[0], l[2])), twips(std::max(l[1], l[3])));
    return QRect(from,
                 QSize(std::max(1, to.x() - from.x() + 1), std::max(1, to.y() - from.y() + 1)));
}

} // namespace

GridView::GridView(SequenceDocument& document, QWidget* client)
    : QObject(client), m_document(document), m_area(new CellArea(client))
{
    build(client);
    place();
    markRuler(m_document.lastEvent(), true);
    if (TwipsLayout* layout = TwipsLayout::of(client))
        connect(layout, &TwipsLayout::rescaled, this, &GridView::place);
    connect(&document, &SequenceDocument::cellChanged, this, &GridView::showCell);
    connect(&document, &SequenceDocument::lastEventChanged, this, [this](int previous, int slot) {
        markRuler(previous, false);
        markRuler(slot, true);
    });
}

void GridView::build(QWidget* client)
{
    m_area->setObjectName(QStringLiteral("EventGrid"));
    m_area->setAccessibleName(tr("Event grid, 4 LEDs by 50 events"));
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 50; ++i) {
            auto* cell = new CellBox(k + 1, i, m_area);
            cell->installEventFilter(this);
            connect(cell, &QAbstractButton::toggled, this,
                    [this, k, i](bool on) { m_document.setCell(k, i, on); });
            // clicked: by the user only, mouse or Space
            connect(cell, &QAbstractButton::clicked, this,
                    [this] { m_document.commit(tr("Cell Click")); });
            m_cells[k][i] = cell;
        }
    }
    m_cursor = m_cells[0][0];
    for (int i = 0; i < 50; ++i) {
        auto* axis = new QLabel(QString::number((i + 1) % 10), client);
        axis->setObjectName(QStringLiteral("TimeAxis(%1)").arg(i));
        axis->setAlignment(Qt::AlignCenter);
        if (i == 0) {
            axis->setFont(designFont(6));
            setTextColour(axis, designColour(0));
            setBackgroundColour(axis, designColour(0x8000000F));
        } else { // the first one's font and colours, shared: quicker than made again
            axis->setFont(m_ruler[0]->font());
            axis->setPalette(m_ruler[0]->palette());
            axis->setAutoFillBackground(true);
        }
        axis->installEventFilter(this);
        axis->setAccessibleName(tr("Event %1").arg(i + 1));
        m_ruler[i] = axis;

        auto* mem = new QLabel(QStringLiteral("0"), client);
        mem->setObjectName(QStringLiteral("mem(%1)").arg(i));
        placeTwips(mem, 1920 + 120 * i, 2280, 135, 255);
        mem->hide();
        m_mem[i] = mem;
    }
    const char* const lineNames[] = {"Line3", "Line4", "Line1", "Line2"};
    for (int n = 0; n < 4; ++n) {
        m_lines[n] = new QFrame(client);
        m_lines[n]->setObjectName(QString::fromLatin1(lineNames[n]));
        setBackgroundColour(m_lines[n], Qt::black);
    }
}

// At the window's scale. Cells sit at the 120-twip pitch (the design's 135-twip boxes would
// overlap), in whole pixels so that every column is alike, rounded down so the grid stays in
// its box.
void GridView::place()
{
    const int pitch = int(120 / twipsPerPixel());
    const int left = twips(1920);
    m_area->setGeometry(left, twips(360), 50 * pitch, twips(1440 + 195) - twips(360));
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 50; ++i)
            m_cells[k][i]->setGeometry(pitch * i, twips(360 + 360 * k) - m_area->y(), pitch,
                                       twips(195));
    QFont font = m_ruler[0]->font();
    font.setPointSizeF(designPoints(6));
    for (int i = 0; i < 50; ++i) {
        m_ruler[i]->setGeometry(left + pitch * i, twips(1920), pitch, twips(255));
        m_ruler[i]->setFont(font);
    }
    for (int n = 0; n < 4; ++n)
        m_lines[n]->setGeometry(lineRect(kLines[n]));
    markRuler(m_document.lastEvent(), true);
    if (!m_drag.active())
        m_drag = DragPaint(geometry());
}

GridGeometry GridView::geometry() const
{
    GridGeometry g;
    g.left = m_cells[0][0]->x();
    g.pitch = m_cells[0][1]->x() - m_cells[0][0]->x();
    g.cellHeight = m_cells[0][0]->height();
    for (int k = 0; k < 4; ++k)
        g.rowTops[k] = m_cells[k][0]->y();
    return g;
}

void GridView::showCell(int led, int slot)
{
    m_cells[led][slot]->setChecked(m_document.cell(led, slot));
    m_mem[slot]->setText(QString::number(m_document.eventValue(slot)));
}

void GridView::markRuler(int slot, bool marked)
{
    QLabel* label = m_ruler[slot];
    setTextColour(label, designColour(marked ? 0xFF : 0));
    QFont font = label->font();
    font.setPointSizeF(designPoints(marked ? 8 : 6));
    label->setFont(font);
    label->setAccessibleName(marked ? tr("Event %1, last event").arg(slot + 1)
                                    : tr("Event %1").arg(slot + 1));
}

void GridView::markCursorSlotLast()
{
    m_document.setLastEvent(m_cursor->slot());
    m_document.commit(tr("Mark Last Event"));
}

void GridView::highlightStep(int slot, bool shown)
{
    if (shown)
        m_stepSlot = slot;
    else if (m_stepSlot == slot)
        m_stepSlot = -1;
    showRulerBackground(slot);
}

EventRange GridView::selectedEvents() const
{
    const int slot = cursorSlot();
    if (m_anchor < 0)
        return {slot, 1};
    return {std::min(m_anchor, slot), std::abs(m_anchor - slot) + 1};
}

int GridView::cursorSlot() const
{
    return m_cursor->slot();
}

void GridView::moveCursorTo(int slot)
{
    m_anchor = -1;
    setCursorCell(m_cells[m_cursor->led() - 1][slot]);
    showSelection();
}

void GridView::selectEvents(int anchor, int slot)
{
    m_anchor = anchor;
    setCursorCell(m_cells[m_cursor->led() - 1][slot]);
    showSelection();
}

void GridView::showSelection()
{
    const EventRange range = selectedEvents();
    if (!m_area->setSelection(hasSelection() ? range.first : 0, hasSelection() ? range.count : 0))
        return;
    for (int i = 0; i < 50; ++i)
        showRulerBackground(i);
}

// The test run's grey wins over the selection's tint, which is half the highlight colour.
void GridView::showRulerBackground(int slot)
{
    QColor colour = designColour(slot == m_stepSlot ? 0x808080 : 0x8000000F);
    const EventRange range = selectedEvents();
    if (slot != m_stepSlot && hasSelection() && slot >= range.first && slot < range.end()) {
        const QColor h = m_area->palette().color(QPalette::Highlight);
        colour.setRgb((colour.red() + h.red()) / 2, (colour.green() + h.green()) / 2,
                      (colour.blue() + h.blue()) / 2);
    }
    setBackgroundColour(m_ruler[slot], colour);
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* cell = qobject_cast<CellBox*>(watched))
        return cellEvent(cell, event);
    return rulerEvent(static_cast<QLabel*>(watched), event);
}

// A double-click marks the last event; Shift+click selects up to the label from the
// selection's start (or the cursor), and a drag selects the labels it passes.
bool GridView::rulerEvent(QLabel* label, QEvent* event)
{
    const int slot = int(std::find(m_ruler.begin(), m_ruler.end(), label) - m_ruler.begin());
    const auto mouse = [event] { return static_cast<QMouseEvent*>(event); };
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        m_document.setLastEvent(slot);
        m_document.commit(tr("Mark Last Event"));
        return true;
    case QEvent::MouseButtonPress:
        if (mouse()->button() != Qt::LeftButton)
            return false;
        m_rulerPress = slot;
        if (mouse()->modifiers() & Qt::ShiftModifier) {
            m_rulerPress = hasSelection() ? m_anchor : cursorSlot();
            selectEvents(m_rulerPress, slot);
        }
        return true;
    case QEvent::MouseMove: {
        if (m_rulerPress < 0)
            return false;
        const int x = label->mapToParent(mouse()->position().toPoint()).x() - m_area->x();
        const int to = std::clamp(x / std::max(1, m_area->width() / 50), 0, 49);
        if (to != m_rulerPress || hasSelection())
            selectEvents(m_rulerPress, to);
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_rulerPress = -1;
        return false;
    default:
        return false;
    }
}

// The pressed cell keeps the mouse until release, so the cells passed over are found
// from the pointer's path, not from events of their own.
bool GridView::cellEvent(CellBox* cell, QEvent* event)
{
    const auto at = [&] {
        const QPoint p =
            cell->mapTo(m_area, static_cast<QMouseEvent*>(event)->position().toPoint());
        return GridPoint{p.x(), p.y()};
    };
    switch (event->type()) {
    // A press soon after a click arrives as a double-click: it starts a drag all the same.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        setCursorCell(cell); // Space then toggles the cell just clicked
        if (hasSelection()) {
            m_anchor = -1;
            showSelection();
        }
        if (m_drag.press(at()))
            Q_EMIT dragActiveChanged(true);
        return false;
    case QEvent::MouseMove:
        paintFromStart(m_drag.moveTo(at()));
        return false;
    case QEvent::MouseButtonRelease: {
        if (!m_drag.active())
            return false;
        paintFromStart(m_drag.moveTo(at()));
        const std::vector<GridCell> fill = m_drag.release(at());
        Q_EMIT dragActiveChanged(false);
        if (m_drag.isClick())
            return false; // a plain click: the check box toggles itself
        paintFromStart(fill);
        cell->setDown(false); // a drag never toggles its start cell
        m_document.commit(tr("Paint Cells"));
        return true;
    }
    case QEvent::KeyPress:
        return moveCursor(cell, static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

// Each cell takes the state that its own row has at the start slot.
void GridView::paintFromStart(const std::vector<GridCell>& cells)
{
    const int start = m_drag.startSlot();
    for (const GridCell& c : cells)
        m_document.setCell(c.led, c.slot, m_document.cell(c.led, start));
}

// Arrows, Home and End move the keyboard cursor, with Shift selecting the events passed;
// Space is the check box's own click.
bool GridView::moveCursor(CellBox* from, const QKeyEvent* key)
{
    int led = from->led() - 1;
    int slot = from->slot();
    switch (key->key()) {
    case Qt::Key_Escape:
        if (!hasSelection())
            return false;
        moveCursorTo(slot);
        return true;
    case Qt::Key_Left:
        slot = std::max(0, slot - 1);
        break;
    case Qt::Key_Right:
        slot = std::min(49, slot + 1);
        break;
    case Qt::Key_Up:
        led = std::max(0, led - 1);
        break;
    case Qt::Key_Down:
        led = std::min(3, led + 1);
        break;
    case Qt::Key_Home:
        slot = 0;
        break;
    case Qt::Key_End:
        slot = 49;
        break;
    default:
        return false;
    }
    if (!(key->modifiers() & Qt::ShiftModifier))
        m_anchor = -1;
    else if (m_anchor < 0 && slot != from->slot())
        m_anchor = from->slot();
    setCursorCell(m_cells[led][slot]);
    showSelection();
    return true;
}

void GridView::setCursorCell(CellBox* to)
{
    if (to != m_cursor) {
        to->setFocusPolicy(Qt::StrongFocus);
        m_cursor->setFocusPolicy(Qt::NoFocus);
        m_cursor = to;
    }
    to->setFocus(Qt::TabFocusReason);
}
