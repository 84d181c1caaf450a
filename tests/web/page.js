// The page of the browser build in headless Chromium with software WebGL2 (SwiftShader), as the
// browser suite drives it: opening it, reading its canvas back as a picture, comparing pictures.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const {PNG} = require('pngjs');

const pageUrl = process.env.QUIVERFALL_WEB_URL || 'http://127.0.0.1:8080/';
const chromium = process.env.QUIVERFALL_CHROMIUM || '/usr/bin/chromium-headless-shell';
const referenceFolder = path.join(__dirname, '..', 'reference');
const failureFolder = process.env.QUIVERFALL_WEB_FAILURES ||
                      path.join(__dirname, '..', '..', 'build-web', 'test-failures');

// Headless, with WebGL2 drawn in software, and none of the background traffic a closed network
// refuses.
async function launch(extraArguments = []) {
  return puppeteer.launch({
    executablePath: chromium,
    headless: 'shell',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--no-first-run',
           '--disable-sync', ...extraArguments],
  });
}

// Opens the page with its canvas exactly 1600x900 CSS pixels at one device pixel each, so the
// program presents its picture one to one, or in the `viewport` given (a phone, a large screen).
// Collects the console's errors and the program's printed lines. `block` names downloads that
// fail; `remove` names files taken out of the page's file system once the data is unpacked, just
// before the program starts; `script` runs in the page before the page's own.
async function openPage(browser, {block = [], remove = [], viewport = null, script = null} = {}) {
  const page = await browser.newPage();
  const log = {errors: [], printed: []};
  page.on('console', message => {
    if (message.type() === 'error') log.errors.push(message.text());
    else log.printed.push(message.text());
  });
  page.on('pageerror', error => log.errors.push(error.message));
  if (block.length > 0) {
    await page.setRequestInterception(true);
    page.on('request', request => {
      if (block.some(name => request.url().endsWith(name))) request.abort();
      else request.continue();
    });
  }
  if (remove.length > 0) await page.evaluateOnNewDocument(removeBeforeStart, remove);
  if (script) await page.evaluateOnNewDocument(script);
  await page.setViewport(viewport || {width: 1600, height: 1000, deviceScaleFactor: 1});
  await page.goto(pageUrl, {waitUntil: 'load'});
  if (!viewport) await resizeCanvas(page, 1600, 900);
  return {page, log};
}

// Runs in the page before its own script: wraps the Module the page declares so that `files` are
// unlinked when the runtime is up (the data unpacked) and before the program's main runs.
function removeBeforeStart(files) {
  let module;
  Object.defineProperty(window, 'Module', {
    configurable: true,
    get: () => module,
    set: value => {
      if (value === module) return;
      module = value;
      const pageHook = value.onRuntimeInitialized;
      value.onRuntimeInitialized = () => {
        files.forEach(file => FS.unlink(file));
        if (pageHook) pageHook();
      };
    },
  });
}

// Sets the page's size so that the canvas gets `width` x `height` CSS pixels. The line on the
// keys above it wraps at the new width, so its height is taken at that width.
async function resizeCanvas(page, width, height) {
  for (let tries = 0; tries < 2; tries++) {
    const keysHeight = await page.$eval('#keys', keys => keys.getBoundingClientRect().height);
    await page.setViewport({width, height: Math.round(height + keysHeight), deviceScaleFactor: 1});
  }
}

// The canvas as shown, RGBA bytes top row first.
async function canvasPicture(page) {
  const box = await page.$eval('#canvas', canvas => {
    const r = canvas.getBoundingClientRect();
    return {x: r.x, y: r.y, width: r.width, height: r.height};
  });
  return PNG.sync.read(await page.screenshot({clip: box}));
}

async function message(page) {
  return page.$eval('#message', box => (box.hidden ? '' : box.innerText));
}

// Waits until `condition` (checked every `everyMs`) holds or `seconds` pass; returns whether it
// held. A check that fails (the page reloading under it) counts as not yet.
async function waitFor(condition, seconds, everyMs = 500) {
  const holds = () => condition().catch(() => false);
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await holds()) return true;
    await new Promise(resolve => setTimeout(resolve, everyMs));
  }
  return holds();
}

// From now on, after every frame the program runs, records its flight time, the most the flight
// moved in one frame, the longest gap between two frames, and for each arrow the frames in which
// it flew with the canvas lit (read straight after the frame drew it, before the browser shows
// it, scaled into a 16x9 copy).
async function watchDemo(tab) {
  await tab.evaluate(() => {
    const copy = document.createElement('canvas');
    copy.width = 16;
    copy.height = 9;
    const context = copy.getContext('2d', {willReadFrequently: true});
    window.demo = {flightTime: 0, largestStep: 0, longestGapMs: 0, litArrowFrames: [0, 0, 0]};
    let lastFrame = performance.now();
    Module.postMainLoop = () => {
      const now = performance.now();
      demo.longestGapMs = Math.max(demo.longestGapMs, now - lastFrame);
      lastFrame = now;
      const flightTime = Module._quiverfall_flight_time();
      demo.largestStep = Math.max(demo.largestStep, flightTime - demo.flightTime);
      demo.flightTime = flightTime;
      const arrow = Module._quiverfall_arrow_in_flight();
      if (arrow < 0) return;
      context.drawImage(Module.canvas, 0, 0, 16, 9);
      const pixels = context.getImageData(0, 0, 16, 9).data;
      if (pixels.some((value, i) => i % 4 !== 3 && value > 3)) demo.litArrowFrames[arrow]++;
    };
  });
}

async function demoState(tab) {
  return tab.evaluate(() => window.demo);
}

// Runs `action` and answers the file it makes the browser download: its name and its bytes.
async function download(browser, action) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quiverfall-download-'));
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior',
                 {behavior: 'allow', downloadPath: folder, eventsEnabled: true});
  const begun = new Promise(resolve => cdp.once('Browser.downloadWillBegin', resolve));
  const ended = new Promise((resolve, reject) => {
    cdp.on('Browser.downloadProgress', ({state}) => state !== 'inProgress' && resolve(state));
    setTimeout(() => reject(new Error('no download within 30 s')), 30000).unref();
  });
  await action();
  const {suggestedFilename: name} = await begun;
  assert.strictEqual(await ended, 'completed');
  await cdp.detach();
  const bytes = fs.readFileSync(path.join(folder, name));
  fs.rmSync(folder, {recursive: true});
  return {name, bytes};
}

// Loses the page's WebGL context as a GPU reset would; the returned handle gives it back.
async function loseContext(tab) {
  return tab.evaluateHandle(() => {
    const extension = Module.canvas.getContext('webgl2').getExtension('WEBGL_lose_context');
    extension.loseContext();
    return extension;
  });
}

function brightestChannel(picture) {
  let brightest = 0;
  for (let i = 0; i < picture.data.length; i += 4) {
    brightest = Math.max(brightest, picture.data[i], picture.data[i + 1], picture.data[i + 2]);
  }
  return brightest;
}

// The rectangle of `picture` from (x, y), top row first.
function crop(picture, x, y, width, height) {
  const part = new PNG({width, height});
  for (let row = 0; row < height; row++) {
    const from = ((y + row) * picture.width + x) * 4;
    picture.data.copy(part.data, row * width * 4, from, from + width * 4);
  }
  return part;
}

// `picture` at half its size as a linear filter makes it: each pixel the mean of the four it
// covers, since at exactly half size every sample falls between four texels.
function halved(picture) {
  const width = picture.width >> 1;
  const height = picture.height >> 1;
  const half = new PNG({width, height});
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      for (let channel = 0; channel < 4; channel++) {
        const at = (px, py) => picture.data[(py * picture.width + px) * 4 + channel];
        const sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) +
                    at(2 * x + 1, 2 * y + 1);
        half.data[(y * width + x) * 4 + channel] = Math.round(sum / 4);
      }
    }
  }
  return half;
}

function referencePicture(name) {
  return PNG.sync.read(fs.readFileSync(path.join(referenceFolder, name + '.png')));
}

// The mean channel difference over the whole picture and the worst mean over its 50x50 tiles:
// a fault confined to part of the picture (a missing halo, a missing shadow) shows in its tiles
// long before it moves the whole picture's mean.
function compare(actual, expected, tile = 50) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return {sameSize: false, mean: Infinity, worstTile: Infinity};
  }
  const {width, height} = actual;
  let total = 0;
  let worstTile = 0;
  for (let ty = 0; ty < height; ty += tile) {
    for (let tx = 0; tx < width; tx += tile) {
      let sum = 0;
      let count = 0;
      for (let y = ty; y < Math.min(height, ty + tile); y++) {
        for (let x = tx; x < Math.min(width, tx + tile); x++) {
          for (let channel = 0; channel < 3; channel++) {
            const i = (y * width + x) * 4 + channel;
            sum += Math.abs(actual.data[i] - expected.data[i]);
            count++;
          }
        }
      }
      total += sum;
      worstTile = Math.max(worstTile, sum / count);
    }
  }
  return {sameSize: true, mean: total / (width * height * 3), worstTile};
}

// Writes the picture a failed check saw, for a person to look at; returns its path.
function writeFailure(name, picture) {
  fs.mkdirSync(failureFolder, {recursive: true});
  const file = path.join(failureFolder, name + '.png');
  fs.writeFileSync(file, PNG.sync.write(picture));
  return file;
}

module.exports = {launch, openPage, resizeCanvas, canvasPicture, message, waitFor, watchDemo,
                  demoState, download, loseContext,
                  brightestChannel, crop, halved, referencePicture, compare, writeFailure};
