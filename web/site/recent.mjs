// Open Recent: the file handles last opened or saved, newest first, kept in IndexedDB so
// that they outlive the page. Only where the browser hands out file handles.
export const recentSupported = !!window.showOpenFilePicker && 'indexedDB' in window;
const kept = 8;

function store(mode, body) {
    return new Promise((done, fail) => {
        const opening = indexedDB.open('glimmeron', 1);
        opening.onupgradeneeded = () => opening.result.createObjectStore('recent');
        opening.onerror = () => fail(opening.error);
        opening.onsuccess = () => {
            const db = opening.result;
            const transaction = db.transaction('recent', mode);
            const request = body(transaction.objectStore('recent'));
            transaction.oncomplete = () => { db.close(); done(request?.result); };
            transaction.onerror = () => { db.close(); fail(transaction.error); };
        };
    });
}

// The list as last read or changed: the menu shows it at once.
let handles = [];
export const recentFiles = () => handles;

export async function loadRecent() {
    handles = (await store('readonly', (files) => files.get('files'))) ?? [];
}

async function keep(list) {
    handles = list.slice(0, kept);
    await store('readwrite', (files) => files.put(handles, 'files'));
}

async function without(handle) {
    const others = [];
    for (const old of handles)
        if (!(await old.isSameEntry(handle))) others.push(old);
    return others;
}

export const addRecent = async (handle) => keep([handle, ...await without(handle)]);
export const removeRecent = async (handle) => keep(await without(handle));
export const clearRecent = () => keep([]);

// The file behind `handle`, once the user lets the page read it again; null if not.
export async function reopen(handle) {
    if (await handle.queryPermission({ mode: 'read' }) !== 'granted' &&
        await handle.requestPermission({ mode: 'read' }) !== 'granted')
        return null;
    return handle.getFile();
}
