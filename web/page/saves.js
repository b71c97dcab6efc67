// Where a quest's saved games live in the browser's storage, and moving files between the
// page and the player's computer.

// One folder per quest: its name and a hash of its text, so that two quests of one name, or
// two versions of one quest, keep their saves apart.
export function questFolderName(name, bytes) {
  const base = name.replace(/\.[^.]*$/, '').replace(/[^A-Za-z0-9_-]/g, '_') || 'quest';
  return `${base}-${fnv1a32(bytes).toString(16).padStart(8, '0')}`;
}

function fnv1a32(bytes) {
  let hash = 0x811c9dc5;
  for (const b of bytes) {
    hash ^= b;
    hash = Math.imul(hash, 0x01000193) >>> 0;
  }
  return hash;
}

export function downloadBytes(fileName, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = fileName;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

export async function readFileBytes(file) {
  return new Uint8Array(await file.arrayBuffer());
}
