// The game window's field: the canvas the game paints, its scaling to the
// window, and the keys and pointer that reach the game.
import { Ev, post } from './events.js';
import * as menu from './menu-buttons.js';

export const kFieldWidth = 640;
export const kFieldHeight = 480;
const kIconPicture = 13;  // PictureId::Icon of web/Canvas.h
const kBackground = 0;    // PictureId::Background, painted first in every frame
const kFocusInset = 6;    // where the desktop's menu buttons draw their focus mark

export const canvas = document.getElementById('form1');
const ctx = canvas.getContext('2d', { alpha: false });
// Pictures stretched (the paddles) keep hard pixel edges.
ctx.imageSmoothingEnabled = false;
export const pictures = [];
const labels = [];

// The benchmark's figures (make bench).
export const stats = { bench: false, ticks: [], firstFrame: null };
let firstFrameSeen = null;
export const firstFrame = new Promise((resolve) => { firstFrameSeen = resolve; });

// ---- Drawing ---------------------------------------------------------------

export function uploadPicture(id, bytes, width, height) {
  if (id === 0) performance.mark('pellmora-pictures');
  const picture = document.createElement('canvas');
  picture.width = width;
  picture.height = height;
  picture.getContext('2d').putImageData(
    new ImageData(new Uint8ClampedArray(bytes.buffer, bytes.byteOffset, bytes.length), width, height),
    0, 0);
  pictures[id] = picture;
  if (id === kIconPicture) {
    const icon = document.querySelector('link[rel="icon"]');
    if (icon) icon.href = picture.toDataURL('image/png');
  }
}

export function drawPicture(id, x, y, w, h) {
  if (stats.firstFrame === null) {
    stats.firstFrame = performance.now();
    firstFrameSeen();
  }
  if (id === kBackground) menu.frameBegun();
  const picture = pictures[id];
  if (picture) ctx.drawImage(picture, x, y, w, h);
}

export function defineLabel(id, text, font) {
  if (id === 0) performance.mark('pellmora-labels');
  labels[id] = { text: text, font: font, metrics: null };
}

// Centred in the label's rectangle by the text's advance and line height,
// as the desktop lays out a label; black lettering only.
export function drawLabel(id, x, y, w, h) {
  const label = labels[id];
  if (!label) return;
  ctx.font = label.font;
  if (label.metrics === null) label.metrics = ctx.measureText(label.text);
  const m = label.metrics;
  const ascent = m.fontBoundingBoxAscent;
  const lineHeight = ascent + m.fontBoundingBoxDescent;
  ctx.fillStyle = '#000';
  ctx.textBaseline = 'alphabetic';
  ctx.textAlign = 'left';
  ctx.fillText(label.text, x + (w - m.width) / 2, y + (h - lineHeight) / 2 + ascent);
}

// A push button as the desktop draws it: the face, a 3D edge two pixels
// deep (raised, or sunken while pressed), its picture centred.
function drawRing(x, y, w, h, inset, upperLeft, lowerRight) {
  const left = x + inset;
  const top = y + inset;
  const width = w - 2 * inset;
  const height = h - 2 * inset;
  if (width < 2 || height < 2) return;
  ctx.fillStyle = upperLeft;
  ctx.fillRect(left, top, width - 1, 1);
  ctx.fillRect(left, top, 1, height - 1);
  ctx.fillStyle = lowerRight;
  ctx.fillRect(left, top + height - 1, width, 1);
  ctx.fillRect(left + width - 1, top, 1, height);
}

// The desktop's focus mark: every other pixel of a rectangle, in black.
function drawFocusMark(x, y, w, h) {
  ctx.fillStyle = '#000';
  const right = x + w - 1;
  const bottom = y + h - 1;
  for (let i = x; i <= right; i += 2) {
    ctx.fillRect(i, y, 1, 1);
    ctx.fillRect(i, bottom, 1, 1);
  }
  for (let j = y; j <= bottom; j += 2) {
    ctx.fillRect(x, j, 1, 1);
    ctx.fillRect(right, j, 1, 1);
  }
}

export function drawButton(n, x, y, w, h, pressed) {
  menu.buttonDrawn(n, x, y, w, h);
  ctx.fillStyle = '#efefef';
  ctx.fillRect(x, y, w, h);
  if (pressed) {
    drawRing(x, y, w, h, 0, '#808080', '#ffffff');
    drawRing(x, y, w, h, 1, '#404040', '#d4d0c8');
  } else {
    drawRing(x, y, w, h, 0, '#ffffff', '#404040');
    drawRing(x, y, w, h, 1, '#d4d0c8', '#808080');
  }
  const picture = pictures[10 + n];
  if (picture) {
    ctx.drawImage(picture, x + Math.floor((w - picture.width) / 2),
                  y + Math.floor((h - picture.height) / 2));
  }
  if (menu.focusedButton() === n) {
    drawFocusMark(x + kFocusInset, y + kFocusInset, w - 2 * kFocusInset, h - 2 * kFocusInset);
  }
}

export function setTitle(title) {
  document.title = title;
}

// ---- Scaling ---------------------------------------------------------------

// On a touch screen, a field this much smaller than the space would waste too
// much of a phone's screen for the sake of whole device pixels per game pixel.
const kSmallestWholeShare = 0.75;

// The field as large as the window allows: a whole number of device pixels
// per game pixel where that fits (on a touch screen, where it also fills most
// of the space); otherwise the whole space, its size still a whole number of
// device pixels. Upright, the touch keys go below the field; sideways, beside
// it.
export function layout() {
  const dpr = window.devicePixelRatio || 1;
  const padsShown = !document.getElementById('touch-left').hidden;
  const upright = padsShown && window.innerHeight > window.innerWidth;
  document.body.classList.toggle('upright', upright);
  let spareWidth = 16;
  let spareHeight = 16;
  for (const id of ['tools', 'keys-line']) {
    const element = document.getElementById(id);
    if (!element.hidden) spareHeight += element.offsetHeight + 8;
  }
  if (padsShown) {
    const pads = document.getElementById('touch-pads');
    if (upright) spareHeight += pads.offsetHeight + 12;
    else spareWidth += document.getElementById('touch-left').offsetWidth +
                       document.getElementById('touch-right').offsetWidth + 24;
  }
  const availWidth = Math.max(1, window.innerWidth - spareWidth);
  const availHeight = Math.max(1, window.innerHeight - spareHeight);
  const fit = Math.min(availWidth / kFieldWidth, availHeight / kFieldHeight);
  const factor = Math.floor(fit * dpr);
  let cssWidth = 0;
  if (factor >= 1 && (!padsShown || factor / dpr >= fit * kSmallestWholeShare)) {
    cssWidth = kFieldWidth * factor / dpr;
  } else {
    // Both sides whole in device pixels (a multiple of four at 4 : 3), and in
    // the layout's 1/64 CSS px, so that nothing rounds them again.
    for (let w = Math.floor(kFieldWidth * fit * dpr / 4) * 4; w >= 4 && cssWidth === 0; w -= 4) {
      const css = w / dpr;
      if (Math.abs(css * 64 - Math.round(css * 64)) < 1e-6) cssWidth = Math.round(css * 64) / 64;
    }
    if (cssWidth === 0) cssWidth = kFieldWidth * fit;
  }
  canvas.style.width = cssWidth + 'px';
  canvas.style.height = (cssWidth * 3 / 4) + 'px';
}

// A new device pixel ratio (a zoom, another screen) without a resize.
function watchPixelRatio() {
  const query = window.matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
  query.addEventListener('change', () => {
    layout();
    watchPixelRatio();
  }, { once: true });
}

// ---- Keys and pointer ------------------------------------------------------

const kNamedKeys = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Escape: 27,
                     Enter: 13, Space: 32, NumpadEnter: 13 };

function virtualKeyOf(e) {
  if (kNamedKeys[e.code] !== undefined) return kNamedKeys[e.code];
  if (kNamedKeys[e.key] !== undefined) return kNamedKeys[e.key];
  let m = /^Key([A-Z])$/.exec(e.code);
  if (m) return m[1].charCodeAt(0);
  m = /^Digit([0-9])$/.exec(e.code);
  if (m) return m[1].charCodeAt(0);
  return 0;
}

// Keys typed into a box or the ranking window are theirs, not the game's.
function belongsToGame(target) {
  return !(target instanceof Element && target.closest('dialog, #form2, input, textarea'));
}

export function isModalOpen() {
  return document.querySelector('dialog[open]') !== null;
}

// Pressed on the page and on a game pad alike.
export function keyDown(code, repeat) {
  if (!isModalOpen()) post(Ev.KeyDown, code, repeat ? 1 : 0);
}
export function keyUp(code) {
  post(Ev.KeyUp, code, 0);
}

export function fieldPoint(clientX, clientY) {
  const rect = canvas.getBoundingClientRect();
  return [Math.floor((clientX - rect.left) * kFieldWidth / rect.width),
          Math.floor((clientY - rect.top) * kFieldHeight / rect.height)];
}

export function setUpField() {
  window.addEventListener('keydown', (e) => {
    const code = virtualKeyOf(e);
    if (code === 0 || !belongsToGame(e.target)) return;
    // The arrows, Space and Esc would scroll the page or leave it; a page
    // button keeps its own Space and Enter.
    const onButton = e.target instanceof HTMLButtonElement;
    if (code >= 37 && code <= 40 || code === 27 || code === 32 && !onButton) e.preventDefault();
    keyDown(code, e.repeat);
  });
  window.addEventListener('keyup', (e) => {
    const code = virtualKeyOf(e);
    if (code !== 0) keyUp(code);
  });
  window.addEventListener('blur', () => post(Ev.FocusLost));
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) post(Ev.Hidden);
  });

  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    canvas.focus();
    canvas.setPointerCapture(e.pointerId);
    post(Ev.PointerDown, ...fieldPoint(e.clientX, e.clientY));
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.button !== 0) return;
    post(Ev.PointerUp, ...fieldPoint(e.clientX, e.clientY));
  });
  canvas.addEventListener('pointercancel', () => post(Ev.PointerUp, -1, -1));

  window.addEventListener('resize', layout);
  watchPixelRatio();
  layout();
  canvas.focus();
}
