// The browser build's figures in Debian's headless Chromium: load to first
// frame and the bytes before it (as a first visit, over the network with the
// compressed copies, and again without the network from the service
// worker), the ranking window's font bytes, then PLAY_SECONDS of autopilot
// play (ticks per second, tick interval percentiles, CPU). Prints "key
// value" lines.
//   node bench/web-bench.mjs SITE_DIR [PLAY_SECONDS]
import { spawn } from 'node:child_process';
import { readFileSync, readdirSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const site = process.argv[2];
const playSeconds = Number(process.argv[3] || 30);
const { default: puppeteer } = await import(
  join(here, '../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js'));
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// CPU seconds of a process and its descendants, from /proc.
function cpuSeconds(rootPid) {
  const tick = 100;  // USER_HZ on Linux
  const children = new Map();
  const times = new Map();
  for (const entry of readdirSync('/proc')) {
    if (!/^[0-9]+$/.test(entry)) continue;
    try {
      const stat = readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const ppid = Number(fields[1]);
      times.set(Number(entry), (Number(fields[11]) + Number(fields[12])) / tick);
      if (!children.has(ppid)) children.set(ppid, []);
      children.get(ppid).push(Number(entry));
    } catch { /* gone meanwhile */ }
  }
  let total = 0;
  const stack = [rootPid];
  while (stack.length) {
    const pid = stack.pop();
    total += times.get(pid) || 0;
    stack.push(...(children.get(pid) || []));
  }
  return total;
}

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p / 100 * sorted.length))];
}

// The server runs in a process of its own, as a real one would, so that the
// driver's own work here never delays a response.
const server = spawn(process.execPath, [join(here, '../tools/web-serve/serve.mjs'), site, '0'],
                     { stdio: ['ignore', 'pipe', 'inherit'] });
const address = await new Promise((resolve) => {
  server.stdout.on('data', (chunk) => {
    const m = /http:\/\/127\.0\.0\.1:[0-9]+\//.exec(String(chunk));
    if (m) resolve(m[0]);
  });
});
const url = `${address}?autopilot&bench`;
const profile = mkdtempSync(join(tmpdir(), 'pellmora-bench-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
});
// Load to the first frame of a page at the url.
async function measureLoad(page) {
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  let load = null;
  for (let i = 0; i < 500 && load === null; ++i) {
    load = await page.evaluate(() => {
      if (!window.Module) return null;
      const s = Module.pellmoraPage.stats;
      if (s.firstFrame === null) return null;
      const nav = performance.getEntriesByType('navigation')[0];
      let bytes = nav.transferSize;
      for (const r of performance.getEntriesByType('resource')) {
        if (r.responseEnd <= s.firstFrame) bytes += r.transferSize;
      }
      const mark = (name) => {
        const m = performance.getEntriesByName(name)[0];
        return m ? m.startTime : NaN;
      };
      return { firstFrame: s.firstFrame, bytes, dcl: nav.domContentLoadedEventEnd,
               runtime: mark('pellmora-runtime'), main: mark('pellmora-main'),
               pictures: mark('pellmora-pictures'), labels: mark('pellmora-labels') };
    });
    if (load === null) await sleep(10);
  }
  return load;
}

try {
  // A first visit warms the browser up (its first page and its storage
  // start slowly) and leaves the service worker with the site; the figures
  // are a second load in a new tab, uncached and past the worker, as a first
  // visit loads, and a third one without the network.
  const warm = await browser.newPage();
  await warm.goto(url);
  await warm.evaluate(() => navigator.serviceWorker.ready);
  await sleep(1500);
  await warm.close();
  const offline = await browser.newPage();
  await offline.setOfflineMode(true);
  const kept = await measureLoad(offline);
  await offline.close();
  console.log(`web_offline_load_to_first_frame_ms ${kept.firstFrame.toFixed(1)}`);
  let fontBytes = 0;
  for (const name of ['PellmoraMincho.woff2', 'PellmoraPGothicSubset.woff2']) {
    fontBytes += statSync(join(site, 'fonts', name)).size;
  }
  console.log(`web_ranking_font_bytes ${fontBytes}`);
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  await page.setBypassServiceWorker(true);
  const load = await measureLoad(page);
  console.log(`web_load_to_first_frame_ms ${load.firstFrame.toFixed(1)}`);
  console.log(`web_load_dom_content_loaded_ms ${load.dcl.toFixed(1)}`);
  console.log(`web_load_module_ready_ms ${load.runtime.toFixed(1)}`);
  console.log(`web_load_storage_and_font_ready_ms ${load.main.toFixed(1)}`);
  console.log(`web_load_first_picture_ms ${load.pictures.toFixed(1)}`);
  console.log(`web_load_pictures_decoded_ms ${load.labels.toFixed(1)}`);
  console.log(`web_bytes_before_first_frame ${load.bytes}`);

  // Plays on the autopilot for playSeconds and prints the tick and CPU figures.
  async function measurePlay(page, suffix) {
    // The title animation ends with the menu; then a game on the autopilot.
    await sleep(2000);
    const box = await page.$eval('#form1', (c) => {
      const b = c.getBoundingClientRect();
      return { left: b.left, top: b.top, scale: b.width / 640 };
    });
    const start = () => page.mouse.click(box.left + 308 * box.scale, box.top + 324 * box.scale);
    await start();
    await sleep(500);
    await page.evaluate(() => { Module.pellmoraPage.stats.ticks = []; });
    const pid = browser.process().pid;
    const cpu0 = cpuSeconds(pid);
    const metrics0 = await page.metrics();
    const wall0 = Date.now();
    let games = 1;
    while (Date.now() - wall0 < playSeconds * 1000) {
      await sleep(250);
      // A lost ball: name the score, close the message and start again.
      if (await page.$('dialog[open]')) {
        await page.keyboard.press('Enter');
        await sleep(100);
        await page.keyboard.press('Enter');
        await sleep(300);
        await start();
        games += 1;
      }
    }
    const wall = (Date.now() - wall0) / 1000;
    const cpu = cpuSeconds(pid) - cpu0;
    const metrics1 = await page.metrics();
    const ticks = await page.evaluate(() => Module.pellmoraPage.stats.ticks);
    // The pauses between games (name, message, start) are not play.
    const intervals = [];
    for (let i = 1; i < ticks.length; ++i) {
      if (ticks[i] - ticks[i - 1] < 200) intervals.push(ticks[i] - ticks[i - 1]);
    }
    intervals.sort((a, b) => a - b);
    const span = intervals.reduce((sum, v) => sum + v, 0) / 1000;
    console.log(`web_games_played${suffix} ${games}`);
    console.log(`web_ticks_per_second${suffix} ${(intervals.length / span).toFixed(2)}`);
    console.log(`web_tick_interval_median_ms${suffix} ${percentile(intervals, 50).toFixed(2)}`);
    console.log(`web_tick_interval_p99_ms${suffix} ${percentile(intervals, 99).toFixed(2)}`);
    console.log(`web_page_main_thread_cpu_percent${suffix} ${(100 * (metrics1.TaskDuration - metrics0.TaskDuration) / wall).toFixed(2)}`);
    console.log(`web_chromium_cpu_percent${suffix} ${(100 * cpu / wall).toFixed(2)}`);
  }
  await measurePlay(page, '');
  // The same with the recorder off, for recording's cost, alone in the browser.
  await page.close();
  const unrecorded = await browser.newPage();
  await unrecorded.setViewport({ width: 900, height: 700 });
  await unrecorded.goto(`${url}&norecord`);
  await measurePlay(unrecorded, '_norecord');
} finally {
  await browser.close();
  server.kill();
  rmSync(profile, { recursive: true, force: true });
}
