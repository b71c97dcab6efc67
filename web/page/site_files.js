// The files of the site the page plays from (the quest, its media, the soundfont), by name.
// Every file the page needs beyond its own scripts comes through here, so that a page that
// carries its files inside itself (a published quest opened from disk) can answer from them.

// A published quest (`tindel-author release`) names its quest in the page's metadata and
// carries each file as a classic script, files/NAME.js, that puts the file's bytes (gzipped, in
// base64) into self.tindelFiles: a page opened from disk may not fetch its neighbours, but it may run
// their scripts. Each is loaded when first asked for, so a tune's soundfont only with a tune.
function releaseMeta(name) {
  return globalThis.document?.querySelector(`meta[name="${name}"]`)?.content ?? null;
}

// The quest a published page plays, or null on the site.
export function releasedQuest() {
  return releaseMeta('tindel-quest');
}

// The title the author gave a published page, or null on the site.
export function releasedTitle() {
  return releaseMeta('tindel-title');
}

// The code page the author gave when publishing, or null to find it from the text.
export function releasedCodepage() {
  return releaseMeta('tindel-codepage');
}

const embedded = new Map();  // name -> promise of its bytes

function loadScript(src) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = src;
    script.onload = resolve;
    script.onerror = () => reject(new Error(`${src}: not in this folder`));
    document.head.append(script);
  });
}

// The file's bytes from its script's text: gzip in base64, unpacked by the browser.
async function unpacked(text) {
  const packed = Uint8Array.fromBase64 ? Uint8Array.fromBase64(text)
    : Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

async function embeddedFile(name) {
  if (!embedded.has(name)) {
    embedded.set(name, loadScript(`files/${encodeURIComponent(name)}.js`).then(() => {
      const text = self.tindelFiles[name];
      delete self.tindelFiles[name];  // the text is no longer needed once unpacked
      return unpacked(text);
    }));
  }
  return (await embedded.get(name)).slice();
}

// The bytes of the site's file name; rejects when there is no such file.
export async function siteFile(name) {
  if (releasedQuest() !== null) return embeddedFile(name);
  const response = await fetch(encodeURIComponent(name));
  if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
  return new Uint8Array(await response.arrayBuffer());
}

// What the interpreter's module is given when it is made: on a published page the embedded
// WebAssembly, and file names taken as they are (the bundled module has no URL of its own to
// resolve them against). The same build serves both: handing the bytes over costs no second
// link of the module (as Emscripten's single-file build would), and gzipped they take a third
// of the room of the single file's base64.
export async function moduleFiles() {
  if (releasedQuest() === null) return {};
  return { wasmBinary: await siteFile('tindel.wasm'), locateFile: (path) => path };
}
