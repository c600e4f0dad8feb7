// The grid's pointers and keys, turned into session calls: a click or tap toggles a cell, a
// drag with any button or a finger paints, the ruler selects events and marks the last one.
const $ = (id) => document.getElementById(id);

export function wireGrid(core, session, view, update) {
    const grid = $('grid');
    let drag = null;
    let button = 0;
    let rulerPressed = false;

    const point = (event) => {
        const rect = grid.getBoundingClientRect();
        return [Math.round(event.clientX - rect.left - grid.clientLeft), Math.round(event.clientY - rect.top - grid.clientTop)];
    };
    const paint = (cells) => {
        session.paintCells(cells, drag.startSlot());
        update();
    };

    grid.addEventListener('pointerdown', (event) => {
        grid.focus({ preventScroll: true });
        const cell = event.target.closest('.cell');
        if (drag || !cell) return;
        const c = view.cells[0];
        drag = new core.PageDrag(c[0].offsetLeft, c[1].offsetLeft - c[0].offsetLeft, c[0].offsetHeight,
            view.cells.map((row) => row[0].offsetTop));
        button = event.button;
        session.placeCursor(Number(cell.dataset.led), Number(cell.dataset.slot));
        if (!drag.press(...point(event))) {
            drag.delete();
            drag = null;
            update();
            return;
        }
        session.beginPaint();
        grid.setPointerCapture(event.pointerId);
        update();
    });
    // Where the grid scrolls, painting near either edge brings on the events beyond it (the
    // ruler's drag moves the cursor, which the view keeps in sight).
    const scroller = $('gridscroll');
    const follow = (event) => {
        const box = scroller.getBoundingClientRect();
        const step = view.ticks[0].offsetWidth;
        const names = view.ticks[0].previousElementSibling.offsetWidth; // the column kept in view
        if (event.clientX > box.right - step) scroller.scrollLeft += step / 2;
        else if (event.clientX < box.left + names + step) scroller.scrollLeft -= step / 2;
    };

    grid.addEventListener('pointermove', (event) => {
        if (!drag) return;
        follow(event);
        paint(drag.moveTo(...point(event)));
    });
    const end = (event, cancelled) => {
        if (!drag) return;
        paint(drag.moveTo(...point(event)));
        const fill = drag.release(...point(event));
        const click = drag.isClick();
        if (!click) paint(fill);
        drag.delete();
        drag = null;
        session.endPaint();
        // Only the main button's click toggles, as a check box takes it.
        if (click && button === 0 && !cancelled) {
            const s = session.state();
            session.clickCell(s.cursor.led, s.cursor.slot, !((s.events[s.cursor.slot] >> s.cursor.led) & 1));
        }
        update();
    };
    grid.addEventListener('pointerup', (event) => end(event, false));
    grid.addEventListener('pointercancel', (event) => end(event, true));
    grid.addEventListener('contextmenu', (event) => event.preventDefault());

    // A finger held still on an event number makes it the last event, as a double-click does.
    const ruler = $('ruler');
    let hold = null;
    // Not on the "Event" heading, which stays over the numbers scrolled under it; a click's
    // target is the ruler once captured, so the place tells.
    const onNumbers = (event) => event.clientX >= view.ticks[0].previousElementSibling.getBoundingClientRect().right;
    const letGo = () => {
        clearTimeout(hold?.timer);
        hold = null;
    };
    ruler.addEventListener('pointerdown', (event) => {
        event.stopPropagation();
        if (event.button !== 0 || drag || !onNumbers(event)) return;
        rulerPressed = true;
        ruler.setPointerCapture(event.pointerId);
        const slot = view.rulerSlot(event.clientX);
        session.pressRuler(slot, event.shiftKey);
        grid.focus({ preventScroll: true });
        update();
        if (event.pointerType === 'mouse') return;
        hold = { x: event.clientX, y: event.clientY, timer: setTimeout(() => {
            hold = null;
            session.setLastEvent(slot);
            update();
        }, 500) };
    });
    ruler.addEventListener('pointermove', (event) => {
        if (hold && Math.hypot(event.clientX - hold.x, event.clientY - hold.y) > 8) letGo();
        if (!rulerPressed) return;
        session.dragRuler(view.rulerSlot(event.clientX));
        update();
    });
    for (const kind of ['pointerup', 'pointercancel'])
        ruler.addEventListener(kind, () => {
            letGo();
            rulerPressed = false;
            session.releaseRuler();
        });
    ruler.addEventListener('dblclick', (event) => {
        if (!onNumbers(event)) return;
        session.setLastEvent(view.rulerSlot(event.clientX));
        update();
    });

    const moves = { ArrowLeft: 'left', ArrowRight: 'right', ArrowUp: 'up', ArrowDown: 'down', Home: 'home', End: 'end' };
    grid.addEventListener('keydown', (event) => {
        if (event.ctrlKey || event.metaKey || event.altKey || drag) return;
        const s = session.state();
        if (moves[event.key]) {
            session.moveCursor(moves[event.key], event.shiftKey);
        } else if (event.key === ' ') {
            const { led, slot } = s.cursor;
            session.clickCell(led, slot, !((s.events[slot] >> led) & 1));
        } else if (event.key === 'Escape') {
            if (!session.endSelection()) return;
        } else {
            return;
        }
        event.preventDefault();
        event.stopPropagation();
        update();
    });
}
