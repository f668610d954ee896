// The world ranking, when the page comes from a ranking server: the page
// asks the server what it is once at start, and only a ranking server's
// answer brings "世界ランキング" and "世界ランキングに送る". A plain file
// server answers 404 and the page stays as it was. Nothing is sent unless
// the player presses the button; the send runs beside the game, which never
// waits for it, and its answer is told in a live region.
import { Ev, post } from './events.js';
import { layout } from './field.js';

const kInfo = '/api/v1/info';
const kGames = '/api/v1/games';
const kServer = 'pellmora-ranking-server';
// A page kept offline by the service worker cannot ask the server; it
// remembers that its address had one, so as to say the ranking is out of
// reach rather than hide it.
const kRemembered = 'pellmora-world-ranking';

const sendButton = document.getElementById('world-send');
const status = document.getElementById('world-status');

function remember(yes) {
  try {
    if (yes) localStorage.setItem(kRemembered, '1');
    else localStorage.removeItem(kRemembered);
  } catch { /* site data blocked: nothing is remembered */ }
}

function remembered() {
  try {
    return localStorage.getItem(kRemembered) === '1';
  } catch {
    return false;
  }
}

// True when the page's own server is a ranking server; null when it could
// not be reached.
async function askServer() {
  let response;
  try {
    response = await fetch(kInfo, { cache: 'no-store', credentials: 'same-origin' });
  } catch {
    return null;
  }
  if (!response.ok) return false;
  try {
    const info = await response.json();
    return info !== null && info.server === kServer && Array.isArray(info.rules);
  } catch {
    return false;
  }
}

function tell(text) {
  status.textContent = text;
}

function retryText(response) {
  const seconds = Number.parseInt(response.headers.get('Retry-After') || '', 10);
  return Number.isFinite(seconds) && seconds >= 0
    ? `${seconds}秒後にもう一度送ってください。`
    : 'しばらくしてからもう一度送ってください。';
}

// The server's reasons, told in the page's words; a reason the page does
// not know yet is shown as the server wrote it.
const kReasons = {
  differs: (body) => `${body.second}秒目から記録と違うゲームになりました`,
  scripted: () => '乱数を決めて遊んだゲームは登録できません',
  damaged: () => 'リプレイが壊れています',
  'too-large': () => 'リプレイが大きすぎます',
  'too-slow': () => '確かめるのに時間がかかりすぎました',
  'taken-down': () => 'このゲームはランキングから外されています',
  rules: () => 'このサーバーとはルールの版が違います',
};

async function reasonOf(response) {
  try {
    const body = await response.json();
    if (body && Object.hasOwn(kReasons, body.reason)) return kReasons[body.reason](body);
    if (body && typeof body.error === 'string' && body.error) return body.error;
  } catch { /* no JSON: the status says it */ }
  return `答え ${response.status}`;
}

// What the server's answer means for the player.
async function answerText(response) {
  const code = response.status;
  if (code === 201 || code === 200) {
    const game = await response.json();
    if (code === 201) return `世界ランキングに登録しました。${game.rank}位、${game.score}点です。`;
    if (game.duplicate) return `このゲームは世界ランキングに登録済みです。${game.rank}位です。`;
  }
  if (code === 422 || code === 409) {
    return `世界ランキングに受け付けられませんでした（${await reasonOf(response)}）。`;
  }
  if (code === 429 || code === 503) {
    return `世界ランキングのサーバーが混み合っています。${retryText(response)}`;
  }
  return `世界ランキングに送れませんでした（${await reasonOf(response)}）。`;
}

// The last game's replay from the game (empty when there is none).
export async function sendReplay(bytes) {
  if (bytes.length === 0) {
    tell('世界ランキングに送れるゲームがまだありません。');
    sendButton.disabled = false;
    return;
  }
  tell('世界ランキングに送っています…');
  try {
    const response = await fetch(kGames, {
      method: 'POST',
      headers: { 'Content-Type': 'application/x-pellmora-replay' },
      body: bytes,
      cache: 'no-store',
      credentials: 'same-origin',
    });
    tell(await answerText(response));
  } catch {
    tell('世界ランキングのサーバーに接続できませんでした。オフラインかもしれません。');
  } finally {
    sendButton.disabled = false;
  }
}

export async function setUpWorldRanking() {
  const answer = await askServer();
  if (answer !== null) remember(answer);
  if (!(answer === true || (answer === null && remembered()))) return;
  const open = document.getElementById('world-ranking');
  open.hidden = false;
  open.addEventListener('click', () => {
    import('./world-list.js').then((m) => m.showWorldRanking(open));
  });
  sendButton.addEventListener('click', () => {
    sendButton.disabled = true;
    post(Ev.SendLast);
  });
  // Beside "共有", when there is a game to send (pellmora-page.js).
  sendButton.hidden = document.getElementById('share-last').hidden;
  layout();
}
