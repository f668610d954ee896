// The built site's own files, without a browser: the service worker lists
// every file of the site and no other, its version changes with any byte of
// them; each compressed copy gives back its file byte for byte; the
// manifest's icons are the game's icon enlarged pixel for pixel.
//   node site-files.mjs SITE_DIR
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync }
  from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';

import { readPng } from './png.mjs';

const site = process.argv[2];
if (!site || !existsSync(join(site, 'sw.js'))) {
  console.log(`skipped: no site at ${site} (make web builds it)`);
  process.exit(77);
}
const source = fileURLToPath(new URL('../../', import.meta.url));
let failures = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures += 1;
};

const worker = (folder) => readFileSync(join(folder, 'sw.js'), 'utf8');
const listed = JSON.parse(/const kFiles = (\[[^\]]*\]);/.exec(worker(site))[1]);
const onDisk = readdirSync(site, { recursive: true }).map(String)
  .filter((name) => !/\.(gz|br)$/.test(name) && name !== 'sw.js' && name !== 'fonts');
check(JSON.stringify(listed.filter((n) => n !== './').sort()) === JSON.stringify(onDisk.sort()),
      `the service worker keeps every file of the site (${listed.length - 1})`);

let copies = 0;
for (const name of [...onDisk, 'sw.js']) {
  const bytes = readFileSync(join(site, name));
  for (const [suffix, inflate] of [['.gz', gunzipSync], ['.br', brotliDecompressSync]]) {
    if (!existsSync(join(site, name + suffix))) continue;
    copies += 1;
    check(inflate(readFileSync(join(site, name + suffix))).equals(bytes), `${name}${suffix}`);
  }
}
check(['index.html', 'pellmora.js', 'pellmora.wasm', 'field.js'].every(
  (n) => existsSync(join(site, n + '.gz')) && existsSync(join(site, n + '.br'))),
      `the page and the module have both copies (${copies} copies in all)`);

// Two small files sealed again and again: the same bytes give the same
// version, one byte more another.
const version = (folder) => /const kVersion = '([0-9a-f]+)'/.exec(worker(folder))[1];
const copy = mkdtempSync(join(tmpdir(), 'pellmora-site-'));
try {
  for (const name of ['ranking.js', 'events.js']) cpSync(join(site, name), join(copy, name));
  const seal = () => {
    execFileSync(process.execPath, [join(source, 'web/seal-site.mjs'), copy,
      join(source, 'web/service-worker.js.in'), 'ranking.js', 'events.js']);
    return version(copy);
  };
  const first = seal();
  check(seal() === first, 'the same files seal to the same version');
  writeFileSync(join(copy, 'ranking.js'), readFileSync(join(site, 'ranking.js'), 'utf8') + ' ');
  check(seal() !== first, 'one changed file seals to another version');
} finally {
  rmSync(copy, { recursive: true, force: true });
}

const icon = readPng(join(source, 'assets/icon.png'));
for (const size of [192, 512]) {
  const big = readPng(join(site, `icon-${size}.png`));
  let same = big.width === size && big.height === size;
  const k = size / icon.width;
  for (let i = 0; same && i < size * size; ++i) {
    const from = (Math.floor(Math.floor(i / size) / k) * icon.width + Math.floor((i % size) / k));
    same = big.rgba.readUInt32BE(i * 4) === icon.rgba.readUInt32BE(from * 4);
  }
  check(same, `icon-${size}.png is icon.png enlarged pixel for pixel`);
}
console.log(failures === 0 ? 'site files passed' : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
