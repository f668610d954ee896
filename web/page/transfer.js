// The page's export and import buttons: the stored HiScore.dat downloaded
// byte for byte, or with the ranking's replays as one tar; a chosen file
// (a HiScore.dat or such a tar) handed to the game, which checks every file
// in it as start-up would and starts afresh with them.
import { Ev, post, runtime } from './events.js';
import { confirmBox, messageBox } from './dialogs.js';
import { menuShown } from './menu-buttons.js';
import { kReplayFolder, kScoreFile, kScoreFolder, takeLock, fetchScores } from './storage.js';
import { looksLikeTar, readTar, writeTar } from './tar.js';

const kReplaySuffix = '.pellmora-replay';

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// The score file and the kept replays as [{ name, bytes }], read under the
// tabs' lock so that no save of another tab is half seen.
async function storedFiles(withReplays) {
  const release = await takeLock();
  try {
    await fetchScores();
    const FS = runtime.module.FS;
    const files = [{ name: 'HiScore.dat', bytes: FS.readFile(kScoreFile) }];
    if (!withReplays) return files;
    const folder = kScoreFolder + '/' + kReplayFolder;
    let names = [];
    try {
      // A save's temporary files carry more after the suffix.
      names = FS.readdir(folder).filter((n) => n.endsWith(kReplaySuffix)).sort();
    } catch (error) { /* no replay kept yet */ }
    files.push({ name: kReplayFolder + '/' });
    for (const name of names) {
      files.push({ name: `${kReplayFolder}/${name}`, bytes: FS.readFile(`${folder}/${name}`) });
    }
    return files;
  } catch (error) {
    return null;
  } finally {
    release();
  }
}

async function exportScores() {
  const files = await storedFiles(false);
  if (files) download(new Blob([files[0].bytes], { type: 'application/octet-stream' }), 'HiScore.dat');
}

async function exportWithReplays() {
  const files = await storedFiles(true);
  if (files) download(writeTar(files), 'Pellmora-ranking.tar');
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
  let files = [{ name: 'HiScore.dat', bytes: bytes }];
  if (looksLikeTar(bytes, file.name)) {
    try {
      files = readTar(bytes);
    } catch (error) {
      await messageBox(`「${file.name}」は読み込めません。${error.message}。` +
                       'このファイルは取り込みませんでした。', 'Pellmora');
      return;
    }
  }
  runtime.imported = files;
  post(Ev.Import, files.length);
}

export function setUpTransfer() {
  document.getElementById('export').addEventListener('click', exportScores);
  document.getElementById('export-all').addEventListener('click', exportWithReplays);
  const chooser = document.getElementById('import-file');
  document.getElementById('import').addEventListener('click', () => chooser.click());
  chooser.addEventListener('change', () => {
    const file = chooser.files[0];
    chooser.value = '';
    if (file) importScores(file);
  });
}
