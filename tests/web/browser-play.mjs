// One game in the browser build, in Debian's Chromium driven by puppeteer-core:
// the menu comes up, a game is played until the ball is lost with a score,
// a hidden tab pauses it, the name is entered in the input box, the page is
// reloaded and the ranking window shows the name, the exported HiScore.dat
// holds the table, and importing refuses a damaged file and takes a good one.
// The game's replay leaves the page by its share link and by the archive
// export, and both pellmora-sims re-run it to the score (browser-replays.mjs).
// Served by a plain file server the page offers no world ranking; served by
// the ranking server it does (browser-world.mjs).
//   node browser-play.mjs SITE_DIR NATIVE_SIM NODE_SIM_JS RANKING_SERVER
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { readPng } from './png.mjs';
import { checkKeptGames, checkLinkSize, checkSharedGame, importArchive, importDamagedArchives }
  from './browser-replays.mjs';
import { check, clickField, enterName, menuIsUp, openGame, playUntilScored, readField,
         readRanking, runBrowserTest, sleep, waitFor } from './browser-support.mjs';
import { checkWorldRanking } from './browser-world.mjs';

const kName = 'Web';

async function setHidden(page, hidden) {
  await page.evaluate((value) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => value });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

const sims = [[process.argv[3]], ['node', process.argv[4]]];

await runBrowserTest(process.argv[2], async ({ browser, url, scratch }) => {
  check(existsSync(process.argv[3] || '') && existsSync(process.argv[4] || ''),
        'both pellmora-sims are there to verify the replays');
  const page = await openGame(browser, url);
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
  check(await page.title() === 'Pellmora', 'the tab shows the caption "Pellmora" at the menu');
  check(await page.$eval('#form1', (c) => c.getBoundingClientRect().width) === 640,
        'the field is shown at a whole factor (1 in a 900 x 700 window)');

  // The same pictures as the desktop's, pixel for pixel: the background
  // tile repeated (here the bottom-right corner, clear of the menu) and the
  // start button's picture inside its button.
  const assets = fileURLToPath(new URL('../../assets/', import.meta.url));
  const canvasPixels = (x, y, w, h) => page.evaluate((a, b, c, d) => Array.from(
    document.getElementById('form1').getContext('2d').getImageData(a, b, c, d).data), x, y, w, h);
  const tile = readPng(join(assets, 'background-tile.png'));
  const corner = await canvasPixels(624, 464, 16, 16);
  let tileMatches = true;
  for (let y = 0; y < 16; ++y) {
    for (let x = 0; x < 16; ++x) {
      for (let k = 0; k < 4; ++k) {
        if (corner[(y * 16 + x) * 4 + k] !== tile.rgba[((y % 8) * 8 + (x % 8)) * 4 + k]) {
          tileMatches = false;
        }
      }
    }
  }
  check(tileMatches, 'the field shows background-tile.png repeated, pixel for pixel');
  const button = readPng(join(assets, 'button-start.png'));
  const shown = await canvasPixels(210, 306, button.width, button.height);
  check(Buffer.from(shown).equals(button.rgba),
        'the start button shows button-start.png pixel for pixel');

  check(await playUntilScored(page), 'a paddle turned the ball and the caption shows the score');

  // A hidden tab pauses the game as Esc does; only Esc resumes it.
  await setHidden(page, true);
  await sleep(600);
  const paused1 = await readField(page);
  await sleep(300);
  const paused2 = await readField(page);
  check(paused1.ballX !== null && paused1.ballX === paused2.ballX && paused1.ballY === paused2.ballY,
        'the ball stands still while the tab is hidden');
  await setHidden(page, false);
  await sleep(300);
  check((await readField(page)).ballX === paused1.ballX,
        'showing the tab again does not resume by itself');
  await page.keyboard.press('Escape');
  await sleep(800);
  check((await readField(page)).ballX !== paused1.ballX, 'Esc resumes the game');

  // The ball is let go: the input box asks for the name.
  const input = await waitFor('the input box', () => page.$('dialog#inputbox[open]'), 20000);
  check(await input.$eval('.title', (e) => e.textContent) === 'スコア更新', 'input box title');
  check(await input.$eval('.text', (e) => e.textContent) === '名前を入力してください。',
        'input box prompt');
  const messageTitle = page.waitForSelector('dialog#msgbox[open] .title')
    .then((e) => e.evaluate((t) => t.textContent));
  const score = await enterName(page, kName);
  check(score > 0, `the message box tells the score (${score})`);
  check(await messageTitle === 'ゲームオーバー', 'message box title');
  check(await page.$eval('#share-last', (e) => !e.hidden) &&
        await page.$$eval('#world-ranking[hidden], #world-send[hidden]', (e) => e.length) === 2,
        'a plain file server\'s page offers "共有" and no world ranking');
  await checkSharedGame(page, url, scratch, sims, score);
  await checkLinkSize(page, scratch, sims);

  // A reload reads the stored table: the ranking shows the name first.
  await page.reload();
  await waitFor('the menu after the reload', () => menuIsUp(page), 15000);
  const ranking = await readRanking(page);
  check(await ranking.form2.$eval('.title', (e) => e.textContent) === 'ハイスコア ランキング',
        'the ranking window\'s title');
  check(ranking.names.length === 10 && ranking.scores.length === 10,
        'ten name boxes and ten score boxes');
  check(ranking.names[0] === kName, `first name in the ranking is "${kName}" (${ranking.names[0]})`);
  check(ranking.scores[0] === String(score), `first score is ${score} (${ranking.scores[0]})`);
  check(ranking.scores[1] === '0' && ranking.names[1] === '', 'the second row is empty');
  const archive = await checkKeptGames(page, ranking.form2, scratch, sims, score);
  await ranking.form2.$eval('button.command', (b) => b.click());
  await waitFor('the ranking window to close', () => page.$('#form2[hidden]'), 5000);

  // The exported file is the desktop's format byte for byte.
  await page.click('#export');
  const exported = join(scratch, 'HiScore.dat');
  await waitFor('the download', () => existsSync(exported), 10000);
  await sleep(200);
  const expected = `${score},0,0,0,0,0,0,0,0,0\r\n${kName}\r\n` + '\r\n'.repeat(9);
  check(readFileSync(exported).equals(Buffer.from(expected, 'latin1')),
        'the exported HiScore.dat holds the table in the desktop\'s format');

  // Importing: a damaged file is refused with the line that cannot be read;
  // a good one is stored and the game starts afresh with it.
  const chooser = await page.$('#import-file');
  const damaged = join(scratch, 'damaged.dat');
  writeFileSync(damaged, '12,x\r\n');
  await chooser.uploadFile(damaged);
  const refusal = await waitFor('the refusal', () => page.$('dialog#msgbox[open]'), 5000);
  const refused = await refusal.$eval('.text', (e) => e.textContent);
  check(refused.startsWith('「HiScore.dat」の 1 行目が読み取れません。'),
        `a damaged import is refused with its line (${refused})`);
  await page.keyboard.press('Enter');
  await importDamagedArchives(page, archive, scratch);
  await importArchive(page, archive, kName, readRanking);
  const desk = join(scratch, 'desk.dat');
  writeFileSync(desk, '500,70,0,0,0,0,0,0,0,0\r\nDesk\r\nTop\r\n' + '\r\n'.repeat(8));
  await (await page.$('#import-file')).uploadFile(desk);
  await page.waitForNavigation({ timeout: 10000 });
  await waitFor('the menu after the import', () => menuIsUp(page), 15000);
  const imported = await readRanking(page);
  check(imported.names[0] === 'Desk' && imported.scores[0] === '500' &&
        imported.names[1] === 'Top' && imported.scores[1] === '70',
        'the imported table is the ranking after the restart');
  check(!(await imported.form2.$('input.cell.has-replay')),
        'a plain HiScore.dat leaves its ranks without replays');

  // On a touch screen the on-screen keys appear; a held ▲ moves the left and
  // right paddles up as the arrow key does.
  const phone = await browser.newPage();
  await phone.emulate({
    viewport: { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true,
                isLandscape: true },
    userAgent: 'Mozilla/5.0 (Linux; Android 13) Mobile',
  });
  await phone.goto(url);
  await waitFor('the menu on the phone', () => menuIsUp(phone), 15000);
  check(await phone.$eval('#touch-left', (e) => !e.hidden) &&
        await phone.$eval('#touch-right', (e) => !e.hidden), 'the on-screen keys are shown');
  await phone.evaluate(() => {
    window.pellmoraTestTile = document.getElementById('form1').getContext('2d')
      .getImageData(0, 0, 8, 8).data;
  });
  const field = await phone.$eval('#form1', (c) => {
    const b = c.getBoundingClientRect();
    return { left: b.left, top: b.top, scale: b.width / 640 };
  });
  await phone.touchscreen.tap(field.left + 308 * field.scale, field.top + 324 * field.scale);
  await waitFor('play on the phone', async () => (await phone.title()).endsWith('0点'), 5000);
  const before = (await readField(phone)).left;
  const up = await (await phone.$('.touch-key[data-key="38"]')).boundingBox();
  await phone.touchscreen.touchStart(up.x + up.width / 2, up.y + up.height / 2);
  await sleep(300);
  const after = (await readField(phone)).left;
  await phone.touchscreen.touchEnd();
  check(before !== null && after !== null && after < before - 50,
        `a held ▲ moves the upright paddles up (${before} to ${after})`);
  await phone.close();

  await checkWorldRanking(browser, process.argv[5], process.argv[2]);
});
