// The page: the screen, the keys, the bar's buttons and the games played one after another.
import { createScreen } from './screen.js';
import { TypedQueue } from './typed_queue.js';
import { Game, SAVE_FILE, DEBUG_FILE, loadModule } from './game.js';
import { downloadBytes, readFileBytes } from './saves.js';
import { attachFileOpening } from './open_files.js';
import { siteFile, releasedQuest, releasedCodepage } from './site_files.js';
import { accessibleSetting, announcer, menuList, passTypedText, setScreenReaderMode } from './spoken.js';
import { PageMedia } from './media.js';
import { mediaLog } from './media_log.js';
import { questTitle, titleCard } from './title_card.js';

const TOUCH_KEYS = { up: '\x1b[A', down: '\x1b[B', enter: '\r', i: 'i', u: 'u', escape: '\x1b' };
// The terminal's bytes of Backspace and Ctrl+R: the player goes back and restarts with them.
const BACK_KEY = '\x7f';
const RESTART_KEY = '\x12';

const $ = (id) => document.getElementById(id);
const params = new URLSearchParams(location.search);
// The first quest and the module load side by side, while the page sets itself up.
const firstQuestName = params.get('quest') || releasedQuest() || 'stackle.qst';
const firstQuest = fetchQuest(firstQuestName);
let preloadedModule = loadModule();
const screen = createScreen($('screen'));
const typed = new TypedQueue();
screen.onData((data) => typed.push(data));
passTypedText(screen, (data) => typed.push(data));

const seed = params.has('seed') ? Number(params.get('seed')) : null;
const backKeys = params.get('noback') !== '1';
const accessible = accessibleSetting($('accessible'), params, () => play('0'));
const announce = announcer($('page-text'));
const showMenuList = menuList($('menu-options'), (bytes) => typed.push(bytes));
let menuWaits = false;  // Back and Restart act only while a menu waits, as their keys do
function showMenuOptions(captions, highlighted) {
  menuWaits = captions.length > 0;
  // Shown as unavailable rather than disabled, so that a focused button keeps the focus.
  for (const id of ['back', 'restart']) $(id).setAttribute('aria-disabled', String(!menuWaits));
  showMenuList(captions, highlighted);
}
const media = new PageMedia($('screen-box'), mediaLog(params));
window.tindelMedia = media;  // for the page's tests: its audio output
let quest = null;  // {name, bytes, media}
let questCodepage = null;  // null until given or found
let game = null;

function showSaves() {
  const hasSave = game?.readFile(SAVE_FILE) != null;
  $('continue').hidden = !hasSave;
  $('end-continue').hidden = !hasSave;
  $('download-save').hidden = !hasSave;
  $('download-debug').hidden = game?.readFile(DEBUG_FILE) == null;
}

function endScreen({ status, note }) {
  const how = status === 0 ? 'The game has ended.' : `The game has ended (status ${status}).`;
  $('end-text').textContent = note ? `${how} ${note}` : how;
  $('end').hidden = false;
  showSaves();
  $('play-again').focus();
}

// What ends a game: the program's end, or Back and restart, which play on in a fresh module.
function gameLeft(ending) {
  if (ending.back) play('0', { history: ending.back });
  else if (ending.restart) play('0');
  else endScreen(ending);
}

// moments: what Game.start takes beyond Back's keys (a history, the offer to continue). The
// tunes play on after Back, as in a terminal.
async function play(mode, moments = {}) {
  if (!quest) return;
  closeCard();
  media.unlock();
  if (!moments.history) {
    game?.stop();
    $('left-off-notice').hidden = true;
  }
  leftOffChoice.settle(false);
  $('end').hidden = true;
  $('quest-name').textContent = quest.name;
  setScreenReaderMode(screen, accessible());
  media.picturesShown = !accessible();
  showMenuOptions([], -1);
  game = new Game({
    screen, typed, onEnd: gameLeft, onSaves: showSaves, onCodepage: showCodepage,
    onAnnounce: announce, onMenuOptions: showMenuOptions, onLineWanted: showPhoneKeyboard, media,
    onNotice: showNotice,
  });
  window.tindelGame = game;  // for the page's tests and the curious
  const module = preloadedModule;
  preloadedModule = null;
  showPhoneKeyboard(false);
  await game.start(quest, questCodepage, mode, seed, module, accessible(),
    { back: backKeys, ...moments });
  screen.focus();
}

// The choice offered when the quest was left at a menu: continue there, or a new game.
const leftOffChoice = {
  settle: () => {},
  ask() {
    $('left-off').hidden = false;
    $('continue-left-off').focus();
    return new Promise((resolve) => {
      this.settle = (continues) => {
        this.settle = () => {};
        $('left-off').hidden = true;
        resolve(continues);
      };
    });
  },
};

function showNotice(text) {
  $('left-off-notice').textContent = text;
  $('left-off-notice').hidden = false;
}

// A phone shows its keyboard while the quest asks for a line and hides it after, so that it
// does not cover the menus. The screen keeps the focus throughout (inputmode "none" only keeps
// the on-screen keyboard down), so the keys of a keyboard still reach the game.
function showPhoneKeyboard(wanted) {
  const typing = document.querySelector('#screen .xterm-helper-textarea');
  if (typing) typing.inputMode = wanted ? 'text' : 'none';
  if (wanted) screen.focus();
}

function showCodepage(letter) {
  questCodepage = letter;
  $('codepage').value = letter;
}

// page: the quest's code page, or null to find it from its text.
export async function playQuest(newQuest, page) {
  quest = newQuest;
  questCodepage = page;
  await play('0', { offer: () => leftOffChoice.ask() });
}

function wireButtons() {
  $('play-again').onclick = () => play('0');
  $('continue').onclick = () => play('1');
  $('end-continue').onclick = () => play('1');
  $('codepage').onchange = () => {
    questCodepage = $('codepage').value;
    play('0');
  };
  $('continue-left-off').onclick = () => leftOffChoice.settle(true);
  $('new-game').onclick = () => leftOffChoice.settle(false);
  for (const [id, key] of [['back', BACK_KEY], ['restart', RESTART_KEY]]) {
    $(id).hidden = !backKeys;
    $(id).onclick = () => {
      if (menuWaits) typed.push(key);
      screen.focus();
    };
  }
  $('download-save').onclick = () => downloadBytes(SAVE_FILE, game.readFile(SAVE_FILE));
  $('download-debug').onclick = () => downloadBytes(DEBUG_FILE, game.readFile(DEBUG_FILE));
  $('load-save').onchange = async (event) => {
    const [file] = event.target.files;
    if (!file) return;
    await game.writeSave(await readFileBytes(file));
    event.target.value = '';
  };
  for (const button of document.querySelectorAll('#touch-keys button')) {
    // The screen keeps no focus here: on a phone that would bring up the keyboard.
    button.onclick = () => typed.push(TOUCH_KEYS[button.dataset.key]);
  }
}

async function fetchQuest(name) {
  return { name, bytes: await siteFile(name), media: [] };
}


// The first quest starts at the player's first key, click or tap on the title card, which
// lets the page sound; a quest opened meanwhile takes its place.
function playFirstQuest() {
  firstQuest.then((first) => game ?? playQuest(first, params.get('codepage') ?? releasedCodepage()), () => {});
}

wireButtons();
attachFileOpening($('open-files'), document.body, playQuest);
const closeCard = titleCard($('card'), questTitle(firstQuestName), () => {
  media.unlock();
  playFirstQuest();
});
firstQuest.catch((error) => {
  closeCard();
  screen.write(`${error.message}\r\nOpen a quest file with the button above.\r\n`);
});
