// The menu buttons the game draws on the field, as page buttons laid over
// them: reached with Tab in the desktop's order, pressed with Enter or Space,
// named for screen readers. The focused one shows the desktop's focus mark
// on the field.
import { Ev, post, requestPaint } from './events.js';

const kFieldWidth = 640;
const kFieldHeight = 480;
const buttons = Array.from(document.querySelectorAll('#menu-buttons button'));
const field = document.getElementById('form1');
let drawn = [null, null, null];
let shown = [false, false, false];
let focused = -1;

export function nameMenuButton(n, name) {
  if (buttons[n]) buttons[n].setAttribute('aria-label', name);
}

export function focusedButton() {
  return focused;
}

// True while the last frame showed the menu: no game is being played.
export function menuShown() {
  return shown.some((s) => s);
}

// Every frame draws the visible buttons again, so the page's buttons follow
// what the frame drew once it is done.
export function frameBegun() {
  drawn = [null, null, null];
  queueMicrotask(frameDone);
}

export function buttonDrawn(n, x, y, w, h) {
  drawn[n] = { x, y, w, h };
}

function frameDone() {
  for (let n = 0; n < buttons.length; ++n) {
    const button = buttons[n];
    const rect = drawn[n];
    shown[n] = rect !== null;
    if (rect === null) {
      if (!button.hidden) {
        // A button going away with the focus leaves it on the field.
        if (document.activeElement === button) field.focus();
        button.hidden = true;
      }
      continue;
    }
    button.style.left = (100 * rect.x / kFieldWidth) + '%';
    button.style.top = (100 * rect.y / kFieldHeight) + '%';
    button.style.width = (100 * rect.w / kFieldWidth) + '%';
    button.style.height = (100 * rect.h / kFieldHeight) + '%';
    button.hidden = false;
  }
}

function centre(n) {
  const r = drawn[n] || { x: -1, y: -1, w: 0, h: 0 };
  return [Math.floor(r.x + r.w / 2), Math.floor(r.y + r.h / 2)];
}

function fieldPoint(e) {
  const rect = field.getBoundingClientRect();
  return [Math.floor((e.clientX - rect.left) * kFieldWidth / rect.width),
          Math.floor((e.clientY - rect.top) * kFieldHeight / rect.height)];
}

// A press and a release go to the game as on its own drawn button, so that
// it sinks while held and clicks only when let go over it.
export function setUpMenuButtons() {
  buttons.forEach((button, n) => {
    button.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      button.setPointerCapture(e.pointerId);
      post(Ev.PointerDown, ...centre(n));
    });
    button.addEventListener('pointerup', (e) => {
      if (e.button !== 0) return;
      const r = button.getBoundingClientRect();
      const inside = e.clientX >= r.left && e.clientX < r.right && e.clientY >= r.top &&
                     e.clientY < r.bottom;
      post(Ev.PointerUp, ...(inside ? centre(n) : fieldPoint(e)));
    });
    button.addEventListener('pointercancel', () => post(Ev.PointerUp, -1, -1));
    // Enter, Space or a screen reader: a click with no pointer behind it.
    button.addEventListener('click', (e) => {
      if (e.detail !== 0) return;
      post(Ev.PointerDown, ...centre(n));
      post(Ev.PointerUp, ...centre(n));
    });
    button.addEventListener('focus', () => {
      focused = n;
      requestPaint();
    });
    button.addEventListener('blur', () => {
      if (focused === n) focused = -1;
      requestPaint();
    });
  });
}
