// The page's media: what the interpreter asks for ("music", "stop", "sound", "picture", "end")
// played as the terminal player plays it. Requests of one kind are played in their order, each
// after the file is found; those of a game whose media were stopped are dropped.
import { AudioOutput } from './media_audio.js';
import { Music } from './media_music.js';
import { Sounds } from './media_sounds.js';
import { Picture } from './media_picture.js';

export class PageMedia {
  // pictureHost: the element pictures cover; log: the media log.
  constructor(pictureHost, log) {
    this.log = log;
    this.output = new AudioOutput(log);
    this.music = new Music(this.output, log);
    this.sounds = new Sounds(this.output, log);
    this.picture = new Picture(pictureHost, log);
    this.queues = { music: Promise.resolve(), sound: Promise.resolve(), picture: Promise.resolve() };
    this.generation = 0;
    // In the accessible mode pictures are not shown, as in the terminal's: the echo line names
    // the file, and the key after it reaches the game.
    this.picturesShown = true;
  }

  // From a key, click or tap's handler: the browser lets the page sound from now on.
  unlock() {
    this.output.unlock();
  }

  // findFile(name) resolves to the file's bytes, and rejects when there is none.
  request(kind, file, findFile) {
    switch (kind) {
      case 'music':
        return this.inTurn('music', file, findFile, (bytes, current) => this.music.play(file, bytes, current));
      case 'stop':
        return this.inTurn('music', null, null, () => this.music.stop());
      case 'sound':
        return this.inTurn('sound', file, findFile, (bytes, current) => this.sounds.play(file, bytes, current));
      case 'picture':
        if (!this.picturesShown) return this.log(`image ${file}: not shown in the accessible mode`);
        return this.inTurn('picture', file, findFile, (bytes, current) => this.picture.show(file, bytes, current));
      case 'end':
        return this.stopAll();
      default:
        return this.log(`unknown media request ${kind} ${file}`);
    }
  }

  // The game ends or another starts: silence, no picture, and nothing asked before plays.
  stopAll() {
    this.generation += 1;
    this.music.stop();
    this.sounds.stop();
    this.picture.close();
  }

  // Runs play(bytes, current) after the requests of the same kind before it, once the file is
  // found (without a file: at once, with no bytes).
  inTurn(what, file, findFile, play) {
    const generation = this.generation;
    const current = () => generation === this.generation;
    const turn = this.queues[what].then(async () => {
      if (!current()) return;
      const bytes = file == null ? null : await this.found(what, file, findFile);
      if (!current() || (file != null && !bytes)) return;
      await play(bytes, current);
    }).catch((error) => this.log(`${what} ${file}: ${error.message}`));
    this.queues[what] = turn;
    return turn;
  }

  async found(what, file, findFile) {
    try {
      return await findFile(file);
    } catch (error) {
      this.log(`${what} ${file}: no such file among the quest's files (${error.message})`);
      return null;
    }
  }
}
