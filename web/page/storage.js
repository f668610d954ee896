// The score folder in the browser's storage: Emscripten's IDBFS keeps it in
// IndexedDB, and a Web Lock lets one tab at a time save into it. Where the
// browser refuses storage the game goes on with the table in memory; the
// player is told once, and told of every save that does not reach storage.
import { runtime } from './events.js';
import { messageBox } from './dialogs.js';

export const kScoreFolder = '/pellmora';
export const kScoreFile = kScoreFolder + '/HiScore.dat';
// The ranking's replays, in a folder beside the score file: IDBFS keeps
// folders with their files, so it lives in the same storage.
export const kReplayFolder = 'HiScore.replays';
const kScoreLock = 'pellmora-hiscore';
const kTitle = 'Pellmora';
const kNoStorage = 'このブラウザーではサイトのデータを保存できないため、スコアはこのブラウザーに' +
                   '残りません。ランキングはこのページを開いている間だけ続きます。';

let storageWorks = false;
let pendingFailure = null;

// Opening the browser's storage the first time takes a while: begun at
// once, it is ready when the module mounts the score folder.
export function warmStorage() {
  try {
    const warm = indexedDB.open(kScoreFolder);
    warm.onsuccess = () => warm.result.close();
    warm.onerror = (e) => e.preventDefault();
  } catch (error) { /* no storage: the mount says so */ }
}

function syncStorage(populate) {
  if (!storageWorks) return Promise.resolve(null);
  return new Promise((resolve) => {
    runtime.module.FS.syncfs(populate, (error) => {
      if (error) {
        console.warn('Pellmora: the browser storage failed:', error);
        // A connection the browser closed (site data cleared) stays closed:
        // the next sync opens the database afresh.
        const open = runtime.module.FS.filesystems.IDBFS.dbs;
        if (open) delete open[kScoreFolder];
      }
      resolve(error || null);
    });
  });
}

// One tab at a time holds the score file: a Web Lock held until released.
// Without locks (or where the browser refuses them) the tab goes alone.
export function takeLock() {
  return new Promise((acquired) => {
    const alone = () => acquired(() => {});
    if (!navigator.locks || !storageWorks) {
      alone();
      return;
    }
    let granted = false;
    navigator.locks.request(kScoreLock, () => new Promise((done) => {
      granted = true;
      acquired(done);
    })).catch(() => {
      if (!granted) alone();
    });
  });
}

let gameRelease = null;

// The game's look at the folder outside a save: what other tabs stored.
export async function fetchScores() {
  await syncStorage(true);
}

// The game's side: with the lock held, the folder is read afresh from storage.
// Another tab's save takes milliseconds; a longer wait is told below the
// field. Only the game waits: the page goes on answering meanwhile.
export async function lockScores() {
  const note = document.getElementById('save-wait');
  const tell = setTimeout(() => { note.hidden = false; }, 200);
  try {
    gameRelease = await takeLock();
  } finally {
    clearTimeout(tell);
    note.hidden = true;
  }
  await syncStorage(true);
}

// What was written goes to storage; a save that does not get there is told
// as the desktop tells a refused save, and the ranking stays in memory.
export async function unlockScores() {
  let error = null;
  try {
    error = await syncStorage(false);
  } finally {
    const release = gameRelease;
    gameRelease = null;
    if (release) release();
  }
  if (error) {
    await messageBox('ブラウザーの保存領域に書き込めないため、スコアを保存しませんでした（' +
                     describe(error) + '）。ランキングはこのまま続け、次のゲームオーバーで' +
                     'もう一度保存します。', kTitle);
  }
}

function describe(error) {
  return (error && (error.name || error.message)) || String(error);
}

// Tries IndexedDB under the folder: the mount's first fetch fails where the
// browser blocks site data.
export async function mountStorage() {
  const FS = runtime.module.FS;
  FS.mkdir(kScoreFolder);
  storageWorks = typeof indexedDB !== 'undefined';
  if (storageWorks) {
    try {
      FS.mount(FS.filesystems.IDBFS, {}, kScoreFolder);
      if (await syncStorage(true)) throw new Error('the first fetch failed');
    } catch (error) {
      storageWorks = false;
      try { FS.unmount(kScoreFolder); } catch { /* never mounted */ }
    }
  }
  FS.chdir(kScoreFolder);
  if (!storageWorks) {
    pendingFailure = kNoStorage;
    return;
  }
  // Asks the browser not to clear the ranking when it runs short of space.
  if (navigator.storage && navigator.storage.persist) {
    navigator.storage.persist().catch(() => {});
  }
}

// Told once the game's window is up, so that the menu is there behind it.
export function tellStorageFault() {
  if (pendingFailure === null) return;
  const text = pendingFailure;
  pendingFailure = null;
  messageBox(text, kTitle);
}

export function storageKept() {
  return storageWorks;
}
