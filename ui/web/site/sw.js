// Keeps the site's own files, so that later visits and the installed app work offline: each
// request is answered from the cache when it has the file, and the cache is brought up to date
// from the network behind it. Nothing but the site's own files is fetched.
const CACHE = "korvel-site";
const FILES = ["./", "index.html", "korvel.css", "app.js", "tree.js", "dialogs.js", "files.js",
  "webmidi.js", "keys.js", "korvel.js", "korvel.wasm", "manifest.webmanifest", "icon-192.png",
  "icon-512.png", "tree-icons.png"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => event.waitUntil(self.clients.claim()));

self.addEventListener("fetch", (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== "GET" || url.origin !== self.location.origin) {
    return;
  }
  event.respondWith(caches.open(CACHE).then(async (cache) => {
    const cached = await cache.match(event.request, {ignoreSearch: true});
    const fresh = fetch(event.request).then((response) => {
      if (response.ok) {
        cache.put(event.request, response.clone());
      }
      return response;
    });
    if (cached) {
      fresh.catch(() => {});  // offline: the cached copy stands
      return cached;
    }
    return fresh;
  }));
});
