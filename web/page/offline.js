// The service worker that keeps the whole site for play without the
// network (sw.js, written by the build with the build's version).
export function setUpOffline() {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  navigator.serviceWorker.register('sw.js').catch((error) => {
    console.warn('Pellmora: no offline copy:', error);
  });
}
