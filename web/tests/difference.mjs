// The difference test: the same edit scripts played on the page and on the desktop
// window (tests/difference/desktopscript.cpp) must save the same bytes and leave the
// same step for Undo. A script is actions split by ';', as desktopscript reads them.
import { execFile } from 'node:child_process';
import { readdir, writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { promisify } from 'node:util';

// The same scripts on every run: a small seeded generator.
function random(seed) {
    return () => {
        seed = (seed + 0x6d2b79f5) | 0;
        let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

const menuEntries = ['MENUrotateleft', 'MENUrotateright', 'MENUreverse', 'MENUclearevents', 'MENUinsertevent',
    'MENUdeleteevents', 'MENUselectall', 'MENUlastevent', 'MENUundo', 'MENUredo', 'MENUnew'];
const keys = ['Left', 'Right', 'Home', 'End', 'Up', 'Down', 'shift Left', 'shift Right', 'shift Home', 'shift End',
    'Delete', 'Insert', 'ctrl Delete', 'ctrl L', 'ctrl A', 'ctrl Z', 'ctrl Y', 'Escape', 'Space'];

function randomScript(next) {
    const pick = (n) => Math.floor(next() * n);
    const actions = [];
    for (let n = 6 + pick(14); n > 0; --n) {
        const kind = pick(10);
        if (kind < 3) actions.push(`click ${1 + pick(4)} ${1 + (pick(3) ? pick(12) : pick(50))}`);
        else if (kind < 6) actions.push(`key ${keys[pick(keys.length)]}`);
        else if (kind < 8) actions.push(`menu ${menuEntries[pick(menuEntries.length)]}`);
        else if (kind === 8) actions.push([`dbl ${1 + pick(50)}`, `servo ${1 + pick(4)} ${pick(16)}`,
            `colour ${1 + pick(4)} ${pick(8)}`][pick(3)]);
        else {
            const op = pick(8);
            actions.push(`row ${1 + pick(4)} ${op}${op === 3 || op === 4 ? ` ${pick(4)}` : ''}`);
        }
    }
    return actions.join(';');
}

// The worked example and the nine patterns, each opened and edited once, then random scripts.
export async function differenceScripts(root, count) {
    const scripts = [`open ${join(root, 'tests/fuzz/corpus/sequencefile/worked-example.dat')};key shift End;menu MENUreverse`];
    for (const file of (await readdir(join(root, 'data/patterns'))).sort())
        scripts.push(`pattern ${file.replace(/\.DAT$/, '')};menu MENUrotateright`);
    const next = random(20261207);
    while (scripts.length < count + 10) scripts.push(randomScript(next));
    return scripts;
}

// Saved bytes (hex) and the Undo entry's text, per script, from the desktop window.
export async function playOnDesktop(program, scripts, folder) {
    const file = join(folder, 'scripts.txt');
    await writeFile(file, scripts.join('\n') + '\n');
    const { stdout } = await promisify(execFile)(program, [file],
        { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' }, maxBuffer: 1 << 26 });
    return stdout.trim().split('\n').map((line) => {
        const [, hex, ...undo] = line.split(' ');
        return { hex, undo: undo.join(' ') };
    });
}

const keyNames = { Left: 'ArrowLeft', Right: 'ArrowRight', Up: 'ArrowUp', Down: 'ArrowDown', Space: ' ',
    L: 'l', A: 'a', Z: 'z', Y: 'y' };

async function press(page, words) {
    await page.focus('#grid');
    const held = [['ctrl', 'Control'], ['shift', 'Shift']].filter(([w]) => words.includes(w)).map(([, k]) => k);
    for (const key of held) await page.keyboard.down(key);
    await page.keyboard.press(keyNames[words.at(-1)] ?? words.at(-1));
    for (const key of held.reverse()) await page.keyboard.up(key);
}

async function choose(page, opener, list, entry) {
    await page.click(opener);
    await page.waitForSelector(`${list}:not([hidden])`);
    await page.click(`${list}-${entry}`);
    await page.waitForSelector(`${list}[hidden]`, { hidden: true });
}

async function play(page, action) {
    const w = action.split(' ');
    const n = (i) => Number(w[i]);
    const menu = (name) => page.$eval(`#${name}`, (entry) => entry.click());
    if (w[0] === 'click') await page.click(`#iSwitchLedX${n(1)}-${n(2) - 1}`);
    else if (w[0] === 'key') await press(page, w.slice(1));
    else if (w[0] === 'dbl') await page.click(`#TimeAxis-${n(1) - 1}`, { clickCount: 2 });
    else if (w[0] === 'menu') await menu(w[1]);
    else if (w[0] === 'servo') await page.select(`#ServoControl-${n(1) - 1}`, String(n(2)));
    else if (w[0] === 'colour') await choose(page, `#LEDlabel1-${n(1) - 1}`, '#ColorList', n(2));
    else if (w[0] === 'row') {
        await page.click(`#RowOptions${n(1) - 1}`);
        await page.waitForSelector('#RowOptionsList:not([hidden])');
        await page.click(`#RowOptionsList-${n(2)}`);
        if (w.length > 3) {
            await page.waitForSelector('#CopyList:not([hidden])');
            await page.click(`#CopyList-${n(3)}`);
        }
        await page.waitForSelector('#RowOptionsList[hidden]', { hidden: true });
    } else if (w[0] === 'pattern') {
        const name = action.slice(8);
        await page.$$eval('[role="menuitem"], .items button', (entries, wanted) =>
            entries.find((e) => e.textContent.trim() === wanted).click(), name);
        await page.waitForFunction(() => /Undo Pattern/.test(document.getElementById('MENUundo').textContent));
    } else if (w[0] === 'open') {
        await (await page.$('#fileInput')).uploadFile(action.slice(5));
        await page.waitForFunction(() => /Undo Open/.test(document.getElementById('MENUundo').textContent));
    }
}

// The same on the page: Save through a file chooser that keeps what is written.
export async function playOnPage(page, script) {
    await page.evaluate(() => {
        window.savedBytes = null;
        window.showSaveFilePicker = async () => ({
            name: 'OUT.DAT',
            createWritable: async () => ({
                write: async (data) => { window.savedBytes = new Uint8Array(data instanceof Blob ? await data.arrayBuffer() : data); },
                close: async () => {},
            }),
        });
    });
    for (const action of script.split(';')) await play(page, action.trim());
    await page.$eval('#MENUsave', (entry) => entry.click());
    await page.waitForFunction(() => window.savedBytes !== null);
    return page.evaluate(() => ({
        hex: [...window.savedBytes].map((b) => b.toString(16).padStart(2, '0')).join(''),
        undo: document.getElementById('MENUundo').textContent.trim(),
    }));
}
