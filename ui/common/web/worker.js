// The hosted page's service worker, sw.js. Above this script the page writer writes VERSION and
// DAMAGED (the page shown offline when a stored copy is damaged), and then the page's digests
// (page_digests.py) FILES (each file the store keeps, with the SHA-256 of its body as a
// subresource-integrity string) and REVISION (a hash of that list). Any change to any file
// therefore changes this script, which browsers compare byte by byte when they look for an
// update: every deployment reaches its visitors, one at the same version too.
//
// It keeps Workbox's precaching rules, written out here so that building the page needs no
// npm, and checks one thing more (Workbox trusts its store once it is filled):
//   - Install fetches each file past the HTTP cache and stores it only when its body matches its
//     hash, always as a clean response of its own: a redirected response (a host that sends
//     /index.html to ./) would be refused as a page, and an opaque or failed one is never
//     stored. Any mismatch fails the install and removes its store, so that a deployment
//     caught half-copied is tried again on the next visit.
//   - Each stored file is checked against its hash before it is served. A damaged one (another
//     page of the origin may rewrite the store) is never served: it is fetched afresh and
//     stored again when it matches, or, offline, the page says that it can't start.
//   - The store is named after the folder, the version and the revision, so that two copies on
//     one server keep apart; taking over, the worker deletes its folder's other stores. Stores
//     are looked up, never re-created by a look-up.
// The page asks for an update on each visit and whenever it comes back to the foreground; it
// asks the worker for its status and shows it (page.js).

var FOLDER = self.registration.scope;
var PREFIX = 'pevrand ' + FOLDER + ' ';
var STORE = PREFIX + VERSION + ' ' + REVISION;

function address(file) {
  return new URL(file, FOLDER).href;
}

function digest(bytes) {
  return crypto.subtle.digest('SHA-256', bytes).then(function (hash) {
    return 'sha256-' + btoa(String.fromCharCode.apply(null, new Uint8Array(hash)));
  });
}

// A clean response of this worker's own with the body of `response`, when that is a whole
// answer of this origin whose body has the hash `expected`; otherwise null.
function checked(response, expected) {
  if (!response || !response.ok || response.type === 'opaque') return Promise.resolve(null);
  var type = response.headers.get('Content-Type');
  return response.arrayBuffer().then(function (bytes) {
    return digest(bytes).then(function (hash) {
      return hash !== expected ? null : new Response(bytes, type ? {headers: {'Content-Type': type}} : {});
    });
  });
}

function fresh(file) {
  return fetch(address(file), {cache: 'reload'}).then(function (response) {
    return checked(response, FILES[file]);
  });
}

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(STORE).then(function (store) {
    return Promise.all(Object.keys(FILES).map(function (file) {
      return fresh(file).then(function (copy) {
        if (!copy) throw new Error(file + ' is not the one of version ' + VERSION + ' ' + REVISION);
        return store.put(address(file), copy);
      });
    }));
  }).then(function () {
    return self.skipWaiting();
  }, function (error) {
    return caches.delete(STORE).then(function () { throw error; });
  }));
});

// This worker's version, and whether its store holds every file whole.
function status() {
  return Promise.all(Object.keys(FILES).map(function (file) {
    return caches.match(address(file), {cacheName: STORE}).then(function (stored) {
      return checked(stored, FILES[file]);
    });
  })).then(function (copies) {
    return {version: VERSION, offline: copies.every(Boolean)};
  });
}

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf(PREFIX) === 0 && name !== STORE;
    }).map(function (name) {
      return caches.delete(name);
    }));
  }).then(function () {
    return self.clients.claim();
  }).then(function () {
    return Promise.all([status(), self.clients.matchAll({type: 'window', includeUncontrolled: true})]);
  }).then(function (answers) {
    answers[1].forEach(function (client) { client.postMessage(answers[0]); });
  }));
});

// The page asks for the status, and tells a worker still waiting to take over when the user
// chooses to reload.
self.addEventListener('message', function (event) {
  if (event.data === 'skip waiting') event.waitUntil(self.skipWaiting());
  if (event.data === 'status' && event.source)
    event.waitUntil(status().then(function (answer) { event.source.postMessage(answer); }));
});

// The stored copy of `file` when it is whole; else a fresh one that matches, stored again; else
// what the network gives for `request`; offline, the damaged page in place of the page.
function served(file, request) {
  return caches.match(address(file), {cacheName: STORE}).then(function (stored) {
    return checked(stored, FILES[file]);
  }).then(function (copy) {
    if (copy) return copy;
    return fresh(file).then(function (copy) {
      if (!copy) return fetch(request);
      return caches.has(STORE).then(function (kept) {
        return kept && caches.open(STORE).then(function (store) { return store.put(address(file), copy.clone()); });
      }).then(function () { return copy; });
    }, function () {
      return request.mode === 'navigate'
        ? new Response(DAMAGED, {headers: {'Content-Type': 'text/html; charset=utf-8'}})
        : Response.error();
    });
  });
}

// The folder itself is its index.html; a query string ("?from=home-screen") changes no file.
// Anything that is not one of the files goes to the network as ever.
self.addEventListener('fetch', function (event) {
  var url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  url.search = '';
  url.hash = '';
  var file = url.href === FOLDER ? 'index.html' : url.href.slice(FOLDER.length);
  if (url.href.indexOf(FOLDER) !== 0 || !Object.prototype.hasOwnProperty.call(FILES, file)) return;
  event.respondWith(served(file, event.request));
});
