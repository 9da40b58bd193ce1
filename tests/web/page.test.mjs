// The browser build played in a real browser: the system's chromium, headless, driven through
// puppeteer-core. The page is served from build/web by Python's http.server on this computer
// only. Run by ./web.sh --test, which builds the page and installs what this needs.

import { spawn, spawnSync } from 'node:child_process';
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

// CPU seconds spent so far by a process and all its descendants (Linux /proc), by chromium's
// kind of process (--type=renderer, gpu-process, utility; the browser itself has none).
function cpuSeconds(rootPid) {
  const parents = new Map(), used = new Map();
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const command = fs.readFileSync(`/proc/${name}/cmdline`, 'utf8');
      const kind = /--utility-sub-type=[\w.]*?(\w+)(?:[\s\0]|$)/.exec(command)?.[1] ??
                   /--type=([\w-]+)/.exec(command)?.[1] ?? 'browser';
      parents.set(Number(name), Number(fields[1]));
      used.set(Number(name), [kind, (Number(fields[11]) + Number(fields[12])) / 100]);  // USER_HZ
    } catch {
      // gone meanwhile
    }
  }
  const total = {};
  for (const [pid, [kind, seconds]] of used) {
    for (let p = pid; p > 1; p = parents.get(p) ?? 0) {
      if (p === rootPid) {
        total[kind] = (total[kind] ?? 0) + seconds;
        break;
      }
    }
  }
  return total;
}

// The page in a new tab of `browser`, with these options and, at / in its files, the given ones;
// resolves to the status the game ended with, and the page's tab.
async function playPage(browser, url, args, files = {}, hands = async () => {}) {
  const tab = await browser.newPage();
  await tab.evaluateOnNewDocument((given) => {
    let module;
    Object.defineProperty(window, 'Module', {configurable: true, get: () => module, set: (m) => {
      module = m;
      m.preRun = [() => Object.entries(given).forEach(([name, bytes]) =>
                                                        FS.writeFile(name, new Uint8Array(bytes)))];
    }});
  }, Object.fromEntries(Object.entries(files).map(([name, bytes]) => [name, [...bytes]])));
  await tab.goto(url + 'index.html?args=' + encodeURIComponent(args));
  await tab.waitForFunction(() => window.boltfever.running, {timeout: 30000});
  await hands(tab);
  await tab.waitForFunction(() => window.boltfever.endStatus !== null, {timeout: 90000});
  return [await tab.evaluate(() => window.boltfever.endStatus), tab];
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

  const problems = [];
  // A page that reports every error and failed request in `problems`; `before` runs in it
  // before its own scripts.
  async function open(viewport, before = () => {}, args = '--seed 1') {
    const tab = await browser.newPage();
    await tab.setViewport(viewport);
    await tab.evaluateOnNewDocument(before);
    tab.on('console', (m) => {
      if (m.type() === 'error') problems.push('console: ' + m.text());
    });
    tab.on('pageerror', (e) => problems.push('page: ' + e.message + e.stack));
    tab.on('requestfailed', (r) => problems.push('request: ' + r.url()));
    await tab.goto(url + 'index.html?args=' + encodeURIComponent(args),
                   {waitUntil: 'domcontentloaded'});
    return tab;
  }
  const page = await open({width: 1100, height: 900});

  const status = (tab = page) => tab.evaluate(() => window.boltfever.status());
  async function until(what, check, ms = 15000, tab = page) {
    const end = Date.now() + ms;
    for (;;) {
      const now = await status(tab);
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
  // The player walks one of four ways (a wall may stand in some): `press(way, ms)` holds it.
  async function walks(press, tab = page) {
    const start = await status(tab);
    for (const way of ['right', 'down', 'left', 'up']) {
      await press(way, 400);
      const now = await status(tab);
      if (now.x !== start.x || now.y !== start.y) return;
    }
    assert.fail('the player stayed at ' + JSON.stringify(start));
  }
  const arrow = {right: 'ArrowRight', down: 'ArrowDown', left: 'ArrowLeft', up: 'ArrowUp'};
  const load = async (tab = page) =>
    until('pictures after loading', (s) => s.pictures >= 20, 30000, tab);
  // From the title screen: START opens its menu, START again picks NEW GAME. The level's music
  // fades in first, which holds the pictures back.
  async function startGame(press = (ms) => hold('Enter', ms), tab = page) {
    for (let i = 0; i < 2; ++i) {
      await press(100);
      await sleep(200);
    }
    await settled(tab);
  }
  async function settled(tab = page) {
    let last = await until('level 1', (s) => s.level >= 0 && s.menuOpen === 0, 15000, tab);
    for (;;) {
      await sleep(200);
      const now = await status(tab);
      if (now.musicVolume === last.musicVolume && now.pictures > last.pictures + 10) return;
      last = now;
    }
  }

  await load();
  // The page ships its music as scores and makes it at start: the same samples as the build's.
  assert.equal((await status()).musicReady, 1, 'the page\'s music is not the build\'s');

  await t.test('the player walks in the title screen\'s tutorial, with no touch controls', async () => {
    await walks((way, ms) => hold(arrow[way], ms));
    assert.deepEqual(await page.evaluate(() => [document.body.className,
                                                document.querySelectorAll('[class^=touch]').length]),
                     ['', 0]);
  });

  await t.test('START and NEW GAME start level 1', () => startGame());

  await t.test('shots fly', async () => {
    const before = await status();
    await page.keyboard.down('Space');
    await until('shots in the maze', (s) => s.shots > 0 && s.playerShots > before.playerShots,
                3000);
    await page.screenshot({path: path.join(work, 'page.png')});
    await page.keyboard.up('Space');
  });

  await t.test('the pictures come at the game\'s pace, and the tab gets the waits', async () => {
    // The floor: a page that only draws a picture as large at every animation frame and plays
    // the same sound, in a browser of its own, measured over the same seconds as the game's so
    // that whatever else the machine does weighs on both alike.
    const size = await page.evaluate(() => {
      const c = document.getElementById('canvas').getBoundingClientRect();
      return `${c.width}x${c.height}`;
    });
    const floorProfile = fs.mkdtempSync(path.join(work, 'floor-'));
    const floorBrowser = await puppeteer.launch({
      executablePath: CHROMIUM, headless: true, userDataDir: floorProfile,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    try {
      const floor = await floorBrowser.newPage();
      await floor.setViewport({width: 1100, height: 900});
      await floor.goto(`file://${root}/tests/web/floor.html?size=${size}`);
      await floor.keyboard.press('KeyA');  // the sound starts with a key, as the game's does
      await sleep(1000);

      const pid = browser.process().pid, floorPid = floorBrowser.process().pid;
      const first = await status(), metricsBefore = await page.metrics();
      const floorSoundBefore = await floor.evaluate(() => window.soundFrames);
      const cpuBefore = cpuSeconds(pid), floorBefore = cpuSeconds(floorPid);
      const began = Date.now();
      await sleep(10000);
      const cpuAfter = cpuSeconds(pid), floorAfter = cpuSeconds(floorPid);
      const seconds = (Date.now() - began) / 1000;
      const last = await status(), metricsAfter = await page.metrics();
      const floorSound = (await floor.evaluate(() => window.soundFrames) - floorSoundBefore) /
                         seconds;

      const perSecond = (last.pictures - first.pictures) / seconds;
      const share = (after, before) => (after - (before ?? 0)) / seconds;
      const percent = (part) => `${(part * 100).toFixed(1)} %`;
      const byKind = (after, before) =>
        Object.keys(after).map((kind) => [kind, share(after[kind], before[kind])]);
      const total = (kinds) => kinds.reduce((sum, [, part]) => sum + part, 0);
      const listed = (kinds) => kinds.filter(([, part]) => part >= 0.001)
                                    .map(([kind, part]) => `${kind} ${percent(part)}`).join(', ');
      const kinds = byKind(cpuAfter, cpuBefore), floorKinds = byKind(floorAfter, floorBefore);
      const cpu = total(kinds), floorCpu = total(floorKinds);
      const busy = share(metricsAfter.TaskDuration, metricsBefore.TaskDuration);
      const spent = (what) => share(last[what], first[what]) / 1000;
      const asleep = spent('sleptMs');
      const sound = share(last.soundFrames, first.soundFrames);
      t.diagnostic(`pictures per second ${perSecond.toFixed(1)} (the game's pace ${
          SHOWN_PER_SECOND.toFixed(1)})`);
      t.diagnostic(`browser CPU ${percent(cpu)} of one core: ${listed(kinds)}`);
      t.diagnostic(`the page's main thread busy ${percent(busy)}: the game ${
          percent(spent('busyMs') - spent('soundMs'))}, its sound ${percent(spent('soundMs'))}, ${
          ''}drawing ${percent(spent('drawMs'))}; asleep in the game's waits ${percent(asleep)}`);
      t.diagnostic(`sound frames per second ${sound.toFixed(0)} (22050 played)`);
      t.diagnostic(`the floor page (${size}, ${floorSound.toFixed(0)} sound frames a second): ${
          percent(floorCpu)} of one core (${listed(floorKinds)}); the game's page ${
          (cpu / floorCpu).toFixed(2)} times that`);
      assert.ok(asleep > 0.5, `asleep only ${asleep} of the time`);
      // A picture's wait is one sleep: the page's timers are steered to its deadline, not
      // chased round the event loop for the last fraction of a millisecond.
      const sleepsPerPicture = (last.sleeps - first.sleeps) / (last.pictures - first.pictures);
      t.diagnostic(`sleeps per picture ${sleepsPerPicture.toFixed(2)}`);
      assert.ok(sleepsPerPicture < 1.5, `${sleepsPerPicture} sleeps a picture`);
      assert.ok(sound > 22050 * 0.9 && sound < 22050 * 1.1, `${sound} sound frames a second`);
      assert.ok(floorSound > 22050 * 0.9, `the floor played ${floorSound} frames a second`);
    } finally {
      await floorBrowser.close();
      fs.rmSync(floorProfile, {recursive: true, force: true});
    }
  });

  await t.test('a controller plugged in mid-game moves and fires, and lets go when pulled out',
               async () => {
    // A controller in the standard layout, as navigator.getGamepads gives it.
    await page.evaluate(() => {
      const pad = {id: 'Test pad', index: 0, mapping: 'standard', connected: false, timestamp: 0,
                   axes: [0, 0, 0, 0], buttons: []};
      for (let i = 0; i < 17; ++i) pad.buttons.push({pressed: false, touched: false, value: 0});
      const pads = [null];
      navigator.getGamepads = () => pads;
      window.plug = (on) => {
        pads[0] = on ? pad : null;
        pad.connected = on;
        const event = new Event(on ? 'gamepadconnected' : 'gamepaddisconnected');
        event.gamepad = pad;
        window.dispatchEvent(event);
      };
      window.setPad = (x, y, held) => {
        pad.axes[0] = x;
        pad.axes[1] = y;
        pad.buttons.forEach((b, i) => b.value = +(b.pressed = held.includes(i)));
        ++pad.timestamp;
      };
    });
    // The player walks with the stick and fires with A; then walks with the D-pad.
    const padWalks = (held) => walks(async (way, ms) => {
      await page.evaluate((...a) => window.setPad(...a), ...held(way));
      await sleep(ms);
    });
    const stick = {right: [1, 0], down: [0, 1], left: [-1, 0], up: [0, -1]};
    await page.evaluate(() => window.plug(true));
    await padWalks((way) => [...stick[way], [0]]);
    await until('shots from the controller', (s) => s.shots > 0, 3000);
    // Pulled out with the stick pushed and A down: the player stops and holds fire.
    await page.evaluate(() => window.plug(false));
    await sleep(300);
    const unplugged = await status();
    await sleep(500);
    const later = await status();
    assert.deepEqual([later.x, later.y, later.playerShots],
                     [unplugged.x, unplugged.y, unplugged.playerShots]);
    await page.evaluate(() => window.plug(true));
    await padWalks((way) => [0, 0, [{up: 12, down: 13, left: 14, right: 15}[way]]]);
    await page.evaluate(() => window.setPad(0, 0, []));
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

  await t.test('with the network gone the page starts again and plays', async () => {
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null,
                               {timeout: 10000});
    server.kill();
    await new Promise((resolve) => server.on('exit', resolve));
    await page.reload();
    await load();
    await startGame();
    await walks((way, ms) => hold(arrow[way], ms));
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

  await t.test('on a phone, touch walks the tutorial, taps the menus and plays level 1',
               async () => {
    const upright = {width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true,
                     hasTouch: true};
    // The phone's vibration, counted.
    const counted = () => {
      window.shaken = [];
      navigator.vibrate = (ms) => window.shaken.push(ms) > 0;
    };
    const phone = await open(upright, counted);
    const where = () => phone.evaluate(() => [...document.querySelectorAll(
        '.touch-stick, .touch-button')].filter((el) => el.style.display !== 'none').map((el) => {
      const c = el.getBoundingClientRect();
      return {name: el.textContent || el.className, x: c.left + c.width / 2,
              y: c.top + c.height / 2, r: c.width / 2, w: c.width, h: c.height};
    }));
    const tap = async (x, y, ms = 60) => {
      const finger = await phone.touchscreen.touchStart(x, y);
      await sleep(ms);
      await finger.end();
    };
    // The first tap counts: START 100 ms after the page appears opens the title's menu.
    const start = (await where()).find((c) => c.name === 'START');
    await sleep(100);
    await tap(start.x, start.y);
    await until('the title\'s menu', (s) => s.menuOpen === 1 && s.pictures > 0, 30000, phone);
    // The picture at a whole number of the screen's pixels, too large for one step more, and
    // the controls on the screen beside it, each a fingertip at least.
    const layout = async (name) => {
      await sleep(300);
      await phone.screenshot({path: path.join(work, `phone-${name}.png`)});
      const fit = await phone.evaluate(() => {
        const box = (el) => el.getBoundingClientRect();
        const picture = box(document.getElementById('canvas'));
        const controls = [...document.querySelectorAll('.touch-stick, .touch-button')]
            .filter((el) => el.style.display !== 'none').map(box);
        const scale = picture.width * devicePixelRatio / 320, ratio = devicePixelRatio;
        const apart = (c) => c.right <= picture.left || c.left >= picture.right ||
                             c.bottom <= picture.top || c.top >= picture.bottom;
        const inside = (c) => c.left >= 0 && c.top >= 0 && c.right <= innerWidth &&
                              c.bottom <= innerHeight;
        return [Math.abs(scale - Math.round(scale)) < 1e-3,
                (scale + 1) * 320 / ratio > innerWidth || (scale + 1) * 240 / ratio > innerHeight,
                controls.length >= 6 && controls.every((c) => apart(c) && inside(c)),
                controls.every((c) => c.width >= 44 && c.height >= 44)];
      });
      assert.deepEqual(fit, [true, true, true, true], name);
    };
    await layout('portrait');
    // A tap on a menu's item chooses it: the item under a pixel of the picture, found by asking
    // the game, tapped where the page shows it.
    const item = async (id) => {
      const at = await phone.evaluate((id) => {
        let first = -1, last = -1;
        for (let y = 0; y < 240; ++y) {
          if (Module._bf_pointer_target(160, y) !== id) continue;
          if (first < 0) first = y;
          last = y;
        }
        const c = document.getElementById('canvas').getBoundingClientRect();
        return first < 0 ? null : {x: c.left + c.width / 2,
                                   y: c.top + (first + last + 1) / 2 * c.height / 240};
      }, id);
      assert.ok(at, `no item ${id} in the picture`);
      return at;
    };
    const chosen = await item(1);  // NEW GAME
    await tap(chosen.x, chosen.y);
    await settled(phone);

    const [stick, a] = await where();
    const push = {right: [1, 0], down: [0, 1], left: [-1, 0], up: [0, -1]};
    const steer = (way, ms) => tap(stick.x + push[way][0] * stick.r * 0.8,
                                   stick.y + push[way][1] * stick.r * 0.8, ms);
    // Two thumbs at once: A held while the other steers.
    const before = await status(phone);
    const fire = await phone.touchscreen.touchStart(a.x, a.y);
    await walks(steer, phone);
    await until('shots by touch', (s) => s.playerShots > before.playerShots, 3000, phone);
    await fire.end();

    // The fullscreen button fills the screen and goes; back from fullscreen, the game goes on.
    const full = (await where()).find((c) => c.name === 'FULL\nSCREEN');
    await tap(full.x, full.y);
    await phone.waitForFunction(() => document.fullscreenElement?.id === 'screen',
                                {timeout: 5000});
    assert.ok(!(await where()).some((c) => c.name === 'FULL\nSCREEN'));
    const inFull = await status(phone);
    await phone.evaluate(() => document.exitFullscreen());
    await until('the game going on', (s) => s.pictures > inFull.pictures + 50 &&
                                              s.level === inFull.level, 5000, phone);

    await phone.setViewport({...upright, width: upright.height, height: upright.width});
    await layout('landscape');
    const [wideStick, wideA] = await where();
    assert.ok(wideStick.x < wideA.x, 'the stick left of A');
    await phone.screenshot({path: '/tmp/boltfever-phone-landscape.png'});
    await phone.setViewport(upright);
    await sleep(300);
    await phone.screenshot({path: '/tmp/boltfever-phone-portrait.png'});

    // QUIT in the pause menu brings back the title, not a page that says to reload.
    await tap(start.x, start.y);
    await until('the pause menu', (s) => s.menuOpen === 1, 5000, phone);
    const quit = await item(4);
    await Promise.all([phone.waitForNavigation({timeout: 15000}), tap(quit.x, quit.y)]);
    await until('the title again', (s) => s.pictures > 20 && s.level < 0, 30000, phone);
    await phone.close();

    // Standing still at level 11 of this game, the player is hit within 8 seconds and loses a
    // life within 17: the phone gives a short shake, then a long one.
    const hit = await open(upright, counted, '--seed 1 --level 10');
    await hit.waitForFunction(() => window.shaken.includes(40) && window.shaken.includes(250),
                              {timeout: 40000});
    await hit.close();
  });

  assert.deepEqual(problems, []);
});

// One game in the page and in the native program: a replay recorded in the page plays to its
// end, picture for picture, in the native game built from the same tree, and a native one in the
// page. The page is given the native replay before the game starts, through its Module.
test('a replay of the page plays in the native game, and a native one in the page',
     {timeout: 120000}, async (t) => {
  const game = path.join(root, 'build/default/boltfever');
  const dir = fs.mkdtempSync(path.join(work, 'replays-'));
  const native = (args) => spawnSync(game, args, {cwd: dir, encoding: 'utf8',
                                                   env: {...process.env, HOME: dir, XDG_DATA_HOME: ''}});
  const {server, url} = await serve(path.join(root, 'build/web'));
  const browser = await puppeteer.launch({executablePath: CHROMIUM, headless: true,
                                          userDataDir: path.join(dir, 'profile'),
                                          args: ['--no-sandbox', '--disable-gpu', '--no-first-run']});
  t.after(async () => {
    await browser.close();
    server.kill();
  });
  const play = (args, files, hands) => playPage(browser, url, args, files, hands);

  // The page records a game played with its keys: START twice for level 1, then walking and firing.
  const [recorded, tab] = await play('--seed 21 --frames 900 --record /page.bfr', {}, async (page) => {
    for (const key of ['Enter', 'Enter', 'ArrowRight', 'Space', 'ArrowDown', 'ArrowLeft']) {
      await page.keyboard.down(key);
      await sleep(400);
      if (key !== 'Space') await page.keyboard.up(key);
    }
  });
  assert.equal(recorded, 0);
  fs.writeFileSync(path.join(dir, 'page.bfr'),
                   Buffer.from(await tab.evaluate(() => [...FS.readFile('/page.bfr')])));
  const played = native(['--headless', '--replay', 'page.bfr']);
  assert.equal(played.status, 0, played.stderr);

  // The native game records the automatic player at level 4; the page plays it back.
  const made = native(['--headless', '--seed', '8', '--level', '4', '--autoplay', '--frames', '900',
                       '--record', 'native.bfr']);
  assert.equal(made.status, 0, made.stderr);
  const [replayed] = await play('--replay /native.bfr',
                                {'/native.bfr': fs.readFileSync(path.join(dir, 'native.bfr'))});
  assert.equal(replayed, 0);
});

// The world table from the page: two high scores of the native game in the page's folder, the
// real server on loopback. X sends the first, which the server lists; the second, sent with the
// browser offline, is kept in localStorage and sent once the browser is online again; the WORLD
// table then lists both.
test('the page sends to the world table, and keeps what it sent offline until it is online',
     {timeout: 150000}, async (t) => {
  const dir = fs.mkdtempSync(path.join(work, 'world-'));
  const home = {...process.env, HOME: dir, XDG_DATA_HOME: ''};
  fs.writeFileSync(path.join(dir, 'fire.txt'), '10 a\n');
  for (const seed of ['1', '2'])
    spawnSync(path.join(root, 'build/default/boltfever'), ['--headless', '--mute', '--level', '9',
              '--input', 'fire.txt', '--frames', '4000', '--seed', seed], {cwd: dir, env: home});
  const data = path.join(dir, '.local/share/boltfever');
  const files = Object.fromEntries(fs.readdirSync(data).map(
      (name) => ['/' + name, fs.readFileSync(path.join(data, name))]));
  assert.equal(Object.keys(files).filter((name) => name.endsWith('.bfr')).length, 2);
  const world = spawn(path.join(root, 'build/default/boltfever-server'),
                      ['--database', 'world.db', '--listen', '127.0.0.1:0',
                       '--page', path.join(root, 'build/web')],
                      {cwd: dir, stdio: ['ignore', 'pipe', 'inherit']});
  const table = await new Promise((resolve) => {
    let said = '';
    world.stdout.on('data', (chunk) => {
      said += chunk;
      const port = /http:\/\/127\.0\.0\.1:(\d+)/.exec(said);
      if (port) resolve(`http://127.0.0.1:${port[1]}`);
    });
  });
  const {server, url} = await serve(path.join(root, 'build/web'));
  const browser = await puppeteer.launch({executablePath: CHROMIUM, headless: true,
                                          userDataDir: path.join(dir, 'profile'),
                                          args: ['--no-sandbox', '--disable-gpu', '--no-first-run']});
  t.after(async () => {
    await browser.close();
    server.kill();
    world.kill();
  });
  const listed = async () => (await (await fetch(table + '/api/scores')).json()).scores.length;
  async function until(what, check) {
    for (const end = Date.now() + 20000; !(await check());)
      assert.ok(Date.now() < end, what), await sleep(100);
  }
  const args = `--world ${table} --frames 4500 --report /r.json`;
  const [ended, tab] = await playPage(browser, url, args, files, async (page) => {
    const press = async (key) => {
      await page.keyboard.down(key);
      await sleep(150);
      await page.keyboard.up(key);
      await sleep(250);
    };
    await sleep(2000);  // a moment on the title first, as a player would
    await press('Tab');
    await press('x');
    await until('the first entry listed', async () => (await listed()) === 1);
    await page.setOfflineMode(true);
    await press('ArrowDown');
    await press('x');
    await until('the second entry kept', () => page.evaluate(
        () => JSON.parse(localStorage.getItem('boltfever-world-outbox') || '[]').length === 1));
    await page.setOfflineMode(false);
    await until('the kept entry sent', async () => (await listed()) === 2);
    assert.equal(await page.evaluate(() => localStorage.getItem('boltfever-world-outbox')), null);
    await press('ArrowRight');
  });
  assert.equal(ended, 0);
  const report = new TextDecoder().decode(new Uint8Array(
      await tab.evaluate(() => [...FS.readFile('/r.json')])));
  assert.match(report, /"world": \{"requests": 3, "unreached": 1, "rows": 2, "accepted": 1,/);

  // The table's own page links each row to the game served beside it, which plays that replay
  // to its end, every picture as recorded.
  const rows = await (await fetch(table + '/')).text();
  const link = /href="(\/play\/\?watch=\/api\/scores\/\d+\/replay)"/.exec(rows);
  assert.ok(link, rows);
  const watching = await browser.newPage();
  await watching.goto(table + link[1]);
  await watching.waitForFunction(() => window.boltfever.endStatus !== null, {timeout: 60000});
  assert.equal(await watching.evaluate(() => window.boltfever.endStatus), 0);
});
