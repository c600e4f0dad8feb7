// The browser tests' harness: one headless Chromium serving the built site, and the helpers
// every test file drives the page with. Test files import it and call test().
import assert from 'node:assert/strict';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serve } from '../serve.mjs';

export const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
export const corpus = join(root, 'tests/fuzz/corpus/sequencefile');
export const timeout = 30000;
export const site = process.argv[2];
// However the browser misbehaves, the suite ends.
setTimeout(() => { console.log('FAIL!  : the browser tests did not finish within 25 minutes'); process.exit(1); }, 1500000).unref();
export const server = await serve(site, 0);
export const base = `http://127.0.0.1:${server.address().port}/`;
const profile = await mkdtemp(join(tmpdir(), 'glimmeron-chromium-'));
export const downloads = await mkdtemp(join(tmpdir(), 'glimmeron-downloads-'));
export const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
});

let failed = 0;
export async function test(name, body, seconds = 120) {
    if (process.env.ONLY && !name.includes(process.env.ONLY)) return;
    const page = await browser.newPage();
    await page.setViewport({ width: 1366, height: 768 }); // a laptop's, where the grid needs no scrolling
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    try {
        let timer;
        await Promise.race([body(page), new Promise((_, fail) => {
            timer = setTimeout(() => fail(new Error(`no result within ${seconds} s`)), seconds * 1000);
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

export async function load(page, before, pickers = false) {
    if (!pickers) await page.evaluateOnNewDocument(() => {
        for (const name of ['showOpenFilePicker', 'showSaveFilePicker']) Object.defineProperty(window, name, { value: undefined });
    });
    if (before) await page.evaluateOnNewDocument(before);
    await page.goto(base);
    await page.waitForSelector('body[data-ready="yes"]', { timeout });
}

export async function openFile(page, path) {
    const title = await page.$eval('title', (e) => e.textContent);
    await (await page.$('#fileInput')).uploadFile(path);
    await page.waitForFunction((t) => document.title !== t, { timeout }, title);
}

// The page as its user drives it: through the menus and the keys.
export const menu = async (page, opener, item) => {
    await page.click(`#${opener}`);
    await (await page.waitForSelector(`#${item}`, { visible: true, timeout })).click();
};
export const centre = async (page, id) => { const b = await (await page.$(`#${id}`)).boundingBox(); return [b.x + b.width / 2, b.y + b.height / 2]; };
export const events = (page) => page.$$eval('.cellrow', (rows) => Array.from({ length: 50 },
    (_, slot) => rows.reduce((v, row, led) => v | (row.querySelectorAll('.cell')[slot].classList.contains('on') << led), 0)));
export const undoText = (page) => page.$eval('#MENUundo span', (e) => e.textContent);
export async function keys(page, list) {
    for (const key of list) {
        const held = key.split('+');
        const last = held.pop();
        for (const k of held) await page.keyboard.down(k);
        await page.keyboard.press(last);
        for (const k of held.reverse()) await page.keyboard.up(k);
    }
}

export async function finish() {
    await browser.close();
    server.close();
    await rm(profile, { recursive: true, force: true });
    await rm(downloads, { recursive: true, force: true });
    console.log(failed ? `${failed} browser test(s) failed` : 'All browser tests passed');
    process.exit(failed ? 1 : 0);
}
