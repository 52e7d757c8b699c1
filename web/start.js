// Starts the page once its first screen is painted. That screen (the
// program's first question) comes inside the page itself, so nothing else
// holds it back; then the program and every module of the page load at
// once, and app.js takes over the dialogue.
const kLatestStart = 1000;  // ms: a tab in the background paints nothing

// After the browser's first paint with content, where it reports paints;
// after the next frame elsewhere.
function afterFirstPaint() {
  return new Promise((resolve) => {
    setTimeout(resolve, kLatestStart);
    if (PerformanceObserver.supportedEntryTypes?.includes('paint')) {
      new PerformanceObserver((entries, observer) => {
        if (entries.getEntriesByName('first-contentful-paint').length === 0) return;
        observer.disconnect();
        resolve();
      }).observe({ type: 'paint', buffered: true });
    } else {
      requestAnimationFrame(() => setTimeout(resolve));
    }
  });
}

await afterFirstPaint();
document.head.append(document.getElementById('after-first-paint').content);
await import('./app.js');
