// One game in the browser build, in Debian's Chromium driven by puppeteer-core:
// the menu comes up, a game is played until the ball is lost with a score,
// the name is entered in the input box, the page is reloaded and the ranking
// window shows the name, and the exported HiScore.dat holds the table.
//   node browser-play.mjs SITE_DIR
// Exit status 0 on success, 1 on a failure, 77 when something it needs is missing.
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const site = process.argv[2];
const chromium = process.env.PELLMORA_CHROMIUM || '/usr/bin/chromium';
const driver = join(here, 'node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js');
for (const [what, path] of [['site', join(site || '', 'index.html')], ['chromium', chromium],
                            ['puppeteer-core', driver]]) {
  if (!site || !existsSync(path)) {
    console.log(`skipped: no ${what} at ${path} (make web installs and builds it)`);
    process.exit(77);
  }
}
const { default: puppeteer } = await import(driver);
const { serveSite } = await import(join(here, '../../tools/web-serve/serve.mjs'));

const kName = 'Web';
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures += 1;
}

async function waitFor(what, test, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(20);
  }
}

// The field's pixels compared with the background, which is one 8 x 8 tile
// repeated: where the paddles and the ball are.
async function readField(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('form1');
    const d = canvas.getContext('2d').getImageData(0, 0, 640, 480).data;
    const px = (x, y) => (y * 640 + x) * 4;
    const tile = window.pellmoraTestTile;
    const differs = (x, y) => {
      const i = px(x, y);
      const t = ((y % 8) * 8 + (x % 8)) * 4;
      return d[i] !== tile[t] || d[i + 1] !== tile[t + 1] || d[i + 2] !== tile[t + 2];
    };
    const span = (points) => (points.length ? (points[0] + points[points.length - 1]) / 2 : null);
    const left = [];
    for (let y = 0; y < 480; ++y) if (differs(28, y)) left.push(y);
    const top = [];
    for (let x = 0; x < 640; ++x) if (differs(x, 28)) top.push(x);
    const ballX = [];
    const ballY = [];
    for (let y = 44; y < 430; y += 2) {
      for (let x = 44; x < 596; x += 2) {
        if (differs(x, y)) {
          ballX.push(x);
          ballY.push(y);
        }
      }
    }
    ballX.sort((a, b) => a - b);
    ballY.sort((a, b) => a - b);
    return { left: span(left), top: span(top), ballX: span(ballX), ballY: span(ballY) };
  });
}

async function menuIsUp(page) {
  // Command1's face just inside its one-pixel frame.
  return page.evaluate(() => {
    const d = document.getElementById('form1').getContext('2d').getImageData(209, 305, 1, 1).data;
    return d[0] === 240 && d[1] === 240 && d[2] === 240;
  });
}

async function clickField(page, x, y) {
  const r = await page.$eval('#form1', (c) => {
    const b = c.getBoundingClientRect();
    return { left: b.left, top: b.top, scale: b.width / 640 };
  });
  await page.mouse.click(r.left + x * r.scale, r.top + y * r.scale);
}

const server = await serveSite(site, 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const profile = mkdtempSync(join(tmpdir(), 'pellmora-chromium-'));
const downloads = mkdtempSync(join(tmpdir(), 'pellmora-downloads-'));
const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
});
try {
  const page = await browser.newPage();
  page.on('pageerror', (e) => check(false, `no script error (${e.message})`));
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);

  await waitFor('the menu', () => menuIsUp(page), 15000);
  check(await page.title() === 'Pellmora', 'the tab shows the caption "Pellmora" at the menu');
  check(await page.$eval('#form1', (c) => c.getBoundingClientRect().width) === 640,
        'the field is shown at a whole factor (1 in a 900 x 700 window)');
  await page.evaluate(() => {
    window.pellmoraTestTile = document.getElementById('form1').getContext('2d')
      .getImageData(0, 0, 8, 8).data;
  });

  // Start, then keep both paddle pairs on the ball until the first hit scores.
  await clickField(page, 308, 324);
  await waitFor('play', async () => (await page.title()).endsWith('0点'), 5000);
  const held = new Set();
  const hold = async (key, on) => {
    if (on === held.has(key)) return;
    if (on) {
      held.add(key);
      await page.keyboard.down(key);
    } else {
      held.delete(key);
      await page.keyboard.up(key);
    }
  };
  const scored = () => page.title().then((t) => /[1-9][0-9]*点$/.test(t));
  const end = Date.now() + 20000;
  while (!(await scored()) && Date.now() < end) {
    const f = await readField(page);
    if (f.ballX === null || f.left === null || f.top === null) continue;
    await hold('ArrowDown', f.left < f.ballY - 4);
    await hold('ArrowUp', f.left > f.ballY + 4);
    await hold('ArrowRight', f.top < f.ballX - 4);
    await hold('ArrowLeft', f.top > f.ballX + 4);
  }
  for (const key of [...held]) await hold(key, false);
  check(await scored(), 'a paddle turned the ball and the caption shows the score');

  // A hidden tab pauses the game as Esc does; only Esc resumes it.
  await page.evaluate(() => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await sleep(600);
  const paused1 = await readField(page);
  await sleep(300);
  const paused2 = await readField(page);
  check(paused1.ballX !== null && paused1.ballX === paused2.ballX && paused1.ballY === paused2.ballY,
        'the ball stands still while the tab is hidden');
  await page.evaluate(() => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => false });
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await sleep(300);
  const stillPaused = await readField(page);
  check(stillPaused.ballX === paused1.ballX, 'showing the tab again does not resume by itself');
  await page.keyboard.press('Escape');
  await sleep(800);
  const resumed = await readField(page);
  check(resumed.ballX !== paused1.ballX, 'Esc resumes the game');


  // Now let the ball go: the input box asks for the name.
  const input = await waitFor('the input box',
    () => page.$('dialog#inputbox[open]'), 20000);
  check(await input.$eval('.title', (e) => e.textContent) === 'スコア更新', 'input box title');
  check(await input.$eval('.text', (e) => e.textContent) === '名前を入力してください。',
        'input box prompt');
  await page.keyboard.type(kName);
  await page.keyboard.press('Enter');
  const message = await waitFor('the message box', () => page.$('dialog#msgbox[open]'), 5000);
  const said = await message.$eval('.text', (e) => e.textContent);
  const score = Number((/^あなたの得点は([0-9]+)点でした。$/.exec(said) || [])[1]);
  check(score > 0, `the message box tells the score (${said})`);
  check(await message.$eval('.title', (e) => e.textContent) === 'ゲームオーバー', 'message box title');
  await page.keyboard.press('Enter');
  await waitFor('the menu after the game', () => menuIsUp(page), 5000);

  // A reload reads the stored table: the ranking shows the name first.
  await page.reload();
  await waitFor('the menu after the reload', () => menuIsUp(page), 15000);
  await clickField(page, 308, 380);
  const form2 = await waitFor('the ranking window', () => page.$('#form2:not([hidden])'), 5000);
  check(await form2.$eval('.title', (e) => e.textContent) === 'ハイスコア ランキング',
        'the ranking window\'s title');
  const names = await form2.$$eval('input.cell.name', (boxes) => boxes.map((b) => b.value));
  const scores = await form2.$$eval('input.cell.score', (boxes) => boxes.map((b) => b.value));
  check(names.length === 10 && scores.length === 10, 'ten name boxes and ten score boxes');
  check(names[0] === kName, `first name in the ranking is "${kName}" (${names[0]})`);
  check(scores[0] === String(score), `first score in the ranking is ${score} (${scores[0]})`);
  check(scores[1] === '0' && names[1] === '', 'the second row is empty');
  await form2.$eval('button.command', (b) => b.click());
  await waitFor('the ranking window to close', () => page.$('#form2[hidden]'), 5000);

  // The exported file is the desktop's format byte for byte.
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await page.click('#export');
  const exported = join(downloads, 'HiScore.dat');
  await waitFor('the download', () => existsSync(exported), 10000);
  await sleep(200);
  const expected = `${score},0,0,0,0,0,0,0,0,0\r\n${kName}\r\n` + '\r\n'.repeat(9);
  check(readFileSync(exported).equals(Buffer.from(expected, 'latin1')),
        'the exported HiScore.dat holds the table in the desktop\'s format');

  // Importing: a damaged file is refused with the line that cannot be read;
  // a good one is stored and the game starts afresh with it.
  const chooser = await page.$('#import-file');
  const damaged = join(downloads, 'damaged.dat');
  writeFileSync(damaged, '12,x\r\n');
  await chooser.uploadFile(damaged);
  const refusal = await waitFor('the refusal', () => page.$('dialog#msgbox[open]'), 5000);
  const refused = await refusal.$eval('.text', (e) => e.textContent);
  check(refused.startsWith('「HiScore.dat」の 1 行目が読み取れません。'),
        `a damaged import is refused with its line (${refused})`);
  await page.keyboard.press('Enter');
  const desk = join(downloads, 'desk.dat');
  writeFileSync(desk, '500,70,0,0,0,0,0,0,0,0\r\nDesk\r\nTop\r\n' + '\r\n'.repeat(8));
  await chooser.uploadFile(desk);
  await page.waitForNavigation({ timeout: 10000 });
  await waitFor('the menu after the import', () => menuIsUp(page), 15000);
  await clickField(page, 308, 380);
  const form2b = await waitFor('the ranking window', () => page.$('#form2:not([hidden])'), 5000);
  const importedNames = await form2b.$$eval('input.cell.name', (b) => b.map((x) => x.value));
  const importedScores = await form2b.$$eval('input.cell.score', (b) => b.map((x) => x.value));
  check(importedNames[0] === 'Desk' && importedScores[0] === '500' && importedNames[1] === 'Top' &&
        importedScores[1] === '70', 'the imported table is the ranking after the restart');
} catch (error) {
  check(false, String(error && error.stack || error));
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
  rmSync(downloads, { recursive: true, force: true });
}
console.log(failures === 0 ? 'browser play test passed' : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
