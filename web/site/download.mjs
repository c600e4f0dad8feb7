// Download over Web Serial: the same prompt, stream, pace and result line as the
// desktop program. Each record has a deadline counted from the start, so that neither the
// writes nor the timers' lateness add up.

const lineSettings = { baudRate: 2400, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' };

const wait = (ms) => new Promise((done) => setTimeout(done, Math.max(0, ms)));
// A timer set from a timer is held back 4 ms or more once nested; one set after a message
// is not, so a wait for the last fraction of a millisecond stays that short.
const channel = new MessageChannel();
const unnested = () => new Promise((done) => { channel.port1.onmessage = done; channel.port2.postMessage(null); });


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
// progress(n); record(n) -> record n's bytes as the sequence stands now. Resolves with the status line, or ''.
// The browser's own messages end in a full stop; ours add theirs.
const sentence = (text) => String(text).replace(/\.+$/, '');

// A failure is told, and its first line replaces the status line.
function failed(ui, text) {
    ui.tell(text);
    return text.split('\r')[0];
}

export async function download(core, ui) {
    let port;
    try {
        port = await navigator.serial.requestPort();
    } catch (error) {
        if (error?.name === 'NotFoundError') // the chooser was closed without a port
            return 'No serial port was chosen, so nothing was sent. Plug in the programming cable, then Download and choose its port.';
        return failed(ui, `The browser did not let this page choose a serial port: ${sentence(error?.message ?? error)}.\r\rNothing was sent to the GLIMMERON. Allow serial ports for this site in the browser's site settings (or ask whoever manages the browser to), then Download again.`);
    }
    const where = portName(port);
    try {
        await port.open(lineSettings);
    } catch (error) {
        return failed(ui, `The serial port could not be opened: ${sentence(error.message)}.\r\rNothing was sent to the GLIMMERON. Check that the programming cable is plugged in and that no other program uses the port.`);
    }
    if (await ui.ask(core.text('downloadPrompt'), core.text('downloadTitle')) !== 'OK') {
        await port.close();
        return '';
    }
    const writer = port.writable.getWriter();
    ui.transferShown(true);
    ui.progress(0);
    try {
        let deadline = performance.now();
        let sent = -Infinity;
        for (let record = 1; record <= 57; ++record) {
            const pause = core.downloadPauseBefore(record);
            deadline += pause;
            // A record sent late moves the rest back rather than shorten the pause after it.
            deadline = Math.max(deadline, sent + pause);
            // A timer for the deadline; should it fire a little early (the clock is coarse),
            // another for what is left.
            await wait(deadline - performance.now());
            while (performance.now() < deadline) await unnested().then(() => wait(deadline - performance.now()));
            // Each value is read as its record goes out: edits during the pauses count.
            const chunk = ui.record(record);
            // The port takes the bytes within write(); the time after it, not before, is when
            // they went, should the processor have been taken away in between.
            const written = writer.write(chunk);
            sent = performance.now();
            await written;
            if (record > 1) ui.progress(record - 2);
        }
        await writer.close(); // lets the output drain before the port closes
        await port.close();
        return core.downloadDoneLine(where, clock(new Date()));
    } catch (error) {
        try { writer.releaseLock(); await port.close(); } catch { /* already gone */ }
        return failed(ui, core.downloadBrokenOffText(where, sentence(error.message || String(error))));
    } finally {
        ui.transferShown(false);
    }
}
