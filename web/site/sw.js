// Keeps the whole edition in one cache, so that after one visit it starts offline.
const cacheName = 'glimmeron-@VERSION@';
const assets = [@ASSETS@];

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(assets)));
    self.skipWaiting();
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys())
            if (name !== cacheName) await caches.delete(name);
        await self.clients.claim();
    })());
});

// The cache first: the files of one build belong together.
self.addEventListener('fetch', (event) => {
    if (event.request.method !== 'GET') return;
    event.respondWith(
        caches.match(event.request, { ignoreSearch: true })
            .then((hit) => hit ?? fetch(event.request)));
});
