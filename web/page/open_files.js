// Opening a quest from the player's computer, by the file chooser or by dropping files on
// the page: the .qst (or .qs1) file is the quest, the other files are its media.
import { readFileBytes } from './saves.js';

const QUEST_NAME = /\.qs[t1]$/i;

async function questFrom(files, play) {
  const list = [...files];
  const questFile = list.find((file) => QUEST_NAME.test(file.name));
  if (!questFile) return;
  const media = [];
  for (const file of list) {
    if (file !== questFile) media.push({ name: file.name, bytes: await readFileBytes(file) });
  }
  const bytes = await readFileBytes(questFile);
  await play({ name: questFile.name, bytes, media }, null);
}

// play(quest, codepage): codepage null lets the page find it.
export function attachFileOpening(chooser, dropZone, play) {
  chooser.addEventListener('change', () => {
    questFrom(chooser.files, play);
    chooser.value = '';
  });
  dropZone.addEventListener('dragover', (event) => {
    event.preventDefault();
    dropZone.classList.add('dragging');
  });
  dropZone.addEventListener('dragleave', () => dropZone.classList.remove('dragging'));
  dropZone.addEventListener('drop', (event) => {
    event.preventDefault();
    dropZone.classList.remove('dragging');
    questFrom(event.dataTransfer.files, play);
  });
}
