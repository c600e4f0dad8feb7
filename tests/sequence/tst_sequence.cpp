#include "platform/layout.h"
#include "sequence/cellbox.h"
#include "sequence/dragpaint.h"
#include "sequence/gridview.h"
#include "sequence/lednamelabel.h"
#include "sequence/rowcontrols.h"
#include "testwindow.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

using Edit = std::function<void(SequenceDocument&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

QString cellsText(const QList<GridCell>& cells)
{
    QStringList parts;
    for (GridCell c : cells)
        parts << QStringLiteral("%1:%2").arg(c.led).arg(c.slot);
    return parts.join(' ');
}

// Real input through the window system: the pressed cell keeps the mouse until release.
QPoint at(const TestWindow& t, int led, int slot)
{
    CellBox* cell = t.window->grid()->cell(led, slot);
    return cell->mapTo(t.window.get(), cell->rect().center());
}

// Presses on the first point, moves through the others, releases on the last.
void stroke(const TestWindow& t, const QList<QPoint>& points)
{
    QWindow* window = t.window->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, points.first());
    for (QPoint p : points.mid(1))
        QTest::mouseMove(window, p);
    QTest::mouseRelease(window, Qt::LeftButton, {}, points.last());
}

} // namespace

class TestSequence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Slots set on, and the last slot touched: every other touched slot is set off.
    void skipPatterns_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<int>("upTo");
        QTest::newRow("skip 1, last 49") << 5 << 49 << range(0, 48, 2) << 49;
        QTest::newRow("skip 2, last 49") << 6 << 49 << range(0, 45, 3) << 47;
        QTest::newRow("skip 3, last 49") << 7 << 49 << range(0, 44, 4) << 47;
        QTest::newRow("skip 1, last 10") << 5 << 10 << range(0, 10, 2) << 11;
        QTest::newRow("skip 2, last 10") << 6 << 10 << QList<int>{0, 3, 6} << 8;
        QTest::newRow("skip 3, last 10") << 7 << 10 << QList<int>{0, 4} << 7;
        QTest::newRow("skip 1, last 0") << 5 << 0 << QList<int>{0} << 1;
        QTest::newRow("skip 2, last 1") << 6 << 1 << QList<int>{} << -1;
        QTest::newRow("skip 3, last 2") << 7 << 2 << QList<int>{} << -1;
        QTest::newRow("mark all, last 3") << 1 << 3 << range(0, 3) << 3;
    }

    void skipPatterns()
    {
        QFETCH(int, operation);
        QFETCH(int, last);
        QFETCH(QList<int>, on);
        QFETCH(int, upTo);
        QList<int> setOn, setOff;
        for (const CellAssignment& cell :
             rowOperationCells(RowOperation(operation), last, RowStates{}))
            (cell.on ? setOn : setOff) << cell.slot;
        QCOMPARE(setOn, on);
        QCOMPARE(setOn.size() + setOff.size(), upTo + 1);
        for (int slot : setOff)
            QVERIFY2(slot <= upTo && !on.contains(slot), qPrintable(QString::number(slot)));
    }

    // LED 2 holds 1 and 20, LED 4 holds 0, 5 and 40; the last event is 10.
    void rowOperationsOnTheDocument_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("partner");
        QTest::addColumn<QList<int>>("led2");
        QTest::addColumn<QList<int>>("led4");
        const QList<int> led2{1, 20}, led4{0, 5, 40};
        QTest::newRow("toggle") << 2 << -1 << QList<int>{0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20} << led4;
        QTest::newRow("clear all") << 0 << -1 << QList<int>{} << led4;
        QTest::newRow("from LED 4") << 3 << 3 << QList<int>{0, 5, 20} << led4;
        QTest::newRow("to LED 4") << 4 << 3 << led2 << QList<int>{1, 40};
        QTest::newRow("from itself") << 3 << 1 << led2 << led4;
        QTest::newRow("copy, empty entry") << 3 << 8 << led2 << led4;
        QTest::newRow("copy, Cancel") << 4 << 9 << led2 << led4;
        QTest::newRow("Cancel") << 9 << -1 << led2 << led4;
    }

    void rowOperationsOnTheDocument()
    {
        QFETCH(int, operation);
        QFETCH(int, partner);
        QFETCH(QList<int>, led2);
        QFETCH(QList<int>, led4);
        SequenceDocument document;
        document.setLastEvent(10);
        for (auto [led, slot] : {std::pair{1, 1}, {1, 20}, {3, 0}, {3, 5}, {3, 40}})
            document.setCell(led, slot, true);
        document.applyRowOperation(1, RowOperation(operation), partner);
        QCOMPARE(rowOn(document, 1), led2);
        QCOMPARE(rowOn(document, 3), led4);
        QCOMPARE(document.eventValue(5), int(led2.contains(5)) * 2 + int(led4.contains(5)) * 8);
    }

    // Every kind of edit is one step; undo brings back exactly what it changed, and a
    // timing applied by Settings OK in between stays.
    void undoAndRedoEveryEdit_data()
    {
        QTest::addColumn<Edit>("edit");
        SequenceData file;
        file.events = {1, 2, 4};
        file.colourIndexes = {0, 1, 2, 7, 9, 9, 9, 9};
        file.lastEvent = 7;
        file.servoModes = {0, 1, 2, 14};
        file.sequencerDelay = 255;
        QTest::newRow("cell") << Edit([](SequenceDocument& d) { d.setCell(3, 49, true); });
        QTest::newRow("last event") << Edit([](SequenceDocument& d) { d.setLastEvent(0); });
        QTest::newRow("colour") << Edit([](SequenceDocument& d) { d.setColourIndex(3, 0); });
        QTest::newRow("servo mode") << Edit([](SequenceDocument& d) { d.setServoMode(2, 0); });
        QTest::newRow("clear") << Edit([](SequenceDocument& d) { d.clear(); });
        QTest::newRow("open") << Edit([file](SequenceDocument& d) { d.assign(file); });
        QTest::newRow("merge") << Edit([file](SequenceDocument& d) { d.merge(file); });
    }

    void undoAndRedoEveryEdit()
    {
        QFETCH(Edit, edit);
        SequenceDocument document;
        for (int i = 0; i < 50; i += 3)
            document.setCell(0, i, true);
        document.setServoMode(1, 5);
        document.setColourIndex(1, 3);
        document.commit("setup");
        SequenceData before = document.data();
        edit(document);
        document.commit("edit");
        SequenceData after = document.data();
        QVERIFY(after != before);
        document.setTiming(document.sequencerDelay(), 99); // Settings OK
        document.keepOutsideHistory();
        before.testSpeed = after.testSpeed = 99;
        document.undoStack()->undo();
        QCOMPARE(document.data(), before);
        document.undoStack()->redo();
        QCOMPARE(document.data(), after);
    }

    // Cells are 10 x 10 pixels, rows 20 pixels apart; a path is the press, the moves and
    // the release.
    void dragPaintsOnlyThePointersPath_data()
    {
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<QString>("crossed");
        QTest::addColumn<QString>("filled");
        QTest::newRow("off the grid and back into another slot")
            << QList<QPoint>{{205, 5}, {205, -10}, {55, -10}, {55, 5}, {55, -10}} << "0:20 0:5 0:5"
            << "";
        QTest::newRow("along the gap between rows")
            << QList<QPoint>{{105, 5}, {105, 15}, {305, 15}, {305, 25}, {305, 15}}
            << "0:10 1:30 1:30"
            << "";
        QTest::newRow("fast right, fill to the release")
            << QList<QPoint>{{175, 5}, {205, 5}} << "0:17 0:18 0:19 0:20"
            << "0:18 0:19 0:20";
        QTest::newRow("left: no fill backwards")
            << QList<QPoint>{{125, 5}, {95, 5}} << "0:12 0:11 0:10 0:9"
            << "";
        QTest::newRow("diagonal over all rows")
            << QList<QPoint>{{5, 5}, {45, 65}} << "0:0 1:1 1:2 2:2 2:3 3:4"
            << "3:1 3:2 3:3 3:4";
        QTest::newRow("up the rows") << QList<QPoint>{{495, 65}, {495, 5}} << "3:49 2:49 1:49 0:49"
                                     << "";
        QTest::newRow("past the right end") << QList<QPoint>{{485, 5}, {900, 5}} << "0:48 0:49"
                                            << "";
        QTest::newRow("within the pressed cell, a click")
            << QList<QPoint>{{105, 5}, {109, 9}} << "0:10"
            << "";
    }

    void dragPaintsOnlyThePointersPath()
    {
        QFETCH(QList<QPoint>, path);
        QFETCH(QString, crossed);
        QFETCH(QString, filled);
        const GridGeometry geometry{0, 10, 10, {0, 20, 40, 60}};
        DragPaint drag(geometry);
        QVERIFY(!drag.press({5, 15})); // the gap: no drag
        QVERIFY(drag.press(path.first()));
        QList<GridCell> passed;
        for (QPoint p : path.mid(1))
            passed << drag.moveTo(p);
        QCOMPARE(cellsText(passed), crossed);
        QCOMPARE(cellsText(drag.release(path.last())), filled);
        QCOMPARE(drag.isClick(), crossed == "0:10");
        QCOMPARE(drag.startSlot(), geometry.cellAt(path.first())->slot);
    }

    // The grid as the window system drives it: clicks, a drag, the ruler, the keys.
    void gridTurnsInputIntoEdits()
    {
        TestWindow t;
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        SequenceDocument& doc = t.document();
        GridView* grid = t.window->grid();
        stroke(t, {at(t, 1, 9)});
        QCOMPARE(grid->mem(9)->text(), QStringLiteral("2"));
        CellBox* corner = grid->cell(3, 20); // the whole cell is clickable
        QTest::mouseClick(corner, Qt::LeftButton, {}, QPoint(corner->width() - 1, 0));
        QCOMPARE(grid->mem(20)->text(), QStringLiteral("8"));
        // LED 1 slot 20 on; off the grid, along above it, down into slot 5 and back up.
        doc.setCell(0, 20, true);
        const QPoint above5(at(t, 0, 5).x(), 2), above20(at(t, 0, 20).x(), 2);
        QTest::mousePress(t.window->windowHandle(), Qt::LeftButton, {}, at(t, 0, 20));
        QVERIFY(!t.ui().MENUundo->isEnabled()); // no undo in the middle of a drag
        for (QPoint p : {above20, above5, at(t, 0, 5), above5})
            QTest::mouseMove(t.window->windowHandle(), p);
        QTest::mouseRelease(t.window->windowHandle(), Qt::LeftButton, {}, above5);
        QCOMPARE(rowOn(doc, 0), QList<int>({5, 20}));
        QCOMPARE(t.ui().MENUundo->text(), QStringLiteral("&Undo Paint Cells"));
        QVERIFY(t.ui().MENUundo->isEnabled());
        stroke(t, {at(t, 1, 9), at(t, 1, 12), at(t, 1, 9)}); // back to the start: no toggle
        QCOMPARE(rowOn(doc, 1), QList<int>({9, 10, 11, 12}));

        QTest::mouseClick(grid->ruler(5), Qt::LeftButton);
        QTest::mouseDClick(grid->ruler(10), Qt::LeftButton);
        QTest::mouseDClick(grid->ruler(0), Qt::LeftButton);
        QCOMPARE(doc.lastEvent(), 0);
        for (int i : {0, 10, 49}) {
            QCOMPARE(grid->ruler(i)->font().pointSizeF(), i == 0 ? 8.0 : 6.0);
            QCOMPARE(textColour(grid->ruler(i)), i == 0 ? QColor(Qt::red) : QColor(Qt::black));
        }
        QCOMPARE(grid->ruler(9)->text(), QStringLiteral("0"));

        grid->cell(0, 0)->setFocus();
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                            Qt::Key_Down, Qt::Key_Space, Qt::Key_End})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), grid->cell(3, 49));
        QVERIFY(grid->cell(3, 2)->isChecked());
        t.ui().MENUundo->trigger();
        QVERIFY(!grid->cell(3, 2)->isChecked());
        QTest::keyClick(t.window.get(), Qt::Key_Y, Qt::ControlModifier); // redo
        QVERIFY(grid->cell(3, 2)->isChecked());
        QTest::mouseClick(grid->cell(1, 7), Qt::LeftButton); // the cursor follows the mouse
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!doc.cell(1, 7));
        QTest::keyClick(t.window.get(), Qt::Key_L, Qt::ControlModifier); // Set Last Event
        QCOMPARE(doc.lastEvent(), 7);
    }

    // The lists wait with the window live; the row list opens on Clear All, the copy list
    // keeps its entry, the colour list opens on the LED's colour, and a second label
    // clicked while it is open waits inside the first: one click answers both.
    void listsWaitForTheirChoice()
    {
        TestWindow t;
        SequenceDocument& doc = t.document();
        RowControls* rows = t.window->rows();
        doc.setLastEvent(10);
        doc.setCell(3, 3, true);
        doc.setCell(3, 30, true);
        for (int partner : {9, 1}) { // Cancel, the last entry; then LED 2
            answerList(rows->rowOptionsList(), 4);
            answerList(rows->copyList(), partner);
            QTest::mouseClick(rows->optionsButton(3), Qt::LeftButton);
        }
        QCOMPARE(rows->copyList()->currentRow(), 1);
        QCOMPARE(rowOn(doc, 1), QList<int>({3})); // slot 30 lies past the last event
        QCOMPARE(t.ui().MENUundo->text(), QStringLiteral("&Undo Copy to LED#2"));
        QTimer::singleShot(0, [&] {
            QCOMPARE(rows->rowOptionsList()->currentRow(), 0);
            doc.setLastEvent(2); // the last event counts as it stands at the choice
            answerList(rows->rowOptionsList(), 1);
        });
        rows->chooseRowOperation(0);
        QCOMPARE(rowOn(doc, 0), range(0, 2));

        // Keys alone: a list takes the keyboard; Return chooses, Escape cancels, and the
        // keyboard goes back to what opened the list.
        rows->optionsButton(2)->setFocus();
        whenOpen(rows->rowOptionsList(), [] {
            typeKeys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        });
        whenOpen(rows->copyList(), [] { typeKeys({Qt::Key_Up, Qt::Key_Escape}); });
        QTest::keyClick(rows->optionsButton(2), Qt::Key_Space);
        QCOMPARE(rows->copyList()->currentRow(), 9); // Cancel: nothing copied
        QCOMPARE(QApplication::focusWidget(), rows->optionsButton(2));
        QLabel* led4 = rows->nameLabel(3);
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
            QTimer::singleShot(0, [&] {
                highlighted << rows->colourList()->currentRow();
                answerList(rows->colourList(), 7); // the last entry, White
            });
            QTest::mouseClick(rows->nameLabel(1), Qt::LeftButton);
            QCOMPARE(doc.colourIndex(3), 0); // not yet
        });
        QTest::mouseClick(led4, Qt::LeftButton);
        QCOMPARE(highlighted, QList<int>({0, 7}));
        QCOMPARE(doc.colourIndex(1), 7);
        QCOMPARE(doc.colourIndex(3), 7);
        QCOMPARE(led4->accessibleDescription(), QStringLiteral("White"));
        QVERIFY(rows->colourList()->isHidden());
    }
};

QTEST_MAIN(TestSequence)
#include "tst_sequence.moc"
