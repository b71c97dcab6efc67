// The page's one audio output: an AudioContext and the gain every tune and sound goes
// through. Browsers let a page sound only after the player's key, click or tap: the context is
// made or resumed in such a gesture's handler (unlock); until then what plays waits.

const GESTURES = ['keydown', 'pointerdown', 'touchend'];

export class AudioOutput {
  constructor(log) {
    this.log = log;
    this.context = null;
    this.master = null;
    this.armed = false;  // a gesture will resume the context
  }

  // Makes the context, or resumes it; called from a gesture's handler.
  unlock() {
    const context = this.output();
    if (context.state !== 'running') context.resume().catch((error) => this.log(`audio not resumed: ${error.message}`));
  }

  // The context, made on first use (suspended when no gesture came before).
  output() {
    if (this.context) return this.context;
    this.context = new AudioContext();
    this.master = this.context.createGain();
    this.master.connect(this.context.destination);
    this.log(`audio device open: Web Audio, ${this.context.sampleRate} Hz, ` +
      `${this.context.destination.channelCount} channels`);
    this.context.addEventListener('statechange', () => this.log(`audio ${this.context.state}`));
    return this.context;
  }

  // Whether what was started (its words for the log) must wait for the player's next key,
  // click or tap, which then resumes the context the browser held back.
  mustWait(what) {
    if (this.context?.state === 'running') return false;
    this.log(`${what} waits until the page may sound`);
    if (this.armed) return true;
    this.armed = true;
    const resume = () => {
      for (const type of GESTURES) window.removeEventListener(type, resume, true);
      this.armed = false;
      this.unlock();
    };
    for (const type of GESTURES) window.addEventListener(type, resume, true);
    return true;
  }
}
