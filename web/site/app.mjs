// The browser edition's main window. The core's editing session holds the sequence, its
// history, the cursor and the selection; the page turns clicks, keys, drops and menu
// choices into session calls and then draws the session's state.
import createCore from './glimmeron.js';
import { chooseFrom, messageBox } from './dialogs.mjs';
import { download } from './download.mjs';
import { wireFiles } from './files.mjs';
import { wireGrid } from './grid.mjs';
import { closeMenus, focusBack, menuEntry, onCommand, wireMenus } from './menus.mjs';
import { TestRun } from './testrun.mjs';
import { View } from './view.mjs';

const core = await createCore();
const session = new core.Session();
const $ = (id) => document.getElementById(id);
const appTitle = 'GLIMMERON  -  Programmable LED Sequencer/Flasher';
let downloading = false;
let historyChanges = 0;
let timing = '';

const tell = (text) => messageBox(text, appTitle);
const status = (text) => { $('status').textContent = text; };

const view = new View(core, {
    chooseColour, rowOptions,
    servoMode(led, mode) { session.setServoMode(led, mode); update(); },
});

function update() {
    const s = session.state();
    view.render(s);
    // What the bar said of an edit is no longer true after the next edit, undo or redo.
    if (s.historyChanges !== historyChanges) status('');
    historyChanges = s.historyChanges;
    // The settings dialog keeps a cancelled choice until the timing itself changes.
    if (`${s.sequencerDelay} ${s.testSpeed}` !== timing) {
        timing = `${s.sequencerDelay} ${s.testSpeed}`;
        $('PICSpeedcombo').value = String(s.sequencerDelay);
        $('PCSpeedcombo').value = String(s.testSpeed);
    }
    showCycleTime(s);
}

// The page's own copy, for where the clipboard refuses to be read.
let clipboardCopy = null;

async function report(result) {
    update();
    if (result.copied) {
        clipboardCopy = result.copiedText;
        await navigator.clipboard.writeText(result.copiedText).catch(() => {});
    }
    if (result.status) status(result.status);
    if (result.refusal) await tell(result.refusal);
}

async function paste() {
    let text = clipboardCopy;
    try {
        text = await navigator.clipboard.readText();
    } catch { /* the page's own copy */ }
    await report(session.pasteText(text));
}

// ---- rows and colours: the lists wait for a choice ----

let copyChoice = -1;

async function rowOptions(led) {
    const opener = $(`RowOptions${led}`);
    const operation = await chooseFrom($('RowOptionsList'), core.rowOperationTexts(), 0, opener);
    let partner = -1;
    if (operation === 3 || operation === 4) {
        partner = await chooseFrom($('CopyList'), core.copyPartnerTexts(), copyChoice, opener);
        if (partner >= 0) copyChoice = partner;
    }
    if (operation >= 0) session.applyRowOperation(led, operation, partner);
    update();
}

async function chooseColour(led) {
    const entries = core.colourNames().map((name, i) => {
        const swatch = document.createElement('span');
        swatch.className = 'swatch';
        swatch.style.background = core.colourHex(i);
        return [swatch, name];
    });
    const index = await chooseFrom($('ColorList'), entries, session.state().colourIndexes[led], view.names[led]);
    if (index >= 0) session.setColour(led, index);
    update();
}

// ---- test, settings, download ----

let stickOpener = null; // where the keyboard goes back to when the stick hides

const testRun = new TestRun(core, () => session.state(), {
    showStep(slot, colours) {
        view.ticks[slot].classList.add('playing');
        colours.forEach((colour, led) => { view.lamps[led].style.background = colour; });
    },
    endStep(slot) {
        view.ticks[slot].classList.remove('playing');
    },
    changed(running, stickShown) {
        $('TestButton').textContent = running ? 'Stop Test' : 'Test';
        if (running && stickShown) {
            $('stick').hidden = false;
            $('Settings_button').hidden = true;
            stickOpener = document.activeElement;
            $('ServoStick').focus();
        } else if (!running) {
            const hadKeyboard = $('stick').contains(document.activeElement);
            $('stick').hidden = true;
            if (hadKeyboard) focusBack(stickOpener);
        }
    },
    ended() {
        for (const lamp of view.lamps) lamp.style.background = '#000000';
        if (!downloading) $('Settings_button').hidden = false;
    },
});

// With the preview at the device's pace, the status line tells how long a cycle takes.
function showCycleTime(s) {
    const shown = testRun.deviceSpeed;
    $('CycleTime').hidden = !shown;
    $('CycleTime').textContent = shown && core.cycleDescription ? core.cycleDescription(s.lastEvent, s.sequencerDelay) : '';
}

function toggleDeviceSpeed() {
    testRun.deviceSpeed = !testRun.deviceSpeed;
    $('MENUdevicespeed').setAttribute('aria-checked', String(testRun.deviceSpeed));
    update();
}

// Modeless, as on the desktop: the window stays live while it is open. Escape cancels it,
// and the keyboard goes back to where it was when it opened.
let settingsOpener = null;
function settings() {
    testRun.stop();
    if (!$('Settings_form').open) {
        settingsOpener = document.activeElement;
        $('Settings_form').show();
    }
    $('PICSpeedcombo').focus();
}
$('Settings_form').addEventListener('keydown', (event) => {
    if (event.key !== 'Escape') return;
    event.preventDefault();
    $('SettingsCancelbutton').click();
});
$('Settings_form').addEventListener('close', () => {
    if ($('Settings_form').contains(document.activeElement) || document.activeElement === document.body) focusBack(settingsOpener);
});

// OK applies at once, as the desktop's does: not when the dialog's close event comes later.
$('Settings_form').addEventListener('submit', (event) => {
    if (event.submitter?.value !== 'ok') return;
    session.applySettings(Number($('PICSpeedcombo').value), Number($('PCSpeedcombo').value));
    update();
});

// A download refuses these, from the buttons and the menus alike.
const fiveButtons = ['TestButton', 'Settings_button', 'DownloadButton', 'OpenButton', 'SaveButton', 'MENUnew',
    'MENUopen', 'MENUmerge', 'MENUsave', 'MENUtest', 'MENUdownload', 'MENUsettings', 'MENUrecent', 'MENUpatterns'];

async function startDownload() {
    if (downloading) return;
    if (!('serial' in navigator)) return tell($('serialNote').textContent);
    downloading = true;
    testRun.stop();
    for (const id of fiveButtons) if ($(id)) $(id).disabled = true;
    try {
        const line = await download(core, {
            ask: (text, title) => messageBox(text, title, ['OK', 'Cancel']),
            tell,
            transferShown(shown) {
                $('transfer').hidden = !shown;
                $('Settings_button').hidden = shown;
            },
            progress(n) { $('ProgressBar1').value = n; },
            record: (n) => session.downloadRecord(n),
        });
        if (line) status(line);
    } finally {
        downloading = false;
        for (const id of fiveButtons) if ($(id)) $(id).disabled = false;
    }
}

async function about() {
    const lines = [' '.repeat(25) + 'G L I M M E R O N', ' '.repeat(22) + '='.repeat(18),
        '  Programmable LED Sequencer/Flasher  - Rev4', ' '.repeat(27) + 'By:  The GLIMMERON editor developers',
        ' '.repeat(26) + 'www.example.org/glimmeron', ' '.repeat(33) + 'Jan 2011'];
    await tell(lines.join('\r'));
}

async function manual() {
    const answer = await messageBox("\r Click OK to view the Glimmeron Users' Manual on the GLIMMERON editor webpage...",
        `${appTitle} Users' Manual`, ['OK', 'Cancel']);
    if (answer === 'OK') window.open('manual.html', '_blank', 'noopener');
}

// ---- wiring ----

const ask = (text) => messageBox(text, appTitle, ['Yes', 'No']);
const files = wireFiles({ core, session, update, testRun, tell, ask, busy: () => downloading });

// The session's Edit commands, then Copy Picture; each with the desktop's key.
const editKeys = { MENUcut: 'Ctrl+X', MENUcopy: 'Ctrl+C', MENUpaste: 'Ctrl+V', MENUclearevents: 'Del',
    MENUinsertevent: 'Ins', MENUdeleteevents: 'Ctrl+Del', MENUselectall: 'Ctrl+A', MENUlastevent: 'Ctrl+L' };
const runCommand = (name) => (name === 'MENUpaste' ? paste() : report(session.run(name)));
for (const { name, text } of core.editCommands()) {
    if (!name) {
        $('editItems').append(document.createElement('hr'));
        continue;
    }
    const entry = menuEntry(name, text, editKeys[name]);
    entry.classList.add('sessioncommand');
    $('editItems').append(entry);
    onCommand(name, () => runCommand(name));
}
$('editItems').append(menuEntry('MENUcopypicture', 'C&opy Picture', 'Ctrl+Shift+C'));

wireMenus();
wireGrid(core, session, view, update);
const commands = {
    MENUundo: () => { session.undo(); update(); }, MENUredo: () => { session.redo(); update(); },
    MENUcopypicture: files.copyPicture, MENUdevicespeed: toggleDeviceSpeed,
    MENUtest: () => testRun.toggle(), TestButton: () => testRun.toggle(),
    MENUdownload: startDownload, DownloadButton: startDownload,
    MENUsettings: settings, Settings_button: settings, MENUabout: about, MENUhowto: manual,
};
for (const [id, command] of Object.entries(commands)) onCommand(id, command);

const inField = () => ['INPUT', 'SELECT', 'TEXTAREA'].includes(document.activeElement?.tagName);
const ctrlKeys = {
    s: files.save, o: files.open, z: commands.MENUundo, y: commands.MENUredo, a: () => runCommand('MENUselectall'),
    l: () => runCommand('MENUlastevent'), C: files.copyPicture, Z: commands.MENUredo, L: files.copyLink,
};
const plainKeys = { Delete: 'MENUclearevents', Insert: 'MENUinsertevent' };
document.addEventListener('keydown', (event) => {
    if (event.altKey || document.querySelector('dialog:modal') || !$('RowOptionsList').hidden ||
        !$('CopyList').hidden || !$('ColorList').hidden) return;
    const ctrl = event.ctrlKey || event.metaKey;
    const key = event.key.length === 1 && !event.shiftKey ? event.key.toLowerCase() : event.key;
    let command = null;
    if (ctrl && event.key === 'Delete') command = () => runCommand('MENUdeleteevents');
    else if (ctrl) command = ctrlKeys[key];
    else if (plainKeys[event.key] && !inField()) command = () => runCommand(plainKeys[event.key]);
    const typing = document.activeElement?.matches('input[type="text"], textarea');
    if (!command || (typing && 'azl'.includes(key)) || (downloading && 'so'.includes(key))) return;
    event.preventDefault();
    closeMenus();
    command();
});
// Copy, cut and paste of events through the page's own clipboard events.
const textChosen = () => inField() || !document.getSelection().isCollapsed; // page text copies as text
for (const kind of ['copy', 'cut']) {
    document.addEventListener(kind, (event) => {
        if (textChosen()) return;
        event.preventDefault();
        const result = session.run(kind === 'cut' ? 'MENUcut' : 'MENUcopy');
        clipboardCopy = result.copiedText;
        event.clipboardData.setData('text/plain', result.copiedText);
        update();
        if (result.status) status(result.status);
    });
}
document.addEventListener('paste', (event) => {
    if (textChosen()) return;
    event.preventDefault();
    report(session.pasteText(event.clipboardData.types.includes('text/plain') ? event.clipboardData.getData('text/plain') : null));
});

// The stick moves the pulse and the zone when it is let go, as the desktop's does.
$('ServoStick').addEventListener('change', () => {
    const position = Number($('ServoStick').value);
    $('PulseWidth').textContent = String(10 * position);
    testRun.stickPosition = position;
});
window.addEventListener('beforeunload', (event) => {
    if (downloading || session.state().modified) event.preventDefault();
});
if (!('serial' in navigator)) {
    $('serialNote').hidden = false;
    $('DownloadButton').title = 'Download needs a browser with Web Serial';
}
if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');

files.openLink(); // an address with a sequence in it
update();
document.body.dataset.ready = 'yes';
