// The hosted page's service worker, sw.js: it keeps this version's files (FILES, written above
// by the page writer with VERSION) in a store of its own, answers the page's requests from it,
// so that the page opens offline after one visit, and falls back to the network for anything
// else. The store is named after the full version and the folder the page is hosted in, so that
// two deployments on one server keep apart.
//
// A new version (a new sw.js, which browsers compare byte by byte) fetches its files past the
// HTTP cache, so that no stale copy slips into it, takes over at once and deletes its folder's
// stores of other versions. The page asks for an update on each visit; the visit after the
// update has been found opens the new version.

var PREFIX = 'pevrand ' + self.registration.scope + ' ';
var STORE = PREFIX + VERSION;
var FOLDER = self.registration.scope;
var PAGE = new URL('index.html', FOLDER).href;

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(STORE).then(function (store) {
    return Promise.all(FILES.map(function (file) {
      return fetch(file, {cache: 'reload'}).then(function (response) {
        if (!response.ok) throw new Error(file + ': HTTP ' + response.status);
        return store.put(file, response);
      });
    }));
  }).then(function () {
    return self.skipWaiting();
  }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf(PREFIX) === 0 && name !== STORE;
    }).map(function (name) {
      return caches.delete(name);
    }));
  }).then(function () {
    return self.clients.claim();
  }));
});

// The folder itself is its index.html; a query string ("?from=home-screen") changes no file.
self.addEventListener('fetch', function (event) {
  var url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  url.search = '';
  url.hash = '';
  var key = url.href === FOLDER ? PAGE : url.href;
  event.respondWith(caches.open(STORE).then(function (store) {
    return store.match(key);
  }).then(function (stored) {
    return stored || fetch(event.request);
  }));
});
