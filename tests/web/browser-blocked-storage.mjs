// A browser profile that blocks site data: the game still starts, says once
// that scores will not be kept, and answers with the table in memory.
//   node browser-blocked-storage.mjs SITE_DIR
import { check, menuIsUp, openGame, readRanking, runBrowserTest, waitFor }
  from './browser-support.mjs';

await runBrowserTest(process.argv[2], async ({ browser, url }) => {
  const page = await openGame(browser, url);
  const notice = await waitFor('the notice', () => page.$('dialog#msgbox[open]'), 5000);
  const said = await notice.$eval('.text', (e) => e.textContent);
  check(said.includes('スコアはこのブラウザーに残りません'), `the player is told (${said})`);
  await page.keyboard.press('Enter');
  check(await menuIsUp(page) && !(await page.$('dialog[open]')), 'the menu, and no other box');
  const ranking = await readRanking(page);
  check(ranking.names.every((n) => n === '') && ranking.scores.every((s) => s === '0'),
        'the ranking shows the empty table');
}, { blockSiteData: true });
