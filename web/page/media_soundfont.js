// The General MIDI soundfont the tunes are played with (that of the terminal player). It is
// loaded at the first tune, so that a quest without music never loads it, and kept by the
// browser's Cache API for the next visit; where that is missing (a page opened from disk) it
// is simply loaded.
import { siteFile } from './site_files.js';

export const SOUNDFONT = 'TimGM6mb.sf2';
const CACHE_NAME = 'tindel-soundfont-1';

// The browser's cache for the soundfont, or null where the page cannot keep files there (no
// Cache API, or a page opened from disk, whose addresses it does not take).
async function openCache(log) {
  if (typeof caches === 'undefined' || !/^https?:$/.test(location.protocol)) return null;
  try {
    return await caches.open(CACHE_NAME);
  } catch (error) {
    log(`soundfont ${SOUNDFONT} not kept by the browser: ${error.message}`);
    return null;
  }
}

function size(bytes) {
  return `${(bytes.byteLength / 1048576).toFixed(1)} MB`;
}

// The soundfont's bytes; rejects when it cannot be had.
export async function loadSoundfont(log) {
  const started = performance.now();
  const took = () => `${Math.round(performance.now() - started)} ms`;
  const cache = await openCache(log);
  const key = new URL(SOUNDFONT, location.href).href;
  const kept = await cache?.match(key).catch(() => undefined);
  if (kept) {
    const bytes = new Uint8Array(await kept.arrayBuffer());
    log(`soundfont ${SOUNDFONT} (from the browser's cache, ${size(bytes)}, ${took()})`);
    return bytes;
  }
  const bytes = await siteFile(SOUNDFONT);
  log(`soundfont ${SOUNDFONT} (from the site, ${size(bytes)}, ${took()})`);
  cache?.put(key, new Response(bytes)).catch((error) =>
    log(`soundfont ${SOUNDFONT} not kept by the browser: ${error.message}`));
  return bytes;
}
