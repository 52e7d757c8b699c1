// Keeps the page's files so that after one visit the page opens and runs
// with no network. scripts/write-service-worker.sh puts kVersion and kFiles
// (each file of the built page with the SHA-256 of its bytes) above this
// text. Each file crosses the network once: a file is taken from the copy
// the previous version kept, or from what the page itself just fetched,
// whenever its bytes are the listed ones. A new version waits until the page
// accepts it (the page offers a reload), then drops the old copy.

const kCacheName = `dosmo-${kVersion}`;

async function digestOf(response) {
  const bytes = await response.clone().arrayBuffer();
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (byte) => byte.toString(16).padStart(2, '0')).join('');
}

async function fetched(file, mode) {
  try {
    const response = await fetch(file, { cache: mode });
    return response.ok ? response : undefined;
  } catch {
    return undefined;
  }
}

// The first of: the previous version's copy, the browser's own copy from the
// page's visit, the network, whose bytes are the listed ones; the network's
// answer is kept even if they differ (a host may rewrite a file), as the
// next version will mend it.
async function keep(cache, [file, digest]) {
  for (const source of [() => caches.match(file), () => fetched(file, 'force-cache')]) {
    const response = await source();
    if (response && await digestOf(response) === digest) return cache.put(file, response);
  }
  const response = await fetched(file, 'reload');
  if (!response) throw new Error(`${file} could not be fetched`);
  return cache.put(file, response);
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(kCacheName);
    await Promise.all(kFiles.map((entry) => keep(cache, entry)));
  })());
});

// The page sends this when the user accepts the new version.
self.addEventListener('message', (event) => {
  if (event.data === 'activate') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name !== kCacheName) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The kept copy first; the network only for what was never kept.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(kCacheName);
    const kept = await cache.match(request, { ignoreSearch: true })
      ?? (request.mode === 'navigate' ? await cache.match('./') : undefined);
    return kept ?? fetch(request);
  })());
});
