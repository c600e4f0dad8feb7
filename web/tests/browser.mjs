// The built web edition in headless Chromium: files save byte for byte what the desktop
// program writes, the download's bytes and pace reach a recording serial port, the page
// works offline after one visit and can be installed.
//   node web/tests/browser.mjs SITE_DIR
import assert from 'node:assert/strict';
import { readdir, readFile, writeFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { join } from 'node:path';
import { differenceScripts, playOnDesktop, playOnPage } from './difference.mjs';
import { base, browser, centre, corpus, downloads, events, finish, keys, load, menu, openFile, root, server, site, test, timeout, undoText } from './harness.mjs';

await test('the page and the window save the same bytes and name the same Undo step', async (page) => {
    const program = process.env.DESKTOPSCRIPT ?? join(root, 'build/tests/desktopscript');
    const scripts = await differenceScripts(root, Number(process.env.RANDOM_SCRIPTS ?? 200));
    const desktop = await playOnDesktop(program, scripts, downloads);
    assert.equal(desktop.length, scripts.length, 'the window played every script');
    const differ = [];
    for (const [i, script] of scripts.entries()) {
        await load(page);
        const web = await playOnPage(page, script);
        const want = { hex: desktop[i].hex, undo: desktop[i].undo.replace('&', '') };
        if (web.hex !== want.hex || web.undo !== want.undo) differ.push(`${script}\n  page ${JSON.stringify(web)}\n  window ${JSON.stringify(want)}`);
    }
    console.log(`         ${scripts.length - differ.length} of ${scripts.length} scripts alike (the worked example, 9 patterns, ${scripts.length - 10} random)`);
    assert.deepEqual(differ.slice(0, 3), []);
}, 1200);

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
        // A serial port that records each write and when it came; `fail` names the step that fails.
        const log = { options: null, writes: [], closed: false, fail: '' };
        window.serialLog = log;
        const port = {
            getInfo: () => ({ usbVendorId: 0x0403, usbProductId: 0x6001 }),
            open: async (options) => { if (log.fail === 'open') throw new Error('busy.'); log.options = options; },
            close: async () => { log.closed = true; },
            get writable() { return new WritableStream({ write(chunk) { if (log.fail === 'write') throw new Error('gone'); log.writes.push({ at: performance.now(), bytes: [...chunk] }); } }); },
        };
        const requestPort = async () => { if (log.fail.endsWith('Error')) throw new DOMException('No.', log.fail); return port; };
        Object.defineProperty(Navigator.prototype, 'serial', { value: { requestPort } });
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
    assert.equal(await page.evaluate(() => document.activeElement.id), 'grid'); // not the body: the button was off
    assert.match(await page.$eval('#status', (e) => e.textContent),
        /^Downloaded 171 bytes to the GLIMMERON on the chosen serial port \(USB 0403:6001\) at \d\d:\d\d:\d\d$/);
    const log = await page.evaluate(() => window.serialLog);
    assert.deepEqual(log.options, { baudRate: 2400, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' });
    const values = [42, 5, 2, 15, ...Array(47).fill(0), 0, 1, 15, 15, 100, 2];
    assert.deepEqual(log.writes.map((w) => w.bytes), values.map((v) => [v, 13, 10]));
    const [start, ...gaps] = log.writes.slice(1).map((w, i) => w.at - log.writes[i].at);
    gaps.sort((a, b) => a - b);
    const at = (q) => gaps[Math.ceil(q * gaps.length) - 1].toFixed(1);
    console.log(`         start pause ${start.toFixed(1)} ms; record gaps min ${gaps[0].toFixed(1)}, median ${at(0.5)}, p99 ${at(0.99)}, max ${at(1)} ms`);
    // Never faster than the device's pace. A write may reach the port a little after it was
    // made, so one gap can come out short and the next long; how slow is a figure, not a test.
    assert.ok(start >= 495 && gaps[0] >= 45 && at(0.5) >= 50, `start pause ${start} ms, gaps ${gaps}`);
    assert.ok(log.closed);
    assert.equal(await page.$eval('#DownloadButton', (e) => e.disabled), false);
    // Each failure replaces the status line, the last download's included.
    const textIs = (id, re) => page.waitForFunction((i, r) => new RegExp(r).test(document.querySelector(i)?.textContent), { timeout }, id, re.source);
    for (const [fail, message, line] of [
        ['NotFoundError', null, /^No serial port was chosen, so nothing was sent\. Plug in the programming cable/],
        ['SecurityError', /^The browser did not let this page choose a serial port: No\.\n\n.* Allow serial ports for this site/, /^The browser did not let/],
        ['open', /^The serial port could not be opened: busy\.\n\nNothing was sent/, /^The serial port could not be opened: busy\.$/],
        ['write', /stopped part-way: gone\.\n\nThe download is incomplete/, /^The download to the GLIMMERON on .* stopped part-way: gone\.$/]]) {
        await page.evaluate((f) => { window.serialLog.fail = f; }, fail);
        await page.click('#DownloadButton');
        if (fail === 'write') await (await page.waitForSelector('#messageButtons button[value="OK"]', { timeout })).click();
        if (message) await textIs('#messageBox[open] #messageText', message);
        await textIs('#status', line);
        if (message) await page.click('#messageButtons button');
    }
});

await test('without Web Serial everything but Download works, and a line says where it does', async (page) => {
    await load(page, () => { delete Navigator.prototype.serial; });
    assert.equal(await page.$eval('#serialNote', (e) => e.hidden), false);
    assert.match(await page.$eval('#serialNote', (e) => e.textContent), /Chrome, Edge and Opera/);
});

// The rest of painting, the lists and Settings is the difference test's, by mouse, and
// the keyboard test's.
await test('painting with the right button, a list that waits, and Settings that keep a cancelled choice', async (page) => {
    await load(page);
    await page.mouse.click(...await centre(page, 'iSwitchLedX2-3')); // a drag paints as its start cell is
    await page.mouse.down({ button: 'right' });
    await page.mouse.move(...await centre(page, 'iSwitchLedX2-6'), { steps: 3 });
    await page.mouse.up({ button: 'right' });
    assert.deepEqual((await events(page)).slice(0, 8), [0, 0, 0, 2, 2, 2, 2, 0]);
    await page.click('#RowOptions1');
    await page.click('#hint'); // a click elsewhere leaves the list waiting
    assert.equal(await page.$eval('#RowOptionsList', (e) => e.hidden), false);
    await page.click('#RowOptionsList-2');
    assert.equal(await undoText(page), 'Undo Toggle All');
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

await test('events selected on the ruler copy as text and paste elsewhere', async (page) => {
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

// What Merge does is the session's; here only that a Shift-drop asks for it.
await test('a file dropped with Shift held merges', async (page) => {
    await load(page);
    const scanner = await readFile(join(root, 'data/patterns/Scanner.DAT'), 'latin1');
    await page.evaluate((text) => {
        const data = new DataTransfer();
        data.items.add(new File([text], 'Scanner.DAT'));
        document.getElementById('grid').dispatchEvent(new DragEvent('drop', { dataTransfer: data, shiftKey: true, bubbles: true }));
    }, scanner);
    await page.waitForFunction(() => document.querySelector('title').textContent.endsWith('- Scanner.DAT *'), { timeout });
    assert.equal(await undoText(page), 'Undo Merge Scanner.DAT');
});

await test('the whole edition stays under 400 KB compressed', async () => {
    const files = (await readdir(site, { recursive: true, withFileTypes: true }))
        .filter((f) => f.isFile() && !f.name.startsWith('.')).map((f) => join(f.path, f.name));
    const sizes = await Promise.all(files.map(async (name) => gzipSync(await readFile(name), { level: 9 }).length));
    const total = sizes.reduce((a, b) => a + b, 0);
    console.log(`         ${(total / 1024).toFixed(0)} KB compressed in ${files.length} files`);
    assert.ok(total < 400 * 1024);
});

// The worked example: LED 1 red, lit in events 1 and 3; LED 2 lit in events 2 and 3.
await test('the picture and the animation are painted from the core\'s layouts', async (page) => {
    await load(page);
    const bytes = [...await readFile(join(corpus, 'worked-example.dat'))];
    const result = await page.evaluate(async (bytes) => {
        const { default: createCore } = await import('./glimmeron.js');
        const { pictureBlob, animationBlob } = await import('./picture.mjs');
        const core = await createCore();
        const session = new core.Session();
        session.open(new Uint8Array(bytes), 'worked-example.dat', 'worked-example.dat', false);
        const data = session.state();
        const context = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
        const pixelsOf = (image, width, height) => {
            Object.assign(context.canvas, { width, height });
            context.drawImage(image, 0, 0);
            return (x, y) => [...context.getImageData(x, y, 1, 1).data.slice(0, 3)];
        };
        const png = await pictureBlob(core, data, 'worked-example');
        const picture = await createImageBitmap(png);
        const at = pixelsOf(picture, picture.width, picture.height);
        const shown = { type: png.type, width: picture.width, lamp: at(34, 126), cells: [178, 210, 242].map((x) => at(x, 126)),
            frame: at(165, 113) };
        const decoder = new ImageDecoder({ data: await (await animationBlob(core, data, 'worked-example')).arrayBuffer(), type: 'image/gif' });
        await decoder.tracks.ready;
        const track = decoder.tracks.selectedTrack;
        const frames = [];
        for (let i = 0; i < track.frameCount; ++i) {
            const { image } = await decoder.decode({ frameIndex: i });
            const lampAt = pixelsOf(image, image.displayWidth, image.displayHeight);
            frames.push({ delayCs: image.duration / 1e4, lamps: [0, 1, 2, 3].map((k) => lampAt(40 + 122 * k, 76)) });
            image.close();
        }
        return { shown, loops: String(track.repetitionCount), frames };
    }, bytes);
    const red = [255, 0, 0], white = [255, 255, 255], unlit = [0x3a, 0x3f, 0x47];
    assert.deepEqual(result.shown, { type: 'image/png', width: 600, lamp: red, cells: [red, unlit, red], frame: [0xf2, 0xf2, 0xf2] });
    assert.deepEqual(result.frames, [ // the timing of longer sequences is the core's
        { delayCs: 3, lamps: [red, unlit, white, unlit] },
        { delayCs: 3, lamps: [unlit, white, unlit, unlit] },
        { delayCs: 3, lamps: [red, white, white, white] }]);
    assert.equal(result.loops, 'Infinity');
});

// Each further file of browser tests, then the one that stops the server.
await import('./keyboard.mjs');
await import('./layout.mjs');
await import('./link.mjs');

await test('installable, and after one visit the page starts offline', async (page) => {
    const started = Date.now();
    await load(page);
    console.log(`         interactive ${Date.now() - started} ms after the first request`);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const cdp = await page.createCDPSession();
    const manifest = await cdp.send('Page.getAppManifest');
    assert.deepEqual([manifest.errors, JSON.parse(manifest.data).name], [[], 'GLIMMERON editor']);
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout });
    await new Promise((done) => { server.close(done); server.closeAllConnections(); });
    await page.reload();
    await page.waitForSelector('body[data-ready="yes"]', { timeout });
    assert.equal(await page.$$eval('.cell', (cells) => cells.length), 200);
    await openFile(page, join(corpus, 'worked-example.dat'));
    assert.equal(await page.$eval('title', (e) => e.textContent), 'GLIMMERON  -  Programmable LED Sequencer/Flasher - worked-example.dat');
});

await finish();
