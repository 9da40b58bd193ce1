// The browser build played in a real browser: the system's chromium, headless, driven through
// puppeteer-core. The page is served from build/web by Python's http.server on this computer
// only. Run by ./web.sh --test, which builds the page and installs what this needs.

import { spawn } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import test from 'node:test';
import assert from 'node:assert/strict';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const work = path.join(root, 'build/web-test');
const require = createRequire(path.join(work, 'node_modules/'));
const puppeteer = require('puppeteer-core');

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const SHOWN_PER_SECOND = 7372800 / (130 * 737.28);  // one picture every 13.0 ms: 76.9

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Python's http.server on a free port of the loopback address; resolves to its address.
function serve(folder) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
                                   '--directory', folder], {stdio: ['ignore', 'pipe', 'ignore']});
  return new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const port = /port (\d+)/.exec(said);
      if (port) resolve({server, url: `http://127.0.0.1:${port[1]}/`});
    });
    server.on('exit', () => reject(new Error('http.server ended: ' + said)));
    setTimeout(() => reject(new Error('http.server did not start')), 10000);
  });
}

// CPU seconds spent so far by a process and all its descendants (Linux /proc).
function cpuSeconds(rootPid) {
  const parents = new Map(), ticks = new Map();
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(name), Number(fields[1]));
      ticks.set(Number(name), Number(fields[11]) + Number(fields[12]));
    } catch {
      // gone meanwhile
    }
  }
  let total = 0;
  for (const [pid, used] of ticks) {
    for (let p = pid; p > 1; p = parents.get(p) ?? 0) {
      if (p === rootPid) {
        total += used;
        break;
      }
    }
  }
  return total / 100;  // USER_HZ
}

test('the page plays the game in a real browser', {timeout: 240000}, async (t) => {
  const {server, url} = await serve(path.join(root, 'build/web'));
  const profile = fs.mkdtempSync(path.join(work, 'profile-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  t.after(async () => {
    await browser.close();
    server.kill();
    fs.rmSync(profile, {recursive: true, force: true});
  });

  const page = await browser.newPage();
  await page.setViewport({width: 1100, height: 900});
  const problems = [];
  page.on('console', (m) => {
    if (m.type() === 'error') problems.push('console: ' + m.text());
  });
  page.on('pageerror', (e) => problems.push('page: ' + e.message));
  page.on('requestfailed', (r) => problems.push('request: ' + r.url()));

  const status = () => page.evaluate(() => window.boltfever.status());
  async function until(what, check, ms = 15000) {
    const end = Date.now() + ms;
    for (;;) {
      const now = await status();
      if (now && check(now)) return now;
      assert.ok(Date.now() < end, `${what}: still ${JSON.stringify(now)}`);
      await sleep(50);
    }
  }
  async function hold(key, ms) {
    await page.keyboard.down(key);
    await sleep(ms);
    await page.keyboard.up(key);
  }
  const load = async () => until('pictures after loading', (s) => s.pictures >= 20, 30000);
  // From the title screen: START opens its menu, START again picks NEW GAME. The level's music
  // fades in first, which holds the pictures back.
  async function startGame() {
    for (const key of ['Enter', 'Enter']) {
      await hold(key, 100);
      await sleep(200);
    }
    let last = await until('level 1', (s) => s.level >= 0 && s.menuOpen === 0);
    for (;;) {
      await sleep(200);
      const now = await status();
      if (now.musicVolume === last.musicVolume && now.pictures > last.pictures + 10) return;
      last = now;
    }
  }

  await page.goto(url + 'index.html?args=--seed%201');
  await load();

  await t.test('the player walks in the title screen\'s tutorial', async () => {
    const start = await status();
    let moved = false;
    for (const key of ['ArrowRight', 'ArrowDown', 'ArrowLeft', 'ArrowUp']) {
      await hold(key, 400);
      const now = await status();
      if (now.x !== start.x || now.y !== start.y) {
        moved = true;
        break;
      }
    }
    assert.ok(moved, 'the player stayed at ' + JSON.stringify(start));
  });

  await t.test('START and NEW GAME start level 1', startGame);

  await t.test('shots fly', async () => {
    const before = await status();
    await page.keyboard.down('Space');
    await until('shots in the maze', (s) => s.shots > 0 && s.playerShots > before.playerShots,
                3000);
    await page.screenshot({path: path.join(work, 'page.png')});
    await page.keyboard.up('Space');
  });

  await t.test('the pictures come at the game\'s pace, and the tab gets the waits', async () => {
    const pid = browser.process().pid;
    const first = await status(), cpuBefore = cpuSeconds(pid), metricsBefore = await page.metrics();
    const began = Date.now();
    await sleep(5000);
    const last = await status(), cpuAfter = cpuSeconds(pid), metricsAfter = await page.metrics();
    const seconds = (Date.now() - began) / 1000;
    const perSecond = (last.pictures - first.pictures) / seconds;
    const cpu = (cpuAfter - cpuBefore) / seconds;
    const busy = (metricsAfter.TaskDuration - metricsBefore.TaskDuration) / seconds;
    const asleep = (last.sleptMs - first.sleptMs) / 1000 / seconds;
    const sound = (last.soundFrames - first.soundFrames) / seconds;
    const percent = (share) => `${(share * 100).toFixed(0)} %`;
    t.diagnostic(`pictures per second ${perSecond.toFixed(1)} (the game's pace ${
        SHOWN_PER_SECOND.toFixed(1)})`);
    t.diagnostic(`browser CPU ${percent(cpu)} of one core; the page's main thread busy ${
        percent(busy)}, asleep in the game's waits ${percent(asleep)}`);
    t.diagnostic(`sound frames per second ${sound.toFixed(0)} (22050 played)`);
    assert.ok(asleep > 0.5, `asleep only ${asleep} of the time`);
    assert.ok(sound > 22050 * 0.9 && sound < 22050 * 1.1, `${sound} sound frames a second`);
  });

  await t.test('a changed volume survives a reload', async () => {
    const before = (await status()).masterVolume;
    await hold('Minus', 500);
    await sleep(300);  // the release is seen, then the settings are kept
    const lowered = (await status()).masterVolume;
    assert.ok(lowered < before, `volume ${before} -> ${lowered}`);
    await page.reload();
    const again = await load();
    assert.equal(again.masterVolume, lowered);
    await startGame();
  });

  await t.test('Alt+Enter fills the screen, the picture at a whole scale', async () => {
    // Tall enough for 3 x 240 alone, not with the controls under it.
    await page.setViewport({width: 1000, height: 760});
    const layout = (full, width, height) => page.waitForFunction(
        (...want) => {
          const canvas = document.getElementById('canvas');
          const now = [document.fullscreenElement ? document.fullscreenElement.id : '',
                       canvas.style.width, canvas.style.height];
          return now.every((value, i) => value === want[i]);
        },
        {timeout: 5000}, full, width, height);
    const altEnter = async () => {
      await page.keyboard.down('Alt');
      await page.keyboard.press('Enter');
      await page.keyboard.up('Alt');
    };
    await layout('', '640px', '480px');
    await altEnter();
    await layout('screen', '960px', '720px');
    await altEnter();
    await layout('', '640px', '480px');
    assert.equal((await status()).menuOpen, 0);  // Enter with Alt is not START
  });

  await t.test('a hidden tab pauses the game', async () => {
    assert.equal((await status()).menuOpen, 0);
    const other = await browser.newPage();
    await other.bringToFront();
    await until('the pause', (s) => s.menuOpen === 1, 10000);
    await other.close();
    await page.bringToFront();
    await page.screenshot({path: path.join(work, 'paused.png')});
  });

  await t.test('QUIT from the menu thanks the player', async () => {
    // The pause menu is open: down to QUIT, then START.
    for (const key of ['ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter']) {
      await hold(key, 100);
      await sleep(100);
    }
    await page.waitForFunction(() => window.boltfever.endStatus !== null, {timeout: 10000});
    const said = await page.evaluate(() => [window.boltfever.endStatus,
                                            document.getElementById('message').textContent]);
    assert.deepEqual(said, [0, 'Thanks for playing. Reload the page to play again.']);
  });

  assert.deepEqual(problems, []);
});
