// Open, Merge, Save, Open Recent, the ready patterns and the exported pictures. The page
// has no paths: a file is named by its name, as the session is told.
import { messageBox } from './dialogs.mjs';
import { onCommand, menuEntry, closeMenus, focusBack } from './menus.mjs';
import { addRecent, clearRecent, loadRecent, recentFiles, recentSupported, removeRecent, reopen } from './recent.mjs';

const $ = (id) => document.getElementById(id);
const dataFiles = { description: 'Data Files (*.DAT)', accept: { 'application/octet-stream': ['.dat', '.DAT'] } };

// `ed`: core, session, update(), testRun, tell(text), ask(text) -> 'Yes' | 'No', busy() (a
// download is running).
export function wireFiles(ed) {
    const { core, session } = ed;
    const remember = async (handle) => {
        if (recentSupported && handle) await addRecent(handle).catch(() => {}); // the list is a convenience
    };

    async function load(file, merge, handle) {
        if (!merge) ed.testRun.stop(); // a run goes on through Merge, with the merged events
        let refusal;
        if (file.size > core.maxDataFileBytes()) {
            refusal = core.unreadableText(file.name, core.tooLongReason(file.size));
        } else {
            try {
                const bytes = new Uint8Array(await file.arrayBuffer());
                refusal = session.open(bytes, file.name, file.name, merge);
            } catch (error) {
                refusal = core.unreadableText(file.name, error.message.replace(/\.+$/, ''));
            }
        }
        if (!refusal && !merge) await remember(handle);
        ed.update();
        if (refusal) await ed.tell(refusal);
    }

    let mergeNext = false;
    async function choose(merge) {
        if (!merge) ed.testRun.stop();
        if (!window.showOpenFilePicker) {
            mergeNext = merge;
            $('fileInput').value = '';
            $('fileInput').click();
            return;
        }
        let handle;
        try {
            [handle] = await window.showOpenFilePicker({ types: [dataFiles] });
        } catch {
            return; // cancelled
        }
        await load(await handle.getFile(), merge, handle);
    }
    $('fileInput').addEventListener('change', () => {
        const file = $('fileInput').files[0];
        if (file) load(file, mergeNext);
        mergeNext = false;
    });

    // The name typed in the page's own dialog, where the browser has no save picker.
    function askName(offered) {
        const form = $('SaveForm');
        $('SaveName').value = offered;
        form.returnValue = '';
        const opener = document.activeElement;
        form.showModal();
        return new Promise((done) => form.addEventListener('close', () => {
            focusBack(opener);
            const name = $('SaveName').value.trim();
            if (form.returnValue !== 'ok' || !name) return done(null);
            // A name without an extension would be hidden by Open's filter.
            done(name.includes('.') ? name : `${name}.DAT`);
        }, { once: true }));
    }

    function downloadBlob(blob, name) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = name;
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }

    // Writes `blob` where the user chooses; resolves with the handle, the name, or null.
    async function saveBlob(blob, offered, types, title) {
        if (!window.showSaveFilePicker) {
            const name = await askName(offered);
            if (name) downloadBlob(blob, name);
            return name;
        }
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: offered || undefined, types });
        } catch {
            return null; // cancelled
        }
        try {
            const stream = await handle.createWritable();
            await stream.write(blob);
            await stream.close();
        } catch (error) {
            await ed.tell(`The ${title} could not be saved to ${handle.name}: ${error.message.replace(/\.+$/, '')}.\r\rAny file already there is unchanged. Check the free space and your permission to write there, or save under another name or folder.`);
            return null;
        }
        return handle;
    }

    async function save() {
        ed.testRun.stop();
        const blob = new Blob([session.fileBytes()], { type: 'application/octet-stream' });
        const saved = await saveBlob(blob, session.state().fileName, [dataFiles], 'sequence');
        if (!saved) return;
        const name = typeof saved === 'string' ? saved : saved.name;
        session.chooseFile(name);
        session.saved(name);
        if (typeof saved !== 'string') await remember(saved);
        ed.update();
    }

    // ---- pictures: the picture module and its encoder load when first needed ----
    async function picture(make) {
        let module;
        try {
            module = await import('./picture.mjs');
        } catch (error) {
            await ed.tell(`The picture maker could not be loaded: ${String(error.message ?? error).replace(/\.+$/, '')}.\r\rCheck the connection, reload the page and try again.`);
            return null;
        }
        const s = session.state();
        try {
            return await module[make](core, s, s.shareName);
        } catch (error) {
            await ed.tell(`The ${make === 'animationBlob' ? 'animation' : 'picture'} could not be made: ${String(error.message ?? error).replace(/\.+$/, '')}.`);
            return null;
        }
    }
    async function exportAs(make, extension, description) {
        const blob = await picture(make);
        if (!blob) return;
        const name = `${session.state().shareName || 'sequence'}.${extension}`;
        await saveBlob(blob, name, [{ description, accept: { [blob.type]: [`.${extension}`] } }], 'picture');
    }
    async function copyPicture() {
        const blob = await picture('pictureBlob');
        if (!blob) return;
        try {
            await navigator.clipboard.write([new ClipboardItem({ [blob.type]: blob })]);
            $('status').textContent = 'Copied a picture of the sequence.';
        } catch (error) {
            await ed.tell(`The picture could not be put on the clipboard: ${String(error.message).replace(/\.+$/, '')}.\r\rExport it as a file instead.`);
        }
    }

    // ---- the ready patterns ----
    let patternsShown = false;
    $('MENUpatterns').parentElement.addEventListener('menuopen', async () => {
        if (patternsShown) return;
        patternsShown = true;
        const names = await (await fetch('patterns/index.json')).json();
        $('patternItems').replaceChildren(...names.map((name, i) => {
            const entry = menuEntry(`MENUpattern${i}`, name);
            entry.addEventListener('click', () => { closeMenus(); openPattern(name); });
            // Each pattern's note says what it is for.
            fetch(`patterns/${name}.DAT`).then((r) => r.arrayBuffer())
                .then((bytes) => { entry.title = core.sequenceFileNote(new Uint8Array(bytes)); }, () => {});
            return entry;
        }));
    });
    async function openPattern(name) {
        ed.testRun.stop();
        let refusal;
        try {
            const response = await fetch(`patterns/${name}.DAT`);
            if (!response.ok) throw new Error(`the page's server answered ${response.status} ${response.statusText}`);
            refusal = session.openPattern(new Uint8Array(await response.arrayBuffer()), name);
        } catch (error) {
            refusal = core.unreadableText(`${name}.DAT`, error.message);
        }
        ed.update();
        if (refusal) await ed.tell(refusal);
    }

    // ---- Open Recent ----
    if (!recentSupported) $('recentMenu').remove();
    else loadRecent().catch(() => {}); // an empty list where the browser keeps none
    $('recentMenu')?.addEventListener('menuopen', () => {
        const handles = recentFiles();
        const entries = handles.map((handle, i) => {
            const entry = menuEntry(`MENUrecent${i}`, `&${i + 1} ${handle.name}`);
            entry.addEventListener('click', (event) => { event.stopPropagation(); closeMenus(); openRecent(handle); });
            return entry;
        });
        const clear = menuEntry('MENUclearrecent', 'Clear Menu');
        clear.disabled = !handles.length;
        clear.addEventListener('click', (event) => { event.stopPropagation(); closeMenus(); clearRecent(); });
        $('recentItems').replaceChildren(...entries, document.createElement('hr'), clear);
    });
    async function openRecent(handle) {
        let file;
        try {
            file = await reopen(handle);
        } catch {
            await ed.tell(`The file ${handle.name} is no longer there. It is taken off the list of recent files.`);
            await removeRecent(handle);
            return;
        }
        if (file) await load(file, false, handle);
    }

    // A file dropped on the page opens; with Shift held it merges.
    document.addEventListener('dragover', (event) => {
        event.preventDefault();
        document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
    document.addEventListener('drop', async (event) => {
        event.preventDefault();
        document.body.classList.remove('dropping');
        const item = [...event.dataTransfer.items].find((i) => i.kind === 'file');
        const file = event.dataTransfer.files[0];
        // Not under a message box, which waits for an answer first.
        if (!file || ed.busy() || document.querySelector('dialog[open]:modal')) return;
        const handle = item?.getAsFileSystemHandle ? item.getAsFileSystemHandle() : null;
        await load(file, event.shiftKey, await handle?.catch(() => null));
    });

    // ---- links: the whole sequence in the address's fragment ----
    const here = () => location.href.replace(/[?#][^]*$/, '');
    async function copyLink() {
        const { link, status } = session.copyLink(here());
        try {
            await navigator.clipboard.writeText(link);
            $('status').textContent = status;
        } catch (error) {
            await ed.tell(`The link could not be put on the clipboard: ${String(error.message).replace(/\.+$/, '')}.\r\rAllow this page to use the clipboard, or copy the link from here:\r${link}`);
        }
    }
    // The fragment goes from the address bar at once, so that a reload cannot open it again
    // over later work.
    async function openLink() {
        const fragment = location.hash;
        if (fragment.length <= 1) return;
        history.replaceState(history.state, '', here());
        // As Open is: a download reads the sequence record by record.
        if (ed.busy()) return ed.tell('A link cannot be opened while a download runs: its sequence would mix with the one being sent.\r\rOpen the link again once the download has finished.');
        // A damaged link is refused before anyone is asked to give up their changes for it.
        const refusal = session.linkRefusal(fragment);
        if (refusal) return ed.tell(refusal);
        if (session.state().modified && await ed.ask(session.linkQuestion()) !== 'Yes') return;
        ed.testRun.stop();
        session.openLink(fragment);
        ed.update();
    }
    window.addEventListener('hashchange', openLink);

    const commands = {
        MENUnew: () => { session.newSequence(); ed.update(); }, MENUopen: () => choose(false), OpenButton: () => choose(false),
        MENUmerge: () => choose(true), MENUsave: save, SaveButton: save, MENUcopylink: copyLink,
        MENUexportpicture: () => exportAs('pictureBlob', 'png', 'PNG Images (*.PNG)'),
        MENUexportanimation: () => exportAs('animationBlob', 'gif', 'GIF Animations (*.GIF)'),
    };
    for (const [id, command] of Object.entries(commands)) onCommand(id, command);
    return { save, open: () => choose(false), copyPicture, copyLink, openLink };
}
