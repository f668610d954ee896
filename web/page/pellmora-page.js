// The page around Pellmora's game module, put together from its parts: the
// field and its keys, the menu buttons, the boxes, the ranking window, the
// score folder, import and export, touch keys, game pads, the whole screen,
// the offline copy and the world ranking. The module's C++ reaches it through
// Module.pellmoraPage (web/Page.cpp); the module's own script is loaded once
// Module is set.
import { nextEvent, requestPaint, runtime } from './events.js';
import * as field from './field.js';
import { nameMenuButton, setUpMenuButtons } from './menu-buttons.js';
import { inputBox, messageBox } from './dialogs.js';
import { addRankingCell, closeRanking, markRankReplays, openRanking, setRankingBox,
         setUpRankingWindow } from './ranking.js';
import { fetchScores, lockScores, mountStorage, tellStorageFault, unlockScores, warmStorage }
  from './storage.js';
import { setUpTouchKeys } from './touch.js';

// The module's code is fetched and compiled at once, while the page's other
// files load and the module's script runs.
const wasmFetch = fetch('pellmora.wasm', { credentials: 'same-origin' });
const wasmModule = WebAssembly.compileStreaming
  ? WebAssembly.compileStreaming(wasmFetch)
  : wasmFetch.then((response) => {
    if (!response.ok) throw new Error(`pellmora.wasm: ${response.status}`);
    return response.arrayBuffer();
  }).then((bytes) => WebAssembly.compile(bytes));
warmStorage();

// The program has ended: the field and the page's buttons go away, and
// "もう一度遊ぶ" starts the page afresh.
function ended(failed) {
  document.getElementById('field-row').hidden = true;
  document.getElementById('tools').hidden = true;
  document.getElementById('keys-line').hidden = true;
  const note = document.getElementById('ended');
  note.hidden = false;
  if (failed) note.firstChild.textContent = 'エラーのためゲームを終了しました。';
  document.title = 'Pellmora';
  document.getElementById('restart').focus();
}

function restart() {
  location.reload();
}

// An imported file's name and bytes, taken by the game one at a time.
function importedName(i) {
  return runtime.imported[i] ? runtime.imported[i].name : '';
}
function importedBytes(i) {
  return runtime.imported[i] ? runtime.imported[i].bytes : new Uint8Array(0);
}

const page = {
  nextEvent, requestPaint,
  uploadPicture: field.uploadPicture, drawPicture: field.drawPicture,
  defineLabel: field.defineLabel, drawLabel: field.drawLabel, drawButton: field.drawButton,
  nameMenuButton, setTitle: field.setTitle, messageBox, inputBox,
  openRanking, addRankingCell, setRankingBox, closeRanking,
  fetchScores, lockScores, unlockScores, ended, restart,
  importedName, importedBytes, markRankReplays,
  shareReplay: (bytes) => import('./share.js').then((m) => m.showShareBox(bytes)),
  lastGameShareable: (yes) => {
    document.getElementById('share-last').hidden = !yes;
    // The world ranking's send goes with "共有" where the page offers it.
    document.getElementById('world-send').hidden =
      !yes || document.getElementById('world-ranking').hidden;
    // More buttons may take another row under the field.
    field.layout();
  },
  sendReplay: (bytes) => import('./world.js').then((m) => m.sendReplay(bytes)),
  watching: (yes) => {
    document.body.classList.toggle('watching', yes);
    // The replay takes the keys: Space must not also press the page button
    // that had the focus.
    if (yes && !field.isModalOpen()) field.canvas.focus();
  },
  // The benchmark's switches and figures (make bench).
  autopilot: false,
  recording: true,
  stats: field.stats,
  noteTick: () => {
    if (field.stats.bench) field.stats.ticks.push(performance.now());
  },
};
const flags = new URLSearchParams(location.search);
page.autopilot = flags.has('autopilot');
// Recording's cost, for the benchmark only.
page.recording = !flags.has('norecord');
field.stats.bench = flags.has('bench');

setUpMenuButtons();
setUpRankingWindow();
setUpTouchKeys();
document.getElementById('restart').addEventListener('click', restart);
field.setUpField();
field.firstFrame.then(() => setTimeout(setUpTheRest, 0));

// What the first frame does not need is fetched once it is drawn, so that
// it does not hold the game's own files and frames back.
function setUpTheRest() {
  import('./transfer.js').then((m) => m.setUpTransfer());
  import('./watch.js').then((m) => m.setUpWatching());
  import('./gamepad.js').then((m) => m.setUpGamepads());
  import('./whole-screen.js').then((m) => m.setUpWholeScreen());
  import('./offline.js').then((m) => m.setUpOffline());
  import('./world.js').then((m) => m.setUpWorldRanking());
}

window.Module = {
  pellmoraPage: page,
  canvas: field.canvas,
  onRuntimeInitialized: function () {
    runtime.module = this;
    performance.mark('pellmora-runtime');
    // The labels' font must be there before the first frame is drawn.
    Promise.all([mountStorage(), document.fonts.load('96px PellmoraGothicSubset')])
      .catch((error) => console.warn('Pellmora: start-up:', error))
      .then(() => {
        performance.mark('pellmora-main');
        runtime.module.callMain([]);
        tellStorageFault();
      });
  },
  instantiateWasm: (imports, receive) => {
    wasmModule.then((module) => WebAssembly.instantiate(module, imports)
      .then((instance) => receive(instance, module)))
      .catch((error) => console.error('Pellmora: the game module did not load:', error));
    return {};
  },
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
};

const script = document.createElement('script');
script.src = 'pellmora.js';
document.body.appendChild(script);
