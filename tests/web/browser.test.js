// browser.test.js -- the game in headless Chromium, served by
// scripts/play-web. Between them the cases walk every path on which the
// game sleeps in the browser (the menu and its buttons, play, the pause,
// the help from the menu and from play, the message box, the name entry
// and its held Ok button, the error box, the end of a round, the saves),
// since a function missing from the build's ASYNCIFY list would only show
// there.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./harness');

const WELL_X = 350, WELL_Y = 100, CELL = 30, BOTTOM_ROW = 14;
let server, layout;

test.before(async () => {
  server = await h.startServer();
  layout = h.loadLayout();
});
test.after(() => h.endProcess(server.pid));

// 1 when the probe pixel of the cell at (row, column) shows the digit of code d
// (any digit when d is undefined).
async function cellShows(page, row, column, d) {
  const p = await h.pixels(page, WELL_X + CELL * column + layout.DIGIT_PROBE_X,
    WELL_Y + CELL * row + layout.DIGIT_PROBE_Y, 1, 1);
  const rgb = [p.data[0], p.data[1], p.data[2]];
  const codes = d === undefined ? [0, 1, 2, 3, 4, 5, 6, 7, 8] : [d];
  return codes.some((c) => layout['DIGIT_RGB_' + c].every((v, i) => v === rgb[i]));
}

// The canvas row of the falling digit's probe in the spawn column, or -1.
async function fallingDigitRow(page) {
  const x = WELL_X + CELL * 5 + layout.DIGIT_PROBE_X;
  const strip = await h.pixels(page, x, WELL_Y, 1, CELL * 15);
  for (let y = 0; y < strip.h; y++)
    for (let c = 0; c < 9; c++)
      if (layout['DIGIT_RGB_' + c].every((v, i) => v === strip.data[4 * y + i]))
        return WELL_Y + y;
  return -1;
}

test('menu, a difficulty by click, steering, the pause on blur, help, music, settings after a reload',
  async () => {
    const game = await h.openGame(server);
    await game.play('case-1', async (page) => {
      const menu = await h.pixels(page);
      assert.ok(new Set(menu.data.filter((v, i) => i % 4 === 0)).size > 50, 'the menu is not drawn');
      const row = [layout.ROW_LEFT, layout.ROW_TOP, layout.ROW_W, layout.ROW_H];

      // A quick click (press and release within one frame) still chooses.
      await h.clickCanvas(page, layout.HARD_X, layout.HARD_Y, 0);
      await h.until(async () => h.differing(cut(menu, row), await h.pixels(page, ...row)) > 100,
        'the click did not choose Hard');
      await h.until(async () => /difficulty = 3/.test(await h.savedFile(page, 'settings.cfg')),
        'settings.cfg does not keep Hard');
      const hardRow = await h.pixels(page, ...row);

      // The help from the menu, then a round: music reaches Web Audio after the first key.
      await h.press(page, 'h');
      await h.until(async () => h.differing(menu, await h.pixels(page)) > 100000, 'H showed no help');
      await h.press(page, 'x');
      await h.until(async () => h.differing(hardRow, await h.pixels(page, ...row)) === 0, 'no menu after help');
      await h.press(page, 's');
      await h.until(() => page.evaluate(() => Module.webAudio.context.state === 'running' &&
        Module.webAudio.loudest > 1000), 'no music reached Web Audio');

      // Hard falls two pixels a frame: 120 pixels a second.
      const first = await h.until(async () => {
        const y = await fallingDigitRow(page);
        return y >= 0 && y < WELL_Y + 4 * CELL ? { y, t: Date.now() } : null;
      }, 'no digit falls');
      await h.sleep(750);
      const speed = ((await fallingDigitRow(page)) - first.y) * 1000 / (Date.now() - first.t);
      assert.ok(speed > 100 && speed < 140, `the digit falls ${speed.toFixed(0)} px/s, not Hard's 120`);

      // D twice and S: the digit lands in the bottom row two columns right of the middle.
      await h.press(page, 'd');
      await h.press(page, 'd');
      await h.press(page, 's');
      await h.until(() => cellShows(page, BOTTOM_ROW, 7), 'the digit did not land in column 7');
      assert.ok(!(await cellShows(page, BOTTOM_ROW, 5)), 'a digit landed in the middle column');

      // Losing the focus pauses: the well is hidden and the clock stops until a key.
      await h.sleep(300);
      await page.evaluate(() => window.dispatchEvent(new Event('blur')));
      await h.until(async () => !(await cellShows(page, BOTTOM_ROW, 7)), 'blur did not pause the round');
      const paused = await h.pixels(page);
      await h.sleep(1500);
      assert.strictEqual(h.differing(paused, await h.pixels(page)), 0, 'the paused screen changed');
      await page.evaluate(() => window.dispatchEvent(new Event('focus')));
      await h.press(page, 'x');
      await h.until(() => cellShows(page, BOTTOM_ROW, 7), 'a key did not continue the round');

      // F1 shows the help in play; a key returns with the well as it was.
      await h.press(page, 'F1');
      await h.until(async () => !(await cellShows(page, BOTTOM_ROW, 7)), 'F1 showed no help');
      await h.press(page, 'x');
      await h.until(() => cellShows(page, BOTTOM_ROW, 7), 'no well after the help');

      // Q leaves the round; after a reload the menu shows Hard chosen.
      await h.press(page, 'q');
      await page.reload();
      await h.waitForFirstFrame(page);
      await h.until(async () => h.differing(hardRow, await h.pixels(page, ...row)) === 0,
        'the difficulty did not survive the reload');
      assert.deepStrictEqual(game.errors, []);
    });
  });

// The part of a full-canvas reading that a region covers.
function cut(full, [x, y, w, hgt]) {
  const data = [];
  for (let r = y; r < y + hgt; r++)
    data.push(full.data.subarray(4 * (r * 1024 + x), 4 * (r * 1024 + x + w)));
  return { x, y, w, h: hgt, data: Buffer.concat(data) };
}

// The game's own dealer, built for the browser from the game's library,
// tells the digit sequence for a seed; the seed in a small range that
// completes the bottom row soonest is used. It is built in a temp folder
// of its own, gone again once the sequence is known.
function dealerSequence() {
  const folder = fs.mkdtempSync(path.join(require('node:os').tmpdir(), 'tumblegrid-dealer-'));
  try {
    return dealerSequenceIn(folder);
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// Builds and runs the dealer in the folder given.
function dealerSequenceIn(folder) {
  const cache = fs.readFileSync(path.join(h.WEB_BUILD, 'game/CMakeCache.txt'), 'utf8');
  const allegro = /^TG_ALLEGRO_PREFIX:PATH=(.*)$/m.exec(cache)[1];
  const source = path.join(folder, 'dealer.cpp'), program = path.join(folder, 'dealer.js');
  fs.writeFileSync(source, `
    #include "game/well.h"
    #include <cstdio>
    #include <cstdlib>
    int main(int, char **argv) {
        for (long seed = atol(argv[1]); seed <= atol(argv[2]); seed++) {
            srand((unsigned)seed);
            startRound();
            int seq[200], seen = 0, needed = 0;
            seq[0] = nextDigit;
            for (int i = 1; i < 200; i++) seq[i] = pickNextDigit();
            for (int i = 0; i < 200 && seen != 0x1FF; i++) { seen |= 1 << seq[i]; needed = i + 1; }
            printf("%d %ld", needed, seed);
            for (int i = 0; i < needed; i++) printf(" %d", seq[i]);
            printf("\\n");
        }
    }`);
  execFileSync('em++', ['-std=c++17', '-O1', '-I' + h.ROOT, '-I' + allegro + '/include', source, '-o', program,
    '-sENVIRONMENT=node', '-sWASM_ASYNC_COMPILATION=0', path.join(h.WEB_BUILD, 'game/libtumblegrid_core.a'),
    allegro + '/lib/liballeg.a'], { env: { NODE_PATH: '/usr/share/nodejs', ...process.env } });
  const lines = execFileSync('node', [program, '4000', '4200'], { encoding: 'utf8' }).trim().split('\n')
    .map((l) => l.split(' ').map(Number)).sort((a, b) => a[0] - b[0] || a[1] - b[1]);
  return { seed: lines[0][1], digits: lines[0].slice(2) };
}

test('a round ended by stacking enters the table; after a reload the high-score screen shows it',
  async () => {
    const { seed, digits } = dealerSequence();
    // The game seeds its dealer with the time: the clock stands at the seed
    // until the first frame and runs from there (the saved files' times must
    // move on, or IndexedDB would keep the older copy).
    const game = await h.openGame(server, { initScript: `(() => {
      const now = Date.now.bind(Date), base = ${seed} * 1000;
      Date.now = () => {
        const first = window.tumblegrid && window.tumblegrid.firstFrameAt;
        return first ? base + now() - (performance.timeOrigin + first) : base;
      };
    })()` });
    await game.play('case-2', async (page) => {
      const COLUMN = [380, 100, 270, 560];
      const menuColumn = await h.pixels(page, ...COLUMN);
      const initial = await h.savedFile(page, 'highscores.dat');
      await h.press(page, 's');
      // Each digit goes to the column of its code, repeats to columns 9 and 10 in turn.
      let dump = 9;
      const placed = new Set();
      for (const d of digits) {
        let column = d;
        if (placed.has(d)) {
          column = dump;
          dump = 19 - dump;
        }
        placed.add(d);
        await h.until(async () => (await fallingDigitRow(page)) >= 0, 'no digit to steer', 8000);
        for (let k = 0; k < Math.abs(column - 5); k++)
          await h.press(page, column < 5 ? 'ArrowLeft' : 'ArrowRight');
        await h.press(page, 's');
        if (column < 9)
          await h.until(() => cellShows(page, BOTTOM_ROW, column, d), `digit ${d + 1} did not land`, 8000);
        else
          await h.sleep(1500);
      }
      // The row clears; then column 5 is filled until the picture stands still under the box.
      await h.until(async () => !(await cellShows(page, BOTTOM_ROW, 0)), 'the row did not clear', 5000);
      let previous = await h.pixels(page);
      await h.until(async () => {
        await h.press(page, 's');
        await h.sleep(250);
        const now = await h.pixels(page);
        const still = h.differing(previous, now) === 0;
        previous = now;
        return still;
      }, 'the round did not end', 60000);
      // The message box's OK and the name box's Ok are clicked and held, as a player would.
      const box = await h.pixels(page);
      await page.keyboard.press('Enter');
      await h.until(async () => h.differing(box, await h.pixels(page)) > 200, 'no name box came');
      await page.keyboard.type('Rowan', { delay: 60 });
      await h.sleep(200);
      await h.clickCanvas(page, 512, 414, 200);
      await h.until(async () => !initial.equals(await h.savedFile(page, 'highscores.dat')), 'no save');
      // The game goes on once the save is stored: the page is reloaded straight away.
      await h.until(async () => h.differing(menuColumn, await h.pixels(page, ...COLUMN)) < 500, 'no menu after the entry');

      // After a reload the high-score screen is the desktop tool's picture of the saved file.
      await page.reload();
      await h.waitForFirstFrame(page);
      await h.press(page, 'i');
      const file = path.join(game.folder, 'highscores.dat'), picture = path.join(game.folder, 'scores.bmp');
      fs.writeFileSync(file, await h.savedFile(page, 'highscores.dat'));
      const tool = path.join(h.BUILD, 'tools/tumblegrid-scores');
      const list = execFileSync(tool, ['list', file], { encoding: 'utf8' });
      assert.match(list.split('\n')[14], /Rowan\.+\s*850/, 'Rowan with 850 is not in the last slot:\n' + list);
      execFileSync(tool, ['draw', file, picture], { cwd: h.BUILD });
      const expected = h.readBmp(picture);
      await h.until(async () => h.differing(expected, await h.pixels(page)) === 0,
        'the high-score screen differs from the desktop tool\'s picture');
      assert.deepStrictEqual(game.errors, []);
    });
  });

test('a damaged stored table gives the message in the page and can be reset; Q shows the end page',
  async () => {
    const game = await h.openGame(server);
    await game.play('case-3', async (page) => {
      // The about picture, then a table over 1 MiB stored in place of the real one.
      const menu = await h.pixels(page);
      await h.press(page, 'o');
      await h.until(async () => h.differing(menu, await h.pixels(page)) > 100000, 'O showed no about picture');
      await page.evaluate(() => new Promise((done) => {
        Module.FS.writeFile('/save/highscores.dat', new Uint8Array((1 << 20) + 1));
        Module.FS.syncfs(false, done);
      }));
      await page.reload();
      await page.locator('#error').waitFor({ state: 'visible', timeout: 20000 });
      assert.strictEqual(await page.locator('#error-title').textContent(), 'Error');
      assert.strictEqual(await page.locator('#error-text').textContent(), 'Fatal Error!  Cannot Open File!');
      await page.locator('#error-ok').click();
      await page.locator('#end-reset').waitFor({ state: 'visible' });
      assert.match(await page.locator('#end-text').textContent(), /Cannot Open File/);

      // The reset brings the initial table back; Q then ends the game with the end page.
      await h.reloadedBy(page, () => page.locator('#end-reset').click());
      assert.strictEqual((await h.savedFile(page, 'highscores.dat')).length,
        fs.statSync(path.join(h.BUILD, 'highscores.initial.dat')).size);
      await h.press(page, 'q');
      await page.locator('#end-again').waitFor({ state: 'visible' });
      assert.ok(await page.locator('#end-reset').isHidden(), 'a plain end offers a reset');
      await h.reloadedBy(page, () => page.locator('#end-again').click());
      assert.deepStrictEqual(game.errors, []);
    });
  });
