#include "core/colourtable.h"
#include "platform/layout.h"
#include "platform/qtconvert.h"
#include "sequence/cellbox.h"
#include "sequence/eventcommands.h"
#include "sequence/gridview.h"
#include "sequence/lednamelabel.h"
#include "sequence/rowcontrols.h"
#include "testwindow.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

// Where a cell is for input through the window system, which lets the pressed cell keep
// the mouse until release.
QPoint at(const TestWindow& t, int led, int slot)
{
    CellBox* cell = t.window->grid()->cell(led, slot);
    return cell->mapTo(t.window.get(), cell->rect().center());
}

// The selection's first event + 10 x its count, in one number to compare.
int selection(const SequenceDocument& doc)
{
    const EventRange range = doc.session().selectedEvents();
    return range.first + 10 * range.count;
}

} // namespace

class TestSequence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The grid as the window system drives it: clicks, drags, the ruler and the keys.
    void gridTurnsInputIntoEdits()
    {
        TestWindow t;
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        SequenceDocument& doc = t.document();
        GridView* grid = t.window->grid();
        QTest::mouseClick(grid->cell(1, 9), Qt::LeftButton);
        QCOMPARE(grid->mem(9)->text(), QStringLiteral("2"));
        CellBox* corner = grid->cell(3, 20); // the whole cell is clickable
        QTest::mouseClick(corner, Qt::LeftButton, {}, QPoint(corner->width() - 1, 0));
        QCOMPARE(grid->mem(20)->text(), QStringLiteral("8"));
        // A drag back to its start cell paints without toggling it; no undo mid-drag.
        QTest::mousePress(t.window->windowHandle(), Qt::LeftButton, {}, at(t, 1, 9));
        QVERIFY(!t.ui().MENUundo->isEnabled());
        for (QPoint p : {at(t, 1, 12), QPoint(at(t, 1, 5).x(), 2), at(t, 1, 9)})
            QTest::mouseMove(t.window->windowHandle(), p);
        QTest::mouseRelease(t.window->windowHandle(), Qt::LeftButton, {}, at(t, 1, 9));
        QCOMPARE(rowOn(doc, 1), QList<int>({9, 10, 11, 12})); // nothing off the grid
        QCOMPARE(t.ui().MENUundo->text(), QStringLiteral("&Undo Paint Cells"));

        QTest::mouseClick(grid->ruler(5), Qt::LeftButton);
        QTest::mouseDClick(grid->ruler(10), Qt::LeftButton);
        QTest::mouseDClick(grid->ruler(0), Qt::LeftButton);
        for (int i : {0, 10, 49}) {
            QCOMPARE(grid->ruler(i)->font().pointSizeF(), i == 0 ? 8.0 : 6.0);
            QCOMPARE(textColour(grid->ruler(i)), i == 0 ? QColor(Qt::red) : QColor(Qt::black));
        }
        QCOMPARE(grid->ruler(9)->text(), QStringLiteral("0"));

        // Tab leaves the grid from its cursor along each LED's row (name, button, servo), then
        // the commands; Shift+Tab comes back to the cursor.
        grid->cell(0, 0)->setFocus();
        typeKeys({Qt::Key_End, Qt::Key_Down});
        QList<QWidget*> stops;
        for (int n = 0; n < 14; ++n) {
            typeKeys({Qt::Key_Tab});
            stops << QApplication::focusWidget();
        }
        for (int n = 0; n < 14; ++n)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), grid->cell(1, 49));
        RowControls* rows = t.window->rows();
        QCOMPARE(stops.mid(0, 3), QList<QWidget*>({rows->nameLabel(0), rows->optionsButton(0),
                                                   rows->servoSelector(0)}));
        QCOMPARE(stops.mid(11),
                 QList<QWidget*>({rows->servoSelector(3), t.ui().OpenButton, t.ui().SaveButton}));
        QTest::mouseClick(grid->cell(1, 7), Qt::LeftButton); // the cursor follows the mouse
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!doc.cell(1, 7));
        QTest::keyClick(t.window.get(), Qt::Key_L, Qt::ControlModifier); // Set Last Event
        QCOMPARE(doc.lastEvent(), 7);
    }

    // Shift and the arrows or a drag on the ruler that runs off it select events, which
    // assistive tools hear with each cell; pasted text that is no events is refused.
    void selectAndEditEvents()
    {
        TestWindow t;
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        SequenceDocument& doc = t.document();
        GridView* grid = t.window->grid();
        grid->cell(1, 0)->setFocus();
        typeKeys({Qt::Key_Right, Qt::Key_Space}); // LED 2 at event 2
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(selection(doc), 31);
        for (int slot : {1, 3, 4}) {
            QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(grid->cell(2, slot));
            QCOMPARE(cell->state().selected, slot < 4);
            QCOMPARE(cell->text(QAccessible::Description),
                     slot < 4 ? "Selection: events 2 to 4" : "");
        }
        auto onRuler = [&](int slot) {
            return grid->ruler(slot)->mapTo(t.window.get(), QPoint(2, 2));
        };
        QTest::mousePress(t.window->windowHandle(), Qt::LeftButton, {}, onRuler(47));
        QTest::mouseMove(t.window->windowHandle(), onRuler(49) + QPoint(40, 0));
        QTest::mouseRelease(t.window->windowHandle(), Qt::LeftButton, {}, onRuler(49));
        QCOMPARE(selection(doc), 77);
        QGuiApplication::clipboard()->setText("#.x\n...\n...\n...");
        QTest::keyClick(t.window.get(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(t.platform.messageBoxes.last().prompt.contains("holds \"x\" where"));
        QCOMPARE(doc.eventValue(47), 0);
        // A link of ours carries a whole sequence: Paste opens it, in one step.
        QGuiApplication::clipboard()->setText(
            "https://example.org/#g1UvAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAABd3Af8CHhQAAAAAAAAAAHIW\n");
        QTest::keyClick(t.window.get(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(doc.eventValue(0) == 5 && doc.session().undoText() == "&Undo Open Link");
        QCOMPARE(t.window->statusBar()->currentMessage(), "Opened the sequence the link carries.");
        QTest::keyClick(t.window.get(), Qt::Key_Z, Qt::ControlModifier); // the bar's word is gone
        QCOMPARE(t.window->statusBar()->currentMessage(), QString());
    }

    // Lists wait with the window live and nest (one click answers both); they take the
    // keyboard: Return chooses, Escape cancels, then the opener has it again.
    void listsWaitForTheirChoice()
    {
        TestWindow t;
        SequenceDocument& doc = t.document();
        RowControls* rows = t.window->rows();
        doc.session().setLastEvent(10);
        doc.session().clickCell(3, 3, true);
        doc.session().clickCell(3, 30, true);
        for (int partner : {9, 1}) { // Cancel, the last entry; then LED 2
            answerList(rows->rowOptionsList(), 4);
            answerList(rows->copyList(), partner);
            QTest::mouseClick(rows->optionsButton(3), Qt::LeftButton);
        }
        QCOMPARE(rowOn(doc, 1), QList<int>({3})); // slot 30 lies past the last event
        QCOMPARE(t.ui().MENUundo->text(), QStringLiteral("&Undo Copy to LED#2"));
        QTimer::singleShot(0, [&] {
            QCOMPARE(rows->rowOptionsList()->currentRow(), 0);
            doc.session().setLastEvent(2); // the last event counts as it stands at the choice
            answerList(rows->rowOptionsList(), 1);
        });
        rows->chooseRowOperation(0);
        QCOMPARE(rowOn(doc, 0), range(0, 2));

        rows->optionsButton(2)->setFocus();
        whenOpen(rows->rowOptionsList(), [] {
            typeKeys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        });
        whenOpen(rows->copyList(), [&] {
            QCOMPARE(rows->copyList()->currentRow(), 1);
            typeKeys({Qt::Key_Up, Qt::Key_Escape});
        });
        QTest::keyClick(rows->optionsButton(2), Qt::Key_Space);
        QCOMPARE(rows->copyList()->currentRow(), 9); // Cancel: nothing copied
        QCOMPARE(QApplication::focusWidget(), rows->optionsButton(2));
        LedNameLabel* led4 = rows->nameLabel(3);
        led4->setFocus();
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) { // on Black, the first entry
            whenOpen(rows->colourList(), [key] { typeKeys({Qt::Key_Home, key}); });
            QTest::keyClick(led4, Qt::Key_Space);
            QCOMPARE(doc.colourIndex(3), key == Qt::Key_Escape ? 7 : 0);
        }
        QCOMPARE(QApplication::focusWidget(), led4);
        QCOMPARE(textColour(led4), QColor(Qt::black));
        QCOMPARE(rowOn(doc, 2), QList<int>());
        QList<int> highlighted;
        QTimer::singleShot(0, [&] {
            highlighted << rows->colourList()->currentRow();
            whenOpen(rows->colourList(), [&] {
                highlighted << rows->colourList()->currentRow();
                answerList(rows->colourList(), 7); // the last entry, White
            });
            QTest::mouseClick(rows->nameLabel(1), Qt::LeftButton);
            QCOMPARE(doc.colourIndex(3), 0); // not yet
        });
        QTest::mouseClick(led4, Qt::LeftButton);
        QCOMPARE(highlighted, QList<int>({0, 7}));
        QCOMPARE(doc.colourIndex(3), 7);
        QCOMPARE(led4->accessibleDescription(), QStringLiteral("White"));
        // Every colour is its own on a background that keeps the name readable.
        for (int colour = 0; colour < 8; ++colour) {
            doc.session().setColour(3, colour);
            QCOMPARE(textColour(led4), tableColour(colour));
            QVERIFY(contrastRatio(toRgb(textColour(led4)), toRgb(backgroundColour(led4))) >= 3);
        }
    }
};

QTEST_MAIN(TestSequence)
#include "tst_sequence.moc"
