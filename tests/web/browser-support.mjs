// What the browser tests share: Debian's Chromium through puppeteer-core on
// the site served from loopback, checks that are counted, and a player who
// reads the field's pixels to keep the paddles on the ball.
import { existsSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const chromium = process.env.PELLMORA_CHROMIUM || '/usr/bin/chromium';
const driver = join(here, 'node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js');

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

let failures = 0;
export function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures += 1;
}

export async function waitFor(what, test, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(20);
  }
}

// Runs `body(session)` with a browser on the site; exits with 0 when every
// check passed, 1 when one failed, 77 when the site, Chromium or the driver
// is missing. `blockSiteData` starts a profile whose settings block cookies
// and site data for every site.
export async function runBrowserTest(site, body, { blockSiteData = false } = {}) {
  for (const [what, path] of [['site', join(site || '', 'index.html')], ['chromium', chromium],
                              ['puppeteer-core', driver]]) {
    if (!site || !existsSync(path)) {
      console.log(`skipped: no ${what} at ${path} (make web installs and builds it)`);
      process.exit(77);
    }
  }
  const { default: puppeteer } = await import(driver);
  const { serveSite } = await import(join(here, '../../tools/web-serve/serve.mjs'));
  const server = await serveSite(site, 0);
  const profile = mkdtempSync(join(tmpdir(), 'pellmora-chromium-'));
  if (blockSiteData) {
    mkdirSync(join(profile, 'Default'));
    writeFileSync(join(profile, 'Default', 'Preferences'), JSON.stringify(
      { profile: { default_content_setting_values: { cookies: 2 } } }));
  }
  const scratch = mkdtempSync(join(tmpdir(), 'pellmora-test-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
  });
  try {
    await body({ browser, url: `http://127.0.0.1:${server.address().port}/`, scratch });
  } catch (error) {
    check(false, String((error && error.stack) || error));
  } finally {
    await browser.close();
    server.close();
    rmSync(profile, { recursive: true, force: true });
    rmSync(scratch, { recursive: true, force: true });
  }
  console.log(failures === 0 ? 'browser test passed' : `${failures} check(s) failed`);
  process.exit(failures === 0 ? 0 : 1);
}

export async function openGame(browser, url) {
  const page = await browser.newPage();
  page.on('pageerror', (e) => check(false, `no script error (${e.message})`));
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  await waitFor('the menu', () => menuIsUp(page), 15000);
  await page.evaluate(() => {
    window.pellmoraTestTile = document.getElementById('form1').getContext('2d')
      .getImageData(0, 0, 8, 8).data;
  });
  return page;
}

// The field's pixels compared with the background, which is one 8 x 8 tile
// repeated: the left paddle's and the top paddle's centres and the ball's.
export async function readField(page) {
  return page.evaluate(() => {
    const d = document.getElementById('form1').getContext('2d').getImageData(0, 0, 640, 480).data;
    const tile = window.pellmoraTestTile;
    const differs = (x, y) => {
      const i = (y * 640 + x) * 4;
      const t = ((y % 8) * 8 + (x % 8)) * 4;
      return d[i] !== tile[t] || d[i + 1] !== tile[t + 1] || d[i + 2] !== tile[t + 2];
    };
    const middle = (points) => (points.length ? (points[0] + points[points.length - 1]) / 2 : null);
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
    return { left: middle(left), top: middle(top), ballX: middle(ballX), ballY: middle(ballY) };
  });
}

export async function menuIsUp(page) {
  // Command1's raised edge: white at its top-left corner, dark grey at its
  // bottom-right one.
  return page.evaluate(() => {
    const ctx = document.getElementById('form1').getContext('2d');
    const a = ctx.getImageData(208, 304, 1, 1).data;
    const b = ctx.getImageData(408, 344, 1, 1).data;
    return a[0] === 255 && a[1] === 255 && a[2] === 255 && b[0] === 0x40 && b[1] === 0x40 &&
           b[2] === 0x40;
  });
}

export async function clickField(page, x, y) {
  const r = await page.$eval('#form1', (c) => {
    const b = c.getBoundingClientRect();
    return { left: b.left, top: b.top, scale: b.width / 640 };
  });
  await page.mouse.click(r.left + x * r.scale, r.top + y * r.scale);
}

// Starts a game and keeps both paddle pairs on the ball until a hit scores;
// then lets go of the keys. A ball lost before any hit (a slow machine can
// miss a corner) is a game over without a name: the message is closed and a
// new game started. True when it scored.
export async function playUntilScored(page) {
  const start = async () => {
    await clickField(page, 308, 324);
    await waitFor('play', async () => (await page.title()).endsWith('0点'), 5000);
  };
  await start();
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
  const end = Date.now() + 40000;
  while (!(await scored()) && Date.now() < end) {
    if (await page.$('dialog#msgbox[open]')) {
      for (const key of [...held]) await hold(key, false);
      await page.keyboard.press('Enter');
      await waitFor('the menu after a lost ball', () => menuIsUp(page), 5000);
      await start();
      continue;
    }
    const f = await readField(page);
    if (f.ballX === null || f.left === null || f.top === null) continue;
    await hold('ArrowDown', f.left < f.ballY - 4);
    await hold('ArrowUp', f.left > f.ballY + 4);
    await hold('ArrowRight', f.top < f.ballX - 4);
    await hold('ArrowLeft', f.top > f.ballX + 4);
  }
  for (const key of [...held]) await hold(key, false);
  return scored();
}

// Waits for the ball to be lost, enters the name, closes the message and
// returns the score it told.
export async function enterName(page, name) {
  await waitFor('the input box', () => page.$('dialog#inputbox[open]'), 20000);
  await page.keyboard.type(name);
  await page.keyboard.press('Enter');
  return closeScoreMessage(page);
}

// Closes the game over's message and returns the score it told.
export async function closeScoreMessage(page) {
  const message = await waitFor('the message box', () => page.$('dialog#msgbox[open]'), 5000);
  const said = await message.$eval('.text', (e) => e.textContent);
  await page.keyboard.press('Enter');
  await waitFor('the menu after the game', () => menuIsUp(page), 5000);
  return Number((/^あなたの得点は([0-9]+)点でした。$/.exec(said) || [])[1]);
}

// Opens the ranking window and reads its names and scores.
export async function readRanking(page) {
  await clickField(page, 308, 380);
  const form2 = await waitFor('the ranking window', () => page.$('#form2:not([hidden])'), 5000);
  const names = await form2.$$eval('input.cell.name', (boxes) => boxes.map((b) => b.value));
  const scores = await form2.$$eval('input.cell.score', (boxes) => boxes.map((b) => b.value));
  return { form2, names, scores };
}
