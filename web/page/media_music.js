// Tunes: MIDI files played once by FluidSynth compiled to WebAssembly (js-synthesizer) with the
// terminal player's soundfont. The library, its scripts and the soundfont load at the first
// tune; the synthesizer renders into a ScriptProcessorNode (which needs no module file, so it
// works in a page opened from disk too), connected only while a tune sounds.
import { loadVendorScript } from './vendor_scripts.js';
import { loadSoundfont } from './media_soundfont.js';

const FLUIDSYNTH_SCRIPT = 'vendor/libfluidsynth-2.4.6.js';
const SYNTHESIZER_SCRIPT = 'vendor/js-synthesizer.min.js';
// 1024 frames are 21 to 23 ms: a tune starts well within 100 ms once everything is loaded.
const FRAMES = 1024;
// How often a tune is looked at for its end, after which the synthesizer stops rendering.
const END_POLL_MS = 500;

// Whether the bytes begin like a standard MIDI file or its RIFF wrapping.
function beginsLikeMidi(bytes) {
  const magic = String.fromCharCode(...bytes.subarray(0, 4));
  return magic === 'MThd' || magic === 'RIFF';
}

export class Music {
  constructor(output, log) {
    this.output = output;
    this.log = log;
    this.loading = null;  // the promise of the engine, made at the first tune
    this.engine = null;  // {synth, node} once loaded
    this.file = null;  // the tune that plays
    this.endPoll = null;
  }

  // Plays the tune once, in place of one still playing; current() turns false when the game
  // has stopped its media meanwhile.
  async play(file, bytes, current) {
    this.stop();
    if (!beginsLikeMidi(bytes)) {
      this.log(`music ${file} not played: not a MIDI file`);
      return;
    }
    let engine;
    try {
      engine = await this.loadedEngine();
    } catch (error) {
      this.log(`music ${file} not played: ${error.message}`);
      return;
    }
    if (!current()) return;
    try {
      await engine.synth.resetPlayer();
      await engine.synth.addSMFDataToPlayer(bytes);
      await engine.synth.playPlayer();
    } catch (error) {
      this.log(`music ${file} not played: ${error.message ?? error}`);
      return;
    }
    engine.node.connect(this.output.master);
    this.file = file;
    this.log(`music ${file} started`);
    this.output.mustWait(`music ${file}`);
    this.watchForEnd(engine);
  }

  stop() {
    if (this.file == null) return;
    this.engine?.synth.stopPlayer();
    this.log(`music ${this.file} stopped`);
    this.file = null;
    this.quiet();
  }

  // Once the tune and its last notes are over, the synthesizer stops rendering.
  watchForEnd({ synth }) {
    clearInterval(this.endPoll);
    this.endPoll = setInterval(() => {
      if (synth.isPlayerPlaying() || synth.isPlaying()) return;
      this.file = null;
      this.quiet();
    }, END_POLL_MS);
  }

  quiet() {
    clearInterval(this.endPoll);
    this.endPoll = null;
    this.engine?.node.disconnect();
  }

  async loadedEngine() {
    this.loading ??= this.loadEngine();
    try {
      this.engine = await this.loading;
      return this.engine;
    } catch (error) {
      this.loading = null;  // tried again at the next tune
      throw error;
    }
  }

  async loadEngine() {
    const soundfont = loadSoundfont(this.log);
    soundfont.catch(() => {});  // awaited below, after the scripts
    // FluidSynth's own messages (what the terminal player takes from its standard error).
    window.Module ??= { print: this.log, printErr: this.log };
    await Promise.all([loadVendorScript(FLUIDSYNTH_SCRIPT), loadVendorScript(SYNTHESIZER_SCRIPT)]);
    await window.JSSynth.waitForReady();
    const context = this.output.output();
    const synth = new window.JSSynth.Synthesizer();
    synth.init(context.sampleRate);
    await synth.loadSFont(await soundfont);
    const node = synth.createAudioNode(context, FRAMES);
    return { synth, node };
  }
}
