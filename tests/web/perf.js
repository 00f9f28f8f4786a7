// perf.js -- the browser build's figures, median of five runs in headless
// Chromium against scripts/play-web's server: the sizes of the .wasm and
// the .js, the whole site gzipped, the time from the page's start to the
// first menu frame, the game's frames a second in the menu and in play
// (the game asks the browser for one animation frame per game frame), and
// the page's script time in play as a share of one core. Exits with the
// number of targets missed.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const h = require('./harness');

const SECONDS = 5;
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Counts the animation frames the game asks for.
const COUNT_FRAMES = `(() => {
  const ask = window.requestAnimationFrame.bind(window);
  window.gameFrames = 0;
  window.requestAnimationFrame = (f) => { window.gameFrames++; return ask(f); };
})()`;

// Frames a second, and the shares of a core spent in script (the game's
// WebAssembly and JavaScript) and in all of the page's main-thread work
// (drawing the canvas included), over SECONDS.
async function measure(page, session) {
  const metrics = async () => {
    const all = (await session.send('Performance.getMetrics')).metrics;
    return ['ScriptDuration', 'TaskDuration'].map((name) => all.find((m) => m.name === name).value);
  };
  const frames0 = await page.evaluate(() => window.gameFrames), [script0, task0] = await metrics(), t0 = Date.now();
  await h.sleep(SECONDS * 1000);
  const frames1 = await page.evaluate(() => window.gameFrames), [script1, task1] = await metrics(), t1 = Date.now();
  const share = (a, b) => 100 * (b - a) * 1000 / (t1 - t0);
  return { fps: (frames1 - frames0) * 1000 / (t1 - t0), core: share(script0, script1), busy: share(task0, task1) };
}

async function oneRun(server) {
  const game = await h.openGame(server, { initScript: COUNT_FRAMES });
  try {
    const session = await game.context.newCDPSession(game.page);
    await session.send('Performance.enable');
    const firstFrame = await game.page.evaluate(() => window.tumblegrid.firstFrameAt);
    const menu = await measure(game.page, session);
    await h.press(game.page, 's');
    await h.sleep(500);
    const play = await measure(game.page, session);
    return { firstFrame, menuFps: menu.fps, menuCore: menu.core, menuBusy: menu.busy, playFps: play.fps,
      playCore: play.core, playBusy: play.busy };
  } finally {
    await game.close();
  }
}

(async () => {
  const site = path.join(h.WEB_BUILD, 'site');
  const size = (name) => fs.statSync(path.join(site, name)).size;
  const gzipped = fs.readdirSync(site).reduce((sum, name) =>
    sum + zlib.gzipSync(fs.readFileSync(path.join(site, name)), { level: 9 }).length, 0);
  const server = await h.startServer();
  const runs = [];
  try {
    for (let i = 0; i < 5; i++)
      runs.push(await oneRun(server));
  } finally {
    h.endProcess(server.pid);
  }
  const m = (key) => median(runs.map((r) => r[key]));
  const figures = [
    ['.wasm', (size('tumblegrid.wasm') / 1024).toFixed(0) + ' KB', size('tumblegrid.wasm') <= 600 * 1024, '600 KB'],
    ['.js', (size('tumblegrid.js') / 1024).toFixed(0) + ' KB', size('tumblegrid.js') <= 120 * 1024, '120 KB'],
    ['site, gzipped', (gzipped / 1048576).toFixed(2) + ' MB', gzipped <= 4 * 1048576, '4 MB'],
    ['page start to first menu frame', m('firstFrame').toFixed(0) + ' ms', m('firstFrame') <= 1000, '1000 ms'],
    ['frames a second, menu', m('menuFps').toFixed(1), Math.abs(m('menuFps') - 60) <= 1, '60'],
    ['frames a second, play', m('playFps').toFixed(1), Math.abs(m('playFps') - 60) <= 1, '60'],
    ['script time, menu', m('menuCore').toFixed(1) + ' % of a core', true, ''],
    ['script time, play', m('playCore').toFixed(1) + ' % of a core', m('playCore') <= 10, '10 %'],
    ['main thread busy, menu', m('menuBusy').toFixed(1) + ' % of a core', true, ''],
    ['main thread busy, play', m('playBusy').toFixed(1) + ' % of a core', true, ''],
  ];
  for (const [name, value, met, target] of figures)
    console.log(`${name.padEnd(32)} ${value.padEnd(18)} ${target ? (met ? 'meets ' : 'MISSES ') + target : ''}`);
  console.log('runs: ' + runs.map((r) => JSON.stringify(r, (k, v) => typeof v === 'number' ? +v.toFixed(1) : v))
    .join('\n      '));
  process.exit(figures.filter((f) => !f[2]).length);
})();
