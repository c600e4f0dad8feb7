#include "sequence/gridview.h"

#include "platform/layout.h"
#include "sequence/cellbox.h"
#include "sequence/sequencedocument.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <map>

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
    connect(&document, &SequenceDocument::cursorChanged, this, &GridView::showCursor);
}

void GridView::build(QWidget* client)
{
    m_area->setObjectName(QStringLiteral("EventGrid"));
    m_area->setAccessibleName(tr("Event grid, 4 LEDs by 50 events"));
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 50; ++i) {
            auto* cell = new CellBox(k + 1, i, m_area);
            cell->installEventFilter(this);
            // clicked: by the user only, mouse or Space; the box shows the session's state
            connect(cell, &QAbstractButton::clicked, this,
                    [this, k, i](bool on) { m_document.session().clickCell(k, i, on); });
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

void GridView::highlightStep(int slot, bool shown)
{
    if (shown)
        m_stepSlot = slot;
    else if (m_stepSlot == slot)
        m_stepSlot = -1;
    showRulerBackground(slot);
}

// The session moved the cursor or the selection: the keyboard follows the cursor.
void GridView::showCursor()
{
    const EditSession& session = m_document.session();
    setCursorCell(m_cells[session.cursorLed()][session.cursorSlot()]);
    showSelection();
}

void GridView::showSelection()
{
    const EditSession& session = m_document.session();
    const EventRange range = session.selectedEvents();
    const bool selected = session.hasSelection();
    if (!m_area->setSelection(selected ? range.first : 0, selected ? range.count : 0))
        return;
    for (int i = 0; i < 50; ++i)
        showRulerBackground(i);
}

// The test run's grey wins over the selection's tint, which is half the highlight colour.
void GridView::showRulerBackground(int slot)
{
    QColor colour = designColour(slot == m_stepSlot ? 0x808080 : 0x8000000F);
    const EventRange range = m_document.session().selectedEvents();
    if (slot != m_stepSlot && m_document.session().hasSelection() && slot >= range.first &&
        slot < range.end()) {
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
        m_document.session().setLastEvent(slot);
        return true;
    case QEvent::MouseButtonPress:
        if (mouse()->button() != Qt::LeftButton)
            return false;
        m_rulerPressed = true;
        m_document.session().pressRuler(slot, mouse()->modifiers() & Qt::ShiftModifier);
        return true;
    case QEvent::MouseMove: {
        if (!m_rulerPressed)
            return false;
        const int x = label->mapToParent(mouse()->position().toPoint()).x() - m_area->x();
        m_document.session().dragRuler(std::clamp(x / std::max(1, m_area->width() / 50), 0, 49));
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_rulerPressed = false;
        m_document.session().releaseRuler();
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
        // Space then toggles the cell just clicked
        m_document.session().placeCursor(cell->led() - 1, cell->slot());
        if (m_drag.press(at()))
            m_document.session().beginPaint();
        return false;
    case QEvent::MouseMove:
        paintFromStart(m_drag.moveTo(at()));
        return false;
    case QEvent::MouseButtonRelease: {
        if (!m_drag.active())
            return false;
        paintFromStart(m_drag.moveTo(at()));
        const std::vector<GridCell> fill = m_drag.release(at());
        if (m_drag.isClick()) {
            m_document.session().endPaint();
            return false; // a plain click: the check box is clicked
        }
        paintFromStart(fill);
        cell->setDown(false); // a drag never toggles its start cell
        m_document.session().endPaint();
        return true;
    }
    case QEvent::KeyPress:
        return moveCursor(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: // the keyboard came to another cell some other way: the cursor follows
        if (cell != m_cursor)
            m_document.session().placeCursor(cell->led() - 1, cell->slot());
        return false;
    default:
        return false;
    }
}

// Each cell takes the state that its own row has at the start slot.
void GridView::paintFromStart(const std::vector<GridCell>& cells)
{
    m_document.session().paintCells(cells, m_drag.startSlot());
}

// Arrows, Home and End move the keyboard cursor, with Shift selecting the events passed;
// Space is the check box's own click.
bool GridView::moveCursor(const QKeyEvent* key)
{
    using Move = EditSession::Move;
    static const std::map<int, Move> moves{{Qt::Key_Left, Move::Left}, {Qt::Key_Right, Move::Right},
                                           {Qt::Key_Up, Move::Up},     {Qt::Key_Down, Move::Down},
                                           {Qt::Key_Home, Move::Home}, {Qt::Key_End, Move::End}};
    if (key->key() == Qt::Key_Escape)
        return m_document.session().endSelection();
    const auto move = moves.find(key->key());
    if (move == moves.end())
        return false;
    m_document.session().moveCursor(move->second, key->modifiers() & Qt::ShiftModifier);
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
