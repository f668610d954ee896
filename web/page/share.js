// A replay as a link: the file deflated by the browser's CompressionStream
// and written as base64url into the address's fragment (#replay=...), which
// the browser never sends to the server. Opening such a link plays the game.
import { messageBox } from './dialogs.js';

const kKey = 'replay=';
// The largest replay the game reads; a link that inflates beyond it is no
// replay of ours.
const kMaxReplayBytes = 8 << 20;
const kTitle = 'Pellmora';

function toBase64Url(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) {
    throw new Error('リンクの文字が base64url ではありません');
  }
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

async function inflate(bytes) {
  const reader = new Blob([bytes]).stream()
    .pipeThrough(new DecompressionStream('deflate-raw')).getReader();
  const chunks = [];
  let size = 0;
  try {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      size += value.length;
      if (size > kMaxReplayBytes) throw new Error('リンクのリプレイが大きすぎます');
      chunks.push(value);
    }
  } catch (error) {
    reader.cancel().catch(() => {});
    if (error instanceof Error && error.message.startsWith('リンク')) throw error;
    throw new Error('リンクの圧縮されたデータが壊れているか、途中で切れています');
  }
  return new Uint8Array(await new Blob(chunks).arrayBuffer());
}

export async function replayLink(bytes) {
  const packed = new Response(new Blob([bytes]).stream()
    .pipeThrough(new CompressionStream('deflate-raw')));
  const fragment = toBase64Url(new Uint8Array(await packed.arrayBuffer()));
  // The page's own switches (?autopilot) stay behind.
  return location.origin + location.pathname + '#' + kKey + fragment;
}

// The replay a link's fragment carries: null when it carries none; throws
// an Error that tells the player what is wrong with a damaged one.
export async function replayOfFragment(hash) {
  const fragment = hash.replace(/^#/, '');
  if (!fragment.startsWith(kKey)) return null;
  const bytes = fromBase64Url(fragment.slice(kKey.length));
  if (bytes.length === 0) throw new Error('リンクにリプレイが入っていません');
  return inflate(bytes);
}

// The share box: the link to copy, and how long it is.
export async function showShareBox(bytes) {
  const dialog = document.getElementById('sharebox');
  const link = await replayLink(bytes);
  const input = dialog.querySelector('input');
  input.value = link;
  dialog.querySelector('.size').textContent =
    `${link.length.toLocaleString('ja-JP')} 文字。リンクはどこにも送られません。`;
  const before = document.activeElement;
  dialog.addEventListener('close', () => {
    if (before instanceof HTMLElement && before.isConnected && !before.hidden) before.focus();
    else document.getElementById('form1').focus();
  }, { once: true });
  dialog.showModal();
  input.focus();
  input.select();
}

export function setUpShareBox() {
  const dialog = document.getElementById('sharebox');
  dialog.querySelector('.copy').addEventListener('click', (e) => {
    e.preventDefault();
    const input = dialog.querySelector('input');
    input.select();
    if (navigator.clipboard) navigator.clipboard.writeText(input.value).catch(() => {});
  });
}

export async function tellBadLink(error) {
  await messageBox(`このリンクのリプレイは再生できません。${error.message}。`, kTitle);
}
