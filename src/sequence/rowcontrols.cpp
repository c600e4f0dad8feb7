#include "sequence/rowcontrols.h"

#include "core/colourtable.h"
#include "core/editsession.h"
#include "core/servozones.h"
#include "platform/accessiblecombo.h"
#include "platform/layout.h"
#include "platform/qtconvert.h"
#include "sequence/lednamelabel.h"
#include "sequence/sequencedocument.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

namespace {

// Three short bars: the caption-less row buttons open a menu. Drawn large, to stay sharp
// when the window is zoomed.
QIcon menuGlyph()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (int y : {8, 20, 32})
        painter.fillRect(8, y, 32, 8, Qt::black);
    return QIcon(pixmap);
}

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

} // namespace

RowControls::RowControls(SequenceDocument& document, QWidget* client)
    : QObject(client), m_document(document), m_client(client)
{
    build(client);
    if (TwipsLayout* layout = TwipsLayout::of(client))
        connect(layout, &TwipsLayout::rescaled, this, &RowControls::fitGlyphs);
    fitGlyphs();
    for (int k = 0; k < 4; ++k) {
        showColour(k);
        m_servo[k]->setCurrentIndex(document.servoMode(k));
    }
    connect(&document, &SequenceDocument::colourChanged, this, &RowControls::showColour);
    connect(&document, &SequenceDocument::servoModeChanged, this,
            [this](int led) { m_servo[led]->setCurrentIndex(m_document.servoMode(led)); });
}

QListWidget* RowControls::popupList(const QString& name, const QStringList& items, int l, int t,
                                    int w, int h)
{
    auto* list = new QListWidget(m_client);
    list->setObjectName(name);
    setDesignFont(list, 9.75);
    list->addItems(items);
    placeTwips(list, l, t, w, h);
    list->hide();
    list->setAccessibleName(name == QLatin1String("ColorList")  ? tr("LED colour")
                            : name == QLatin1String("CopyList") ? tr("Copy LED")
                                                                : tr("Row operations"));
    list->installEventFilter(this);
    connect(list, &QListWidget::itemClicked, this, [this, list] { choose(list); });
    return list;
}

void RowControls::build(QWidget* client)
{
    auto* heading = new QLabel(QStringLiteral("Servo Control"), client);
    heading->setObjectName(QStringLiteral("Label1"));
    placeTwips(heading, 8040, 120, 1095, 255);
    setBackgroundColour(heading, designColour(0xE0E0E0));
    for (int k = 0; k < 4; ++k) {
        const int top = 360 + 360 * k;
        auto* name = new LedNameLabel(k, client);
        placeTwips(name, 120, top, 975, 255);
        connect(name, &LedNameLabel::activated, this, [this, k] { chooseColour(k); });
        m_names[k] = name;

        auto* options = new QPushButton(client);
        options->setObjectName(QStringLiteral("RowOptions%1").arg(k));
        options->setToolTip(tr("Click here to change LED#%1 flash pattern").arg(k + 1));
        options->setAccessibleName(tr("LED %1 row options").arg(k + 1));
        options->setIcon(menuGlyph());
        placeTwips(options, 1560, top, 135, 135);
        connect(options, &QPushButton::clicked, this, [this, k] { chooseRowOperation(k); });
        m_options[k] = options;

        auto* combo = newComboBox(client);
        combo->setObjectName(QStringLiteral("ServoControl(%1)").arg(k));
        setAccessibleLabels(combo, {heading, name});
        // A pure drop-down list, so a selector is never left without a mode.
        combo->setEditable(false);
        combo->setToolTip(tr("Change how LED#%1 will repond to R/C servo signal").arg(k + 1));
        combo->setAccessibleName(tr("LED %1 servo response").arg(k + 1));
        placeTwips(combo, 8040, top, 1095, 300);
        for (int mode = 0; mode <= kServoModeNone; ++mode) {
            combo->addItem(toQString(servoModeText(mode)));
            combo->setItemData(mode, toQString(servoModeTip(mode)), Qt::ToolTipRole);
        }
        connect(combo, &QComboBox::activated, this,
                [this, k](int mode) { m_document.session().setServoMode(k, mode); });
        m_servo[k] = combo;
    }
}

void RowControls::fitGlyphs()
{
    for (QPushButton* options : m_options)
        options->setIconSize(options->size() - QSize(4, 4));
}

QListWidget* RowControls::rowOptionsList()
{
    if (!m_rowOptionsList)
        m_rowOptionsList = popupList(QStringLiteral("RowOptionsList"),
                                     toQStringList(rowOperationTexts()), 1680, 480, 1455, 2940);
    return m_rowOptionsList;
}

QListWidget* RowControls::copyList()
{
    if (!m_copyList) {
        m_copyList = popupList(QStringLiteral("CopyList"), toQStringList(copyPartnerTexts()), 1560,
                               360, 975, 2940);
        m_copyList->setCurrentRow(-1);
    }
    return m_copyList;
}

QListWidget* RowControls::colourList()
{
    if (!m_colourList) {
        m_colourList = popupList(QStringLiteral("ColorList"), colourNames(), 1560, 360, 1455, 2940);
        for (int i = 0; i < m_colourList->count(); ++i)
            m_colourList->item(i)->setIcon(swatch(tableColour(i)));
    }
    return m_colourList;
}

// Shows the list and waits, with the window live, until a choice hides it; then the
// keyboard goes back to the control that opened it.
void RowControls::waitForChoice(QListWidget* list)
{
    const QPointer<QWidget> opener = QApplication::focusWidget();
    list->show();
    list->raise();
    list->setFocus(Qt::PopupFocusReason);
    while (!list->isHidden()) {
        QEventLoop loop;
        connect(this, &RowControls::listHidden, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (opener)
        opener->setFocus(Qt::PopupFocusReason);
}

void RowControls::choose(QListWidget* list)
{
    list->hide();
    Q_EMIT listHidden();
}

void RowControls::chooseRowOperation(int row)
{
    QListWidget* operations = rowOptionsList();
    operations->setCurrentRow(0);
    waitForChoice(operations);
    const int entry = operations->currentRow();
    const auto operation = static_cast<RowOperation>(entry);
    const bool copy = operation == RowOperation::CopyFrom || operation == RowOperation::CopyTo;
    int partner = -1;
    if (copy) {
        waitForChoice(copyList());
        partner = m_copyList->currentRow();
    }
    // The last event index counts as it stands now, after the waits.
    m_document.session().applyRowOperation(row, operation, partner);
}

void RowControls::chooseColour(int led)
{
    m_colourOpenedOn = m_document.colourIndex(led);
    colourList()->setCurrentRow(m_colourOpenedOn);
    waitForChoice(m_colourList);
    m_document.session().setColour(led, m_colourList->currentRow());
}

void RowControls::showColour(int led)
{
    const int index = m_document.colourIndex(led);
    // The LED's own colour, on a background that keeps it readable.
    setTextColour(m_names[led], tableColour(index));
    setBackgroundColour(m_names[led], toQColor(nameBackground(tableRgb(index))));
    m_names[led]->setAccessibleName(tr("LED %1 colour").arg(led + 1));
    m_names[led]->setAccessibleDescription(colourNames().value(index));
}

bool RowControls::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* list = static_cast<QListWidget*>(watched);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Escape: // the row lists' Cancel; the colour the LED had
        list->setCurrentRow(list == m_colourList ? m_colourOpenedOn : 9);
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(list);
        return true;
    case Qt::Key_Tab: // the keyboard stays with the list until it is answered
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}
