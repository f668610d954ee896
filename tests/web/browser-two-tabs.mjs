// Two tabs of the game on one browser profile share one table: both start
// with the empty table, each plays a game and enters a name, and the ranking
// then holds both entries: the second save takes in what the first one wrote.
// The second save finds the first tab holding the lock: the page tells it
// below the field until the lock is let go.
//   node browser-two-tabs.mjs SITE_DIR
import {
  check, closeScoreMessage, enterName, openGame, playUntilScored, readRanking, runBrowserTest,
  waitFor,
} from './browser-support.mjs';

await runBrowserTest(process.argv[2], async ({ browser, url }) => {
  const first = await openGame(browser, url);
  const second = await openGame(browser, url);

  await first.bringToFront();
  check(await playUntilScored(first), 'the first tab scores');
  const firstScore = await enterName(first, 'Aoi');

  await second.bringToFront();
  check(await playUntilScored(second), 'the second tab scores');
  await first.evaluate(() => {
    navigator.locks.request('pellmora-hiscore', () => new Promise((r) => { window.letGo = r; }));
  });
  await waitFor('the input box', () => second.$('dialog#inputbox[open]'), 20000);
  await second.keyboard.type('Ken');
  await second.keyboard.press('Enter');
  await waitFor('the note of the wait', () => second.$('#save-wait:not([hidden])'), 1000);
  await first.evaluate(() => window.letGo());
  const secondScore = await closeScoreMessage(second);
  check(await second.$('#save-wait[hidden]'), 'the note is gone after the save');

  const reopened = await openGame(browser, url);
  const ranking = await readRanking(reopened);
  const entries = ranking.names.map((name, i) => `${name}:${ranking.scores[i]}`);
  check(entries.includes(`Aoi:${firstScore}`), `the first tab's entry is kept (${entries})`);
  check(entries.includes(`Ken:${secondScore}`), `the second tab's entry is kept (${entries})`);
});
