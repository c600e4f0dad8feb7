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

export async function recentFiles() {
    return (await store('readonly', (files) => files.get('files'))) ?? [];
}

async function keep(handles) {
    await store('readwrite', (files) => files.put(handles.slice(0, kept), 'files'));
}

export async function addRecent(handle) {
    const others = [];
    for (const old of await recentFiles())
        if (!(await old.isSameEntry(handle))) others.push(old);
    await keep([handle, ...others]);
}

export async function removeRecent(handle) {
    const others = [];
    for (const old of await recentFiles())
        if (!(await old.isSameEntry(handle))) others.push(old);
    await keep(others);
}

export const clearRecent = () => keep([]);

// The file behind `handle`, once the user lets the page read it again; null if not.
export async function reopen(handle) {
    if (await handle.queryPermission({ mode: 'read' }) !== 'granted' &&
        await handle.requestPermission({ mode: 'read' }) !== 'granted')
        return null;
    return handle.getFile();
}
