// Finishes the built site: its version, a hash of every file, goes into the
// service worker with the list of files to keep offline; then every file
// that compresses gets gzip and brotli copies beside it (NAME.gz, NAME.br)
// for servers that send them.
//   node seal-site.mjs SITE_FOLDER SERVICE_WORKER_TEMPLATE FILE...
// (the FILEs named from the site's folder, with "/" between folders)
import { createHash } from 'node:crypto';
import { existsSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const [site, template, ...named] = process.argv.slice(2);
const kWorker = 'sw.js';
// Already compressed.
const kKeptAsIs = /\.(woff2|png)$/;

const files = [...new Set(named)].sort();
const hash = createHash('sha256');
for (const name of files) {
  hash.update(name + '\0');
  hash.update(readFileSync(join(site, name)));
}
const version = hash.digest('hex').slice(0, 16);
writeFileSync(join(site, kWorker), readFileSync(template, 'utf8')
  .replace('@VERSION@', version)
  .replace('@FILES@', JSON.stringify(['./', ...files], null, 2)));

for (const name of [...files, kWorker]) {
  if (kKeptAsIs.test(name)) continue;
  const path = join(site, name);
  const bytes = readFileSync(path);
  for (const copy of [path + '.gz', path + '.br']) if (existsSync(copy)) rmSync(copy);
  const gzip = gzipSync(bytes, { level: 9 });
  if (gzip.length < bytes.length) writeFileSync(path + '.gz', gzip);
  const brotli = brotliCompressSync(bytes, { params: {
    [constants.BROTLI_PARAM_QUALITY]: 11, [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } });
  if (brotli.length < bytes.length) writeFileSync(path + '.br', brotli);
}
console.log(`site version ${version}, ${files.length} files`);
