// The ranking window: a window of the page over the field, built from the
// design values the game sends, moved by its title bar, fitted to a small
// screen. It takes the focus when it opens and gives it back when it closes;
// Esc inside it closes it as its title bar's close button does.
import { Ev, post } from './events.js';
import { pictures } from './field.js';

const form2 = document.getElementById('form2');
const client = form2.querySelector('.client');
const boxes = [[], []];  // names, scores
let focusBefore = null;
let clientWidth = 0;
let clientHeight = 0;

function cssColor(rgb) {
  return '#' + (rgb >>> 0).toString(16).padStart(6, '0');
}

function place(element, left, top, width, height) {
  element.style.left = left + 'px';
  element.style.top = top + 'px';
  element.style.width = width + 'px';
  element.style.height = height + 'px';
}

// The client area at its design size where the screen takes it, shrunk to
// fit a smaller one; the window is kept on the screen.
function fitToScreen() {
  if (form2.hidden || clientWidth === 0) return;
  const frame = 2;
  const bar = form2.querySelector('.titlebar').offsetHeight;
  const zoom = Math.min(1, (window.innerWidth - frame) / clientWidth,
                        (window.innerHeight - frame - bar) / clientHeight);
  client.style.zoom = zoom;
  const left = Math.min(form2.offsetLeft, window.innerWidth - form2.offsetWidth);
  const top = Math.min(form2.offsetTop, window.innerHeight - form2.offsetHeight);
  form2.style.left = Math.max(0, left) + 'px';
  form2.style.top = Math.max(0, top) + 'px';
}

export function openRanking(caption, width, height, closeText, cl, ct, cw, ch, closeBack) {
  if (!form2.hidden) {
    // Asked for again while open: the same window comes to the front.
    form2.querySelector('.command').focus();
    return;
  }
  form2.querySelector('.title').textContent = caption;
  for (const old of client.querySelectorAll('.cell')) old.remove();
  boxes[0] = [];
  boxes[1] = [];
  clientWidth = width;
  clientHeight = height;
  client.style.width = width + 'px';
  client.style.height = height + 'px';
  const back = client.querySelector('.back');
  back.width = width;
  back.height = height;
  if (pictures[0]) back.getContext('2d').drawImage(pictures[0], 0, 0);
  const close = document.createElement('button');
  close.type = 'button';
  close.className = 'cell command';
  close.textContent = closeText;
  place(close, cl, ct, cw, ch);
  close.style.backgroundColor = cssColor(closeBack);
  close.addEventListener('click', () => post(Ev.RankingClose));
  client.appendChild(close);
  focusBefore = document.activeElement;
  form2.hidden = false;
  if (!form2.dataset.placed) {
    form2.dataset.placed = '1';
    client.style.zoom = 1;
    form2.style.left = Math.max(0, (window.innerWidth - form2.offsetWidth) / 2) + 'px';
    form2.style.top = Math.max(0, (window.innerHeight - form2.offsetHeight) / 2) + 'px';
  }
  fitToScreen();
}

const kCellClasses = ['rank', 'name', 'score', 'unit'];

export function addRankingCell(kind, row, left, top, width, height, family, size, bold, back,
                               text) {
  let cell;
  if (kind === 1 || kind === 2) {
    cell = document.createElement('input');
    cell.type = 'text';
    // Nothing typed into the ranking is read back: the boxes only show it.
    cell.readOnly = true;
    cell.value = text;
    cell.setAttribute('aria-label', `${row + 1}位の${kind === 1 ? '名前' : '得点'}`);
    boxes[kind - 1][row] = cell;
  } else {
    cell = document.createElement('div');
    cell.textContent = text;
    cell.style.background = cssColor(back);
  }
  cell.className = 'cell ' + kCellClasses[kind];
  cell.dataset.row = row;
  place(cell, left, top, width, height);
  cell.style.font = (bold ? 'bold ' : '') + size + 'px ' + family;
  client.insertBefore(cell, client.querySelector('.command'));
}

export function setRankingBox(column, row, text, visible, left, top, width, height) {
  const box = boxes[column][row];
  if (!box) return;
  if (box.value !== text) {
    box.value = text;
    box.setSelectionRange(0, 0);
  }
  place(box, left, top, width, height);
  box.hidden = !visible;
  // The desktop's window opens with the focus on the first score.
  if (column === 1 && row === 0 && !form2.contains(document.activeElement)) box.focus();
}

// The ranks whose game can be watched (bit 0: the first), from the game.
export function markRankReplays(mask) {
  for (const cell of client.querySelectorAll('.cell[data-row]')) {
    cell.classList.toggle('has-replay', (mask >> Number(cell.dataset.row) & 1) === 1);
  }
}

export function closeRanking() {
  const hadFocus = form2.contains(document.activeElement);
  form2.hidden = true;
  if (!hadFocus) return;
  const back = focusBefore;
  focusBefore = null;
  if (back instanceof HTMLElement && back.isConnected && !back.hidden) back.focus();
  else document.getElementById('form1').focus();
}

export function setUpRankingWindow() {
  form2.querySelector('.close').addEventListener('click', () => post(Ev.RankingClosed));
  form2.addEventListener('keydown', (e) => {
    if (e.key !== 'Escape') return;
    e.preventDefault();
    post(Ev.RankingClosed);
  });
  window.addEventListener('resize', fitToScreen);
  // Moved by its title bar.
  const bar = form2.querySelector('.titlebar');
  bar.addEventListener('pointerdown', (e) => {
    if (e.target.closest('button')) return;
    bar.setPointerCapture(e.pointerId);
    const startX = e.clientX - form2.offsetLeft;
    const startY = e.clientY - form2.offsetTop;
    const move = (m) => {
      form2.style.left = (m.clientX - startX) + 'px';
      form2.style.top = Math.max(0, m.clientY - startY) + 'px';
    };
    bar.addEventListener('pointermove', move);
    bar.addEventListener('pointerup', () => bar.removeEventListener('pointermove', move),
                         { once: true });
  });
}
