// The replays of a game played in Chromium, taken out of the page by its
// share link and by the archive export, re-run by the native and the node
// pellmora-sim to the score the page told; and watched in the page: from a
// link and from the ranking, with Space, → and Esc. Damaged links, files
// and archives are told, and the ranking stays.
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { inflateRawSync } from 'node:zlib';

import { check, menuIsUp, sleep, waitFor } from './browser-support.mjs';

// "ok SCORE" from both pellmora-sims, or what they said instead.
export function verifyEverywhere(sims, file) {
  return sims.map((sim) => {
    const run = spawnSync(sim[0], [...sim.slice(1), '--verify', file], { encoding: 'utf8' });
    return `${run.status}:${run.stdout.trim()}`;
  });
}

// Copies with one byte changed: the score the header claims (its last
// digit) and the events' last byte. Neither may verify.
function changedCopies(file, scratch) {
  const bytes = readFileSync(file);
  const claim = bytes.indexOf('\n', bytes.indexOf('\nscore ') + 1) - 1;
  return [claim, bytes.length - 1].map((at, i) => {
    const changed = Buffer.from(bytes);
    changed[at] ^= 0x01;
    const name = join(scratch, `changed${i}.pellmora-replay`);
    writeFileSync(name, changed);
    return name;
  });
}

async function messageText(page) {
  const box = await waitFor('a message', () => page.$('dialog#msgbox[open]'), 10000);
  const text = await box.$eval('.text', (e) => e.textContent);
  await page.keyboard.press('Enter');
  return text;
}

const watching = (page) => page.title().then((t) => t.startsWith('リプレイ再生中'));

// After the game over: "共有" gives a link whose replay both sims re-run to
// the page's score, and which plays the game in the page.
export async function checkSharedGame(page, url, scratch, sims, score) {
  await waitFor('the share button', () => page.$('#share-last:not([hidden])'), 5000);
  await page.click('#share-last');
  const box = await waitFor('the share box', () => page.$('dialog#sharebox[open]'), 5000);
  const link = await box.$eval('input', (e) => e.value);
  await page.keyboard.press('Escape');
  check(link.startsWith(url + '#replay='), `the link carries the replay in its fragment (${link.length} characters)`);
  const file = join(scratch, 'shared.pellmora-replay');
  writeFileSync(file, inflateRawSync(Buffer.from(new URL(link).hash.slice(8), 'base64url')));
  const said = verifyEverywhere(sims, file);
  check(said.every((s) => s === `0:ok ${score}`), `the shared replay verifies natively and under node (${said})`);
  const changed = changedCopies(file, scratch).flatMap((f) => verifyEverywhere(sims, f));
  check(changed.every((s) => /^1:differs at second |^2:$/.test(s)),
        `one byte changed, it does not (${changed})`);

  // The link, opened afresh, plays the game; Space pauses, → speeds up, Esc
  // stops it and the menu comes back with nothing asked.
  await page.goto('about:blank');
  await page.goto(link);
  await waitFor('the replay', () => watching(page), 15000);
  await page.keyboard.press('Space');
  await waitFor('the pause', async () => (await page.title()).includes('一時停止'), 3000);
  await page.keyboard.press('ArrowRight');
  await waitFor('four times as fast', async () => (await page.title()).includes('4倍速'), 3000);
  await page.keyboard.press('Space');
  await waitFor('the replay going on', async () => !(await page.title()).includes('一時停止'), 3000);
  await page.keyboard.press('Escape');
  await waitFor('the menu after the replay', async () => !(await watching(page)) && menuIsUp(page), 5000);
  check(!(await page.$('dialog[open]')), 'a stopped replay asks nothing');
  check(!(await page.evaluate(() => location.hash)), 'the link\'s replay is taken once');

  // A damaged link and a damaged file are told; the game goes on.
  await page.goto(link.slice(0, -40) + '@@@');
  check((await messageText(page)).includes('base64url'), 'a link with foreign characters is told');
  const data = new URL(link).hash.slice(8);
  await page.evaluate((d) => { location.hash = 'replay=' + d; },
                      data.slice(0, Math.floor(data.length / 8) * 4));
  check((await messageText(page)).includes('壊れているか、途中で切れています'), 'a cut link is told');
  const cut = join(scratch, 'cut.pellmora-replay');
  writeFileSync(cut, readFileSync(file).subarray(0, 200));
  await (await page.$('#replay-file')).uploadFile(cut);
  check((await messageText(page)).startsWith('このリプレイは再生できません'), 'a cut replay file is told');
  check(!(await watching(page)) && await menuIsUp(page), 'the menu stays after the bad doors');
}

// With the ranking open: its first row offers the game, and the archive
// carries the table with the replay, which `tar` unpacks and both sims
// verify; a damaged archive is refused by name.
export async function checkKeptGames(page, form2, scratch, sims, score) {
  const row = await form2.$('input.cell.name[data-row="0"]');
  check(await row.evaluate((e) => e.classList.contains('has-replay')) &&
        !(await form2.$('input.cell.name[data-row="1"].has-replay')), 'only the first rank offers a replay');
  await row.click({ button: 'right' });
  await waitFor('the rank menu', () => page.$('#rank-menu:not([hidden])'), 3000);
  await page.click('#rank-menu .watch');
  await waitFor('the rank\'s replay', () => watching(page), 5000);
  await page.keyboard.press('Escape');
  await waitFor('the menu after the replay', async () => !(await watching(page)), 5000);
  await row.click({ button: 'right' });
  await waitFor('the rank menu', () => page.$('#rank-menu:not([hidden])'), 3000);
  await page.click('#rank-menu .share');
  const box = await waitFor('the share box', () => page.$('dialog#sharebox[open]'), 5000);
  const link = await box.$eval('input', (e) => e.value);
  await page.keyboard.press('Escape');

  await page.click('#export-all');
  const archive = join(scratch, 'Pellmora-ranking.tar');
  await waitFor('the archive', () => existsSync(archive), 10000);
  await sleep(200);
  const unpacked = join(scratch, 'unpacked');
  mkdirSync(unpacked);
  const tar = spawnSync('tar', ['-xf', archive, '-C', unpacked], { encoding: 'utf8' });
  check(tar.status === 0, `tar unpacks the archive ${tar.stderr}`);
  const kept = join(unpacked, 'HiScore.replays', 'rank01.pellmora-replay');
  const said = existsSync(kept) ? verifyEverywhere(sims, kept) : ['none'];
  check(said.every((s) => s === `0:ok ${score}`), `the kept replay of rank 1 verifies (${said})`);
  check(existsSync(kept) && inflateRawSync(Buffer.from(new URL(link).hash.slice(8), 'base64url'))
    .equals(readFileSync(kept)), 'the rank\'s "共有" link carries the kept replay byte for byte');
  check(readFileSync(join(unpacked, 'HiScore.dat')).toString('latin1').startsWith(`${score},`),
        'the archive\'s HiScore.dat holds the table');
  return archive;
}

// An archive with a damaged header, and one whose replay is no replay: each
// refused with what is wrong, the stored ranking untouched.
export async function importDamagedArchives(page, archive, scratch) {
  const bytes = readFileSync(archive);
  const header = Buffer.from(bytes);
  header[header.indexOf('HiScore.replays/rank01') + 130] ^= 0x01;
  const foreign = Buffer.from(bytes);
  foreign[foreign.indexOf('PELLMORA-REPLAY')] = 0x58;
  const said = [];
  for (const [name, damaged] of [['header.tar', header], ['foreign.tar', foreign]]) {
    writeFileSync(join(scratch, name), damaged);
    await (await page.$('#import-file')).uploadFile(join(scratch, name));
    // A page that starts afresh took the archive instead of refusing it.
    said.push(await messageText(page).catch((error) => `taken: ${error.message}`));
  }
  check(said[0].includes('見出しが壊れています（チェックサムが合いません）'),
        `a damaged archive header is told (${said[0]})`);
  check(/「HiScore\.replays\/[a-z0-9]+\.pellmora-replay」はリプレイとして読めません/.test(said[1]),
        `an archive's foreign replay is told by name (${said[1]})`);
}

// A three-minute game (the autopilot's, recorded by the native sim) makes
// a link of at most 8 KB through the page's own CompressionStream.
export async function checkLinkSize(page, scratch, sims) {
  const script = join(scratch, 'three-minutes.scn');
  writeFileSync(script, 'wait 1305\nclick Command1\nautopilot on\nwait 180000\nautopilot off\n' +
                        'wait 60000\n');
  const file = join(scratch, 'three-minutes.pellmora-replay');
  spawnSync(sims[0][0], ['--seed', '3', '--record', file, script]);
  const bytes = existsSync(file) ? [...readFileSync(file)] : [];
  const length = await page.evaluate(async (b) => {
    const share = await import(new URL('share.js', location.href).href);
    return (await share.replayLink(new Uint8Array(b))).length;
  }, bytes);
  check(bytes.length > 0 && length <= 8192,
        `a three-minute game's link is at most 8 KB (${bytes.length} bytes, a link of ${length})`);
}

// The archive taken back: the page starts afresh with the table, and the
// first rank offers its game again.
export async function importArchive(page, archive, name, readRanking) {
  await (await page.$('#import-file')).uploadFile(archive);
  await page.waitForNavigation({ timeout: 10000 });
  await waitFor('the menu after the archive', () => menuIsUp(page), 15000);
  const ranking = await readRanking(page);
  check(ranking.names[0] === name && await ranking.form2.$eval(
    'input.cell.name[data-row="0"]', (e) => e.classList.contains('has-replay')),
  'the imported archive brings the table and the first rank\'s replay');
  await ranking.form2.$eval('button.command', (b) => b.click());
}
