// The doors to watching and sharing a game: a replay file opened with
// "リプレイを開く", a link's fragment, the ranking's rows (a right-click, a
// long touch or the context-menu key on a rank with a replay), the world
// ranking's rows and "共有" for the game just played. The game checks every replay before it plays.
import { Ev, post, runtime } from './events.js';
import { replayOfFragment, setUpShareBox, tellBadLink } from './share.js';

const rankMenu = document.getElementById('rank-menu');
let menuRank = 0;

// Plays a replay's bytes on the field once the game has checked them.
export function watchReplay(bytes) {
  const copy = runtime.module._malloc(Math.max(1, bytes.length));
  runtime.module.HEAPU8.set(bytes, copy);
  post(Ev.WatchFile, copy, bytes.length);
}

async function watchFragment() {
  const hash = location.hash;
  let bytes = null;
  try {
    bytes = await replayOfFragment(hash);
  } catch (error) {
    history.replaceState(null, '', location.pathname + location.search);
    await tellBadLink(error);
    return;
  }
  if (bytes === null) return;
  // Taken once: a reload plays no replay again.
  history.replaceState(null, '', location.pathname + location.search);
  watchReplay(bytes);
}

function closeRankMenu() {
  if (rankMenu.hidden) return;
  rankMenu.hidden = true;
  if (rankMenu.contains(document.activeElement)) document.getElementById('form1').focus();
}

function openRankMenu(e) {
  const cell = e.target instanceof Element && e.target.closest('.cell.has-replay[data-row]');
  if (!cell) return;
  e.preventDefault();
  menuRank = Number(cell.dataset.row) + 1;
  const box = cell.getBoundingClientRect();
  rankMenu.style.left = (e.clientX || box.left) + 'px';
  rankMenu.style.top = (e.clientY || box.bottom) + 'px';
  rankMenu.hidden = false;
  rankMenu.querySelector('button').focus();
}

export function setUpWatching() {
  setUpShareBox();
  const chooser = document.getElementById('replay-file');
  document.getElementById('open-replay').addEventListener('click', () => chooser.click());
  chooser.addEventListener('change', async () => {
    const file = chooser.files[0];
    chooser.value = '';
    if (file) watchReplay(new Uint8Array(await file.arrayBuffer()));
  });
  document.getElementById('share-last').addEventListener('click', () => post(Ev.ShareLast));

  document.getElementById('form2').addEventListener('contextmenu', openRankMenu);
  rankMenu.querySelector('.watch').addEventListener('click', () => {
    closeRankMenu();
    document.getElementById('form1').focus();
    post(Ev.WatchRank, menuRank);
  });
  rankMenu.querySelector('.share').addEventListener('click', () => {
    closeRankMenu();
    post(Ev.ShareRank, menuRank);
  });
  rankMenu.addEventListener('keydown', (e) => {
    if (e.key === 'Escape') closeRankMenu();
  });
  rankMenu.addEventListener('focusout', (e) => {
    if (!rankMenu.contains(e.relatedTarget)) closeRankMenu();
  });
  window.addEventListener('pointerdown', (e) => {
    if (!rankMenu.contains(e.target)) closeRankMenu();
  });

  window.addEventListener('hashchange', watchFragment);
  watchFragment();
}
