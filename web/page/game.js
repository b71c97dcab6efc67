// One game: a fresh instance of the interpreter's module that plays a quest until the program
// ends. The game's working folder holds the quest and its media under their own names (a
// save names its quest) and the saved files. Those are kept in IndexedDB (IDBFS), in the
// quest's own folder there: copied and written at the first wait after they change, before
// the browser gets its thread back, and at the end of the game. Back and restart leave the
// module too: the page then plays on in a fresh one (see main.js).
import createTindel from './tindel.js';
import { questFolderName } from './saves.js';
import { siteFile, moduleFiles, releasedTitle } from './site_files.js';

const PLAY_DIR = '/play';
const SAVES_DIR = '/saves';
export const SAVE_FILE = 'save.txt';
export const DEBUG_FILE = 'debug.txt';
// The moment of the last menu, to continue the game where the player left it.
export const MOMENTS_FILE = 'left-off.moment';
const KEPT_FILES = [SAVE_FILE, DEBUG_FILE, MOMENTS_FILE];
// Back's history handed to the fresh module; outside the play folder, never kept.
const HISTORY_FILE = '/tmp/back-history';

const never = new Promise(() => {});

// The compiled module, for every instance after the first, and how the module finds its
// files (a published page's own way).
let compiled = null;

async function compileModule() {
  const { wasmBinary, ...files } = await moduleFiles();
  if (wasmBinary) return { wasm: await WebAssembly.compile(wasmBinary), files };
  const url = new URL('tindel.wasm', import.meta.url);
  // A server that sends another type than application/wasm defeats the streaming compile.
  const wasm = await WebAssembly.compileStreaming(fetch(url))
    .catch(async () => WebAssembly.compile(await (await fetch(url)).arrayBuffer()));
  return { wasm, files };
}

// A fresh instance of the module. The page starts loading the first one before it has the
// quest, so that the two downloads overlap; the module is compiled once, so that an instance
// for Back or a restart is made at once.
export async function loadModule() {
  if (!compiled) {
    compiled = compileModule();
    compiled.catch(() => { compiled = null; });  // tried again by the next game
  }
  const { wasm, files } = await compiled;
  return createTindel({
    print: () => {},
    printErr: () => {},
    ...files,
    instantiateWasm: (imports, receive) => {
      WebAssembly.instantiate(wasm, imports).then((instance) => receive(instance, wasm));
      return {};
    },
  });
}

export class Game {
  // screen: the xterm.js terminal; typed: the TypedQueue; onEnd({status, note}) when the
  // program ends; onSaves() when the saved files may have changed; onCodepage(letter) with
  // the code page the game plays in; onAnnounce(text) with the text of each new page;
  // onMenuOptions(captions, highlighted) while a menu waits (no captions when none waits);
  // onLineWanted(true) while the quest asks for a typed line, onLineWanted(false) after it;
  // media: the page's media (media.js), or null for none. onEnd is also told of Back
  // ({back: the history's bytes}) and of a restart ({restart}); onNotice(text) with why the
  // game left off could not be continued.
  constructor({ screen, typed, onEnd, onSaves, onCodepage = () => {}, onAnnounce = () => {},
    onMenuOptions = () => {}, onLineWanted = () => {}, media = null, onNotice = () => {} }) {
    this.screen = screen;
    this.typed = typed;
    this.onEnd = onEnd;
    this.onSaves = onSaves;
    this.onCodepage = onCodepage;
    this.onAnnounce = onAnnounce;
    this.onMenuOptions = onMenuOptions;
    this.onLineWanted = onLineWanted;
    this.onNotice = onNotice;
    this.module = null;
    this.stopped = false;
    this.ending = null;
    this.media = media;
    this.keptStamps = new Map();
    // performance.now() when the interpreter started, first waited and ended (benchmarks).
    this.timing = { started: null, firstWait: null, ended: null };
  }

  // quest: {name, bytes, media: [{name, bytes}]}; mode '0' plays, '1' resumes the save;
  // codepage 'w', 'd', 'u', or null to find it from the quest's text.
  // seed: the random numbers' seed, or null for the clock; module: a module loaded already;
  // accessible: the menu's entries numbered and marked, and the digits choose.
  // moments: {back: Backspace and Ctrl+R on; history: Back's bytes to start from, on the
  // screen and with the keys typed as they are; offer: when the game was left at a menu,
  // an async function that says whether to continue there}.
  async start(quest, codepage, mode, seed = null, module = null, accessible = false,
    moments = { back: true }) {
    this.folder = `${SAVES_DIR}/${questFolderName(quest.name, quest.bytes)}`;
    this.quest = quest;
    if (!moments.history) {
      this.screen.reset();
      this.typed.clear();
    }
    this.module = await (module ?? loadModule());
    this.module.tindelPage = this.pageObject();
    const FS = this.module.FS;
    FS.mkdir(PLAY_DIR);
    FS.mkdir(SAVES_DIR);
    FS.mount(FS.filesystems.IDBFS, {}, SAVES_DIR);
    await this.sync(true);
    if (!FS.analyzePath(this.folder).exists) FS.mkdir(this.folder);
    for (const file of [quest, ...(quest.media ?? [])]) FS.writeFile(`${PLAY_DIR}/${file.name}`, file.bytes);
    this.copyKeptFiles(this.folder, PLAY_DIR);
    FS.chdir(PLAY_DIR);
    if (!codepage) {
      codepage = String.fromCharCode(
        this.module.ccall('tindel_detect_codepage', 'number', ['string'], [quest.name]));
    }
    this.onCodepage(codepage);
    this.noteKeptFiles();
    this.onSaves();
    const questPath = quest.name;
    const continues = moments.offer != null && await this.continuesLeftOff(codepage, moments.offer);
    if (this.stopped) return;
    if (moments.history) FS.writeFile(HISTORY_FILE, moments.history);
    const play = Promise.resolve().then(() => {
      this.timing.started = performance.now();
      return this.module.ccall('tindel_play', 'number',
        ['string', 'string', 'string', 'number', 'number', 'number', 'string', 'number', 'string'],
        [mode, codepage, questPath, seed ?? -1, accessible ? 1 : 0, moments.back ? 1 : 0,
          MOMENTS_FILE, continues ? 1 : 0, moments.history ? HISTORY_FILE : ''], { async: true });
    });
    play.then(() => this.finish(), (error) => {
      if (error !== this.leaving) console.error(error);
      this.finish();
    });
  }

  // Whether to continue at the menu the game was left at: asked by offer() when the file of
  // that moment fits this quest; when it does not, the notice says why.
  async continuesLeftOff(codepage, offer) {
    if (this.readFile(MOMENTS_FILE) == null) return false;
    const problem = this.module.ccall('tindel_continue_problem', 'string',
      ['string', 'string', 'string'], [codepage, this.quest.name, MOMENTS_FILE]);
    if (!problem) return offer();
    this.onNotice(`The game you left could not be continued (its file of moments is ${problem}). A new game begins.`);
    return false;
  }

  // Ends the game at once (another quest, Continue): it never runs again.
  stop() {
    this.stopped = true;
    this.media?.stopAll();
    this.typed.wake();
  }

  // A medium of the quest: from the files opened with it, else the site's; rejects when
  // neither has it.
  async mediaFile(name) {
    const opened = this.quest.media?.find((file) => file.name === name);
    return opened ? opened.bytes : siteFile(name);
  }

  readFile(name) {
    const path = `${PLAY_DIR}/${name}`;
    return this.module?.FS.analyzePath(path).exists ? this.module.FS.readFile(path) : null;
  }

  async writeSave(bytes) {
    this.module.FS.writeFile(`${PLAY_DIR}/${SAVE_FILE}`, bytes);
    await this.keepFiles();
  }

  async finish() {
    this.timing.ended = performance.now();
    if (this.stopped) return;
    this.stopped = true;
    await this.keepFiles();
    this.onEnd(this.ending ?? { status: 0, note: '' });
  }

  pageObject() {
    this.leaving = new Error('the game left the module');
    return {
      leaving: this.leaving,
      show: (bytes) => this.screen.write(bytes),
      // A published quest keeps the title its author gave the page.
      setTitle: (title) => {
        document.title = releasedTitle() ?? (title ? `${title} — Tindel` : 'Tindel');
      },
      typedLength: () => this.typed.length,
      takeTyped: (count) => this.typed.take(count),
      waitTyped: async (timeoutMs) => {
        this.timing.firstWait ??= performance.now();
        await this.keepFiles();
        if (!this.stopped) await this.typed.wait(timeoutMs);
        if (this.stopped) await never;
      },
      lineWanted: (wanted) => this.onLineWanted(Boolean(wanted)),
      pause: async (ms) => {
        this.timing.firstWait ??= performance.now();
        await this.keepFiles();
        await new Promise((resolve) => setTimeout(resolve, ms));
        if (this.stopped) await never;
      },
      mediaRequest: (kind, file) => this.media?.request(kind, file, (name) => this.mediaFile(name)),
      announce: (text) => this.onAnnounce(text),
      menuOptions: (captions, highlighted) => this.onMenuOptions(captions, highlighted),
      gameEnds: (status, note) => { this.ending = { status, note }; },
      goesBack: (history) => { this.ending = { back: history }; },
      restarts: () => { this.ending = { restart: true }; },
    };
  }

  // Writes the saved files to IndexedDB when any changed since they were last written.
  async keepFiles() {
    if (!this.module) return;
    const before = new Map(this.keptStamps);
    this.noteKeptFiles();
    const changed = KEPT_FILES.some((name) => before.get(name) !== this.keptStamps.get(name));
    if (!changed) return;
    this.copyKeptFiles(PLAY_DIR, this.folder);
    await this.sync(false);
    this.onSaves();
  }

  noteKeptFiles() {
    const FS = this.module.FS;
    for (const name of KEPT_FILES) {
      const path = `${PLAY_DIR}/${name}`;
      let stamp = '';
      if (FS.analyzePath(path).exists) {
        const stat = FS.stat(path);
        stamp = `${stat.mtime.getTime()}:${stat.size}`;
      }
      this.keptStamps.set(name, stamp);
    }
  }

  copyKeptFiles(from, to) {
    const FS = this.module.FS;
    for (const name of KEPT_FILES) {
      if (FS.analyzePath(`${from}/${name}`).exists) {
        FS.writeFile(`${to}/${name}`, FS.readFile(`${from}/${name}`));
      }
    }
  }

  sync(populate) {
    return new Promise((resolve, reject) =>
      this.module.FS.syncfs(populate, (error) => (error ? reject(error) : resolve())));
  }
}
