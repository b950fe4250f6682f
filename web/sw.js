// The page's service worker. It keeps every file of one build of the page in
// a cache named after that build, so that the page loads and plays offline,
// and it answers each page from the cache of the build that page was loaded
// with, so that no page runs one build's script with another build's wasm.
// A new build's worker takes over as soon as it has cached the whole build:
// a page still loading goes on with its own build, the next reload gets the
// new one, and a build's cache goes once no open page uses it.
// web/ServiceWorker.cmake fills in the build.
const Build = '@BUILD@';
// Each file of the build, as named in the page's folder, and the SHA-256 of its bytes.
const Files = {@FILES@
};
const PageFile = 'index.html';
const BuildPrefix = 'quendle-build-';
// Which build each page was loaded with, kept across restarts of the worker.
const PagesCache = 'quendle-pages';
// A page that never asked for a file is forgotten a day after it was loaded.
const UnseenPageMs = 24 * 60 * 60 * 1000;

// The name of the build's file that a request asks for, or null.
function fileName(request) {
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (request.method !== 'GET' || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) {
    return null;
  }
  const name = url.pathname.slice(scope.pathname.length) || PageFile;
  return Object.hasOwn(Files, name) ? name : null;
}

async function sha256(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// Every file is fetched past the browser's HTTP cache and checked against its
// hash before any is kept: a server caught halfway through putting up a new
// build leaves the last worker in charge rather than a cache of two builds.
async function precache() {
  const responses = await Promise.all(Object.keys(Files).map(async (name) => {
    const response = await fetch(new Request(name, { cache: 'reload' }));
    if (!response.ok || (await sha256(await response.clone().arrayBuffer())) !== Files[name]) {
      throw new Error(`${name} as served is not the one of build ${Build}`);
    }
    return [name, response];
  }));
  const cache = await caches.open(BuildPrefix + Build);
  await Promise.all(responses.map(([name, response]) => cache.put(name, response)));
}

const pageKey = (clientId) => `pages/${encodeURIComponent(clientId)}`;

async function remember(clientId, page) {
  if (!clientId) {
    return;
  }
  const pages = await caches.open(PagesCache);
  await pages.put(pageKey(clientId), new Response(JSON.stringify(page)));
}

// The build the page of clientId was loaded with, this worker's own for a page
// it does not know. A page that asks is marked as seen: it has been shown.
async function buildOf(clientId) {
  const entry = await (await caches.open(PagesCache)).match(pageKey(clientId));
  if (!entry) {
    return Build;
  }
  const page = await entry.json();
  if (!page.seen) {
    await remember(clientId, { ...page, seen: true });
  }
  return page.build;
}

// Forgets the pages that have been closed, then drops the cache of every
// build that neither this worker nor an open page uses.
async function forgetClosedPages() {
  const pages = await caches.open(PagesCache);
  const inUse = new Set([Build]);
  for (const key of await pages.keys()) {
    const page = await (await pages.match(key)).json();
    const clientId = decodeURIComponent(key.url.slice(key.url.lastIndexOf('/') + 1));
    const closed = !(await self.clients.get(clientId)) && (page.seen || Date.now() - page.time > UnseenPageMs);
    if (closed) {
      await pages.delete(key);
    } else {
      inUse.add(page.build);
    }
  }
  for (const name of await caches.keys()) {
    if (name.startsWith(BuildPrefix) && !inUse.has(name.slice(BuildPrefix.length))) {
      await caches.delete(name);
    }
  }
}

// The build's file from its cache; from the network when the cache does not
// hold it, as before the first install.
async function answer(build, name, request) {
  return (await caches.match(name, { cacheName: BuildPrefix + build })) || fetch(request);
}

self.addEventListener('install', (event) => {
  event.waitUntil(precache().then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
  const name = fileName(event.request);
  if (!name) {
    return;
  }
  if (event.request.mode === 'navigate') {
    // Noted before the page is answered, so that its build's cache stays
    // while the page loads the rest of its files, whichever worker answers them.
    const page = { build: Build, seen: false, time: Date.now() };
    event.respondWith(remember(event.resultingClientId, page).catch(() => {})
      .then(() => answer(Build, name, event.request)));
  } else {
    event.respondWith(buildOf(event.clientId).catch(() => Build).then((build) => answer(build, name, event.request)));
    event.waitUntil(forgetClosedPages());
  }
});
