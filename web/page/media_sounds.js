// Sounds: wave files decoded by the browser and played once through the page's audio output;
// a second sound cuts off the one still playing.

export class Sounds {
  constructor(output, log) {
    this.output = output;
    this.log = log;
    this.source = null;
  }

  // current() turns false when the game has stopped its media meanwhile.
  async play(file, bytes, current) {
    this.stop();
    const context = this.output.output();
    let buffer;
    try {
      // decodeAudioData takes the buffer over, so it is given a copy.
      buffer = await context.decodeAudioData(bytes.slice().buffer);
    } catch (error) {
      this.log(`sound ${file} not played: ${error.message}`);
      return;
    }
    if (!current()) return;
    this.stop();
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(this.output.master);
    source.onended = () => {
      if (this.source === source) this.source = null;
    };
    source.start();
    this.source = source;
    this.log(`sound ${file} started`);
    this.output.mustWait(`sound ${file}`);
  }

  stop() {
    if (!this.source) return;
    this.source.onended = null;
    this.source.stop();
    this.source.disconnect();
    this.source = null;
  }
}
