// The browser build in Debian's chromium (headless, WebGL on SwiftShader), served from a local
// static server, against the native game:
//
// 1. Pictures: the page is started with a seed and the trace on; keys are pressed as a player
//    would (title, menu, penguin choice) and the canvas is taken at chosen frames of the title,
//    the menu, the choice and round 1. The native game, with the same seed and an input script
//    that leaves the same screens, saves --screenshot of the same frames. Frames are matched by
//    their place in their screen (the trace names each frame's screen): when a key arrives
//    depends on the clock, what a screen shows from its start does not. Every pair must be
//    identical (blends at a fraction: within one step).
// 2. The high score: a game played to its end with frame-exact keys (from an input script that
//    the native headless game plays to a game over with a high score), the page reloaded, and
//    the high score shown again from the browser's storage, with the game's replays.
// 3. Replays across: that game's replay, taken out of the page, played by the native game
//    headless, traces the browser's frames; the replay the native game kept of its window run in
//    1, played by the page (?replay=URL), traces the native frames, to the same end. Traces are
//    compared whole, all but the frames' real times ("ms").
//
// Also measured and printed: sizes of the files, start to the first title frame, intervals
// between presented frames in round 1 (median, 99th percentile, largest; from the display
// frames they went out in, and from the engine clock), beside those of an empty
// WebGL page in the same browser.
//
// Usage: node web/test/browser_test.mjs [--web build-web] [--native build] [--out DIR]
//        [--pictures-only]
// Needs a display for the native game (the test suite runs under xvfb-run). Exit status 77
// (skipped) when the browser build, chromium or puppeteer-core is missing.
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {comparePictures, decodePng} from './png.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '..', '..');
const SKIP = 77;

function option(name, fallback) {
  const i = process.argv.indexOf(name);
  return i > 0 ? process.argv[i + 1] : fallback;
}
const webDir = path.resolve(option('--web', path.join(root, 'build-web')));
const nativeDir = path.resolve(option('--native', path.join(root, 'build')));
const outDir = path.resolve(option('--out', path.join(webDir, 'browser-test')));
const picturesOnly = process.argv.includes('--pictures-only');
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';

function skip(why) {
  console.log('browser test skipped: ' + why);
  process.exit(SKIP);
}
for (const file of ['tundrel.html', 'tundrel.js', 'tundrel.wasm', 'tundrel.data']) {
  if (!fs.existsSync(path.join(webDir, file))) skip(`no ${file} in ${webDir} (scripts/web.sh)`);
}
if (!fs.existsSync(chromium)) skip(`no ${chromium} (scripts/install-deps.sh --web)`);
let puppeteer;
try {
  puppeteer = (await import('puppeteer-core')).default;
} catch {
  skip('puppeteer-core is not installed (scripts/install-deps.sh --web)');
}
if (!process.env.DISPLAY) skip('no display for the native game (run under xvfb-run)');
fs.mkdirSync(outDir, {recursive: true});

const failures = [];
function check(ok, what) {
  console.log((ok ? 'ok    ' : 'FAIL  ') + what);
  if (!ok) failures.push(what);
}

// --- The page, served as any static server would (and the native runs' files, under work/) --

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tundrel-browser-test-'));
fs.symlinkSync(path.join(nativeDir, 'Media.sbx'), path.join(work, 'Media.sbx'));

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.data': 'application/octet-stream', '.script': 'text/plain'};
const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '');
  const base = name.startsWith('test/') ? here : name.startsWith('work/') ? work : webDir;
  const file = path.resolve(base, name.replace(/^(test|work)\//, ''));
  if (!file.startsWith(base + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                           'Cache-Control': 'no-store'});
  fs.createReadStream(file).pipe(response);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}`;

// --- The native game -----------------------------------------------------------------

const seedPictures = 5;
// The native game's keys: Space leaves the title while it waits; Enter goes down during the
// pause after that key, so the menu's first frame starts the game, and again during the pauses
// before the penguin choice, whose first frame starts round 1. Every key arrives while the game
// waits without presenting frames, so each screen starts at the same frame however fast the
// machine is: the title at 12, the menu at 73, the choice at 74, round 1 at 75. Each Enter is
// held well over a second, so a loaded machine that shows the menu late still finds it held.
const navigation = '5000 key Space down\n5100 key Space up\n5200 key Enter down\n' +
                   '7000 key Enter up\n7200 key Enter down\n8000 key Enter up\n';
// Which frames are compared: the title halfway through its fade and its last (fully faded in,
// with its prompt), the first frames of the menu and of the choice, and round 1 at its start
// and after one and four seconds of play. Each frame's allowed difference per colour channel:
// none, except where a picture is blended at a fraction. There the browser's rasteriser
// (SwiftShader) rounds the blend to the nearest value and Mesa's llvmpipe rounds some of them
// down, one step apart.
const targets = [['title', 30, 1], ['title', 60, 0], ['menu', 0, 0], ['select', 0, 0],
                 ['round', 0, 0], ['round', 60, 0], ['round', 240, 0]];

function readTrace(file) {
  return fs.readFileSync(file, 'utf8').trim().split('\n').map((line) => JSON.parse(line));
}

// A trace's lines without the frames' real times, which no replay repeats.
const withoutTimes = (lines) => lines.map((line) => line.replace(/"ms":[0-9.]*,/, ''));

// First frame of each screen and, per frame, its place in its screen.
function placeFrames(trace) {
  const first = {}, place = new Map();
  for (const frame of trace) {
    if (!(frame.screen in first)) first[frame.screen] = frame.frame;
    place.set(frame.frame, [frame.screen, frame.frame - first[frame.screen]]);
  }
  return {first, place};
}

function runNative(args, env = {}) {
  const result = spawnSync(path.join(nativeDir, 'tundrel'), ['--dir', work, ...args],
                           {env: {...process.env, SDL_AUDIODRIVER: 'dummy', ...env},
                            encoding: 'utf8', timeout: 120000});
  if (result.status !== 0) throw new Error('native game failed: ' + result.stderr);
}

function nativePictures() {
  const script = path.join(work, 'navigation.script');
  fs.writeFileSync(script, navigation);
  // The headless run (virtual clock) names the frames; the real run saves them, and its own
  // trace must show the same screens there. Its replay is played in the page (3).
  runNative(['--headless', '--seed', String(seedPictures), '--script', script,
             '--max-frames', '400', '--trace', path.join(work, 'headless.json')]);
  const {first} = placeFrames(readTrace(path.join(work, 'headless.json')));
  const frameOf = ([screen, index]) => first[screen] + index;
  const shots = targets.flatMap(
      (target) => ['--screenshot', `${frameOf(target)}:${path.join(work, `native-${frameOf(target)}.png`)}`]);
  const trace = path.join(work, 'native.json');
  runNative(['--seed', String(seedPictures), '--script', script, '--max-frames',
             String(first.round + 250), '--trace', trace, ...shots,
             '--record', path.join(work, 'native.tundrel-replay')]);
  const {place} = placeFrames(readTrace(trace));
  const pictures = {};
  for (const target of targets) {
    const [screen, index] = place.get(frameOf(target)) || [];
    const file = path.join(work, `native-${frameOf(target)}.png`);
    if (screen === target[0] && index === target[1] && fs.existsSync(file)) {
      pictures[`${target[0]}-${target[1]}`] = fs.readFileSync(file);
    }
  }
  return pictures;
}

// --- The browser -------------------------------------------------------------------------

async function launch(profile) {
  return puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--ignore-gpu-blocklist', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic',
           '--disable-default-apps', '--disable-domain-reliability', '--autoplay-policy=no-user-gesture-required',
           '--force-color-profile=srgb', `--user-data-dir=${profile}`],
  });
}

// Installed before the page's own script: collects the trace, takes the canvas at the wanted
// frames, and plays frame-exact keys (each sent as the trace line of its frame arrives, so the
// game reads it exactly when the native game read it).
function installProbe(wanted, keys) {
  window.probe = {frames: [], lines: [], firstTitleAt: null, place: {}, captures: {}};
  // The time of the display frame each game frame was released in: the game waits for an
  // animation frame after every frame it presents.
  let displayTime = null;
  const requestFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => requestFrame((time) => {
    displayTime = time;
    callback(time);
  });
  const first = {};
  const codes = {Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight',
                 Space: 'Space', Enter: 'Enter', Escape: 'Escape', LCtrl: 'ControlLeft'};
  window.tundrelTrace = (line) => {
    const frame = JSON.parse(line);
    const probe = window.probe;
    probe.lines.push(line);
    if (!(frame.screen in first)) first[frame.screen] = frame.frame;
    const index = frame.frame - first[frame.screen];
    if (frame.screen === 'title' && probe.firstTitleAt === null) {
      probe.firstTitleAt = performance.now();
    }
    probe.frames.push({frame: frame.frame, ms: frame.ms, screen: frame.screen, index,
                       highScore: frame.highScore, score: frame.score, lives: frame.lives,
                       at: performance.now(), display: displayTime});
    probe.place[frame.screen] = index;
    // The canvas keeps its drawing buffer: until the next frame is presented it holds this one.
    if (wanted.some(([s, i]) => s === frame.screen && i === index)) {
      probe.captures[`${frame.screen}-${index}`] =
          document.getElementById('canvas').toDataURL('image/png');
    }
    if ('round' in first) {
      const roundFrame = frame.frame - first.round;
      for (const key of keys.filter((k) => k.frame === roundFrame)) {
        const code = codes[key.name];
        document.getElementById('canvas').dispatchEvent(new KeyboardEvent(
            key.down ? 'keydown' : 'keyup', {code, key: code, bubbles: true, cancelable: true}));
      }
    }
  };
}

async function openGame(browser, query, wanted, keys = []) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 700});
  page.on('pageerror', (error) => console.log('page error: ' + error.message));
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warn') {
      console.log('page ' + message.type() + ': ' + message.text());
    }
  });
  await page.evaluateOnNewDocument(installProbe, wanted, keys);
  await page.goto(`${origin}/tundrel.html?${query}`);
  return page;
}

async function waitFor(page, screen, index, seconds = 60) {
  await page.waitForFunction((s, i) => (window.probe.place[s] ?? -1) >= i,
                             {timeout: seconds * 1000, polling: 50}, screen, index);
}

// Title, menu ("start game"), penguin choice: the keys a player presses.
async function playToRound(page) {
  await waitFor(page, 'title', 60);
  await page.keyboard.press('Space', {delay: 100});
  await waitFor(page, 'menu', 10);
  await page.keyboard.press('Enter', {delay: 100});
  await waitFor(page, 'select', 10);
  await page.keyboard.press('Enter', {delay: 100});
  await waitFor(page, 'round', 0);
}

// What the browser itself gives on this machine: a 640 x 480 WebGL canvas cleared each
// animation frame, nothing else. The game's intervals are read beside these.
async function emptyPageIntervals(browser) {
  const page = await browser.newPage();
  await page.setContent('<canvas id="c" width="640" height="480"></canvas>');
  const times = await page.evaluate(() => new Promise((resolve) => {
    const gl = document.getElementById('c').getContext('webgl', {preserveDrawingBuffer: true});
    const stamps = [];
    const frame = (time) => {
      stamps.push(time);
      gl.clearColor(stamps.length % 2, 0, 0, 1);
      gl.clear(gl.COLOR_BUFFER_BIT);
      if (stamps.length < 601) requestAnimationFrame(frame);
      else resolve(stamps);
    };
    requestAnimationFrame(frame);
  }));
  await page.close();
  return times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
}

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

const report = {};
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tundrel-chromium-'));
let browser;
try {
  for (const file of ['tundrel.html', 'tundrel.js', 'tundrel.wasm', 'tundrel.data']) {
    report[`bytes ${file}`] = fs.statSync(path.join(webDir, file)).size;
  }

  // 1. Pictures beside the native game's.
  const native = nativePictures();
  browser = await launch(profile);
  const page = await openGame(browser, `seed=${seedPictures}&trace=1`, targets);
  await playToRound(page);
  await waitFor(page, 'round', 600, 120);
  const probe = await page.evaluate(() => {
    const loaded = {};
    for (const entry of performance.getEntriesByType('resource')) {
      const name = entry.name.split('/').pop().split('.').pop();
      loaded[name] = Math.round(entry.responseEnd);
    }
    return {...window.probe, loaded};
  });
  await page.close();

  // Where the start-up time goes: the files arrive, the program presents its first frame
  // (after loading every picture and sound), and the title follows 11 frames later.
  report['start to first title frame (ms)'] = Math.round(probe.firstTitleAt);
  report['start: tundrel.wasm and tundrel.data loaded, first frame (ms)'] =
      `${probe.loaded.wasm} ${probe.loaded.data} ${Math.round(probe.frames[0].at)}`;
  // Pacing over 600 frames of round 1: the display frames the game's frames went out in
  // (the browser's animation-frame times: 16.7 ms apart at 60 Hz, twice that where a refresh
  // was missed), and the release times on the engine's clock (the trace's "ms", which also
  // holds how late the browser ran the callback).
  const round = probe.frames.filter((f) => f.screen === 'round' && f.index >= 1 && f.index <= 600);
  const spread = (values) => {
    const intervals = values.slice(1).map((v, i) => v - values[i]).sort((a, b) => a - b);
    return `${percentile(intervals, 0.5).toFixed(1)} / ${percentile(intervals, 0.99).toFixed(1)}` +
           ` / ${intervals[intervals.length - 1].toFixed(1)}`;
  };
  fs.writeFileSync(path.join(outDir, 'browser-trace.jsonl'),
                   probe.frames.map((f) => JSON.stringify(f)).join('\n') + '\n');
  report['round frames measured'] = round.length;
  report['display frame interval median / p99 / max (ms)'] = spread(round.map((f) => f.display));
  report['release interval median / p99 / max (ms)'] = spread(round.map((f) => f.ms));
  const empty = await emptyPageIntervals(browser);
  report['empty WebGL page: display frame interval median / p99 / max (ms)'] =
      `${percentile(empty, 0.5).toFixed(1)} / ${percentile(empty, 0.99).toFixed(1)} / ` +
      `${empty[empty.length - 1].toFixed(1)}`;
  report['load average during the test'] = os.loadavg()[0].toFixed(2);

  for (const [screen, index, allowed] of targets) {
    const name = `${screen}-${index}`;
    const shot = probe.captures[name];
    check(Boolean(shot), `browser canvas taken at ${name}`);
    check(Boolean(native[name]), `native screenshot taken at ${name}`);
    if (!shot || !native[name]) continue;
    const browserPng = Buffer.from(shot.split(',')[1], 'base64');
    fs.writeFileSync(path.join(outDir, `browser-${name}.png`), browserPng);
    fs.writeFileSync(path.join(outDir, `native-${name}.png`), native[name]);
    const difference = comparePictures(decodePng(browserPng), decodePng(native[name]));
    report[`differing pixels ${name}`] = `${difference.differing} (by at most ${difference.largest})`;
    check(!difference.sizesDiffer && difference.largest <= allowed,
          `${name}: browser and native pictures ${difference.differing ? 'differ' : 'identical'}` +
          ` (${difference.differing} pixels, by at most ${difference.largest}; allowed ${allowed})`);
  }

  // 2. The high score survives a reload.
  if (!picturesOnly) {
    const script = path.join(here, 'high_score.script');
    runNative(['--headless', '--seed', '7', '--script', script, '--max-frames', '7000',
               '--trace', path.join(work, 'high.json')]);
    const trace = readTrace(path.join(work, 'high.json'));
    const firstRound = trace.find((f) => f.screen === 'round');
    const gameOver = trace.find((f) => f.screen === 'game-over');
    const expected = trace.find((f) => f.screen === 'menu' && f.frame > gameOver.frame).highScore;
    check(expected > 0, `the native game ends the scripted game with a high score (${expected})`);
    // Each key as the frame (counted from round 1's first) before which the native game took it.
    const keys = [];
    for (const line of fs.readFileSync(script, 'utf8').split('\n')) {
      const [ms, kind, name, state] = line.trim().split(/\s+/);
      if (kind !== 'key' || !(Number(ms) > firstRound.ms)) continue;
      const frame = trace.find((f) => f.ms >= Number(ms));
      keys.push({frame: frame.frame - firstRound.frame, name, down: state === 'down'});
    }
    const played = await openGame(browser, 'seed=7&trace=1', [], keys);
    await playToRound(played);
    await waitFor(played, 'game-over', 0, 300);
    await played.waitForFunction(() => window.probe.frames.at(-1).screen === 'menu',
                                 {timeout: 60000});
    const after = await played.evaluate(() => window.probe.frames.at(-1));
    check(after.highScore === expected,
          `the browser game ends with the same high score (${after.highScore})`);
    // The page keeps the game's replay as the game ends, as the last game and the best.
    const keptReplays = () => window.Module.FS.readdir('/save/tundrel/replays')
        .filter((name) => name.endsWith('.tundrel-replay'))
        .map((name) => [name, window.Module.FS.readFile('/save/tundrel/replays/' + name,
                                                        {encoding: 'utf8'})]);
    const kept = Object.fromEntries(await played.evaluate(keptReplays));
    const playedLines = await played.evaluate(() => window.probe.lines);
    check(kept['last.tundrel-replay'] && kept['best.tundrel-replay'] === kept['last.tundrel-replay'],
          'the page kept the game as last.tundrel-replay and best.tundrel-replay' +
          ` (${(kept['last.tundrel-replay'] || '').length} bytes)`);
    report['browser replay of the high-score game (bytes)'] = (kept['last.tundrel-replay'] || '').length;
    // The page stores its files a second at a time; then it is reloaded.
    await new Promise((resolve) => setTimeout(resolve, 2500));
    await played.reload();
    await waitFor(played, 'title', 60);
    await played.keyboard.press('Space', {delay: 100});
    await waitFor(played, 'menu', 5);
    const reloaded = await played.evaluate(() => window.probe.frames.at(-1));
    check(reloaded.highScore === expected,
          `after a reload the menu shows the high score ${reloaded.highScore}`);
    const keptAfter = Object.fromEntries(await played.evaluate(keptReplays));
    check(keptAfter['last.tundrel-replay'] === kept['last.tundrel-replay'],
          'after a reload the page still has its replays');
    const menu = await played.evaluate(
        () => document.getElementById('canvas').toDataURL('image/png'));
    fs.writeFileSync(path.join(outDir, 'browser-menu-after-reload.png'),
                     Buffer.from(menu.split(',')[1], 'base64'));
    report['high score after reload'] = reloaded.highScore;
    await played.close();

    // 3. Replays across. The browser's game, natively: the same frames, up to the game's end
    // where the page kept it.
    const browserReplay = path.join(work, 'browser.tundrel-replay');
    fs.writeFileSync(browserReplay, kept['last.tundrel-replay'] || '');
    runNative(['--headless', '--replay', browserReplay, '--trace', path.join(work, 'b.json')]);
    const natively = withoutTimes(fs.readFileSync(path.join(work, 'b.json'), 'utf8').trim().split('\n'));
    const inPage = withoutTimes(playedLines.slice(0, natively.length));
    const parted = natively.findIndex((line, i) => line !== inPage[i]);
    if (parted >= 0) {
      // What a failure leaves to look at: the replay and both traces.
      fs.copyFileSync(browserReplay, path.join(outDir, 'browser.tundrel-replay'));
      fs.writeFileSync(path.join(outDir, 'browser-game-trace.jsonl'), playedLines.join('\n') + '\n');
      fs.copyFileSync(path.join(work, 'b.json'), path.join(outDir, 'browser-replay-natively.jsonl'));
    }
    check(natively.length > 1000 && parted < 0,
          `the browser's replay played natively traces the browser's ${natively.length} frames` +
          (parted < 0 ? '' : ` (they part at line ${parted + 1})`));
    // The native window run of 1, in the page: the same frames to the same end.
    const watched = await openGame(browser, 'replay=work/native.tundrel-replay&trace=1', []);
    await watched.waitForFunction(() => window.tundrelExitCode !== undefined,
                                  {timeout: 120000, polling: 100});
    const pageLines = withoutTimes(await watched.evaluate(() => window.probe.lines));
    const exitCode = await watched.evaluate(() => window.tundrelExitCode);
    await watched.close();
    const nativeLines = withoutTimes(fs.readFileSync(path.join(work, 'native.json'), 'utf8')
                                         .trim().split('\n'));
    const apart = nativeLines.findIndex((line, i) => line !== pageLines[i]);
    check(exitCode === 0 && pageLines.length === nativeLines.length && apart < 0,
          `the native replay played in the page (?replay=) traces the native ${nativeLines.length}` +
          ` frames and ends (exit ${exitCode}, ${pageLines.length} frames` +
          (apart < 0 ? ')' : `, parting at line ${apart + 1})`));
    // A replay of another build: refused with the program's message on the page, exit 2.
    fs.writeFileSync(path.join(work, 'other.tundrel-replay'),
                     '#replay 1\n#run tundrel\n#version 0.9 (other)\n#seed 1\n1 end\n');
    const refused = await openGame(browser, 'replay=work/other.tundrel-replay', []);
    await refused.waitForFunction(() => window.tundrelExitCode !== undefined, {timeout: 60000});
    const [refusedCode, refusedText] = await refused.evaluate(
        () => [window.tundrelExitCode, document.getElementById('status').textContent]);
    await refused.close();
    check(refusedCode === 2 && refusedText.includes('recorded by version 0.9'),
          `a replay of another version is refused in the page: ${refusedText}`);
    report['native window replay (bytes)'] =
        fs.statSync(path.join(work, 'native.tundrel-replay')).size;
  }
} catch (error) {
  failures.push(String(error.stack || error));
  console.log('FAIL  ' + (error.stack || error));
} finally {
  if (browser) await browser.close();
  server.close();
  fs.rmSync(work, {recursive: true, force: true});
  fs.rmSync(profile, {recursive: true, force: true});
}

fs.writeFileSync(path.join(outDir, 'report.json'), JSON.stringify(report, null, 2) + '\n');
for (const [name, value] of Object.entries(report)) console.log(`${name}: ${value}`);
console.log(`pictures in ${outDir}`);
process.exit(failures.length ? 1 : 0);
