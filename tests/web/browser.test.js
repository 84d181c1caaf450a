// The browser build as a visitor meets it, in headless Chromium with software WebGL2: the page
// loads cleanly and shows the desktop's start view, fitted to the page at another size; C plays
// the flight and the volley to the black ending in real time; and what goes wrong (no WebGL2, the
// program's own fatal error, data that does not download) says so on the page.
'use strict';
const {test, before, after} = require('node:test');
const assert = require('node:assert');
const page = require('./page.js');

// Downloading, importing the hall and compiling the shaders in software takes 20 s or so here.
const startSeconds = 120;
// 34.5 s of flight and about 7 s of volley in real time, plus room for slow frames.
const endingSeconds = 240;

// The start view against the desktop's reference picture (Mesa's llvmpipe; here SwiftShader).
// Measured: mean 0.65 over the picture and 1.67 in the worst 50x50 tile. The same view without
// bloom is 9.1 off in its worst tile, without the sun's shadows 128; an exposure 10% off moves
// the whole picture's mean by 3 or more, a texture upside down by tens.
const meanLimit = 1.5;
const tileLimit = 4.0;
// Black as the canvas shows it: the clear colour, within a level of rounding.
const darkestBlack = 3;

let browser;
before(async () => {
  browser = await page.launch();
});
after(async () => {
  await browser.close();
});

test('the page loads without an error and shows the desktop start view', async () => {
  const {page: tab, log} = await page.openPage(browser);
  const lit = await page.waitFor(
      async () => page.brightestChannel(await page.canvasPicture(tab)) > darkestBlack,
      startSeconds);
  assert.ok(lit, 'the canvas stayed black: ' + (await page.message(tab)));
  const shown = await page.canvasPicture(tab);
  const difference = page.compare(shown, page.referencePicture('start_view'));
  const within = difference.mean <= meanLimit && difference.worstTile <= tileLimit;
  assert.ok(within, `the start view differs from the desktop's: mean ${difference.mean}, ` +
                        `worst tile ${difference.worstTile}; picture in ` +
                        page.writeFailure('browser_start_view', shown));
  assert.deepStrictEqual(log.errors, [], 'the console reported errors');
  assert.strictEqual(await page.message(tab), '', 'the page reported a problem');

  // A page half as wide and taller than 16:9: the picture at half size, centred between two
  // black bars of 100 pixels.
  await page.resizeCanvas(tab, 800, 650);
  const expected = page.halved(page.referencePicture('start_view'));
  let fitted;
  const fits = await page.waitFor(async () => {
    fitted = await page.canvasPicture(tab);
    if (fitted.width !== 800 || fitted.height !== 650) return false;
    const picture = page.compare(page.crop(fitted, 0, 100, 800, 450), expected);
    return picture.mean <= meanLimit && picture.worstTile <= tileLimit &&
           page.brightestChannel(page.crop(fitted, 0, 0, 800, 100)) <= darkestBlack &&
           page.brightestChannel(page.crop(fitted, 0, 550, 800, 100)) <= darkestBlack;
  }, 20);
  assert.ok(fits, 'the resized page does not show the start view fitted between black bars; ' +
                      'picture in ' + page.writeFailure('browser_resized_800x650', fitted));
  await tab.close();
});

test('C plays the flight and the volley to the black ending, and Escape ends the demo',
     async () => {
  const {page: tab, log} = await page.openPage(browser);
  assert.ok(await page.waitFor(
      async () => page.brightestChannel(await page.canvasPicture(tab)) > darkestBlack,
      startSeconds), 'the room never showed');
  const startView = await page.canvasPicture(tab);
  // Every frame of the flight redraws: counting the page's animation frames gives its rate.
  await tab.evaluate(() => {
    window.framesSinceC = 0;
    const count = () => { window.framesSinceC++; requestAnimationFrame(count); };
    requestAnimationFrame(count);
  });
  const started = Date.now();
  // Held for a moment: the browser's GLFW reads the key's state at the next frame.
  await tab.keyboard.down('c');
  await new Promise(resolve => setTimeout(resolve, 500));
  await tab.keyboard.up('c');

  const moved = await page.waitFor(async () => page.compare(await page.canvasPicture(tab),
                                                            startView).mean > 5, 30);
  assert.ok(moved, 'C did not start the flight');
  const black = await page.waitFor(
      async () => page.brightestChannel(await page.canvasPicture(tab)) <= darkestBlack,
      endingSeconds, 1000);
  const seconds = (Date.now() - started) / 1000;
  const frames = await tab.evaluate(() => window.framesSinceC);
  const memory = await tab.evaluate(() => Module.HEAP8.length);
  console.log(`flight to black: ${seconds.toFixed(1)} s, ${frames} frames, ` +
              `${(1000 * seconds / frames).toFixed(0)} ms a frame (SwiftShader); ` +
              `WebAssembly memory ${(memory / 1048576).toFixed(0)} MB at the end`);
  assert.ok(black, `no black ending within ${endingSeconds} s`);
  assert.ok(seconds > 34, 'black came before the flight could have ended');

  await tab.keyboard.down('Escape');
  await new Promise(resolve => setTimeout(resolve, 500));
  await tab.keyboard.up('Escape');
  assert.ok(await page.waitFor(async () => (await page.message(tab)).includes('has ended'), 10),
            'Escape did not end the demo');
  assert.deepStrictEqual(log.errors, [], 'the console reported errors');
  assert.ok(!log.printed.includes('GL ERROR DETECTED!!'), 'the program reported a GL error');
  await tab.close();
});

test('without WebGL the page says so', async () => {
  const noWebGl = await page.launch(['--disable-webgl']);
  try {
    const {page: tab} = await page.openPage(noWebGl);
    assert.match(await page.message(tab), /needs WebGL2/);
  } finally {
    await noWebGl.close();
  }
});

test('a fatal error of the program shows on the page the lines the desktop prints', async () => {
  const {page: tab} = await page.openPage(browser, {remove: ['/Shader/blurShader.frag']});
  assert.ok(await page.waitFor(async () => (await page.message(tab)).includes('exit status'), 60),
            'the page showed no stop: ' + (await page.message(tab)));
  const shown = await page.message(tab);
  assert.match(shown, /ERROR: Could not load file \.\/Shader\/blurShader\.frag/);
  assert.match(shown, /exit status 1\b/);
  await tab.close();
});

test('data that does not download is reported on the page', async () => {
  const {page: tab} = await page.openPage(browser, {block: ['index.data']});
  assert.ok(await page.waitFor(async () => (await page.message(tab)) !== '', 60),
            'the page showed no message');
  assert.match(await page.message(tab), /went wrong|stopped/);
  await tab.close();
});
