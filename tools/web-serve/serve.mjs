// A static file server for the web build, on loopback only. Where the build
// wrote a compressed copy beside a file (NAME.br, NAME.gz) and the browser
// takes that encoding, the copy is sent.
//   node serve.mjs SITE_DIR [PORT]   (PORT 0 picks a free one)
// Prints "Serving SITE_DIR at http://127.0.0.1:PORT/" once it listens.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.ttf': 'font/ttf',
  '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
  '.dat': 'application/octet-stream',
  '.webmanifest': 'application/manifest+json',
};

const kEncodings = [['br', '.br'], ['gzip', '.gz']];

async function compressedCopy(file, accepted) {
  for (const [encoding, suffix] of kEncodings) {
    if (!accepted.includes(encoding)) continue;
    try {
      return { encoding, body: await readFile(file + suffix) };
    } catch { /* no such copy */ }
  }
  return null;
}

export function serveSite(root, port = 0) {
  const base = resolve(root);
  const server = createServer(async (request, response) => {
    try {
      const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
      let file = normalize(join(base, path));
      if (file !== base && !file.startsWith(base + sep)) throw new Error('outside');
      if ((await stat(file)).isDirectory()) file = join(file, 'index.html');
      const accepted = String(request.headers['accept-encoding'] || '').split(/\s*,\s*/)
        .map((e) => e.split(';')[0]);
      const copy = await compressedCopy(file, accepted);
      const body = copy ? copy.body : await readFile(file);
      const headers = {
        'Content-Type': kTypes[extname(file)] || 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-cache',
        'Vary': 'Accept-Encoding',
      };
      if (copy) headers['Content-Encoding'] = copy.encoding;
      response.writeHead(200, headers);
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found\n');
    }
  });
  return new Promise((resolvePromise, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolvePromise(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [root, port = '8080'] = process.argv.slice(2);
  if (!root) {
    console.error('usage: node serve.mjs SITE_DIR [PORT]');
    process.exit(2);
  }
  const server = await serveSite(root, Number(port));
  console.log(`Serving ${root} at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}
