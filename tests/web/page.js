// The page of the browser build in headless Chromium with software WebGL2 (SwiftShader), as the
// browser suite drives it: opening it, reading its canvas back as a picture, comparing pictures.
'use strict';
const fs = require('node:fs');
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
// program presents its picture one to one. Collects the console's errors and the program's
// printed lines.
async function openPage(browser, {block = []} = {}) {
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
  await page.setViewport({width: 1600, height: 1000, deviceScaleFactor: 1});
  await page.goto(pageUrl, {waitUntil: 'load'});
  const keysHeight = await page.$eval('#keys', keys => keys.getBoundingClientRect().height);
  await page.setViewport({width: 1600, height: Math.round(900 + keysHeight), deviceScaleFactor: 1});
  return {page, log};
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
  return page.$eval('#message', box => (box.hidden ? '' : box.textContent));
}

// Waits until `condition` (checked every `everyMs`) holds or `seconds` pass; returns whether it
// held.
async function waitFor(condition, seconds, everyMs = 500) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await condition()) return true;
    await new Promise(resolve => setTimeout(resolve, everyMs));
  }
  return condition();
}

function brightestChannel(picture) {
  let brightest = 0;
  for (let i = 0; i < picture.data.length; i += 4) {
    brightest = Math.max(brightest, picture.data[i], picture.data[i + 1], picture.data[i + 2]);
  }
  return brightest;
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

module.exports = {launch, openPage, canvasPicture, message, waitFor, brightestChannel,
                  referencePicture, compare, writeFailure};
