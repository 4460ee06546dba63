// The page's service worker, registered only when the page is served over http(s):
// it keeps the site's files so that the page opens and computes offline after the
// first visit. Each build names its own cache (build_site.mjs writes the version and
// commit in), so a new build's files replace the old ones once it is installed.
const kCacheName = 'quillmere-QUILLMERE-BUILD';
const kSiteFiles = [
  './', 'index.html', 'style.css', 'quillmere.ico', 'help.html', 'manifest.webmanifest',
  'quillmere-192.png', 'quillmere-512.png', 'README.md', 'LICENSE',
];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCacheName).then((cache) => cache.addAll(kSiteFiles)).then(() => self.skipWaiting()));
});

// The caches of earlier builds go.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('quillmere-') && name !== kCacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The site's files from the cache, whatever the address's query (it holds the
// request, not another file); anything else from the network.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(kCacheName)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((cached) => cached ?? fetch(request)));
});
