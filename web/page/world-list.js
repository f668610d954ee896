// The world ranking's box: the best 100 games, a page of rows at a time,
// each with its rank, name, score and date, and a button that fetches the
// game's replay and plays it on the field as a replay file would. It is a
// modal dialog of the page: the focus stays inside, Esc closes it, and the
// focus goes back to where it was.
import { Ev, post } from './events.js';
import { watchReplay } from './watch.js';

const kShown = 100;
const kPerPage = 20;

const dialog = document.getElementById('worldbox');
const state = dialog.querySelector('.state');
const table = dialog.querySelector('table');
const rows = table.querySelector('tbody');
const earlier = dialog.querySelector('.earlier');
const later = dialog.querySelector('.later');
const closeButton = dialog.querySelector('button[value="close"]');
const dateFormat = new Intl.DateTimeFormat('ja-JP', { dateStyle: 'medium', timeStyle: 'short' });
let offset = 0;
let asked = 0;  // the latest request; older answers are dropped
let wired = false;

const kUnavailable = '世界ランキングは今は使えません（オフラインか、サーバーに接続できません）。';

function dateText(iso) {
  const date = new Date(iso);
  return Number.isNaN(date.getTime()) ? '' : dateFormat.format(date);
}

function rowOf(game) {
  const row = document.createElement('tr');
  for (const text of [`${game.rank}位`, game.name, `${game.score}点`, dateText(game.date)]) {
    const cell = document.createElement('td');
    cell.textContent = text;
    row.appendChild(cell);
  }
  const watch = document.createElement('button');
  watch.type = 'button';
  watch.textContent = '見る';
  watch.setAttribute('aria-label', `${game.rank}位のゲームを見る`);
  watch.addEventListener('click', () => watchGame(game, watch));
  const cell = document.createElement('td');
  cell.appendChild(watch);
  row.appendChild(cell);
  return row;
}

async function load(from) {
  const ask = ++asked;
  offset = from;
  state.textContent = '読み込んでいます…';
  table.setAttribute('aria-busy', 'true');
  let answer = null;
  try {
    const response = await fetch(`/api/v1/ranking?limit=${kPerPage}&offset=${from}`,
                                 { cache: 'no-store', credentials: 'same-origin' });
    if (response.ok) answer = await response.json();
  } catch { /* unreachable: told below */ }
  if (ask !== asked) return;
  table.removeAttribute('aria-busy');
  if (!answer || !Array.isArray(answer.games)) {
    rows.replaceChildren();
    state.textContent = kUnavailable;
    earlier.disabled = true;
    later.disabled = true;
    keepFocus();
    return;
  }
  rows.replaceChildren(...answer.games.slice(0, kPerPage).map(rowOf));
  const total = Math.min(Number(answer.total) || 0, kShown);
  state.textContent = answer.games.length === 0
    ? 'まだ登録されたゲームはありません。'
    : `${from + 1}位から${from + answer.games.length}位まで（上位${total}位のうち）`;
  earlier.disabled = from === 0;
  later.disabled = from + kPerPage >= total;
  keepFocus();
}

// A paging button disabled under the focus would drop it: it goes to the
// other one, or to 閉じる.
function keepFocus() {
  const focused = document.activeElement;
  if (!dialog.open || (dialog.contains(focused) && !focused.disabled)) return;
  (earlier.disabled ? (later.disabled ? closeButton : later) : earlier).focus();
}

async function watchGame(game, button) {
  button.disabled = true;
  let bytes = null;
  try {
    const response = await fetch(`/api/v1/games/${encodeURIComponent(game.id)}/replay`,
                                 { cache: 'no-store', credentials: 'same-origin' });
    if (response.ok) bytes = new Uint8Array(await response.arrayBuffer());
  } catch { /* unreachable: told below */ }
  button.disabled = false;
  if (bytes === null) {
    state.textContent = `${game.rank}位のリプレイを取り寄せられませんでした。${kUnavailable}`;
    return;
  }
  // The box closes first, so that the field takes the focus and the keys.
  dialog.close();
  watchReplay(bytes);
}

export function showWorldRanking(opener) {
  if (!wired) {
    wired = true;
    earlier.addEventListener('click', () => load(Math.max(0, offset - kPerPage)));
    later.addEventListener('click', () => load(offset + kPerPage));
  }
  if (dialog.open) return;
  dialog.addEventListener('close', () => {
    if (opener.isConnected && !opener.hidden) opener.focus();
    else document.getElementById('form1').focus();
  }, { once: true });
  // The box covers the field and takes the keys: a game under way, or a
  // replay, waits paused behind it as behind a hidden tab.
  post(Ev.Hidden);
  rows.replaceChildren();
  dialog.showModal();
  closeButton.focus();
  load(0);
}
