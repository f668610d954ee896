// The page around Pellmora's game module: the canvas and its scaling, the
// keys and the pointer, the dialogs, the ranking window, the touch keys, the
// score folder in IndexedDB and the export and import buttons. The module's
// C++ reaches this through Module.pellmoraPage (web/Page.cpp).
'use strict';

var Module = (function () {
  const kFieldWidth = 640;
  const kFieldHeight = 480;
  const kScoreFolder = '/pellmora';
  const kScoreFile = kScoreFolder + '/HiScore.dat';
  const kScoreLock = 'pellmora-hiscore';
  const kIconPicture = 13;  // PictureId::Icon of web/Canvas.h

  // The event kinds of web/Page.h.
  const Ev = {
    TimeReached: 0, KeyDown: 1, KeyUp: 2, PointerDown: 3, PointerUp: 4, FocusLost: 5,
    Hidden: 6, Paint: 7, RankingClose: 8, RankingClosed: 9, Import: 10,
  };

  // The module's code is fetched at once, while the module's script loads.
  const wasmBytes = fetch('pellmora.wasm', { credentials: 'same-origin' }).then((response) => {
    if (!response.ok) throw new Error(`pellmora.wasm: ${response.status}`);
    return response.arrayBuffer();
  });

  // Opening the browser's storage the first time takes a while: begun now,
  // it is ready when the module mounts the score folder.
  try {
    const warm = indexedDB.open(kScoreFolder);
    warm.onsuccess = () => warm.result.close();
  } catch (error) { /* no storage: the mount says so */ }

  const canvas = document.getElementById('form1');
  const ctx = canvas.getContext('2d', { alpha: false });
  // Pictures stretched (the paddles) keep hard pixel edges.
  ctx.imageSmoothingEnabled = false;
  const pictures = [];
  const labels = [];
  let moduleRef = null;

  // ---- Events, handed to the game's loop one at a time --------------------

  const queue = [];
  let waiter = null;

  function post(kind, a, b) {
    queue.push({ kind: kind, a: a | 0, b: b | 0 });
    if (waiter !== null) {
      const w = waiter;
      waiter = null;
      clearTimeout(w.timer);
      w.resolve(queue.shift());
    }
  }

  // The next event, or TimeReached at `due` on performance.now()'s clock.
  function nextEvent(due) {
    if (queue.length > 0) return Promise.resolve(queue.shift());
    return new Promise((resolve) => {
      const w = { resolve: resolve, timer: 0 };
      if (Number.isFinite(due)) {
        w.timer = setTimeout(() => {
          if (waiter !== w) return;
          waiter = null;
          resolve({ kind: Ev.TimeReached, a: 0, b: 0 });
        // Rounded up: a browser takes whole milliseconds, and a wake-up
        // before the due time would cost a second, clamped, wait.
        }, Math.max(0, Math.ceil(due - performance.now())));
      }
      waiter = w;
    });
  }

  let paintAsked = false;
  function requestPaint() {
    if (paintAsked) return;
    paintAsked = true;
    requestAnimationFrame(() => {
      paintAsked = false;
      post(Ev.Paint);
    });
  }

  // ---- Drawing --------------------------------------------------------------

  function uploadPicture(id, bytes, width, height) {
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

  function drawPicture(id, x, y, w, h) {
    if (page.stats.firstFrame === null) page.stats.firstFrame = performance.now();
    const picture = pictures[id];
    if (picture) ctx.drawImage(picture, x, y, w, h);
  }

  function defineLabel(id, text, font) {
    if (id === 0) performance.mark('pellmora-labels');
    labels[id] = { text: text, font: font, metrics: null };
  }

  // Centred in the label's rectangle by the text's advance and line height,
  // as the desktop lays out a label; black lettering only.
  function drawLabel(id, x, y, w, h) {
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

  function drawButton(n, x, y, w, h, pressed) {
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
  }

  function setTitle(title) {
    document.title = title;
  }

  // The field as large as the window allows: a whole number of device pixels
  // per game pixel where that fits, otherwise shrunk to fit.
  function layout() {
    const dpr = window.devicePixelRatio || 1;
    let spareWidth = 24;
    for (const pad of document.querySelectorAll('.touch-pad')) {
      if (!pad.hidden) spareWidth += pad.offsetWidth + 12;
    }
    const tools = document.getElementById('tools');
    const availWidth = Math.max(1, window.innerWidth - spareWidth);
    const availHeight = Math.max(1, window.innerHeight - tools.offsetHeight - 24);
    const factor = Math.floor(Math.min(availWidth * dpr / kFieldWidth, availHeight * dpr / kFieldHeight));
    const scale = factor >= 1 ? factor / dpr
                              : Math.min(availWidth / kFieldWidth, availHeight / kFieldHeight);
    canvas.style.width = (kFieldWidth * scale) + 'px';
    canvas.style.height = (kFieldHeight * scale) + 'px';
  }

  // ---- Keys and pointer -----------------------------------------------------

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

  function isModalOpen() {
    return document.querySelector('dialog[open]') !== null;
  }

  window.addEventListener('keydown', (e) => {
    const code = virtualKeyOf(e);
    if (code === 0 || !belongsToGame(e.target) || isModalOpen()) return;
    // The arrows and Space would scroll the page.
    if (code >= 37 && code <= 40 || code === 32 || code === 27) e.preventDefault();
    post(Ev.KeyDown, code, e.repeat ? 1 : 0);
  });
  window.addEventListener('keyup', (e) => {
    const code = virtualKeyOf(e);
    if (code !== 0) post(Ev.KeyUp, code, 0);
  });
  window.addEventListener('blur', () => post(Ev.FocusLost));
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) post(Ev.Hidden);
  });

  function fieldPoint(e) {
    const rect = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - rect.left) * kFieldWidth / rect.width),
            Math.floor((e.clientY - rect.top) * kFieldHeight / rect.height)];
  }
  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    canvas.focus();
    canvas.setPointerCapture(e.pointerId);
    const p = fieldPoint(e);
    post(Ev.PointerDown, p[0], p[1]);
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.button !== 0) return;
    const p = fieldPoint(e);
    post(Ev.PointerUp, p[0], p[1]);
  });
  canvas.addEventListener('pointercancel', () => post(Ev.PointerUp, -1, -1));

  // On-screen keys: held while touched, like the arrow keys; the pause key
  // is one Esc.
  function setUpTouchKeys() {
    for (const key of document.querySelectorAll('.touch-key')) {
      const code = Number(key.dataset.key);
      const release = () => {
        if (!key.classList.contains('held')) return;
        key.classList.remove('held');
        post(Ev.KeyUp, code, 0);
      };
      key.addEventListener('pointerdown', (e) => {
        e.preventDefault();
        key.setPointerCapture(e.pointerId);
        key.classList.add('held');
        if (!isModalOpen()) post(Ev.KeyDown, code, 0);
      });
      key.addEventListener('pointerup', release);
      key.addEventListener('pointercancel', release);
      key.addEventListener('lostpointercapture', release);
      key.addEventListener('contextmenu', (e) => e.preventDefault());
    }
  }
  function showTouchKeys() {
    for (const pad of document.querySelectorAll('.touch-pad')) pad.hidden = false;
    layout();
  }

  // ---- Boxes ------------------------------------------------------------------

  function openBox(dialog, title, text) {
    dialog.querySelector('.title').textContent = title;
    dialog.querySelector('.text').textContent = text;
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(dialog.returnValue), { once: true });
      dialog.returnValue = '';
      dialog.showModal();
    });
  }

  async function messageBox(text, title) {
    await openBox(document.getElementById('msgbox'), title, text);
    canvas.focus();
  }

  // The typed text, or null when cancelled (Esc, キャンセル).
  async function inputBox(prompt, title) {
    const dialog = document.getElementById('inputbox');
    const input = dialog.querySelector('input');
    input.value = '';
    const shown = openBox(dialog, title, prompt);
    input.focus();
    const answer = await shown;
    canvas.focus();
    return answer === 'ok' ? input.value : null;
  }

  // ---- The ranking window -----------------------------------------------------

  const form2 = document.getElementById('form2');
  const boxes = [[], []];  // names, scores

  function cssColor(rgb) {
    return '#' + (rgb >>> 0).toString(16).padStart(6, '0');
  }

  function openRanking(caption, width, height, closeText, cl, ct, cw, ch, closeBack) {
    if (!form2.hidden) {
      // Asked for again while open: the same window comes to the front.
      form2.querySelector('.close').focus();
      return;
    }
    form2.querySelector('.title').textContent = caption;
    const client = form2.querySelector('.client');
    for (const old of client.querySelectorAll('.cell')) old.remove();
    boxes[0] = [];
    boxes[1] = [];
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
    form2.hidden = false;
    if (!form2.dataset.placed) {
      form2.dataset.placed = '1';
      form2.style.left = Math.max(0, (window.innerWidth - form2.offsetWidth) / 2) + 'px';
      form2.style.top = Math.max(0, (window.innerHeight - form2.offsetHeight) / 2) + 'px';
    }
  }

  function place(element, left, top, width, height) {
    element.style.left = left + 'px';
    element.style.top = top + 'px';
    element.style.width = width + 'px';
    element.style.height = height + 'px';
  }

  const kCellClasses = ['rank', 'name', 'score', 'unit'];

  function addRankingCell(kind, row, left, top, width, height, family, size, bold, back, text) {
    const client = form2.querySelector('.client');
    let cell;
    if (kind === 1 || kind === 2) {
      cell = document.createElement('input');
      cell.type = 'text';
      // Nothing typed into the ranking is read back: the boxes only show it.
      cell.readOnly = true;
      cell.value = text;
      boxes[kind - 1][row] = cell;
    } else {
      cell = document.createElement('div');
      cell.textContent = text;
      cell.style.background = cssColor(back);
    }
    cell.className = 'cell ' + kCellClasses[kind];
    place(cell, left, top, width, height);
    cell.style.font = (bold ? 'bold ' : '') + size + 'px ' + family;
    client.insertBefore(cell, client.querySelector('.command'));
  }

  function setRankingBox(column, row, text, visible, left, top, width, height) {
    const box = boxes[column][row];
    if (!box) return;
    if (box.value !== text) {
      box.value = text;
      box.setSelectionRange(0, 0);
    }
    place(box, left, top, width, height);
    box.hidden = !visible;
  }

  function closeRanking() {
    form2.hidden = true;
  }

  function setUpRankingWindow() {
    form2.querySelector('.close').addEventListener('click', () => post(Ev.RankingClosed));
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

  // ---- The score folder in IndexedDB ------------------------------------------

  function syncStorage(populate) {
    return new Promise((resolve) => {
      moduleRef.FS.syncfs(populate, (error) => {
        if (error) console.warn('Pellmora: the browser storage failed:', error);
        resolve();
      });
    });
  }

  // One tab at a time holds the score file: a Web Lock held until released.
  function takeLock() {
    return new Promise((acquired) => {
      if (!navigator.locks) {
        acquired(() => {});
        return;
      }
      navigator.locks.request(kScoreLock, () => new Promise((done) => acquired(done)));
    });
  }

  let gameRelease = null;

  // The game's look at the folder outside a save: what other tabs stored.
  function fetchScores() {
    return syncStorage(true);
  }

  // The game's side: with the lock held, the folder is read afresh from storage.
  // Another tab's save takes milliseconds; a longer wait is told below the
  // field. Only the game waits: the page goes on answering meanwhile.
  async function lockScores() {
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
  async function unlockScores() {
    try {
      await syncStorage(false);
    } finally {
      const release = gameRelease;
      gameRelease = null;
      if (release) release();
    }
  }

  async function mountStorage() {
    const FS = moduleRef.FS;
    FS.mkdir(kScoreFolder);
    FS.mount(FS.filesystems.IDBFS, {}, kScoreFolder);
    FS.chdir(kScoreFolder);
    await syncStorage(true);
    // Asks the browser not to clear the ranking when it runs short of space.
    if (navigator.storage && navigator.storage.persist) {
      navigator.storage.persist().catch(() => {});
    }
  }

  async function exportScores() {
    const release = await takeLock();
    let bytes = null;
    try {
      await syncStorage(true);
      bytes = moduleRef.FS.readFile(kScoreFile);
    } catch (error) {
      bytes = null;
    } finally {
      release();
    }
    if (bytes === null) return;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = 'HiScore.dat';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  // The chosen file goes to the game, which checks it as start-up would.
  async function importScores(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const copy = moduleRef._malloc(Math.max(1, bytes.length));
    moduleRef.HEAPU8.set(bytes, copy);
    post(Ev.Import, copy, bytes.length);
  }

  function setUpTools() {
    document.getElementById('export').addEventListener('click', exportScores);
    const chooser = document.getElementById('import-file');
    document.getElementById('import').addEventListener('click', () => chooser.click());
    chooser.addEventListener('change', () => {
      const file = chooser.files[0];
      chooser.value = '';
      if (file) importScores(file);
    });
    document.getElementById('restart').addEventListener('click', () => location.reload());
  }

  // ---- The end of the program --------------------------------------------------

  function ended(failed) {
    document.getElementById('field-row').hidden = true;
    document.getElementById('tools').hidden = true;
    const note = document.getElementById('ended');
    note.hidden = false;
    if (failed) note.firstChild.textContent = 'エラーのためゲームを終了しました。';
    document.title = 'Pellmora';
  }

  function restart() {
    location.reload();
  }

  // ---- Start-up ------------------------------------------------------------------

  const page = {
    nextEvent, requestPaint, uploadPicture, drawPicture, defineLabel, drawLabel, drawButton,
    setTitle, messageBox, inputBox, openRanking, addRankingCell, setRankingBox, closeRanking,
    fetchScores, lockScores, unlockScores, ended, restart,
    // The benchmark's switches and figures (make bench).
    autopilot: false,
    stats: { bench: false, ticks: [], firstFrame: null },
    noteTick: () => {
      if (page.stats.bench) page.stats.ticks.push(performance.now());
    },
  };
  const flags = new URLSearchParams(location.search);
  page.autopilot = flags.has('autopilot');
  page.stats.bench = flags.has('bench');

  setUpTouchKeys();
  setUpRankingWindow();
  setUpTools();
  if (window.matchMedia && window.matchMedia('(pointer: coarse)').matches) showTouchKeys();
  window.addEventListener('touchstart', showTouchKeys, { once: true, passive: true });
  window.addEventListener('resize', layout);
  layout();
  canvas.focus();

  return {
    pellmoraPage: page,
    canvas: canvas,
    onRuntimeInitialized: function () {
      moduleRef = this;
      performance.mark('pellmora-runtime');
      // The labels' font must be there before the first frame is drawn.
      Promise.all([mountStorage(), document.fonts.load('96px PellmoraGothicSubset')])
        .catch((error) => console.warn('Pellmora: start-up:', error))
        .then(() => {
          performance.mark('pellmora-main');
          moduleRef.callMain([]);
        });
    },
    instantiateWasm: (imports, receive) => {
      wasmBytes.then((bytes) => WebAssembly.instantiate(bytes, imports))
        .then((result) => receive(result.instance, result.module))
        .catch((error) => console.error('Pellmora: the game module did not load:', error));
      return {};
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  };
})();
