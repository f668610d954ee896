// Two tabs of the game on one browser profile share one table: both start
// with the empty table, each plays a game and enters a name, and the ranking
// then holds both entries: the second save takes in what the first one wrote.
//   node browser-two-tabs.mjs SITE_DIR
import { check, enterName, openGame, playUntilScored, readRanking, runBrowserTest }
  from './browser-support.mjs';

await runBrowserTest(process.argv[2], async ({ browser, url }) => {
  const first = await openGame(browser, url);
  const second = await openGame(browser, url);

  await first.bringToFront();
  check(await playUntilScored(first), 'the first tab scores');
  const firstScore = await enterName(first, 'Aoi');

  await second.bringToFront();
  check(await playUntilScored(second), 'the second tab scores');
  const secondScore = await enterName(second, 'Ken');

  const reopened = await openGame(browser, url);
  const ranking = await readRanking(reopened);
  const entries = ranking.names.map((name, i) => `${name}:${ranking.scores[i]}`);
  check(entries.includes(`Aoi:${firstScore}`), `the first tab's entry is kept (${entries})`);
  check(entries.includes(`Ken:${secondScore}`), `the second tab's entry is kept (${entries})`);
});
