// The page by keyboard alone, and what the accessibility checkers make of it.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { join } from 'node:path';
import { promisify } from 'node:util';
import { base, keys, load, root, test, timeout } from './harness.mjs';

// Where the keyboard is (a list's current entry, else the focused element) and what is open.
const now = () => {
    const at = document.activeElement;
    const open = [...document.querySelectorAll('[aria-expanded="true"], .popup:not([hidden]), dialog[open]')].map((e) => e.id);
    return [(at.role === 'listbox' && at.getAttribute('aria-activedescendant')) || at.id || at.tagName, ...open].join(' ');
};
async function expectWhere(page, want, row) {
    await page.waitForFunction(`(${now})() === ${JSON.stringify(want)}`, { timeout }).catch(() => {});
    assert.equal(await page.evaluate(now), want, `row ${row}`);
}

// Keys pressed in turn, then where the keyboard is, what is open and, where given, [selector, its text].
const script = [
    [['F10'], 'MENUfile'],
    [['ArrowRight', 'ArrowRight'], 'MENUview'],
    [['End'], 'MENUhelp'],
    [['Home', 'ArrowLeft'], 'MENUhelp'],
    [['ArrowUp'], 'MENUhowto MENUhelp'],
    [['ArrowDown'], 'MENUabout MENUhelp'],
    [['ArrowLeft'], 'MENUsettings'], // a neighbour without a menu
    [['Home', 'ArrowDown', 'ArrowLeft'], 'MENUabout MENUhelp'], // with one, it opens
    [['Alt+v', 'ArrowRight'], 'MENUpattern0 MENUpatterns'], // once filled
    [['Escape'], 'grid'], // from the page's start, the grid
    [['Alt+f', 'End'], 'MENUcopylink MENUfile'],
    [['m'], 'MENUmerge MENUfile'],
    [['r', 'ArrowRight'], 'MENUrecent MENUfile MENUrecent'],
    [['Escape'], 'MENUrecent MENUfile'],
    [['ArrowRight', 'ArrowLeft'], 'MENUrecent MENUfile'],
    [['ArrowUp', 'ArrowRight'], 'MENUcut MENUedit'],
    [['Tab'], 'grid'], // Tab leaves with the menus closed
    [['Alt+i', 'Escape'], 'grid'],
    [['Alt+h', 'Enter'], 'BUTTON messageBox'],
    [['Escape'], 'grid'],
    [['Alt+e'], 'PICSpeedcombo Settings_form'],
    [['Escape'], 'grid'],
    [[...Array(5).fill('Tab'), 'Enter'], 'RowOptionsList-0 RowOptionsList'], // past the four LED names
    [['End'], 'RowOptionsList-9 RowOptionsList'],
    [['Home'], 'RowOptionsList-0 RowOptionsList'],
    [['PageDown'], 'RowOptionsList-9 RowOptionsList'],
    [['PageUp', 'ArrowDown', 'ArrowDown', 'Enter'], 'RowOptions0', ['#MENUundo span', 'Undo Toggle All']], // chosen once
    [['Shift+Tab', 'Enter', 'Home'], 'ColorList-0 ColorList'],
    [['Escape'], 'LEDlabel1-3', ['#MENUundo span', 'Undo Toggle All']],
    [['F10', 'Escape'], 'LEDlabel1-3'],
    [[...Array(4).fill('Shift+Tab'), 'ArrowRight', 'ArrowRight', 'Control+l'], 'grid', ['.tick.last', '3']],
    [[...Array(6).fill('Tab'), 'ArrowUp', 'Alt+t'], 'ServoStick', ['#TestButton', 'Stop Test']],
    [['ArrowLeft', 'ArrowLeft'], 'ServoStick', ['#PulseWidth', '1480']],
    [['Alt+t'], 'ServoControl-0', ['#TestButton', 'Test']],
    [['Alt+d'], 'BUTTON messageBox', ['#messageText', /needs Web Serial/]],
    [['Enter'], 'ServoControl-0'],
];

await test('every command by keyboard, and Escape gives the keyboard back', async (page) => {
    await load(page, () => { delete Navigator.prototype.serial; }, true); // Open Recent needs the file pickers
    for (const [row, [pressed, want, shows]] of script.entries()) {
        await keys(page, pressed);
        await expectWhere(page, want, row);
        if (shows) assert.match(await page.$eval(shows[0], (e) => e.textContent), new RegExp(shows[1].source ?? `^${shows[1]}$`), `row ${row}`);
    }
});

await test('no accessibility faults as loaded, in each menu, in Settings and during Test', async (page) => {
    await load(page);
    await page.addScriptTag({ path: join(root, 'web/node_modules/axe-core/axe.min.js') });
    const faults = () => page.evaluate(async () => (await window.axe.run()).violations
        .map((v) => ({ id: v.id, nodes: v.nodes.map((n) => n.target.join(' ')) })));
    const found = {};
    const check = async (state) => { const list = await faults(); if (list.length) found[state] = list; };
    await check('as loaded');
    for (const [i, opener] of ['MENUfile', 'MENUedit', 'MENUview', 'MENUpatterns', 'MENUhelp'].entries()) {
        await (i ? page.hover(`#${opener}`) : page.click(`#${opener}`)); // one open, the mouse opens the next
        await page.waitForSelector(`#${opener}[aria-expanded="true"] + .items [role^="menuitem"]`, { visible: true, timeout });
        await check(opener);
    }
    await page.click('#Settings_button');
    await check('Settings');
    await page.click('#SettingsCancelbutton');
    await page.select('#ServoControl-0', '0');
    await page.click('#TestButton');
    await page.waitForSelector('.tick.playing', { timeout });
    await check('Test');
    if (Object.keys(found).length) console.log(JSON.stringify(found, null, 1));
    assert.deepEqual(found, {});
});

await test('Lighthouse scores the page\'s accessibility 100', async () => {
    const { stdout } = await promisify(execFile)(process.execPath, [join(root, 'web/node_modules/lighthouse/cli/index.js'), base,
        '--only-categories=accessibility', '--chrome-flags=--headless --no-sandbox', '--output=json', '--quiet'],
    { env: { ...process.env, CHROME_PATH: process.env.CHROMIUM ?? '/usr/bin/chromium' }, maxBuffer: 1 << 26 });
    const { audits, categories } = JSON.parse(stdout);
    const score = Math.round(100 * categories.accessibility.score);
    console.log(`         Lighthouse accessibility ${score}`);
    assert.equal(score, 100, categories.accessibility.auditRefs.filter((ref) => ref.weight > 0 && audits[ref.id].score === 0).map((ref) => ref.id).join(', '));
}, 300);
