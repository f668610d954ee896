// Game pads through the browser's Gamepad API, as the desktop maps them: the
// D-pad and the left stick are the arrow keys, Start and Back are Esc, A
// presses the focused button. Outside play the D-pad walks the buttons as Tab
// and Shift+Tab do. The pads are read at every display frame while one is
// plugged in.
import { Ev, post } from './events.js';
import { isModalOpen, keyDown, keyUp } from './field.js';
import { menuShown } from './menu-buttons.js';

const kStickDeadZone = 10000 / 32767;  // the desktop's, of the stick's full travel
const kArrows = [37, 38, 39, 40];       // left, up, right, down
const kDpad = [14, 12, 15, 13];         // the standard mapping's buttons, same order
const kA = 0;
const kBack = 8;
const kStart = 9;

const held = [false, false, false, false];
let pressed = { a: false, esc: false };
let polling = false;

function pressedButton(pad, i) {
  return pad.buttons[i] !== undefined && pad.buttons[i].pressed;
}

// The focusable buttons of what is on top: an open box, the ranking window
// with the focus in it, or the menu.
function walkable() {
  const dialog = document.querySelector('dialog[open]');
  const form2 = document.getElementById('form2');
  let scope = document.getElementById('menu-buttons');
  if (dialog) scope = dialog;
  else if (form2.contains(document.activeElement)) scope = form2;
  return Array.from(scope.querySelectorAll('button, input')).filter((e) => !e.hidden &&
                                                                         e.offsetParent !== null);
}

function walk(forward) {
  const list = walkable();
  if (list.length === 0) return;
  const at = list.indexOf(document.activeElement);
  const next = at < 0 ? (forward ? 0 : list.length - 1)
                      : (at + (forward ? 1 : list.length - 1)) % list.length;
  list[next].focus();
}

function escape() {
  const dialog = document.querySelector('dialog[open]');
  if (dialog) {
    dialog.close('');
    return;
  }
  if (document.getElementById('form2').contains(document.activeElement)) {
    post(Ev.RankingClosed);
    return;
  }
  keyDown(27, false);
  keyUp(27);
}

function confirm() {
  const focus = document.activeElement;
  if (focus instanceof HTMLButtonElement && !focus.hidden) {
    focus.click();
    return;
  }
  const dialog = document.querySelector('dialog[open]');
  if (dialog) dialog.querySelector('button[value="ok"]').click();
}

function poll() {
  const now = [false, false, false, false];
  let a = false;
  let esc = false;
  let any = false;
  for (const pad of navigator.getGamepads()) {
    if (!pad || !pad.connected) continue;
    any = true;
    const x = pad.axes[0] || 0;
    const y = pad.axes[1] || 0;
    const stick = [x < -kStickDeadZone, y < -kStickDeadZone, x > kStickDeadZone,
                   y > kStickDeadZone];
    for (let k = 0; k < 4; ++k) now[k] = now[k] || stick[k] || pressedButton(pad, kDpad[k]);
    a = a || pressedButton(pad, kA);
    esc = esc || pressedButton(pad, kStart) || pressedButton(pad, kBack);
  }
  const inPlay = !menuShown() && !isModalOpen() &&
                 !document.getElementById('form2').contains(document.activeElement);
  for (let k = 0; k < 4; ++k) {
    if (now[k] === held[k]) continue;
    held[k] = now[k];
    if (now[k]) {
      keyDown(kArrows[k], false);
      if (!inPlay) walk(k >= 2);
    } else {
      keyUp(kArrows[k]);
    }
  }
  if (esc && !pressed.esc) escape();
  if (a && !pressed.a) confirm();
  pressed = { a, esc };
  polling = any;
  if (polling) requestAnimationFrame(poll);
}

export function setUpGamepads() {
  if (!navigator.getGamepads) return;
  window.addEventListener('gamepadconnected', () => {
    if (polling) return;
    polling = true;
    requestAnimationFrame(poll);
  });
}
