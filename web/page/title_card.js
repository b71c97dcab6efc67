// The title card: the quest's name and a Play button over the screen when the page opens
// (the page's HTML shows it from its first paint; this fills in the name and makes it play).
// Browsers let a page sound only after the player's key, click or tap, so the quest starts at
// the first one on the card (keys used in the bar's controls are theirs).

// The quest's name: the page's <meta name="tindel-title">, else its file name.
export function questTitle(fileName) {
  return document.querySelector('meta[name="tindel-title"]')?.content || fileName;
}

// card: the card's section (with #card-title and #card-play); onStart() runs inside the
// gesture's handler, once. Returns close(), which takes the card away without onStart.
export function titleCard(card, title, onStart) {
  const bar = document.getElementById('bar');
  card.querySelector('#card-title').textContent = title;
  card.hidden = false;
  card.querySelector('#card-play').focus();

  const close = () => {
    document.removeEventListener('keydown', atKey, true);
    card.removeEventListener('click', start);
    card.hidden = true;
  };
  function start(event) {
    event.preventDefault();
    close();
    onStart();
  }
  function atKey(event) {
    if (event.key === 'Tab' || bar.contains(event.target)) return;
    start(event);
  }
  document.addEventListener('keydown', atKey, true);
  card.addEventListener('click', start);
  return close;
}
