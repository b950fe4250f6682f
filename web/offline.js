// Makes the page installable and playable offline through its service worker
// (sw.js), registered once the page has loaded so that it does not compete
// with the game's own files for the network.
addEventListener('load', () => {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('sw.js').catch((error) => {
    console.warn(`This page cannot be kept for offline play: ${error}`);
  });
});
