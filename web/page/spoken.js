// What a screen reader needs of the page: the accessible mode's setting, the text of each new
// page in a polite live region, and the waiting menu as a list box whose active option is
// the highlighted entry.

const SETTING_KEY = 'tindel.accessible';

// The setting's checkbox: checked by ?accessible=1 or as the player left it last time.
// onChange(checked) after the player changes it; the choice is remembered.
export function accessibleSetting(checkbox, params, onChange) {
  const asked = params.get('accessible');
  checkbox.checked = asked != null ? asked === '1' : localStorage.getItem(SETTING_KEY) === '1';
  checkbox.onchange = () => {
    localStorage.setItem(SETTING_KEY, checkbox.checked ? '1' : '0');
    onChange(checkbox.checked);
  };
  return () => checkbox.checked;
}

// xterm.js's screen-reader mode gives the screen's rows to assistive technology, to read
// again at will; its own live region would also say every character printed, which the
// page's live region already says once, so a player would hear each page twice.
export function setScreenReaderMode(screen, on) {
  screen.options.screenReaderMode = on;
  screen.element?.querySelector('.xterm-accessibility .live-region')?.setAttribute('aria-live', 'off');
}

// In its screen-reader mode xterm.js leaves text typed by an input event (a phone's keyboard,
// an input method, Playwright's or a screen reader's typing) to the screen reader, and the
// game would never see it: the page hands that text on itself. A key pressed on a keyboard
// comes as a key press, which xterm.js has sent already, before its input event.
export function passTypedText(screen, send) {
  const typing = screen.textarea;
  if (!typing) return;
  let pressed = null;
  typing.addEventListener('keydown', () => { pressed = null; }, true);
  typing.addEventListener('keypress', (event) => { pressed = event.key; }, true);
  typing.addEventListener('input', (event) => {
    const sentAlready = pressed !== null && pressed === event.data;
    pressed = null;
    if (!screen.options.screenReaderMode || event.isComposing || sentAlready) return;
    if (event.inputType === 'insertText' && event.data) send(event.data);
  });
}

// The live region holds the new text of the page; the console sends each text once.
export function announcer(region) {
  return (text) => {
    region.textContent = text;
  };
}

// The list box of the menu's entries. Keys typed on it go to the game as the screen's would.
export function menuList(listbox, sendKeys) {
  listbox.addEventListener('keydown', (event) => {
    const bytes = keyBytes(event);
    if (bytes == null) return;
    event.preventDefault();
    sendKeys(bytes);
  });
  let shown = '';
  return (captions, highlighted) => {
    // The menu tells its entries again at each pass while a pause runs; a list box built
    // anew each time would be read out anew each time.
    const now = JSON.stringify([captions, highlighted]);
    if (now === shown) return;
    shown = now;
    listbox.replaceChildren(...captions.map((caption, index) => {
      const option = document.createElement('li');
      option.id = `menu-option-${index}`;
      option.setAttribute('role', 'option');
      option.setAttribute('aria-selected', String(index === highlighted));
      option.textContent = caption;
      return option;
    }));
    if (highlighted >= 0 && highlighted < captions.length) {
      listbox.setAttribute('aria-activedescendant', `menu-option-${highlighted}`);
    } else {
      listbox.removeAttribute('aria-activedescendant');
    }
    listbox.hidden = captions.length === 0;
  };
}

const NAMED_KEYS = { ArrowUp: '\x1b[A', ArrowDown: '\x1b[B', Enter: '\r', Escape: '\x1b', Backspace: '\x7f' };

function keyBytes(event) {
  if (event.ctrlKey || event.altKey || event.metaKey) return null;
  if (NAMED_KEYS[event.key]) return NAMED_KEYS[event.key];
  return event.key.length === 1 ? event.key : null;
}
