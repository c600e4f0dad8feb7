// The page on a phone, a tablet, a laptop and a large screen; by touch and for screen readers.
import assert from 'node:assert/strict';
import { centre, events, keys, load, test, timeout } from './harness.mjs';

// Width, height, a touch screen, the smallest cell.
const screens = [[360, 640, true, 32], [390, 844, true, 32], [768, 1024, false, 24], [1366, 768, false, 24], [1920, 1080, false, 24]];

// Everything a user must reach, each whole in the window once scrolled to, and not covered.
const commands = '#menubar > button, #menubar > .menu > button, .name, .rowbutton, #ledtools select, #commands button, #iSwitchLedX4-49, #TimeAxis-49';

function measure(selector) {
    const inView = (r) => r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight && r.width > 0;
    const unreachable = [...document.querySelectorAll(selector)].filter((e) => e.checkVisibility()).filter((e) => {
        e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        const r = e.getBoundingClientRect();
        return !inView(r) || !e.contains(document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2));
    }).map((e) => e.id);
    // A list open, each menu open, then the settings dialog and a message over it.
    const outside = [];
    const tools = document.getElementById('RowOptions3');
    tools.scrollIntoView({ block: 'center' });
    tools.click();
    const list = document.getElementById('RowOptionsList');
    if (!inView(list.getBoundingClientRect())) outside.push(list.id);
    const small = [];
    const measureTargets = () => small.push(...[...document.querySelectorAll('button, select, input, .tick, .popup li')].filter((e) => e.checkVisibility())
        .map((e) => [e.id || e.className, e.getBoundingClientRect()]).filter(([, r]) => r.width < 24 || r.height < 24).map(([id]) => id));
    measureTargets();
    list.dispatchEvent(new KeyboardEvent('keydown', { key: 'Escape' }));
    const cell = document.getElementById('iSwitchLedX1-0').getBoundingClientRect();
    for (const opener of document.querySelectorAll('#menubar .menu > button')) {
        opener.click();
        if (!inView(opener.nextElementSibling.getBoundingClientRect())) outside.push(opener.id);
    }
    document.body.click();
    document.getElementById('Settings_button').click();
    for (const id of ['SettingsOKbutton', 'SettingsCancelbutton'])
        if (!inView(document.getElementById(id).getBoundingClientRect())) outside.push(id);
    measureTargets();
    document.getElementById('MENUabout').click();
    for (const dialog of document.querySelectorAll('dialog'))
        if (dialog.open && (!inView(dialog.getBoundingClientRect()) || dialog.scrollWidth > dialog.clientWidth)) outside.push(dialog.id);
    return { pageWidth: document.scrollingElement.scrollWidth, unreachable, small, cell: Math.min(cell.width, cell.height), outside };
}

for (const [width, height, touch, cell] of screens) {
    await test(`at ${width} x ${height} all is reachable without sideways scrolling, in targets big enough`, async (page) => {
        await page.setViewport({ width, height, hasTouch: touch, isMobile: touch });
        await load(page);
        const got = await page.evaluate(measure, commands);
        assert.deepEqual(got, { pageWidth: width, unreachable: [], small: [], cell: got.cell, outside: [] });
        assert.ok(got.cell >= cell, `cells of ${got.cell} px`);
        if (width === 1920) assert.ok((await page.$eval('#grid', (e) => e.offsetWidth)) > 1600, 'the grid grows with the window');
    });
}

await test('a finger paints along a row without scrolling the page, and held on a number makes it the last event', async (page) => {
    await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
    await load(page);
    const cdp = await page.createCDPSession(); // a finger, through the browser's own touch events
    const touch = (type, ...points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points.map(([x, y]) => ({ x, y })) });
    const [x, y] = await centre(page, 'iSwitchLedX2-1');
    const [x2] = await centre(page, 'iSwitchLedX2-5');
    for (const type of ['touchStart', 'touchEnd', 'touchStart']) await touch(type, [x, y]); // a tap lights it, a drag copies it
    for (let step = 1; step <= 4; ++step) await touch('touchMove', [x + (x2 - x) * step / 4, y + step]);
    await touch('touchEnd');
    await page.waitForFunction(() => !document.querySelector('#MENUundo').disabled, { timeout });
    assert.deepEqual((await events(page)).slice(0, 7), [0, 2, 2, 2, 2, 2, 0]);
    assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, document.getElementById('gridscroll').scrollLeft]), [0, 0, 0]);
    await touch('touchStart', await centre(page, 'TimeAxis-6'));
    await page.waitForSelector('#TimeAxis-6.last', { timeout });
    await touch('touchEnd');
    // A tap is no hold: undone, the last hold leaves the first one's last event.
    for (const [type, id] of [['touchStart', 'TimeAxis-2'], ['touchEnd'], ['touchStart', 'TimeAxis-4']])
        await touch(type, ...(id ? [await centre(page, id)] : []));
    await page.waitForSelector('#TimeAxis-4.last', { timeout });
    await touch('touchEnd');
    await keys(page, ['Control+z']);
    assert.equal(await page.$eval('.tick.last', (e) => e.id), 'TimeAxis-6');
    // Painting to the window's edge, the grid scrolls on to the events beyond.
    await touch('touchStart', [x, y]);
    for (let step = 0; step < 20; ++step) await touch('touchMove', [385 - step % 2, y]);
    await touch('touchEnd');
    assert.equal((await events(page))[15], 2);
});

await test('each cell tells a screen reader its LED, event and state, and shows it in high contrast; the selection and last event are announced', async (page) => {
    await load(page);
    const cell = async (id) => {
        const { role, name, pressed } = await page.accessibility.snapshot({ root: await page.$(`#${id}-toggle`) });
        return [role, name, pressed];
    };
    await page.focus('#grid');
    const table = [ // keys; the cell under the cursor as a screen reader has it; what is said
        [['ArrowDown', 'ArrowRight', ' '], 'iSwitchLedX2-1', ['button', 'LED 2, event 2', true], ''],
        [['Shift+ArrowRight', 'Shift+ArrowRight'], 'iSwitchLedX2-3', ['button', 'LED 2, event 4', false], 'Events 2 to 4 selected'],
        [['Control+l'], 'iSwitchLedX2-3', ['button', 'LED 2, event 4', false], 'Last event: 4'],
        [['Escape', ' '], 'iSwitchLedX2-3', ['button', 'LED 2, event 4', true], 'No events selected'],
    ];
    for (const [pressed, id, node, said] of table) {
        await keys(page, pressed);
        assert.equal(await page.$eval('#grid', (e) => e.getAttribute('aria-activedescendant')), `${id}-toggle`);
        assert.deepEqual([await cell(id), await page.$eval('#announce', (e) => e.textContent)], [node, said], pressed.join(' '));
    }
    // In a high-contrast mode a lit cell still differs from a dark one.
    await (await page.createCDPSession()).send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
    const shade = (id) => page.$eval(`#${id} > span`, (e) => getComputedStyle(e).backgroundColor);
    assert.notEqual(await shade('iSwitchLedX2-3'), await shade('iSwitchLedX2-4'));
});
