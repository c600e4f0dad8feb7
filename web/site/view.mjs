// The main window's controls, built once and redrawn from the session's state.
import { setMenuText } from './menus.mjs';

// An element with its properties (role and ariaLabel reflect to their attributes).
const make = (tag, properties) => Object.assign(document.createElement(tag), properties);

const $ = (id) => document.getElementById(id);

export class View {
    // `on`: chooseColour(led), rowOptions(led), servoMode(led, mode).
    constructor(core, on) {
        this.core = core;
        this.cells = [[], [], [], []];
        this.ticks = [];
        this.names = [];
        this.lamps = [];
        this.servoSelects = [];
        this.build(on);
    }

    // The grid follows the grid pattern: a header row of event numbers (shown below the
    // cells), then a row per LED headed by its name; each cell holds a toggle button.
    build(on) {
        const grid = $('grid');
        const ruler = make('div', { id: 'ruler', role: 'row' });
        ruler.append(make('span', { className: 'head', role: 'columnheader', textContent: 'Event' }));
        for (let slot = 0; slot < 50; ++slot) {
            const tick = make('span', { className: 'tick', role: 'columnheader', id: `TimeAxis-${slot}`,
                textContent: String(slot + 1), title: `Event ${slot + 1}` });
            ruler.append(tick);
            this.ticks.push(tick);
        }
        grid.append(ruler);
        for (let led = 0; led < 4; ++led) {
            const row = make('div', { className: 'cellrow', role: 'row' });
            const name = make('button', { type: 'button', className: 'name', id: `LEDlabel1-${led}`,
                textContent: `LED#${led + 1}`, title: `Click here to change color of LED#${led + 1}` });
            name.addEventListener('click', () => on.chooseColour(led));
            const lamp = make('span', { className: 'lamp', id: `LED-${led}` });
            const head = make('div', { className: 'head led', role: 'rowheader' });
            head.append(name, lamp);
            row.append(head);
            this.names.push(name);
            this.lamps.push(lamp);
            for (let slot = 0; slot < 50; ++slot) {
                const cell = make('div', { className: 'cell', role: 'gridcell', id: `iSwitchLedX${led + 1}-${slot}` });
                Object.assign(cell.dataset, { led, slot });
                cell.append(make('span', { role: 'button', id: `${cell.id}-toggle`, ariaLabel: `LED ${led + 1}, event ${slot + 1}` }));
                row.append(cell);
                this.cells[led].push(cell);
            }
            grid.append(row);

            const rowButton = make('button', { type: 'button', className: 'rowbutton', id: `RowOptions${led}`,
                textContent: 'Row tools', title: `Click here to change LED#${led + 1} flash pattern`,
                ariaLabel: `LED#${led + 1} row tools` }); // holds the words shown
            rowButton.addEventListener('click', () => on.rowOptions(led));
            const select = make('select', { id: `ServoControl-${led}`, ariaLabel: `LED#${led + 1} servo response`,
                title: `Change how LED#${led + 1} will repond to R/C servo signal` });
            for (let mode = 0; mode < 16; ++mode) select.add(new Option(this.core.servoModeText(mode), mode));
            select.addEventListener('change', () => on.servoMode(led, Number(select.value)));
            const tools = make('div', { className: 'ledtool' });
            tools.append(make('span', { textContent: `LED#${led + 1}` }), rowButton, select);
            $('ledtools').append(tools);
            this.servoSelects.push(select);
        }
        for (const id of ['PICSpeedcombo', 'PCSpeedcombo'])
            for (let v = 1; v <= 255; ++v) $(id).add(new Option(` ${v}`, v));
    }

    // The slot of the ruler label under `clientX`, kept within the ruler.
    rulerSlot(clientX) {
        const first = this.ticks[0].getBoundingClientRect();
        return Math.min(49, Math.max(0, Math.floor((clientX - first.left) / first.width)));
    }

    render(s) {
        const colourNames = this.core.colourNames();
        for (let led = 0; led < 4; ++led) {
            for (let slot = 0; slot < 50; ++slot) {
                const cell = this.cells[led][slot];
                const on = ((s.events[slot] >> led) & 1) === 1;
                cell.classList.toggle('on', on);
                cell.classList.toggle('after', slot > s.lastEvent);
                cell.classList.toggle('cursor', led === s.cursor.led && slot === s.cursor.slot);
                cell.firstChild.setAttribute('aria-pressed', String(on));
            }
            const index = s.colourIndexes[led];
            this.names[led].style.setProperty('--led', this.core.colourHex(index));
            this.names[led].setAttribute('aria-description', colourNames[index] ?? '');
            this.servoSelects[led].value = String(s.servoModes[led]);
        }
        const sel = s.selection;
        for (const [slot, tick] of this.ticks.entries()) {
            const selected = !!sel && slot >= sel.first && slot < sel.first + sel.count;
            tick.classList.toggle('last', slot === s.lastEvent);
            tick.classList.toggle('selected', selected);
            tick.setAttribute('aria-selected', String(selected));
        }
        const cursor = this.cells[s.cursor.led][s.cursor.slot];
        const grid = $('grid');
        if (grid.getAttribute('aria-activedescendant') !== cursor.firstChild.id) {
            grid.setAttribute('aria-activedescendant', cursor.firstChild.id);
            if (document.activeElement === grid) cursor.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        }
        this.announce(sel, s.lastEvent);
        document.title = s.title + (s.modified ? ' *' : '');
        setMenuText($('MENUundo'), s.undoText);
        setMenuText($('MENUredo'), s.redoText);
        $('MENUundo').disabled = !s.canUndo;
        $('MENUredo').disabled = !s.canRedo;
        for (const item of document.querySelectorAll('#editItems .sessioncommand')) item.disabled = s.painting;
    }

    // What a screen reader cannot see change: the selected events and the last event.
    announce(sel, lastEvent) {
        const said = [];
        const selection = sel ? (sel.count > 1 ? `Events ${sel.first + 1} to ${sel.first + sel.count} selected` : `Event ${sel.first + 1} selected`)
            : 'No events selected';
        if (this.said && selection !== this.said.selection) said.push(selection);
        if (this.said && lastEvent !== this.said.lastEvent) said.push(`Last event: ${lastEvent + 1}`);
        this.said = { selection, lastEvent };
        if (said.length) $('announce').textContent = said.join('. ');
    }
}
