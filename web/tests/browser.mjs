// The built web edition in headless Chromium: files save byte for byte what the desktop
// program writes, the download's bytes and pace reach a recording serial port, the page
// works offline after one visit and can be installed.
//   node web/tests/browser.mjs SITE_DIR
import assert from 'node:assert/strict';
import { mkdtemp, readdir, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { gzipSync } from 'node:zlib';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serve } from '../serve.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const corpus = join(root, 'tests/fuzz/corpus/sequencefile');
const timeout = 30000;
const site = process.argv[2];
// However the browser misbehaves, the suite ends.
setTimeout(() => { console.log('FAIL!  : the browser tests did not finish within 10 minutes'); process.exit(1); }, 600000).unref();
const server = await serve(site, 0);
const base = `http://127.0.0.1:${server.address().port}/`;
const profile = await mkdtemp(join(tmpdir(), 'glimmeron-chromium-'));
const downloads = await mkdtemp(join(tmpdir(), 'glimmeron-downloads-'));
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
});

let failed = 0;
async function test(name, body) {
    if (process.env.ONLY && !name.includes(process.env.ONLY)) return;
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    try {
        let timer;
        await Promise.race([body(page), new Promise((_, fail) => {
            timer = setTimeout(() => fail(new Error('no result within 120 s')), 120000);
        })]).finally(() => clearTimeout(timer));
        assert.deepEqual(errors, [], 'errors on the page');
        console.log(`PASS   : ${name}`);
    } catch (error) {
        ++failed;
        console.log(`FAIL!  : ${name}\n${error.stack}`);
    } finally {
        await page.close();
    }
}

async function load(page, before, pickers = false) {
    if (!pickers) await page.evaluateOnNewDocument(() => {
        for (const name of ['showOpenFilePicker', 'showSaveFilePicker']) Object.defineProperty(window, name, { value: undefined });
    });
    if (before) await page.evaluateOnNewDocument(before);
    await page.goto(base);
    await page.waitForSelector('body[data-ready="yes"]', { timeout });
}

async function openFile(page, path) {
    const title = await page.$eval('title', (e) => e.textContent);
    await (await page.$('#fileInput')).uploadFile(path);
    await page.waitForFunction((t) => document.title !== t, { timeout }, title);
}

// What the desktop writes for a file it opens: the 65 records in its own form.
const savedForm = (bytes) => {
    let end = 0;
    for (let line = 0; line < 65; ++line) end = bytes.indexOf('\r\n', end) + 2;
    return bytes.subarray(0, end);
};

await test('each worked example and pattern saves the bytes the desktop writes', async () => {
    const cdp = await browser.target().createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: downloads, eventsEnabled: true });
    const worked = await readFile(join(corpus, 'worked-example.dat'));
    const cases = [['worked-example.dat', worked], ['start-up.dat', await readFile(join(corpus, 'start-up.dat'))],
        ['commas-lf.dat', worked]].map(([name, bytes]) => [join(corpus, name), bytes]);
    const patterns = join(root, 'data/patterns');
    for (const name of await readdir(patterns))
        cases.push([join(patterns, name), savedForm(await readFile(join(patterns, name)))]);
    // A tab of its own per file: Chromium holds back the downloads of a busy tab.
    for (const [path, expected] of cases) {
        const page = await browser.newPage();
        await load(page);
        await openFile(page, path);
        // The download this Save starts, finished: its guid names the file.
        const done = new Promise((resolve) => {
            let guid = null;
            const finished = new Set();
            const settle = () => {
                if (guid && finished.has(guid)) {
                    cdp.off('Browser.downloadWillBegin', begun);
                    cdp.off('Browser.downloadProgress', progress);
                    resolve(guid);
                }
            };
            const begun = (event) => { guid ??= event.guid; settle(); };
            const progress = (event) => { if (event.state === 'completed') finished.add(event.guid); settle(); };
            cdp.on('Browser.downloadWillBegin', begun);
            cdp.on('Browser.downloadProgress', progress);
        });
        await page.click('#SaveButton');
        await page.click('#SaveOKbutton'); // the name offered is the file's
        const saved = await readFile(join(downloads, await done));
        assert.ok(saved.equals(expected), `${path}: saved ${saved.length} bytes, expected ${expected.length}`);
        await page.close();
    }
    await cdp.detach();
});

await test('a refused file changes nothing and says why, as the desktop does', async (page) => {
    await load(page);
    const big = join(downloads, 'big.dat');
    await writeFile(big, Buffer.alloc(1024 * 1024 + 1, 48));
    for (const [path, text] of [[join(corpus, 'short.dat'), /^The file short\.dat is not a valid sequence data file\. Record \d+: .*\.\n\nNothing on screen has changed\.$/],
        [big, /^The file big\.dat could not be read: it is 1048577 bytes long, far too long for this kind of file\.\n\nNothing on screen has changed\.$/]]) {
        await (await page.$('#fileInput')).uploadFile(path);
        await page.waitForSelector('#messageBox[open]', { timeout });
        assert.match(await page.$eval('#messageText', (e) => e.textContent), text);
        await page.click('#messageButtons button');
    }
    assert.equal(await page.$eval('title', (e) => e.textContent), 'GLIMMERON  -  Programmable LED Sequencer/Flasher - Rev4');
    // Save before any file offers no name; a file opened is then named by its name alone.
    await page.click('#SaveButton');
    assert.equal(await page.$eval('#SaveName', (e) => e.value), '');
    await page.click('#SaveCancelbutton');
    await openFile(page, join(root, 'data/patterns/Scanner.DAT'));
    assert.equal(await page.$eval('#status', (e) => e.textContent), ''); // its note is not shown
});

await test('download writes the 171-byte stream at the device pace to a recording port', async (page) => {
    await load(page, () => {
        // A serial port that records each write and when it came.
        const log = { options: null, writes: [], closed: false };
        window.serialLog = log;
        const port = {
            getInfo: () => ({ usbVendorId: 0x0403, usbProductId: 0x6001 }),
            open: async (options) => { log.options = options; },
            close: async () => { log.closed = true; },
            writable: new WritableStream({ write(chunk) { log.writes.push({ at: performance.now(), bytes: [...chunk] }); } }),
        };
        Object.defineProperty(Navigator.prototype, 'serial', { value: { requestPort: async () => port } });
    });
    await openFile(page, join(corpus, 'worked-example.dat'));
    await page.click('#Settings_button'); // the sequencer delay goes out as it is set
    assert.equal(await page.$eval('#PICSpeedcombo', (e) => e.value), '30');
    await page.select('#PICSpeedcombo', '100');
    await page.click('#SettingsOKbutton');
    await page.click('#DownloadButton');
    await page.waitForSelector('#messageBox[open]', { timeout });
    assert.equal(await page.$eval('#messageTitle', (e) => e.textContent), 'Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...');
    assert.equal(await page.$eval('#messageText', (e) => e.textContent),
        "\n 1) Cycle power/Connect Glimmeron to programming cable (All LEDs flash), then\n\n 2)  Wait till all LEDS come on and stay on, then\n\n 3)  With all LEDs lit, Press 'OK' to download to Glimmeron...");
    assert.equal(await page.$eval('#DownloadButton', (e) => e.disabled), true);
    await page.click('#messageButtons button[value="OK"]');
    // While it sends, the menus refuse what the buttons refuse.
    assert.deepEqual(await page.$$eval('#MENUopen, #MENUsave, #MENUsettings', (m) => m.map((e) => e.disabled)), [true, true, true]);
    await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Downloaded'), { timeout });
    assert.match(await page.$eval('#status', (e) => e.textContent),
        /^Downloaded 171 bytes to the GLIMMERON on the chosen serial port \(USB 0403:6001\) at \d\d:\d\d:\d\d$/);
    const log = await page.evaluate(() => window.serialLog);
    assert.deepEqual(log.options, { baudRate: 2400, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' });
    const values = [42, 5, 2, 15, ...Array(47).fill(0), 0, 1, 15, 15, 100, 2];
    assert.deepEqual(log.writes.map((w) => w.bytes), values.map((v) => [v, 13, 10]));
    const gaps = log.writes.slice(1).map((w, i) => w.at - log.writes[i].at);
    assert.ok(gaps[0] >= 500, `start pause ${gaps[0]} ms`);
    assert.ok(Math.min(...gaps.slice(1)) >= 50, `shortest gap ${Math.min(...gaps.slice(1))} ms`);
    assert.ok(log.closed);
    assert.equal(await page.$eval('#DownloadButton', (e) => e.disabled), false);
    console.log(`         start pause ${gaps[0].toFixed(1)} ms, record gaps ${Math.min(...gaps.slice(1)).toFixed(1)}..${Math.max(...gaps.slice(1)).toFixed(1)} ms`);
});

await test('without Web Serial everything but Download works, and a line says where it does', async (page) => {
    await load(page, () => { delete Navigator.prototype.serial; });
    assert.equal(await page.$eval('#serialNote', (e) => e.hidden), false);
    assert.match(await page.$eval('#serialNote', (e) => e.textContent), /Chrome, Edge and Opera/);
});

// The page as its user drives it: through the menus and the keys.
const menu = async (page, opener, item) => {
    await page.click(`#${opener}`);
    await (await page.waitForSelector(`#${item}`, { visible: true, timeout })).click();
};
const centre = async (page, id) => { const b = await (await page.$(`#${id}`)).boundingBox(); return [b.x + b.width / 2, b.y + b.height / 2]; };
const events = (page) => page.$$eval('.cellrow', (rows) => Array.from({ length: 50 },
    (_, slot) => rows.reduce((v, row, led) => v | (row.children[slot].classList.contains('on') << led), 0)));
const undoText = (page) => page.$eval('#MENUundo span', (e) => e.textContent);
async function keys(page, list) {
    for (const key of list) {
        const held = key.split('+');
        const last = held.pop();
        for (const k of held) await page.keyboard.down(k);
        await page.keyboard.press(last);
        for (const k of held.reverse()) await page.keyboard.up(k);
    }
}

await test('editing through the menus and keys: cursor, selection and named steps', async (page) => {
    await load(page);
    // Each from the pattern "Four LED chase": events 1, 2, 4, 8, the last event 4.
    const cases = [
        [['Shift+ArrowRight', 'ArrowRight', 'ArrowRight', 'Delete'], [1, 2, 4, 0], 'Undo Clear Events'],
        [['ArrowRight', 'ArrowRight', 'Shift+End', 'Delete'], [1, 2, 0, 0], 'Undo Clear Events'],
        [['ArrowRight', 'ArrowRight', 'Shift+Home', 'Control+Delete'], [8, 0, 0, 0], 'Undo Delete Events', 0],
        [['MENUedit MENUreverse'], [8, 4, 2, 1], 'Undo Reverse Events'],
        [['Control+a', 'MENUedit MENUclearevents'], [0, 0, 0, 0], 'Undo Clear Events'],
        [['ArrowRight', 'Control+l'], [1, 2, 4, 8], 'Undo Mark Last Event', 1],
        [['ArrowDown', ' ', 'MENUedit MENUlastevent'], [3, 2, 4, 8], 'Undo Mark Last Event', 0],
        // Settings OK is no step: Undo takes back the edit before it.
        [[' ', 'settings 100', 'Control+z'], [1, 2, 4, 8], 'Undo Pattern Four LED chase', 3],
    ];
    for (const [actions, expected, undo, last = 3] of cases) {
        await menu(page, 'MENUpatterns', 'MENUpattern2');
        await page.waitForFunction(() => document.getElementById('MENUundo').textContent.includes('Four LED'), { timeout });
        await page.click('#iSwitchLedX1-0');
        await keys(page, ['Control+z']);
        for (const action of actions) {
            const [kind, arg] = action.split(' ');
            if (kind.startsWith('MENU')) await menu(page, kind, arg);
            else if (kind === 'settings') {
                await page.click('#Settings_button');
                await page.select('#PICSpeedcombo', arg);
                await page.click('#SettingsOKbutton');
                await page.focus('#grid');
            } else await keys(page, [kind || ' ']);
        }
        const context = actions.join(', ');
        assert.deepEqual((await events(page)).slice(0, 4), expected, context);
        assert.equal(await undoText(page), undo, context);
        assert.equal(await page.$eval('.tick.last', (e) => e.id), `TimeAxis-${last}`, context);
    }
    assert.equal(await page.$eval('#PICSpeedcombo', (e) => e.value), '100'); // the delay stayed
    assert.equal(await page.$eval('title', (e) => e.textContent), 'GLIMMERON  -  Programmable LED Sequencer/Flasher *');
});

await test('painting with any button, the last event, row tools and the lists that wait', async (page) => {
    await load(page);
    const lit = async (led) => (await events(page)).flatMap((v, i) => (v >> led) & 1 ? [i] : []);
    await page.mouse.click(...await centre(page, 'iSwitchLedX2-3')); // a click toggles one cell
    for (const button of ['left', 'right']) { // a drag paints, with either button
        await page.mouse.move(...await centre(page, 'iSwitchLedX2-3'));
        await page.mouse.down({ button });
        await page.mouse.move(...await centre(page, `iSwitchLedX2-${button === 'left' ? 6 : 9}`), { steps: 3 });
        await page.mouse.up({ button });
    }
    assert.deepEqual(await lit(1), [3, 4, 5, 6, 7, 8, 9]);
    assert.equal(await undoText(page), 'Undo Paint Cells');
    await page.click('#TimeAxis-9', { count: 2 });
    assert.equal(await page.$eval('.tick.last', (e) => e.id), 'TimeAxis-9');
    await page.click('#RowOptions1');
    await page.click('#hint'); // a click elsewhere leaves the list waiting
    assert.equal(await page.$eval('#RowOptionsList', (e) => e.hidden), false);
    await page.click('#RowOptionsList-2'); // Toggle All, up to the last event
    assert.deepEqual(await lit(1), [0, 1, 2]);
    await page.click('#LEDlabel1-0');
    await keys(page, ['Escape']); // Escape cancels
    assert.equal(await page.$eval('#ColorList', (e) => e.hidden), true);
    assert.equal(await undoText(page), 'Undo Toggle All');
    await keys(page, ['Control+z']);
    assert.deepEqual(await lit(1), [3, 4, 5, 6, 7, 8, 9]);
    await menu(page, 'MENUedit', 'MENUredo');
    assert.deepEqual(await lit(1), [0, 1, 2]);
    // Settings: modeless, and Cancel keeps the choice for a later OK.
    await page.click('#Settings_button');
    assert.equal(await page.$eval('#Settings_form', (e) => e.open && !e.matches(':modal')), true);
    await page.select('#PCSpeedcombo', '99');
    await page.click('#SettingsCancelbutton');
    await page.click('#Settings_button');
    assert.equal(await page.$eval('#PCSpeedcombo', (e) => e.value), '99');
});

await test('Test plays the events in the LEDs\' colours, through the servo zones of the stick', async (page) => {
    await load(page);
    await openFile(page, join(corpus, 'worked-example.dat')); // modes OFF, zone 1, NONE, NONE
    const lampsAt = (slot) => page.waitForFunction((s) => document.getElementById(`TimeAxis-${s}`).classList.contains('playing')
        && [0, 1, 2, 3].map((led) => getComputedStyle(document.getElementById(`LED-${led}`)).backgroundColor), { timeout, polling: 'mutation' }, slot)
        .then((handle) => handle.jsonValue());
    const white = 'rgb(255, 255, 255)';
    const dark = 'rgb(0, 0, 0)';
    await page.click('#TestButton');
    assert.equal(await page.$eval('#TestButton', (e) => e.textContent), 'Stop Test');
    assert.equal(await page.$eval('#stick', (e) => e.hidden), false);
    assert.equal(await page.$eval('#Settings_button', (e) => e.hidden), true);
    // Event 3 lights all four; the stick starts in zone 3, where LED 1 (OFF) and LED 2 (zone 1) stay dark.
    assert.deepEqual(await lampsAt(2), [dark, dark, white, white]);
    // The stick takes effect when it is let go, in microseconds.
    await page.$eval('#ServoStick', (e) => { e.value = '110'; e.dispatchEvent(new Event('input')); });
    assert.equal(await page.$eval('#PulseWidth', (e) => e.textContent), '1500');
    await page.$eval('#ServoStick', (e) => e.dispatchEvent(new Event('change')));
    assert.equal(await page.$eval('#stick label', (e) => e.textContent), 'Servo Pulsewidth = 1100 \u00b5s');
    await lampsAt(0); // the next pass
    assert.deepEqual(await lampsAt(2), [dark, white, white, white]);
    await page.click('#TestButton');
    await page.waitForFunction(() => !document.querySelector('.tick.playing'), { timeout });
    assert.equal(await page.$eval('#Settings_button', (e) => e.hidden), false);
    assert.equal(await page.$eval('#stick', (e) => e.hidden), true);
    assert.deepEqual(await page.$$eval('.lamp', (lamps) => lamps.map((l) => getComputedStyle(l).backgroundColor)), Array(4).fill(dark));
    // At the device's speed a step lasts the sequencer delay (250 ms), not the test speed (20 ms).
    await page.click('#Settings_button');
    await page.select('#PICSpeedcombo', '250');
    await page.click('#SettingsOKbutton');
    await menu(page, 'MENUview', 'MENUdevicespeed');
    assert.equal(await page.$eval('#CycleTime', (e) => e.hidden), false);
    await page.click('#TestButton');
    await lampsAt(0);
    const started = Date.now();
    await lampsAt(2);
    assert.ok(Date.now() - started >= 450, `two steps in ${Date.now() - started} ms`);
    await page.click('#TestButton');
});

await test('events selected on the ruler copy as text, paste elsewhere, and rotate', async (page) => {
    await browser.defaultBrowserContext().overridePermissions(base, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    await load(page);
    await openFile(page, join(corpus, 'worked-example.dat')); // events 5, 2, 15
    await page.mouse.move(...await centre(page, 'TimeAxis-0')); // a drag along the ruler, then Shift+click
    await page.mouse.down();
    await page.mouse.move(...await centre(page, 'TimeAxis-1'), { steps: 4 });
    await page.mouse.up();
    assert.equal(await page.$$eval('.tick.selected', (t) => t.length), 2);
    await page.keyboard.down('Shift');
    await page.click('#TimeAxis-2');
    await page.keyboard.up('Shift');
    await menu(page, 'MENUedit', 'MENUcopy');
    await page.waitForFunction(() => document.getElementById('status').textContent === 'Copied events 1 to 3.', { timeout });
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), 'LED 1  #.#\nLED 2  .##\nLED 3  #.#\nLED 4  ..#\n');
    await page.click('#iSwitchLedX1-10');
    await page.click('#iSwitchLedX1-10'); // the cursor there, the cell as it was
    await menu(page, 'MENUedit', 'MENUpaste'); // the clipboard answers when it will
    await page.waitForFunction(() => document.getElementById('iSwitchLedX4-12').classList.contains('on'), { timeout });
    assert.deepEqual((await events(page)).slice(0, 14), [5, 2, 15, 0, 0, 0, 0, 0, 0, 0, 5, 2, 15, 0]);
    await menu(page, 'MENUedit', 'MENUrotateright'); // events 0 .. the last event (2) turn round
    assert.deepEqual((await events(page)).slice(0, 4), [15, 5, 2, 0]);
    await keys(page, ['Home', 'Shift+ArrowRight', 'Shift+ArrowRight', 'Control+Delete']);
    assert.deepEqual((await events(page)).slice(0, 11), [0, 0, 0, 0, 0, 0, 0, 5, 2, 15, 0]);
});

await test('Open Recent reopens the files opened, and drops one that is gone', async (page) => {
    // The browser's own private files stand in for the user's: their handles keep like any.
    await load(page, () => {
        window.showOpenFilePicker = async () => [await (await navigator.storage.getDirectory()).getFileHandle('chase.dat')];
    }, true);
    await page.evaluate(async (text) => {
        const file = await (await navigator.storage.getDirectory()).getFileHandle('chase.dat', { create: true });
        const stream = await file.createWritable();
        await stream.write(text);
        await stream.close();
    }, await readFile(join(root, 'data/patterns/Four LED chase.DAT'), 'latin1'));
    await page.click('#OpenButton');
    await page.waitForFunction(() => document.title.endsWith(' - chase.dat'), { timeout });
    await menu(page, 'MENUfile', 'MENUnew');
    await page.click('#MENUfile');
    await menu(page, 'MENUrecent', 'MENUrecent0');
    await page.waitForFunction(() => document.title.endsWith(' - chase.dat'), { timeout });
    await page.evaluate(async () => (await navigator.storage.getDirectory()).removeEntry('chase.dat'));
    await page.click('#MENUfile');
    await menu(page, 'MENUrecent', 'MENUrecent0');
    await page.waitForSelector('#messageBox[open]', { timeout });
    assert.equal(await page.$eval('#messageText', (e) => e.textContent), 'The file chase.dat is no longer there. It is taken off the list of recent files.');
    await page.click('#messageButtons button');
    await page.click('#MENUfile');
    await page.click('#MENUrecent');
    await page.waitForSelector('#MENUclearrecent:disabled', { timeout });
});

await test('a file dropped with Shift held merges: its cells join, the colours stay', async (page) => {
    await load(page);
    await openFile(page, join(corpus, 'worked-example.dat')); // events 5, 2, 15; LED 1 red
    const scanner = await readFile(join(root, 'data/patterns/Scanner.DAT'), 'latin1');
    const theirs = scanner.split('\r\n').slice(0, 50).map((line) => Number(line.replaceAll('"', '')));
    await page.evaluate((text) => {
        const data = new DataTransfer();
        data.items.add(new File([text], 'Scanner.DAT'));
        document.getElementById('grid').dispatchEvent(new DragEvent('drop', { dataTransfer: data, shiftKey: true, bubbles: true }));
    }, scanner);
    await page.waitForFunction(() => document.querySelector('title').textContent.endsWith('- Scanner.DAT *'), { timeout });
    const merged = theirs.map((v, i) => v | ([5, 2, 15][i] ?? 0));
    assert.deepEqual(await events(page), merged);
    assert.equal(await page.$eval('#LEDlabel1-0', (e) => getComputedStyle(e).color), 'rgb(255, 0, 0)');
    await openFile(page, join(root, 'data/patterns/Scanner.DAT')); // Open is undone like any edit
    assert.deepEqual(await events(page), theirs);
    await keys(page, ['Control+z']);
    assert.deepEqual(await events(page), merged);
});

await test('installable: the manifest and the service worker are found', async (page) => {
    await load(page);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const cdp = await page.createCDPSession();
    const manifest = await cdp.send('Page.getAppManifest');
    assert.deepEqual(manifest.errors, []);
    const data = JSON.parse(manifest.data);
    assert.equal(data.name, 'GLIMMERON editor');
    assert.equal(data.start_url, './');
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
});

await test('the whole edition stays under 400 KB compressed', async () => {
    const files = (await readdir(site, { recursive: true, withFileTypes: true }))
        .filter((f) => f.isFile() && !f.name.startsWith('.')).map((f) => join(f.path, f.name));
    const sizes = await Promise.all(files.map(async (name) => gzipSync(await readFile(name), { level: 9 }).length));
    const total = sizes.reduce((a, b) => a + b, 0);
    console.log(`         ${(total / 1024).toFixed(0)} KB compressed in ${files.length} files`);
    assert.ok(total < 400 * 1024);
});

await test('after one visit the page starts offline', async (page) => {
    const started = Date.now();
    await load(page);
    console.log(`         interactive ${Date.now() - started} ms after the first request`);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout });
    await new Promise((done) => { server.close(done); server.closeAllConnections(); });
    await page.reload();
    await page.waitForSelector('body[data-ready="yes"]', { timeout });
    assert.equal(await page.$$eval('.cell', (cells) => cells.length), 200);
    await openFile(page, join(corpus, 'worked-example.dat'));
    assert.equal(await page.$eval('title', (e) => e.textContent), 'GLIMMERON  -  Programmable LED Sequencer/Flasher - worked-example.dat');
});

await browser.close();
server.close();
await rm(profile, { recursive: true, force: true });
await rm(downloads, { recursive: true, force: true });
console.log(failed ? `${failed} browser test(s) failed` : 'All browser tests passed');
process.exit(failed ? 1 : 0);
