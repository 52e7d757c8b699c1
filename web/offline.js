// Keeps the page for use without a network through its service worker
// (sw.js), and tells the user when a new version is ready: it waits until
// the user accepts the reload the page offers.

// `offer(accept)` is called once a new version waits; `accept()` activates it
// and reloads the page, whose answers come back from storage.
export async function keepOffline(offer) {
  if (!('serviceWorker' in navigator)) return;
  let accepted = false;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (accepted) location.reload();
  });
  const registration = await navigator.serviceWorker.register('sw.js');
  const waits = (worker) => {
    // The first version is no update: nothing controlled the page before it.
    if (!navigator.serviceWorker.controller) return;
    offer(() => {
      accepted = true;
      worker.postMessage('activate');
    });
  };
  if (registration.waiting) waits(registration.waiting);
  registration.addEventListener('updatefound', () => {
    const worker = registration.installing;
    worker.addEventListener('statechange', () => {
      if (worker.state === 'installed') waits(worker);
    });
  });
}
