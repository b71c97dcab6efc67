// The 80 x 25 screen: an xterm.js terminal with its DOM renderer, so that its text is text
// (find, copy and screen readers read it), scaled so that 80 columns fit the window.
import { Terminal } from './vendor/xterm.mjs';

export const COLUMNS = 80;
export const ROWS = 25;
const LARGEST_FONT = 18;
// A cell of a monospace font is about this share of the font size wide.
const CELL_WIDTH_PER_FONT_SIZE = 0.61;

// The DOS palette the quests were written for.
const THEME = {
  background: '#000000', foreground: '#aaaaaa', cursor: '#aaaaaa',
  black: '#000000', blue: '#0000aa', green: '#00aa00', cyan: '#00aaaa',
  red: '#aa0000', magenta: '#aa00aa', yellow: '#aa5500', white: '#aaaaaa',
  brightBlack: '#555555', brightBlue: '#5555ff', brightGreen: '#55ff55', brightCyan: '#55ffff',
  brightRed: '#ff5555', brightMagenta: '#ff55ff', brightYellow: '#ffff55', brightWhite: '#ffffff',
};

export function createScreen(element) {
  const term = new Terminal({
    cols: COLUMNS,
    rows: ROWS,
    theme: THEME,
    fontFamily: 'DejaVu Sans Mono, Consolas, monospace',
    fontSize: fontSizeFor(window.innerWidth),
    scrollback: 0,
    convertEol: false,
    screenReaderMode: false,
  });
  term.open(element);
  // Tab moves the focus on to the page's other controls, as anywhere on a page: no quest
  // key is a Tab, and a screen that kept it would trap the keyboard.
  term.attachCustomKeyEventHandler((event) => event.key !== 'Tab');
  window.addEventListener('resize', () => {
    term.options.fontSize = fontSizeFor(window.innerWidth);
  });
  return term;
}

function fontSizeFor(width) {
  const fitting = Math.floor((width - 16) / (COLUMNS * CELL_WIDTH_PER_FONT_SIZE));
  return Math.max(6, Math.min(LARGEST_FONT, fitting));
}

// The text of the screen's rows as the player reads them, without trailing blanks.
export function screenText(term) {
  const buffer = term.buffer.active;
  const rows = [];
  for (let y = 0; y < ROWS; y++) {
    rows.push(buffer.getLine(buffer.viewportY + y)?.translateToString(true) ?? '');
  }
  return rows.join('\n');
}
