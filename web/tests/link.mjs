// A sequence shared by link: a copied link opens the same sequence in a fresh page; a
// damaged one changes nothing; one opened over unsaved work asks first.
import assert from 'node:assert/strict';
import { readdir } from 'node:fs/promises';
import { join } from 'node:path';
import { base, browser, corpus, events, keys, load, menu, openFile, root, test, timeout, undoText } from './harness.mjs';

// Save through a chooser that offers one of the browser's private files.
const keeper = () => { window.showSaveFilePicker = async () => (await navigator.storage.getDirectory()).getFileHandle('out.dat', { create: true }); };
const saved = async (page) => {
    await page.evaluate(() => document.getElementById('MENUsave').click());
    await page.waitForFunction(() => document.title.endsWith(' - out.dat'), { timeout });
    return page.evaluate(async () => [...new Uint8Array(await (await (await (await navigator.storage.getDirectory()).getFileHandle('out.dat')).getFile()).arrayBuffer())]);
};
const answer = async (page, text, button) => {
    await page.waitForSelector('#messageBox[open]', { timeout });
    assert.match(await page.$eval('#messageText', (e) => e.textContent), text);
    await page.click(`#messageButtons button[value="${button}"]`);
};
// What a refused link must leave as it was, and the address without the fragment.
const shown = async (page) => [await events(page), await undoText(page), await page.title(), page.url()];

await test('a copied link opens the same sequence in a fresh page: the worked example and the patterns', async (page) => {
    await browser.defaultBrowserContext().overridePermissions(base, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    const patterns = (await readdir(join(root, 'data/patterns'))).map((name) => join(root, 'data/patterns', name));
    const lengths = [];
    for (const [i, file] of [join(corpus, 'worked-example.dat'), ...patterns].entries()) {
        await load(page, keeper, true);
        await openFile(page, file);
        const bytes = await saved(page);
        await (i ? keys(page, ['Control+Shift+L']) : menu(page, 'MENUfile', 'MENUcopylink'));
        await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Copied a link to this sequence ('), { timeout });
        const link = await page.evaluate(() => navigator.clipboard.readText());
        lengths.push(link.length - base.length - 1);
        await page.goto('about:blank');
        await page.goto(link);
        await page.waitForSelector('body[data-ready="yes"]', { timeout });
        assert.deepEqual([await saved(page), await undoText(page), page.url()], [bytes, 'Undo Open Link', base], file);
    }
    console.log(`         fragments of ${Math.min(...lengths)} to ${Math.max(...lengths)} characters`);
});

await test('a damaged or foreign link changes nothing and says why', async (page) => {
    await load(page);
    await openFile(page, join(corpus, 'worked-example.dat'));
    await page.click('#iSwitchLedX1-9'); // unsaved changes: a damaged link is refused without a question
    const before = await shown(page);
    for (const [fragment, text] of [['g1UvAAAA', /^The link could not be opened, as it has 6 characters of sequence where 56 belong/],
        ['g2UvAAAAAA', /as it was made by a newer version of the editor/], ['top', /as it holds no sequence of this editor's/]]) {
        await page.evaluate((f) => { location.hash = f; }, fragment);
        await answer(page, text, 'OK');
        assert.deepEqual(await shown(page), before);
    }
});

await test('a link opened over unsaved work asks first: No keeps the work, Yes opens it and Undo brings the work back', async (page) => {
    await load(page);
    await page.click('#iSwitchLedX1-9');
    const work = [0, 0, 0, 0, 0, 0, 0, 0, 0, 1];
    const link = 'g1UvAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAABd3Af8CHhQAAAAAAAAAAHIW'; // the worked example
    for (const [button, want] of [['No', work], ['Yes', [5, 2, 15, 0, 0, 0, 0, 0, 0, 0]]]) {
        await page.evaluate((f) => { location.hash = f; }, link);
        await answer(page, /^The changes to the new sequence are not saved\.\n\nOpen the sequence of the link in their place\? Undo brings them back\.$/, button);
        await page.waitForFunction((want) => document.getElementById('iSwitchLedX1-0').classList.contains('on') === want, { timeout }, button === 'Yes');
        assert.deepEqual([(await events(page)).slice(0, 10), page.url()], [want, base]);
    }
    await keys(page, ['Control+z']);
    assert.deepEqual([(await events(page)).slice(0, 10), await page.$eval('#MENUredo span', (e) => e.textContent)], [work, 'Redo Open Link']);
});
