// The browser edition's main window: the sequence, its history, and the controls that
// show and change it. The rules themselves come from the C++ core.
import createCore from './glimmeron.js';
import { chooseFrom, messageBox } from './dialogs.mjs';
import { download } from './download.mjs';
import { TestRun } from './testrun.mjs';

const core = await createCore();
const $ = (id) => document.getElementById(id);
const appTitle = 'GLIMMERON  -  Programmable LED Sequencer/Flasher';
const clone = (s) => structuredClone(s);
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);

let seq = core.newSequence();
let fileName = '';          // the name Save offers
let shownName = null;       // null: the start-up title
let savedState = clone(seq);
const undoStack = [];
const redoStack = [];
let selection = null;       // { first, count } of the selected events
let anchor = 0;             // where a shift-click extends the selection from
let rulerDrag = false;      // a drag along the ruler is selecting
let cursor = { led: 0, slot: 0 };
let downloading = false;

const cellOn = (s, led, slot) => ((s.events[slot] >> led) & 1) === 1;
function setCell(s, led, slot, on) {
    s.events[slot] = on ? s.events[slot] | (1 << led) : s.events[slot] & ~(1 << led);
}

// ---- the sequence and its history ----

function commit(before) {
    if (same(before, seq)) return;
    undoStack.push(before);
    redoStack.length = 0;
    render();
}

function step(from, to) {
    if (!from.length) return;
    to.push(clone(seq));
    seq = from.pop();
    render();
}

function status(text) {
    $('status').textContent = text;
}

// ---- the window ----

const cells = [[], [], [], []];
const ticks = [];
const names = [];
const lamps = [];
const servoSelects = [];

function build() {
    const grid = $('grid');
    for (let led = 0; led < 4; ++led) {
        const row = document.createElement('div');
        row.className = 'cellrow';
        row.role = 'row';
        for (let slot = 0; slot < 50; ++slot) {
            const cell = document.createElement('div');
            cell.className = 'cell';
            cell.role = 'gridcell';
            cell.id = `iSwitchLedX${led + 1}-${slot}`;
            cell.dataset.led = led;
            cell.dataset.slot = slot;
            cell.setAttribute('aria-label', `LED ${led + 1}, event ${slot + 1}`);
            row.append(cell);
            cells[led].push(cell);
        }
        grid.append(row);

        const line = document.createElement('div');
        line.className = 'led';
        const name = document.createElement('button');
        name.type = 'button';
        name.className = 'name';
        name.id = `LEDlabel1-${led}`;
        name.textContent = `LED#${led + 1}`;
        name.title = `Click here to change color of LED#${led + 1}`;
        name.addEventListener('click', () => chooseColour(led));
        const lamp = document.createElement('span');
        lamp.className = 'lamp';
        lamp.id = `LED-${led}`;
        const rowButton = document.createElement('button');
        rowButton.type = 'button';
        rowButton.className = 'rowbutton';
        rowButton.id = `RowOptions${led}`;
        rowButton.title = `Click here to change LED#${led + 1} flash pattern`;
        rowButton.setAttribute('aria-label', `LED#${led + 1} flash pattern`);
        rowButton.addEventListener('click', () => rowOptions(led));
        line.append(name, lamp, rowButton);
        $('leds').append(line);
        names.push(name);
        lamps.push(lamp);

        const select = document.createElement('select');
        select.id = `ServoControl-${led}`;
        select.title = `Change how LED#${led + 1} will repond to R/C servo signal`;
        select.setAttribute('aria-label', `LED#${led + 1} servo response`);
        for (let mode = 0; mode < 16; ++mode) select.add(new Option(core.servoModeText(mode), mode));
        select.addEventListener('change', () => {
            const before = clone(seq);
            seq.servoModes[led] = Number(select.value);
            commit(before);
        });
        $('servos').append(select);
        servoSelects.push(select);
    }
    const ruler = document.createElement('div');
    ruler.id = 'ruler';
    for (let slot = 0; slot < 50; ++slot) {
        const tick = document.createElement('span');
        tick.className = 'tick';
        tick.id = `TimeAxis-${slot}`;
        tick.textContent = String((slot + 1) % 10);
        tick.title = `Event ${slot + 1}`;
        // Pressed on one event number and dragged along the ruler, a selection.
        tick.addEventListener('pointerdown', (event) => {
            if (event.button !== 0) return;
            rulerDrag = true;
            select(slot, event.shiftKey);
        });
        tick.addEventListener('pointerenter', (event) => {
            if (rulerDrag && event.buttons & 1) select(slot, true);
        });
        tick.addEventListener('dblclick', () => {
            const before = clone(seq);
            seq.lastEvent = slot;
            commit(before);
        });
        ruler.append(tick);
        ticks.push(tick);
    }
    grid.append(ruler);
    window.addEventListener('pointerup', () => { rulerDrag = false; });
    for (const id of ['PICSpeedcombo', 'PCSpeedcombo'])
        for (let v = 1; v <= 255; ++v) $(id).add(new Option(` ${v}`, v));
}

function render() {
    for (let led = 0; led < 4; ++led) {
        for (let slot = 0; slot < 50; ++slot) {
            const cell = cells[led][slot];
            const on = cellOn(seq, led, slot);
            cell.classList.toggle('on', on);
            cell.classList.toggle('after', slot > seq.lastEvent);
            cell.setAttribute('aria-checked', String(on));
        }
        const index = seq.colourIndexes[led];
        names[led].style.color = core.colourHex(index);
        names[led].style.background = core.nameBackgroundHex(index);
        names[led].setAttribute('aria-description', core.colourNames()[index] ?? '');
        servoSelects[led].value = String(seq.servoModes[led]);
    }
    for (const [slot, tick] of ticks.entries()) {
        tick.classList.toggle('last', slot === seq.lastEvent);
        tick.classList.toggle('selected', !!selection && slot >= selection.first && slot < selection.first + selection.count);
    }
    for (const c of document.querySelectorAll('.cell.cursor')) c.classList.remove('cursor');
    cells[cursor.led][cursor.slot].classList.add('cursor');
    const modified = !same(seq, savedState);
    document.title = (shownName === null ? `${appTitle} - Rev4` : shownName ? `${appTitle} - ${shownName}` : appTitle)
        + (modified ? ' *' : '');
    $('MENUundo').disabled = !undoStack.length;
    $('MENUredo').disabled = !redoStack.length;
}

// ---- painting the grid: a click toggles, a drag paints ----

let drag = null;
let dragBefore = null;

function gridPoint(event) {
    const grid = $('grid');
    const rect = grid.getBoundingClientRect();
    return [Math.round(event.clientX - rect.left - grid.clientLeft), Math.round(event.clientY - rect.top - grid.clientTop)];
}

function paint(found) {
    const start = drag.startSlot();
    for (const [led, slot] of found) setCell(seq, led, slot, cellOn(seq, led, start));
    render();
}

function startDrag(event) {
    if (event.button !== 0 || !event.target.classList.contains('cell')) return;
    const c = cells[0];
    drag = new core.PageDrag(c[0].offsetLeft, c[1].offsetLeft - c[0].offsetLeft, c[0].offsetHeight,
        cells.map((row) => row[0].offsetTop));
    if (!drag.press(...gridPoint(event))) {
        drag.delete();
        drag = null;
        return;
    }
    dragBefore = clone(seq);
    cursor = { led: Number(event.target.dataset.led), slot: Number(event.target.dataset.slot) };
    $('grid').setPointerCapture(event.pointerId);
    $('grid').focus({ preventScroll: true });
    render();
}

function moveDrag(event) {
    if (drag) paint(drag.moveTo(...gridPoint(event)));
}

function endDrag(event) {
    if (!drag) return;
    paint(drag.moveTo(...gridPoint(event)));
    const fill = drag.release(...gridPoint(event));
    if (drag.isClick()) setCell(seq, cursor.led, cursor.slot, !cellOn(seq, cursor.led, cursor.slot));
    else paint(fill);
    drag.delete();
    drag = null;
    commit(dragBefore);
}

function gridKey(event) {
    const moves = { ArrowLeft: [0, -1], ArrowRight: [0, 1], ArrowUp: [-1, 0], ArrowDown: [1, 0] };
    const ctrl = event.ctrlKey || event.metaKey;
    const range = selected();
    if (event.shiftKey && (event.key === 'ArrowLeft' || event.key === 'ArrowRight')) {
        if (!selection) anchor = cursor.slot;
        selection = selection ?? { first: cursor.slot, count: 1 };
        select(Math.min(49, Math.max(0, cursor.slot + moves[event.key][1])), true);
    } else if (moves[event.key]) {
        const [dl, ds] = moves[event.key];
        cursor = { led: Math.min(3, Math.max(0, cursor.led + dl)), slot: Math.min(49, Math.max(0, cursor.slot + ds)) };
    } else if (event.key === 'Home' || event.key === 'End') {
        cursor.slot = event.key === 'Home' ? 0 : 49;
    } else if (event.key === ' ') {
        const before = clone(seq);
        setCell(seq, cursor.led, cursor.slot, !cellOn(seq, cursor.led, cursor.slot));
        commit(before);
    } else if (event.key === 'Delete') {
        eventEdit(ctrl ? 'remove' : 'clear', range.first, range.count);
    } else if (event.key === 'Insert') {
        eventEdit('insert', range.first, 1);
    } else if (ctrl && event.key.toLowerCase() === 'a') {
        anchor = 0;
        selection = { first: 0, count: 50 };
    } else if (event.key === 'Escape') {
        selection = null;
    } else {
        return;
    }
    event.preventDefault();
    $('grid').setAttribute('aria-activedescendant', cells[cursor.led][cursor.slot].id);
    render();
}

// ---- rows, colours, events ----

const rowEntries = ['Clear All', 'Mark All', 'Toggle All', 'Copy from...', 'Copy to...',
    'Skip 1...', 'Skip 2...', 'Skip 3...', '', 'Cancel'];
const copyEntries = ['LED #1', 'LED #2', 'LED #3', 'LED #4', '', '', '', '', '', 'Cancel'];
let copyChoice = -1;

async function rowOptions(led) {
    const operation = await chooseFrom($('RowOptionsList'), rowEntries, 0, $(`RowOptions${led}`));
    if (operation < 0 || operation > 7) return;
    let source = led;
    let target = led;
    if (operation === 3 || operation === 4) {
        const partner = await chooseFrom($('CopyList'), copyEntries, copyChoice, $(`RowOptions${led}`));
        if (partner >= 0) copyChoice = partner;
        if (partner < 0 || partner > 3 || partner === led) return;
        if (operation === 3) source = partner;
        else target = partner;
    }
    const before = clone(seq);
    const row = Array.from({ length: 50 }, (_, slot) => cellOn(seq, source, slot));
    for (const [slot, on] of core.rowOperation(operation, seq.lastEvent, row)) setCell(seq, target, slot, on === 1);
    commit(before);
}

async function chooseColour(led) {
    const entries = core.colourNames().map((name, i) => {
        const swatch = document.createElement('span');
        swatch.className = 'swatch';
        swatch.style.background = core.colourHex(i);
        return [swatch, name];
    });
    const index = await chooseFrom($('ColorList'), entries, seq.colourIndexes[led], names[led]);
    if (index < 0) return;
    const before = clone(seq);
    seq.colourIndexes[led] = index;
    commit(before);
}

function select(slot, extend) {
    if (extend && selection) {
        const first = Math.min(anchor, slot);
        selection = { first, count: Math.abs(slot - anchor) + 1 };
    } else {
        anchor = slot;
        selection = { first: slot, count: 1 };
    }
    cursor.slot = slot;
    render();
}

// Without a selection the commands take the cursor's event.
function selected() {
    return selection ?? { first: cursor.slot, count: 1 };
}

function eventEdit(edit, first, count) {
    const before = clone(seq);
    seq = core.eventEdit(edit, seq, first, count);
    commit(before);
}

async function copyEvents(cut) {
    const range = selected();
    const text = core.eventsText(core.copyEvents(seq, range.first, range.count));
    try {
        await navigator.clipboard.writeText(text);
    } catch {
        clipboardFallback = text; // the page keeps it where the clipboard is refused
    }
    clipboardFallback = text;
    if (cut) eventEdit('remove', range.first, range.count);
    status(`${cut ? 'Cut' : 'Copied'} ${range.count} event${range.count === 1 ? '' : 's'}.`);
}

let clipboardFallback = '';

async function pasteText(text) {
    const slot = selection ? selection.first : cursor.slot;
    const read = core.readEventsText(text);
    if (read.error) {
        await messageBox(read.error, appTitle);
        return;
    }
    const before = clone(seq);
    seq = core.pasteEvents(seq, slot, read.values);
    commit(before);
    const dropped = core.pastedPastTheEnd(slot, read.values.length);
    status(dropped ? `${dropped} pasted event${dropped === 1 ? '' : 's'} ran past event 50 and were left out.` : '');
}

async function pasteEvents() {
    let text = clipboardFallback;
    try {
        text = await navigator.clipboard.readText();
    } catch { /* the page's own copy */ }
    await pasteText(text);
}

// ---- files ----

async function openBytes(bytes, name, merge) {
    if (bytes.length > 1024 * 1024) {
        await messageBox(`The file ${name} could not be read: it is larger than a sequence data file can be.`, appTitle);
        return;
    }
    const read = core.readFile(bytes);
    if (!read.data) {
        await messageBox(core.invalidSequenceText(name, read.record, read.problem), appTitle);
        return;
    }
    if (!merge) testRun.stop(); // a run goes on through Merge, with the merged events
    fileName = shownName = name;
    // Open is a step of its own, so Undo brings back what was on screen.
    const before = clone(seq);
    seq = merge ? core.merged(seq, read.data) : read.data;
    if (!merge) savedState = clone(seq);
    commit(before);
    render();
    status(read.note);
}

let mergeNext = false;
function chooseFile(merge) {
    if (!merge) testRun.stop();
    mergeNext = merge;
    $('fileInput').value = '';
    $('fileInput').click();
}

async function openFile(file, merge) {
    await openBytes(new Uint8Array(await file.arrayBuffer()), file.name, merge);
}

async function save() {
    testRun.stop();
    const bytes = core.writeFile(seq);
    let name = fileName || 'SEQUENCE.DAT';
    if (window.showSaveFilePicker) {
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: name,
                types: [{ description: 'Data Files (*.DAT)', accept: { 'application/octet-stream': ['.dat', '.DAT'] } }] });
        } catch {
            return; // cancelled
        }
        try {
            const stream = await handle.createWritable();
            await stream.write(bytes);
            await stream.close();
        } catch (error) {
            await messageBox(`The file ${handle.name} could not be written: ${error.message}.\r\rNothing was saved; choose another place or name.`, appTitle);
            return;
        }
        name = handle.name;
    } else {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
        link.download = name;
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }
    fileName = shownName = name;
    savedState = clone(seq);
    render();
}

function newClear() {
    const before = clone(seq);
    const fresh = core.newSequence();
    fresh.sequencerDelay = seq.sequencerDelay;
    fresh.testSpeed = seq.testSpeed;
    seq = fresh;
    shownName = '';
    savedState = clone(seq); // nothing new to lose, as after Save
    commit(before);
    render();
}

// ---- test, settings, download ----

const testRun = new TestRun(core, () => seq, {
    showStep(slot, colours) {
        ticks[slot].classList.add('playing');
        colours.forEach((colour, led) => { lamps[led].style.background = colour; });
    },
    endStep(slot) {
        ticks[slot].classList.remove('playing');
    },
    changed(running, stickShown) {
        $('TestButton').textContent = running ? 'Stop Test' : 'Test';
        if (running && stickShown) {
            $('stick').hidden = false;
            $('Settings_button').hidden = true;
            $('ServoStick').focus();
        } else if (!running) {
            $('stick').hidden = true;
        }
    },
    ended() {
        for (const lamp of lamps) lamp.style.background = '#000000';
        if (!downloading) $('Settings_button').hidden = false;
    },
});

function settings() {
    testRun.stop();
    $('PICSpeedcombo').value = String(seq.sequencerDelay);
    $('PCSpeedcombo').value = String(seq.testSpeed);
    $('Settings_form').showModal();
}

$('Settings_form').addEventListener('close', () => {
    if ($('Settings_form').returnValue !== 'ok') return;
    const before = clone(seq);
    seq.sequencerDelay = Number($('PICSpeedcombo').value);
    seq.testSpeed = Number($('PCSpeedcombo').value);
    commit(before);
});

// A download refuses these, from the buttons and the menus alike.
const fiveButtons = ['TestButton', 'Settings_button', 'DownloadButton', 'OpenButton', 'SaveButton',
    'MENUnew', 'MENUopen', 'MENUmerge', 'MENUsave', 'MENUtest', 'MENUdownload', 'MENUsettings'];

async function startDownload() {
    if (downloading) return;
    if (!('serial' in navigator)) {
        await messageBox($('serialNote').textContent, appTitle);
        return;
    }
    downloading = true;
    testRun.stop();
    for (const id of fiveButtons) $(id).disabled = true;
    try {
        const line = await download(core, {
            ask: (text, title) => messageBox(text, title, ['OK', 'Cancel']),
            tell: (text) => messageBox(text, appTitle),
            transferShown(shown) {
                $('transfer').hidden = !shown;
                $('Settings_button').hidden = shown;
            },
            progress(n) { $('ProgressBar1').value = n; },
            sequence: () => seq,
        });
        if (line) status(line);
    } finally {
        downloading = false;
        for (const id of fiveButtons) $(id).disabled = false;
    }
}

async function about() {
    const lines = [' '.repeat(25) + 'G L I M M E R O N', ' '.repeat(22) + '='.repeat(18),
        '  Programmable LED Sequencer/Flasher  - Rev4', ' '.repeat(27) + 'By:  The GLIMMERON editor developers',
        ' '.repeat(26) + 'www.example.org/glimmeron', ' '.repeat(33) + 'Jan 2011'];
    await messageBox(lines.join('\r'), appTitle);
}

async function manual() {
    const answer = await messageBox("\r Click OK to view the Glimmeron Users' Manual on the GLIMMERON editor webpage...",
        `${appTitle} Users' Manual`, ['OK', 'Cancel']);
    if (answer === 'OK') window.open('manual.html', '_blank', 'noopener');
}

// ---- wiring ----

function closeMenus() {
    for (const menu of document.querySelectorAll('.menu')) {
        menu.querySelector('.items').hidden = true;
        menu.firstElementChild.setAttribute('aria-expanded', 'false');
    }
}

function wire() {
    for (const menu of document.querySelectorAll('.menu')) {
        const opener = menu.firstElementChild;
        opener.addEventListener('click', (event) => {
            const items = menu.querySelector('.items');
            const open = items.hidden;
            closeMenus();
            items.hidden = !open;
            opener.setAttribute('aria-expanded', String(open));
            if (open) items.querySelector('button:not(:disabled)')?.focus();
            event.stopPropagation();
        });
    }
    document.addEventListener('click', closeMenus);
    document.addEventListener('keydown', (event) => { if (event.key === 'Escape') closeMenus(); });

    const commands = {
        MENUnew: newClear, MENUopen: () => chooseFile(false), MENUmerge: () => chooseFile(true),
        MENUsave: save, OpenButton: () => chooseFile(false), SaveButton: save,
        MENUundo: () => step(undoStack, redoStack), MENUredo: () => step(redoStack, undoStack),
        MENUcut: () => copyEvents(true), MENUcopy: () => copyEvents(false), MENUpaste: pasteEvents,
        MENUinsert: () => eventEdit('insert', selected().first, 1),
        MENUremove: () => eventEdit('remove', selected().first, selected().count),
        MENUclearevents: () => eventEdit('clear', selected().first, selected().count),
        MENUrotateleft: () => eventEdit('rotate', -1, 0), MENUrotateright: () => eventEdit('rotate', 1, 0),
        MENUreverse: () => eventEdit('reverse', selected().first, selected().count),
        MENUtest: () => testRun.toggle(), TestButton: () => testRun.toggle(),
        MENUdownload: startDownload, DownloadButton: startDownload,
        MENUsettings: settings, Settings_button: settings, MENUabout: about, MENUhowto: manual,
    };
    for (const [id, command] of Object.entries(commands))
        $(id).addEventListener('click', () => { closeMenus(); command(); });

    const keys = { s: save, o: () => chooseFile(false), z: () => step(undoStack, redoStack), y: () => step(redoStack, undoStack) };
    document.addEventListener('keydown', (event) => {
        if (!(event.ctrlKey || event.metaKey) || event.altKey || document.querySelector('dialog[open]')) return;
        if (downloading && 'so'.includes(event.key.toLowerCase())) return;
        const key = event.key.toLowerCase();
        const command = key === 'z' && event.shiftKey ? keys.y : keys[key];
        if (!command) return;
        event.preventDefault();
        command();
    });
    // Copy, cut and paste of events through the page's own clipboard events.
    const inField = () => ['INPUT', 'SELECT', 'TEXTAREA'].includes(document.activeElement?.tagName) ||
        !document.getSelection().isCollapsed; // text chosen on the page copies as text
    for (const kind of ['copy', 'cut']) {
        document.addEventListener(kind, (event) => {
            if (inField()) return;
            event.preventDefault();
            const range = selected();
            clipboardFallback = core.eventsText(core.copyEvents(seq, range.first, range.count));
            event.clipboardData.setData('text/plain', clipboardFallback);
            if (kind === 'cut') eventEdit('remove', range.first, range.count);
        });
    }
    document.addEventListener('paste', (event) => {
        if (inField()) return;
        event.preventDefault();
        pasteText(event.clipboardData.getData('text/plain'));
    });

    const grid = $('grid');
    grid.addEventListener('pointerdown', startDrag);
    grid.addEventListener('pointermove', moveDrag);
    grid.addEventListener('pointerup', endDrag);
    grid.addEventListener('pointercancel', endDrag);
    grid.addEventListener('keydown', gridKey);

    $('fileInput').addEventListener('change', () => {
        const file = $('fileInput').files[0];
        if (file) openFile(file, mergeNext);
    });
    // A file dropped on the page opens; with Shift held it merges.
    document.addEventListener('dragover', (event) => {
        event.preventDefault();
        document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
    document.addEventListener('drop', (event) => {
        event.preventDefault();
        document.body.classList.remove('dropping');
        const file = event.dataTransfer.files[0];
        // Not under an open dialog, whose OK would write over what the file brought.
        if (file && !downloading && !document.querySelector('dialog[open]')) openFile(file, event.shiftKey);
    });

    $('ServoStick').addEventListener('input', () => {
        const position = Number($('ServoStick').value);
        $('PulseWidth').textContent = String(10 * position);
        testRun.stickPosition = position;
    });
    window.addEventListener('beforeunload', (event) => {
        if (downloading || !same(seq, savedState)) event.preventDefault();
    });

    if (!('serial' in navigator)) {
        $('serialNote').hidden = false;
        $('DownloadButton').title = 'Download needs a browser with Web Serial';
    }
    if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
}

build();
wire();
render();
document.body.dataset.ready = 'yes';
