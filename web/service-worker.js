// Keeps the page's few files so that after one visit the page opens and runs
// with no network. The build puts kVersion and kFiles (every file of the
// built page) above this text; a new build is a new cache and the old one is
// dropped once the new one is complete.

const kCacheName = `dosmo-${kVersion}`;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(kCacheName);
    await cache.addAll(kFiles.map((file) => new Request(file, { cache: 'reload' })));
    await self.skipWaiting();
  })());
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
