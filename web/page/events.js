// The page's events, handed to the game's loop one at a time, oldest first.
// Every other part of the page posts into this queue; web/Page.cpp takes
// from it.

// The event kinds of web/Page.h.
export const Ev = {
  TimeReached: 0, KeyDown: 1, KeyUp: 2, PointerDown: 3, PointerUp: 4, FocusLost: 5,
  Hidden: 6, Paint: 7, RankingClose: 8, RankingClosed: 9, Import: 10, WatchFile: 11,
  WatchRank: 12, ShareRank: 13, ShareLast: 14, SendLast: 15,
};

// The game module once it runs: its file system, heap and malloc; and the
// files of an import, until the game has taken them.
export const runtime = { module: null, imported: [] };

const queue = [];
let waiter = null;

export function post(kind, a, b) {
  queue.push({ kind: kind, a: a | 0, b: b | 0 });
  if (waiter !== null) {
    const w = waiter;
    waiter = null;
    clearTimeout(w.timer);
    w.resolve(queue.shift());
  }
}

// The next event, or TimeReached at `due` on performance.now()'s clock.
export function nextEvent(due) {
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
export function requestPaint() {
  if (paintAsked) return;
  paintAsked = true;
  requestAnimationFrame(() => {
    paintAsked = false;
    post(Ev.Paint);
  });
}
