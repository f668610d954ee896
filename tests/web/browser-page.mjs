// The page around the game in Debian's Chromium: installable, kept for
// play without the network after a first visit, played with the keyboard
// alone (Tab to the drawn start button, its focus mark, Enter), ended with
// "ゲーム終了" and started again; a game pad walks the menu and presses its
// buttons, and Esc closes the ranking window; on a phone held upright the field takes
// the width and the ranking window's close button is in reach.
//   node browser-page.mjs SITE_DIR
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { check, clickField, menuIsUp, openGame, runBrowserTest, sleep, waitFor }
  from './browser-support.mjs';

// True once `test` holds within `ms`.
const holds = (test, ms) => waitFor('', test, ms).then(() => true, () => false);
const pixel = (page, x, y) => page.evaluate((a, b) => Array.from(
  document.getElementById('form1').getContext('2d').getImageData(a, b, 1, 1).data), x, y);

await runBrowserTest(process.argv[2], async ({ browser, url, scratch }) => {
  const page = await openGame(browser, url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0,
        `installable (${JSON.stringify(installabilityErrors)})`);
  const tree = await page.accessibility.snapshot();
  const names = JSON.stringify(tree);
  check(['ゲームスタート', 'ランキング表', 'ゲーム終了'].every((n) => names.includes(`"${n}"`)),
        'the menu buttons are named in the accessibility tree');

  // Offline: the service worker's copy of the site plays.
  await page.setOfflineMode(true);
  await page.reload();
  await waitFor('the menu offline', () => menuIsUp(page), 15000);
  check(await page.evaluate(() => navigator.serviceWorker.controller !== null),
        'the reload without the network came from the service worker');

  // The desktop's focus mark: dots six pixels inside the focused button.
  const unmarked = await pixel(page, 214, 310);
  await page.keyboard.press('Tab');
  check(unmarked.join() !== '0,0,0,255' &&
        await holds(async () => (await pixel(page, 214, 310)).join() === '0,0,0,255', 2000),
        'Tab draws the focus mark on the start button');
  await page.keyboard.press('Enter');
  check(await holds(async () => (await page.title()).endsWith('0点'), 5000),
        'Enter on the focused start button starts a game, offline');

  // An import during the game asks first; キャンセル keeps the game.
  const good = join(scratch, 'good.dat');
  writeFileSync(good, '500,0,0,0,0,0,0,0,0,0\r\nDesk\r\n' + '\r\n'.repeat(9));
  await (await page.$('#import-file')).uploadFile(good);
  check(await holds(() => page.$('dialog#confirmbox[open]'), 5000), 'an import in play asks');
  await page.keyboard.press('Escape');
  await sleep(500);
  check((await page.title()).endsWith('点'), 'cancelled, the game goes on');

  // "ゲーム終了": the field and the buttons go; "もう一度遊ぶ" starts afresh.
  // From here on the page sees one game pad, which the test holds.
  await page.evaluateOnNewDocument(() => {
    const pad = { connected: true, axes: [0, 0],
                  buttons: Array.from({ length: 17 }, () => ({ pressed: false })) };
    window.testPad = pad;
    navigator.getGamepads = () => [pad];
  });
  await page.reload();
  await waitFor('the menu', () => menuIsUp(page), 15000);
  await clickField(page, 308, 436);
  await waitFor('the end', () => page.$('#ended:not([hidden])'), 5000);
  check(await page.$eval('#field-row', (e) => getComputedStyle(e).display === 'none') &&
        await page.$eval('#tools', (e) => getComputedStyle(e).display === 'none'),
        'the field and the page\'s buttons are gone after "ゲーム終了"');
  await Promise.all([page.waitForNavigation(), page.click('#restart')]);
  check(await holds(() => menuIsUp(page), 15000), '"もう一度遊ぶ" brings the menu back');

  // The pad's D-pad down twice, then A: the ranking window opens; Esc in it
  // closes it and the focus goes back to its button.
  const focusName = () => page.evaluate(() => document.activeElement.getAttribute('aria-label'));
  await page.evaluate(() => window.dispatchEvent(new Event('gamepadconnected')));
  for (const button of [13, 13, 0]) {
    await page.evaluate((b) => { window.testPad.buttons[b].pressed = true; }, button);
    await sleep(100);
    await page.evaluate((b) => { window.testPad.buttons[b].pressed = false; }, button);
    await sleep(100);
  }
  check(await holds(() => page.$('#form2:not([hidden])'), 5000) &&
        await focusName() === '1位の得点',
        'the pad walks to "ランキング表" and presses it; the first score takes the focus');
  await page.keyboard.press('Escape');
  check(await holds(() => page.$('#form2[hidden]'), 5000) && await focusName() === 'ランキング表',
        'Esc closes the ranking window and gives the focus back');
  await page.setOfflineMode(false);

  const phone = await browser.newPage();
  await phone.emulate({
    viewport: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    userAgent: 'Mozilla/5.0 (Linux; Android 13) Mobile',
  });
  await phone.goto(url);
  await waitFor('the menu on the phone', () => menuIsUp(phone), 15000);
  const field = await phone.$eval('#form1', (c) => c.getBoundingClientRect().toJSON());
  const whole = (v) => Math.abs(v - Math.round(v)) < 1e-6;
  check(field.width >= 300 && whole(field.width * 3) && whole(field.height * 3) &&
        Math.abs(field.width * 3 / 4 - field.height) < 1e-6,
        `upright, the field is ${field.width} x ${field.height} CSS px, whole device pixels`);
  const pads = await phone.$eval('#touch-pads', (e) => e.getBoundingClientRect().toJSON());
  check(pads.top >= field.bottom, 'upright, the touch keys are below the field');
  await phone.touchscreen.tap(field.left + 308 * field.width / 640,
                              field.top + 380 * field.width / 640);
  await waitFor('the ranking window', () => phone.$('#form2:not([hidden])'), 5000);
  const close = await (await phone.$('#form2 .close')).boundingBox();
  check(close.x >= 0 && close.y >= 0 && close.x + close.width <= 390 &&
        close.y + close.height <= 844 && close.height >= 44,
        `the ranking window's close button is on the screen, ${close.height} px tall`);
  await phone.touchscreen.tap(close.x + close.width / 2, close.y + close.height / 2);
  await waitFor('the ranking window to close', () => phone.$('#form2[hidden]'), 5000);
});
