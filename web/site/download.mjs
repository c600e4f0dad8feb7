// Download over Web Serial: the same prompt, stream, pace and result line as the
// desktop program. The pauses are timers measured from the end of each write.

const lineSettings = { baudRate: 2400, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' };

const wait = (ms) => new Promise((done) => setTimeout(done, Math.max(0, ms)));

function portName(port) {
    const info = port.getInfo ? port.getInfo() : {};
    const hex = (n) => n.toString(16).padStart(4, '0').toUpperCase();
    return info.usbVendorId === undefined ? 'the chosen serial port'
        : `the chosen serial port (USB ${hex(info.usbVendorId)}:${hex(info.usbProductId)})`;
}

function clock(date) {
    return date.toTimeString().slice(0, 8);
}

// `ui`: ask(text, title) -> 'OK' | 'Cancel'; tell(text); transferShown(bool);
// progress(n); sequence() -> the sequence now. Resolves with the status line, or ''.
// The browser's own messages end in a full stop; ours add theirs.
const sentence = (text) => String(text).replace(/\.+$/, '');

export async function download(core, ui) {
    let port;
    try {
        port = await navigator.serial.requestPort();
    } catch {
        return ''; // no port chosen: nothing to do
    }
    const where = portName(port);
    try {
        await port.open(lineSettings);
    } catch (error) {
        ui.tell(`The serial port could not be opened: ${sentence(error.message)}.\r\rNothing was sent to the GLIMMERON. Check that the programming cable is plugged in and that no other program uses the port.`);
        return '';
    }
    if (await ui.ask(core.text('downloadPrompt'), core.text('downloadTitle')) !== 'OK') {
        await port.close();
        return '';
    }
    const writer = port.writable.getWriter();
    ui.transferShown(true);
    ui.progress(0);
    try {
        let wrote = 0;
        for (let record = 1; record <= 57; ++record) {
            await wait(core.downloadPauseBefore(record) - (performance.now() - wrote));
            while (performance.now() - wrote < core.downloadPauseBefore(record))
                await wait(1); // a timer may fire a little early
            // Each value is read as its record goes out: edits during the pauses count.
            const stream = core.downloadBytes(ui.sequence());
            await writer.write(stream.slice(3 * (record - 1), 3 * record));
            wrote = performance.now();
            if (record > 1) ui.progress(record - 2);
        }
        await writer.close(); // lets the output drain before the port closes
        await port.close();
        return core.downloadDoneLine(where, clock(new Date()));
    } catch (error) {
        const text = core.downloadBrokenOffText(where, sentence(error.message || String(error)));
        ui.tell(text);
        try { writer.releaseLock(); await port.close(); } catch { /* already gone */ }
        return text.split('\r')[0];
    } finally {
        ui.transferShown(false);
    }
}
