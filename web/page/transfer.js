// The page's export and import buttons: the stored HiScore.dat downloaded
// byte for byte, and a chosen file handed to the game, which checks it as
// start-up would and starts afresh with it.
import { Ev, post, runtime } from './events.js';
import { confirmBox } from './dialogs.js';
import { menuShown } from './menu-buttons.js';
import { kScoreFile, takeLock, fetchScores } from './storage.js';

async function exportScores() {
  const release = await takeLock();
  let bytes = null;
  try {
    await fetchScores();
    bytes = runtime.module.FS.readFile(kScoreFile);
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

// A game under way is paused (as a hidden tab pauses it) and kept unless the
// player agrees to end it.
async function importScores(file) {
  if (!menuShown()) {
    post(Ev.Hidden);
    const agreed = await confirmBox(
      '読み込むと、いまのゲームは終わり、ゲームを最初から始めます。読み込みますか？', 'Pellmora');
    if (!agreed) return;
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  const copy = runtime.module._malloc(Math.max(1, bytes.length));
  runtime.module.HEAPU8.set(bytes, copy);
  post(Ev.Import, copy, bytes.length);
}

export function setUpTransfer() {
  document.getElementById('export').addEventListener('click', exportScores);
  const chooser = document.getElementById('import-file');
  document.getElementById('import').addEventListener('click', () => chooser.click());
  chooser.addEventListener('change', () => {
    const file = chooser.files[0];
    chooser.value = '';
    if (file) importScores(file);
  });
}
