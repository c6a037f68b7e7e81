// Offline after the first visit: the page's files are answered from the cache at once
// and refreshed from the network behind it, so a new version shows on the next visit.
const cacheName = 'pestrolik-web';
const files = ['./', 'index.html', 'style.css', 'page.js', 'run.js', 'workers.js', 'worker.js', 'frame_files.js', 'pestrolik_core.js',
  'pestrolik_core.wasm', 'manifest.webmanifest', 'icon-128.png', 'icon-256.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || !event.request.url.startsWith(self.location.origin)) return;
  event.respondWith(caches.open(cacheName).then(async (cache) => {
    const cached = await cache.match(event.request, { ignoreSearch: true });
    const fresh = fetch(event.request).then((response) => {
      if (response.ok) cache.put(event.request, response.clone());
      return response;
    });
    if (!cached) return fresh;
    event.waitUntil(fresh.catch(() => {}));
    return cached;
  }));
});
