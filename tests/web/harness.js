// harness.js -- what the browser cases share: scripts/play-web's server on
// 127.0.0.1, Debian's Chromium driven by Playwright with a fresh profile in
// a temp folder for each case (the page's IndexedDB lives there, so a
// reload keeps the saves), the pointer parked in a corner, a watchdog, and
// reading the canvas's own 1024x768 pixels, whatever size the page shows
// it at. Everything started here is ended by its process id.
'use strict';
const { spawn, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');

const ROOT = path.resolve(__dirname, '../..');
const BUILD = path.resolve(ROOT, process.env.TG_BUILD || 'build');
const WEB_BUILD = path.resolve(ROOT, process.env.TG_WEB_BUILD || 'build-web');
const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const CASE_SECONDS = 150;

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Ends a process and its children if it is still there.
function endProcess(pid) {
  try { process.kill(pid, 'SIGKILL'); } catch (e) { /* already gone */ }
}

// Starts scripts/play-web --no-build on a free port; resolves to { url, pid }.
function startServer() {
  const server = spawn('bash', [path.join(ROOT, 'scripts/play-web'), '--no-build'], {
    env: { ...process.env, TG_WEB_PORT: '0' }, stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let seen = '';
    server.stdout.on('data', (chunk) => {
      seen += chunk;
      const m = /http:\/\/127\.0\.0\.1:\d+\//.exec(seen);
      if (m) resolve({ url: m[0], pid: server.pid });
    });
    server.on('exit', (code) => reject(new Error('play-web ended with status ' + code)));
  });
}

// The menu's button centres and the digits' probe colours, as the game computes them.
function loadLayout() {
  const tool = path.join(BUILD, 'tests/layoutinfo');
  if (!fs.existsSync(tool))
    execFileSync('cmake', ['--build', BUILD, '--target', 'layoutinfo'], { stdio: 'ignore' });
  const layout = {};
  for (const line of execFileSync(tool, { cwd: BUILD, encoding: 'utf8' }).split('\n')) {
    const m = /^(\w+)=(.*)$/.exec(line);
    if (m) layout[m[1]] = m[2].includes(',') ? m[2].split(',').map(Number) : Number(m[2]);
  }
  return layout;
}

// Opens the game in a fresh browser (a new profile: the saves of a case
// last until it ends, through reloads) with a temp folder for the case's
// own files; the watchdog ends the browser when the case takes too long.
async function openGame(server, { initScript } = {}) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tumblegrid-web-'));
  const browserServer = await chromium.launchServer({ executablePath: '/usr/bin/chromium', headless: true,
    args: CHROMIUM_FLAGS });
  const browserPid = browserServer.process().pid;
  const browser = await chromium.connect(browserServer.wsEndpoint());
  const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
  const game = { context, folder, errors: [], page: await context.newPage() };
  game.watchdog = setTimeout(() => {
    console.error('watchdog: the case took over ' + CASE_SECONDS + ' s');
    game.close();
  }, CASE_SECONDS * 1000);
  // Keeps a screenshot of the page for a look, in the web build's test-shots folder.
  game.keepShot = async (name) => {
    const file = path.join(WEB_BUILD, 'test-shots', name + '.png');
    fs.mkdirSync(path.dirname(file), { recursive: true });
    await game.page.screenshot({ path: file }).catch(() => {});
    console.error('screenshot kept in ' + file);
  };
  game.close = async () => {
    clearTimeout(game.watchdog);
    await browser.close().catch(() => {});
    await browserServer.close().catch(() => {});
    endProcess(browserPid);
    fs.rmSync(folder, { recursive: true, force: true });
  };
  // Runs a case's steps on the page: a failure keeps a screenshot, and the browser always closes.
  game.play = async (shotName, steps) => {
    try {
      await steps(game.page);
    } catch (e) {
      await game.keepShot(shotName);
      throw e;
    } finally {
      await game.close();
    }
  };
  if (initScript)
    await context.addInitScript(initScript);
  game.page.on('pageerror', (e) => game.errors.push(e.message));
  try {
    await game.page.mouse.move(0, 0);
    await game.page.goto(server.url);
    await waitForFirstFrame(game.page);
  } catch (e) {
    await game.keepShot('no-first-frame');
    console.error(await game.page.evaluate(() => JSON.stringify([document.getElementById("end-text").textContent, window.tumblegrid, Module.calledRun,
      document.readyState, performance.getEntriesByType('resource').map((r) => [r.name, r.duration])])).catch(() => ''));
    await game.close();
    throw e;
  }
  return game;
}

async function waitForFirstFrame(page) {
  await page.waitForFunction(() => window.tumblegrid && window.tumblegrid.firstFrameAt > 0, null,
    { timeout: 20000 });
}

// Does what reloads the page (a button of the end page) and waits for the game's first frame again.
async function reloadedBy(page, action) {
  await page.evaluate(() => { window.beforeReload = true; });
  await action();
  await until(() => page.evaluate(() => !window.beforeReload && window.tumblegrid.firstFrameAt > 0)
    .catch(() => false), 'the page did not start again', 20000);
}

// Waits until check() resolves to something true; fails with the message after ms.
async function until(check, message, ms = 5000) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await check();
    if (value)
      return value;
    if (Date.now() > end)
      throw new Error(message);
    await sleep(50);
  }
}

// The canvas pixels of a region, RGBA, as the game drew them.
async function pixels(page, x = 0, y = 0, w = 1024, h = 768) {
  const encoded = await page.evaluate(([x, y, w, h]) => {
    const bytes = document.getElementById('screen').getContext('2d').getImageData(x, y, w, h).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }, [x, y, w, h]);
  return { x, y, w, h, data: Buffer.from(encoded, 'base64') };
}

// How many pixels differ between two readings of the same region.
function differing(a, b) {
  let count = 0;
  for (let i = 0; i < a.data.length; i += 4)
    if (a.data[i] !== b.data[i] || a.data[i + 1] !== b.data[i + 1] || a.data[i + 2] !== b.data[i + 2])
      count++;
  return count;
}

// Clicks a point of the canvas, in canvas pixels; held for holdMs as a
// player would, or let go at once. The pointer then rests a moment, as a
// player's hand does (a click counts where it is let go), and goes back to
// its corner.
async function clickCanvas(page, x, y, holdMs = 120) {
  const box = await page.locator('#screen').boundingBox();
  await page.mouse.move(box.x + (x + 0.5) * box.width / 1024, box.y + (y + 0.5) * box.height / 768);
  await page.mouse.down();
  if (holdMs)
    await sleep(holdMs);
  await page.mouse.up();
  await sleep(150);
  await page.mouse.move(0, 0);
}

// Presses a key as a player would, held for a few frames, then lets it go for a few.
async function press(page, key) {
  await page.keyboard.press(key, { delay: 50 });
  await sleep(50);
}

// A file of the page's saved files (/save), as bytes.
async function savedFile(page, name) {
  return Buffer.from(await page.evaluate((n) => Array.from(Module.FS.readFile('/save/' + n)), name));
}

// The pixels of a 24- or 32-bit BMP file in the form pixels() gives.
function readBmp(file) {
  const b = fs.readFileSync(file);
  const offset = b.readUInt32LE(10), w = b.readInt32LE(18), h = b.readInt32LE(22), bpp = b.readUInt16LE(28) / 8;
  const stride = Math.ceil(w * bpp / 4) * 4, data = Buffer.alloc(w * Math.abs(h) * 4);
  for (let y = 0; y < Math.abs(h); y++) {
    const row = offset + (h > 0 ? Math.abs(h) - 1 - y : y) * stride;
    for (let x = 0; x < w; x++) {
      const p = row + x * bpp, q = (y * w + x) * 4;
      data[q] = b[p + 2]; data[q + 1] = b[p + 1]; data[q + 2] = b[p]; data[q + 3] = 255;
    }
  }
  return { x: 0, y: 0, w, h: Math.abs(h), data };
}

module.exports = { ROOT, BUILD, WEB_BUILD, sleep, endProcess, startServer, loadLayout, openGame,
  waitForFirstFrame, reloadedBy, until, pixels, differing, clickCanvas, press, savedFile, readBmp };
