// The vendor libraries the page loads only when it needs them, as classic scripts (a <script>
// tag works for a page opened from disk too, where fetching a file does not).

const loaded = new Map();

// Resolves once the script of the site's file name has run; once per name. Scripts asked for
// together load side by side and run in the order asked.
export function loadVendorScript(name) {
  if (!loaded.has(name)) {
    loaded.set(name, new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = name;
      script.async = false;
      script.onload = resolve;
      script.onerror = () => reject(new Error(`${name} did not load`));
      document.head.append(script);
    }));
  }
  return loaded.get(name);
}
