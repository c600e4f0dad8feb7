// The on-screen test run, driven by one-shot timers: one step per tick, each step
// reading the sequence afresh, the last event once per pass.

export class TestRun {
    constructor(core, sequence, view) {
        this.core = core;
        this.sequence = sequence; // () => the sequence now
        this.view = view;         // showStep(slot, colours), endStep(slot), changed(running, stickShown)
        this.running = false;
        this.visible = false;
        this.restartPending = false;
        this.stickPosition = 150;
        this.deviceSpeed = false; // step at the sequencer delay instead of the test speed
    }

    toggle() {
        const seq = this.sequence();
        const servoResponse = seq.servoModes.some((mode) => mode < 15);
        if (this.running) return this.stop();
        this.running = true;
        this.view.changed(true, servoResponse);
        this.period = this.deviceSpeed ? seq.sequencerDelay : seq.testSpeed;
        if (this.visible) { // the stopped run's last step is still on show
            this.restartPending = true;
            return;
        }
        this.visible = true;
        this.last = seq.lastEvent;
        this.slot = 0;
        this.start = performance.now();
        this.deadline = 0;
        this.beginStep();
    }

    stop() {
        if (!this.running) return;
        this.running = false;
        this.view.changed(false, false);
    }

    beginStep() {
        if (!this.running) {
            this.visible = false;
            this.restartPending = false;
            this.view.ended();
            return;
        }
        const seq = this.sequence();
        const zoneBit = this.core.servoZoneBit(this.stickPosition);
        const colours = [0, 1, 2, 3].map((led) => {
            const on = ((seq.events[this.slot] >> led) & 1) === 1;
            return this.core.ledLit(on, zoneBit, seq.servoModes[led])
                ? this.core.colourHex(seq.colourIndexes[led]) : '#000000';
        });
        this.view.showStep(this.slot, colours);
        const now = performance.now() - this.start;
        this.deadline = this.core.nextStepDeadline(this.deadline, now, this.period);
        this.timer = setTimeout(() => this.tick(), this.deadline - now);
    }

    tick() {
        this.view.endStep(this.slot);
        this.slot = this.core.nextTestSlot(this.slot, this.last);
        if (this.restartPending) {
            this.restartPending = false;
            this.slot = 0;
        }
        if (this.slot === 0) this.last = this.sequence().lastEvent;
        this.beginStep();
    }
}
