// Pictures: shown over the screen, scaled to fit with their shape kept, while the quest goes
// on underneath. The first key, click or tap closes the picture and does nothing else (the key
// never reaches the game); the focus then goes back where it was, and the screen is as before.

// Keys that are only held with others (and the screen reader's own) close nothing.
const HELD_KEYS = new Set(['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'CapsLock']);

export class Picture {
  // host: the element the picture covers.
  constructor(host, log) {
    this.host = host;
    this.log = log;
    this.shown = null;  // {overlay, url, focusBefore}
    this.closeAtKey = (event) => {
      if (HELD_KEYS.has(event.key)) return;
      event.preventDefault();
      event.stopImmediatePropagation();
      this.close();
    };
  }

  // current() turns false when the game has stopped its media meanwhile.
  async show(file, bytes, current) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'image/jpeg' }));
    const image = new Image();
    image.alt = `Picture ${file}`;
    image.src = url;
    try {
      await image.decode();
    } catch {
      URL.revokeObjectURL(url);
      this.log(`picture ${file} not shown: the browser cannot read it`);
      return;
    }
    if (!current()) {
      URL.revokeObjectURL(url);
      return;
    }
    this.close();
    const overlay = this.overlayWith(image);
    const focusBefore = document.activeElement;
    this.host.append(overlay);
    window.addEventListener('keydown', this.closeAtKey, true);
    overlay.focus({ preventScroll: true });
    this.shown = { overlay, url, focusBefore };
    this.log(`picture ${file} shown (${image.naturalWidth}x${image.naturalHeight})`);
  }

  overlayWith(image) {
    const overlay = document.createElement('div');
    overlay.className = 'picture';
    overlay.tabIndex = -1;
    overlay.setAttribute('role', 'dialog');
    overlay.setAttribute('aria-modal', 'true');
    overlay.setAttribute('aria-label', 'Picture (any key closes it)');
    overlay.append(image);
    overlay.addEventListener('click', (event) => {
      event.stopPropagation();
      this.close();
    });
    return overlay;
  }

  close() {
    if (!this.shown) return;
    const { overlay, url, focusBefore } = this.shown;
    this.shown = null;
    window.removeEventListener('keydown', this.closeAtKey, true);
    overlay.remove();
    URL.revokeObjectURL(url);
    if (focusBefore?.isConnected && focusBefore !== document.body) focusBefore.focus({ preventScroll: true });
  }
}
