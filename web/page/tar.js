// The ranking with its replays as one file: a POSIX tar (ustar), which any
// tar program unpacks into the desktop game's score folder. Only what the
// ranking needs is written and read: files and folders, short names.
const kBlock = 512;
const kMaxArchiveBytes = 64 << 20;
const encoder = new TextEncoder();
const decoder = new TextDecoder();

function putText(header, at, length, text) {
  header.set(encoder.encode(text).subarray(0, length), at);
}

function putOctal(header, at, length, value) {
  putText(header, at, length, value.toString(8).padStart(length - 1, '0'));
}

function checksum(header) {
  let sum = 0;
  for (let i = 0; i < kBlock; ++i) sum += i >= 148 && i < 156 ? 32 : header[i];
  return sum;
}

function headerOf(name, size, folder, mtime) {
  const header = new Uint8Array(kBlock);
  putText(header, 0, 100, name);
  putOctal(header, 100, 8, folder ? 0o755 : 0o644);
  putOctal(header, 108, 8, 0);
  putOctal(header, 116, 8, 0);
  putOctal(header, 124, 12, size);
  putOctal(header, 136, 12, mtime);
  header[156] = folder ? 0x35 : 0x30;
  putText(header, 257, 8, 'ustar\u000000');
  putOctal(header, 148, 7, checksum(header));
  header[155] = 0x20;
  return header;
}

// entries: [{ name, bytes }], a name ending in "/" a folder.
export function writeTar(entries) {
  const mtime = Math.floor(Date.now() / 1000);
  const parts = [];
  for (const { name, bytes } of entries) {
    const folder = name.endsWith('/');
    const size = folder ? 0 : bytes.length;
    parts.push(headerOf(name, size, folder, mtime));
    if (size > 0) {
      parts.push(bytes);
      if (size % kBlock) parts.push(new Uint8Array(kBlock - size % kBlock));
    }
  }
  parts.push(new Uint8Array(2 * kBlock));
  return new Blob(parts, { type: 'application/x-tar' });
}

export function looksLikeTar(bytes, fileName) {
  if (/\.tar$/i.test(fileName)) return true;
  return bytes.length >= kBlock && decoder.decode(bytes.subarray(257, 262)) === 'ustar';
}

function textField(header, at, length) {
  const field = header.subarray(at, at + length);
  const end = field.indexOf(0);
  return decoder.decode(end < 0 ? field : field.subarray(0, end));
}

function octalField(header, at, length) {
  const text = textField(header, at, length).trim();
  return /^[0-7]+$/.test(text) ? parseInt(text, 8) : NaN;
}

// The files of an archive as [{ name, bytes }]; throws an Error whose
// message tells the player what is wrong with it.
export function readTar(bytes) {
  if (bytes.length > kMaxArchiveBytes) throw new Error('ファイルが大きすぎます');
  if (bytes.length % kBlock !== 0 || bytes.length < 2 * kBlock) {
    throw new Error(`tar の大きさではありません（${bytes.length} バイト）。途中で切れています`);
  }
  const files = [];
  for (let at = 0, n = 1; ; ++n) {
    if (at + kBlock > bytes.length) throw new Error('アーカイブが途中で切れています（終わりの印がありません）');
    const header = bytes.subarray(at, at + kBlock);
    if (header.every((b) => b === 0)) break;
    const stored = octalField(header, 148, 8);
    if (stored !== checksum(header)) throw new Error(`${n} 番目の項目の見出しが壊れています（チェックサムが合いません）`);
    const prefix = textField(header, 345, 155);
    const name = (prefix ? prefix + '/' : '') + textField(header, 0, 100);
    const size = octalField(header, 124, 12);
    if (!Number.isFinite(size)) throw new Error(`「${name}」の大きさが読み取れません`);
    const type = String.fromCharCode(header[156] || 0x30);
    at += kBlock;
    if (at + size > bytes.length) throw new Error(`「${name}」が途中で切れています`);
    if (type === '0' || type === '7') {
      files.push({ name: name.replace(/^(\.\/)+/, ''), bytes: bytes.slice(at, at + size) });
    } else if (type !== '5') {
      throw new Error(`「${name}」は普通のファイルではありません（種類 ${type}）`);
    }
    at += Math.ceil(size / kBlock) * kBlock;
  }
  return files;
}
