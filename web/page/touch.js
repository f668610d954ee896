// On-screen keys for touch screens: held while touched, like the arrow keys;
// the pause key is one Esc. They appear with the first touch.
import { keyDown, keyUp, layout } from './field.js';

function showTouchKeys() {
  for (const pad of document.querySelectorAll('.touch-pad')) pad.hidden = false;
  layout();
}

export function setUpTouchKeys() {
  for (const key of document.querySelectorAll('.touch-key')) {
    const code = Number(key.dataset.key);
    const release = () => {
      if (!key.classList.contains('held')) return;
      key.classList.remove('held');
      keyUp(code);
    };
    key.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      key.setPointerCapture(e.pointerId);
      key.classList.add('held');
      keyDown(code, false);
    });
    key.addEventListener('pointerup', release);
    key.addEventListener('pointercancel', release);
    key.addEventListener('lostpointercapture', release);
    key.addEventListener('contextmenu', (e) => e.preventDefault());
  }
  if (window.matchMedia && window.matchMedia('(pointer: coarse)').matches) showTouchKeys();
  window.addEventListener('touchstart', showTouchKeys, { once: true, passive: true });
}
