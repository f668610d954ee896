// The world ranking in Chromium, on the page as the ranking server itself
// serves it (a data folder of its own, a free port), with the service
// worker in control: a game played there and sent is listed by the
// server's own ranking with the page's score, the page's box shows it and
// plays its replay, and a box opened before the send is not what the box
// shows after it. Offline the box says the ranking is out of reach.
import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { check, enterName, menuIsUp, openGame, playUntilScored, waitFor }
  from './browser-support.mjs';

const kName = 'World';

async function startServer(binary, site) {
  const data = mkdtempSync(join(tmpdir(), 'pellmora-ranking-'));
  const server = spawn(binary, ['--data', data, '--site', site, '--listen', '127.0.0.1:0',
                                '--submissions-per-minute', '0'],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  const stop = () => {
    server.kill();
    rmSync(data, { recursive: true, force: true });
  };
  const url = await new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const listening = /listening on (http:\/\/\S+\/)/.exec(said);
      if (listening) resolve(listening[1]);
    });
    server.once('exit', (code) => reject(new Error(`the ranking server ended (${code})`)));
    setTimeout(() => reject(new Error('the ranking server did not listen')), 10000);
  }).catch((error) => {
    stop();
    throw error;
  });
  return { url, stop };
}

// The box's state line once it says what `done` looks for.
async function boxSays(page, done) {
  await page.click('#world-ranking');
  return waitFor('the world ranking box', () => page.$eval('#worldbox .state', (e) => e.textContent)
    .then((text) => (done.test(text) ? text : null)), 5000);
}

const status = (page) => page.$eval('#world-status', (e) => e.textContent);

export async function checkWorldRanking(browser, binary, site) {
  check(existsSync(binary || ''), `the ranking server is there (${binary})`);
  if (!existsSync(binary || '')) return;
  const { url, stop } = await startServer(binary, site);
  try {
    // The first visit installs the service worker; the next page is its.
    const first = await openGame(browser, url);
    await first.evaluate(() => navigator.serviceWorker.ready);
    await first.close();
    const page = await openGame(browser, url);
    check(await page.evaluate(() => navigator.serviceWorker.controller !== null),
          'the service worker serves the page');
    await waitFor('世界ランキング', () => page.$('#world-ranking:not([hidden])'), 5000);
    const empty = await boxSays(page, /ありません/);
    await page.keyboard.press('Escape');
    check(await page.evaluate(() => document.activeElement.id) === 'world-ranking',
          `the box opened on an empty ranking (${empty}) and Esc gives the focus back`);

    check(await playUntilScored(page), 'a game on the ranking server\'s page scored');
    const score = await enterName(page, kName);
    const ranking = () => fetch(`${url}api/v1/ranking?limit=100`).then((r) => r.json());
    check((await ranking()).total === 0, 'nothing is sent before the player asks');
    await page.click('#world-send');
    const told = await waitFor('the answer', () => status(page).then((t) => /。$/.test(t) && t), 10000);
    check(told.includes('登録しました') && told.includes(`1位、${score}点`),
          `the page tells the rank and score (${told})`);
    const listed = await ranking();
    check(listed.total === 1 && listed.games[0].score === score && listed.games[0].name === kName,
          `the server's ranking lists the game at ${score} (${JSON.stringify(listed.games)})`);
    await page.click('#world-send');
    await waitFor('the second answer', () => status(page).then((t) => t.includes('登録済み')), 10000);

    const shown = await boxSays(page, /1位から/);
    const row = await page.$$eval('#worldbox tbody tr', (rows) => rows.map((r) => r.innerText));
    check(row.length === 1 && row[0].includes(kName) && row[0].includes(`${score}点`),
          `the box shows the game (${shown}: ${row})`);
    await page.click('#worldbox tbody button');
    await waitFor('its replay', () => page.title().then((t) => t.startsWith('リプレイ再生中')), 5000);
    await page.keyboard.press('Escape');
    await waitFor('the menu after it', () => menuIsUp(page), 5000);

    await page.setOfflineMode(true);
    const offline = await boxSays(page, /使えません/);
    check(offline.includes('オフライン'), `offline the box says so (${offline})`);
    await page.keyboard.press('Escape');
    await page.setOfflineMode(false);
    await page.close();
  } finally {
    stop();
  }
}
