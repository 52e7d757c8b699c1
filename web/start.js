// Starts the page once its first screen is painted. That screen (the
// program's first question) comes inside the page itself, so nothing else
// holds it back; then the program and every module of the page load at
// once, and app.js takes over the dialogue.
const kLatestStart = 1000;  // ms: a tab in the background paints nothing

// After the browser's first paint with content: once it reports the largest
// paint (the console, painted then), else the first paint with content, else
// after the next frame.
function afterFirstPaint() {
  return new Promise((resolve) => {
    setTimeout(resolve, kLatestStart);
    const reported = PerformanceObserver.supportedEntryTypes ?? [];
    const type = ['largest-contentful-paint', 'paint'].find((kind) => reported.includes(kind));
    if (type === undefined) {
      requestAnimationFrame(() => setTimeout(resolve));
      return;
    }
    new PerformanceObserver((entries, observer) => {
      if (type === 'paint' && entries.getEntriesByName('first-contentful-paint').length === 0) return;
      observer.disconnect();
      resolve();
    }).observe({ type, buffered: true });
  });
}

await afterFirstPaint();
// The program is fetched here, by the one request that compiles it: a preload
// is fetched again where the browser does not match it to that request.
const fetching = fetch('dosmo.wasm');
fetching.catch(() => {});  // app.js says so if it fails
document.head.append(document.getElementById('after-first-paint').content);
const { start } = await import('./app.js');
start(fetching);
