// The media log of the page: with ?medialog in the address (or the setting kept in the
// browser, localStorage "tindel.medialog" = "1") every media event is one line on the
// browser's console, in the words of the terminal player's TINDEL_MEDIA_LOG, so that a player
// who hears or sees nothing can find out why. Without it nothing is written.

const SETTING_KEY = 'tindel.medialog';

function wanted(params) {
  if (params.has('medialog')) return params.get('medialog') !== '0';
  try {
    return localStorage.getItem(SETTING_KEY) === '1';
  } catch {
    return false;  // storage refused (some pages opened from disk)
  }
}

// log(text) writes "tindel media: " + text, or nothing when the log is off.
export function mediaLog(params) {
  if (!wanted(params)) return () => {};
  return (text) => console.info(`tindel media: ${text}`);
}
