// The files of the site the page plays from (the quest, its media, the soundfont), by name.
// Every file the page needs beyond its own scripts comes through here, so that a page that
// carries its files inside itself (a published quest opened from disk) can answer from them.

// The bytes of the site's file name; rejects when there is no such file.
export async function siteFile(name) {
  const response = await fetch(encodeURIComponent(name));
  if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
  return new Uint8Array(await response.arrayBuffer());
}
