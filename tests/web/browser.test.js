// The browser build as a visitor meets it, in headless Chromium with software WebGL2: the page
// loads cleanly and shows the desktop's start view, fitted to the page at another size, saves it
// as a download and fills the screen; C plays the flight and the volley to the black ending in
// real time, through a frozen page and a lost GL context; a phone plays it with the on-screen
// controls, pauses it and fills the screen with it; a large HiDPI screen gets the whole
// picture; the server gives out only the page's files; and what goes wrong (no WebGL2, the
// program's own fatal error, data that does not download) says so on the page.
'use strict';
const {test, before, after, afterEach} = require('node:test');
const assert = require('node:assert');
const {PNG} = require('pngjs');
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
// Every page a test opened is closed after it, whether it passed or not: a page left running the
// demo would slow every test after it.
afterEach(async () => {
  const [, ...opened] = await browser.pages();
  await Promise.all(opened.map(tab => tab.close()));
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
  expectCleanConsole(log);
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

  // Save picture: the finished picture, not the canvas, downloads and leaves the page's memory;
  // its line is no failure.
  const {name, bytes} = await page.download(browser, () => tab.click('#toolbar [data-key="301"]'));
  assert.match(name, /^quiverfall-\d{8}-\d{6}\.png$/);
  const saved = PNG.sync.read(bytes);
  const {worstTile} = page.compare(saved, page.referencePicture('start_view'));
  assert.ok(saved.width === 1600 && saved.height === 900 && worstTile <= tileLimit,
            `saved ${saved.width}x${saved.height}, worst tile ${worstTile}`);
  assert.deepStrictEqual(await tab.evaluate(() => FS.readdir('/').filter(f => f.endsWith('.png'))),
                         [], 'the picture stayed in the page\'s file system');
  assert.strictEqual(await page.message(tab), '', 'saving showed a failure');

  // Full screen: the picture alone fills the screen (the phone's test leaves it).
  await tab.click('#toolbar .fullScreen');
  assert.ok(await fullScreenBecomes(tab, true), 'the button did not go to full screen');
  const screen = await tab.evaluate(() => [0, 0, innerWidth, innerHeight]);
  assert.deepStrictEqual(await layout(tab, '#canvas'), [screen]);
});

// Each element of `selector` as [x, y, width, height].
function layout(tab, selector) {
  return tab.$$eval(selector, all => all.map(element => {
    const {x, y, width, height} = element.getBoundingClientRect();
    return [x, y, width, height];
  }));
}

// Whether the whole page comes to be in full screen, or out of it, within five seconds.
function fullScreenBecomes(tab, full) {
  const whole = () => tab.evaluate(() => document.fullscreenElement === document.documentElement);
  return page.waitFor(async () => (await whole()) === full, 5, 100);
}

// No error on the console and no GL error from the program.
function expectCleanConsole(log) {
  assert.deepStrictEqual(log.errors, [], 'the console reported errors');
  assert.ok(!log.printed.includes('GL ERROR DETECTED!!'), 'the program reported a GL error');
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
// One frame of the demo at most, as SwiftShader draws them here (under a second), and a margin.
const oneFrameSeconds = 1.1;

async function canvasIsLit(tab) {
  return page.brightestChannel(await page.canvasPicture(tab)) > darkestBlack;
}

// Waits for the black ending; each arrow must have flown in a lit frame before it.
async function playsToBlackWithEachArrow(tab) {
  const black = await page.waitFor(async () => !(await canvasIsLit(tab)), endingSeconds, 1000);
  assert.ok(black, `no black ending within ${endingSeconds} s`);
  const {litArrowFrames} = await page.demoState(tab);
  litArrowFrames.forEach((frames, arrow) => assert.ok(
      frames > 0, `arrow ${arrow + 1} was never seen in flight: ${litArrowFrames} lit frames`));
}

test('C plays the flight through a frozen page and a lost context to each arrow and black; ' +
     'Escape ends the demo', async () => {
  const {page: tab, log} = await page.openPage(browser);
  assert.ok(await page.waitFor(() => canvasIsLit(tab), startSeconds), 'the room never showed');
  await page.watchDemo(tab);
  await tab.evaluate(() => {
    window.framesSinceC = 0;
    const count = () => { window.framesSinceC++; requestAnimationFrame(count); };
    requestAnimationFrame(count);
  });
  const started = Date.now();
  // Held for a moment: the browser's GLFW reads the key's state at the next frame.
  await tab.keyboard.down('c');
  await sleep(500);
  await tab.keyboard.up('c');
  assert.ok(await page.waitFor(async () => (await page.demoState(tab)).flightTime > 5, 60, 200),
            'C did not start the flight');

  // Frozen for 20 s as a browser freezes a hidden tab, then lost and given back its GL context
  // (the page says so meanwhile): the flight goes on from where it was, never more than one
  // frame's time at once.
  const cdp = await tab.createCDPSession();
  await cdp.send('Page.setWebLifecycleState', {state: 'frozen'});
  const frozenAt = (await page.demoState(tab)).flightTime;
  await sleep(20000);
  await cdp.send('Page.setWebLifecycleState', {state: 'active'});
  // Shown again, as a tab switched back to: a frozen page stays hidden until then.
  await cdp.send('Emulation.setFocusEmulationEnabled', {enabled: true});
  await cdp.send('Page.bringToFront');
  const flownPast = async seconds => (await canvasIsLit(tab)) &&
                                     (await page.demoState(tab)).flightTime > seconds;
  assert.ok(await page.waitFor(() => flownPast(frozenAt), 60),
            'the flight did not go on after the page was frozen');

  assert.ok(await page.waitFor(() => flownPast(20), endingSeconds),
            'the flight stopped after the freeze');
  const context = await page.loseContext(tab);
  assert.match(await page.message(tab), /graphics context was lost; waiting/);
  const lostAt = (await page.demoState(tab)).flightTime;
  await sleep(2000);
  assert.strictEqual((await page.demoState(tab)).flightTime, lostAt, 'frames ran without a context');
  await context.evaluate(extension => extension.restoreContext());
  assert.ok(await page.waitFor(async () => (await page.message(tab)) === '', 30),
            'the message stayed after the context came back: ' + (await page.message(tab)));

  await playsToBlackWithEachArrow(tab);
  // Well past the ten seconds after which a context that did not come back is reported.
  assert.strictEqual(await page.message(tab), '', 'the page reported a problem after the restore');
  const {largestStep, longestGapMs} = await page.demoState(tab);
  assert.ok(longestGapMs > 19000, `the page was not frozen: frames at most ${longestGapMs} ms apart`);
  assert.ok(largestStep <= oneFrameSeconds, `the flight jumped by ${largestStep} s in one frame`);
  const seconds = (Date.now() - started) / 1000;
  const frames = await tab.evaluate(() => window.framesSinceC);
  const memory = await tab.evaluate(() => Module.HEAP8.length);
  console.log(`flight to black: ${seconds.toFixed(1)} s with 22 s frozen or lost, ${frames} ` +
              `frames; WebAssembly memory ${(memory / 1048576).toFixed(0)} MB at the end`);
  assert.ok(seconds > 34 + 20, 'black came before the flight could have ended');

  await tab.keyboard.down('Escape');
  await sleep(500);
  await tab.keyboard.up('Escape');
  assert.ok(await page.waitFor(async () => (await page.message(tab)).includes('has ended'), 10),
            'Escape did not end the demo');
  // Lost after the end: nothing is left to release or rebuild.
  await page.loseContext(tab);
  await sleep(1000);
  assert.match(await page.message(tab), /has ended/);
  expectCleanConsole(log);
});

test('a phone plays the demo with its on-screen controls, and restarts it when the context ' +
     'does not come back', async () => {
  const upright = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
  const turned = {...upright, width: 844, height: 390};
  const opened = Date.now();
  const {page: tab, log} = await page.openPage(browser, {viewport: upright});
  assert.ok(await page.waitFor(() => canvasIsLit(tab), startSeconds), 'the room never showed');
  console.log(`phone: first frame ${((Date.now() - opened) / 1000).toFixed(1)} s after opening`);
  // The picture fills the width at the top, lit to its edges.
  const box = await tab.$eval('#canvas', canvas => canvas.getBoundingClientRect().toJSON());
  assert.deepStrictEqual([box.x, box.y, box.width, Math.round(box.height)], [0, 0, 390, 219]);
  const shown = await page.canvasPicture(tab);
  for (const y of [0, shown.height - 6]) {
    assert.ok(page.brightestChannel(page.crop(shown, 0, y, shown.width, 6)) > 40,
              'a black band at the picture\'s edge; picture in ' +
                  page.writeFailure('browser_phone', shown));
  }
  const control = async key => {
    const rect = await tab.$eval(`#controls button[data-key="${key}"]`,
                                 button => button.getBoundingClientRect().toJSON());
    assert.ok(rect.y >= box.height, `the control for key ${key} is not below the picture`);
    return {x: rect.x + rect.width / 2, y: rect.y + rect.height / 2};
  };

  const forward = await control(70);
  await tab.touchscreen.touchStart(forward.x, forward.y);
  await sleep(1500);
  await tab.touchscreen.touchEnd();
  assert.ok(await page.waitFor(async () => page.compare(await page.canvasPicture(tab),
                                                        shown).mean > 2, 20),
            'holding forward did not move the view');
  // A tap between two frames (the frames held meanwhile) reaches the program as one press, at
  // the next frame.
  await tab.evaluate(() => {
    window.controlReads = [];
    const read = Module.controlPressed;
    Module.controlPressed = key => {
      const pressed = read(key);
      if (pressed) controlReads.push(key);
      return pressed;
    };
    Module.pauseMainLoop();
  });
  // The keys the program reads as pressed in the next three frames.
  const keysRead = (resume = false) => tab.evaluate(resume => new Promise(resolve => {
    controlReads = [];
    if (resume) Module.resumeMainLoop();
    let frames = 0;
    const next = () => (++frames === 3 ? resolve(controlReads) : requestAnimationFrame(next));
    requestAnimationFrame(next);
  }), resume);
  const back = await control(66);
  await tab.touchscreen.tap(back.x, back.y);
  assert.deepStrictEqual(await keysRead(true), [66],
                         'a short tap of back did not count as one press');

  // Forward stays held while any finger holds it, and is let go however the press ends.
  const cdp = await tab.createCDPSession();
  const touch = (type, ...fingers) => cdp.send('Input.dispatchTouchEvent', {
    type, touchPoints: fingers.map(id => ({...forward, id}))});
  await touch('touchStart', 1);
  await touch('touchStart', 1, 2);
  await touch('touchEnd', 2);
  assert.deepStrictEqual(await keysRead(), [70, 70, 70], 'forward was let go under a finger');
  await touch('touchEnd');
  // A thumb that slides off onto the picture before it lifts lets go too.
  await touch('touchStart', 1);
  await cdp.send('Input.dispatchTouchEvent', {
    type: 'touchMove', touchPoints: [{x: forward.x, y: box.height / 2, id: 1}]});
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  assert.ok((await keysRead()).length <= 1, 'forward stayed held after a slide off it');
  await tab.evaluate(() => addEventListener('pointerdown', event => (window.by = event.pointerId)));
  for (const [how, end] of Object.entries({
    // Headless Chromium sends no lostpointercapture for a touch, even after a release.
    'its capture lost': () => document.querySelector('[data-key="70"]').dispatchEvent(
        new PointerEvent('lostpointercapture', {pointerId: by})),
    'the page hidden': () => document.dispatchEvent(new Event('visibilitychange')),
    'the window blurred': () => dispatchEvent(new Event('blur')),
  })) {
    await touch('touchStart', 1);
    await tab.evaluate(end);
    assert.ok((await keysRead()).length <= 1, `forward stayed held with ${how}`);
    await touch('touchEnd');
  }
  await tab.mouse.move(forward.x, forward.y);
  await tab.mouse.down({button: 'right'});
  assert.deepStrictEqual(await keysRead(), [], 'a right-button press held forward');
  await tab.mouse.up({button: 'right'});
  const bloom = await control(32);
  await tab.touchscreen.tap(bloom.x, bloom.y);
  await keysRead();
  await tab.evaluate(() => Module.pauseMainLoop());
  await tab.keyboard.press('Space');
  assert.deepStrictEqual(await keysRead(true), [], 'Space pressed Bloom again after its tap');

  // Turned on its side, the controls stand beside the picture.
  await tab.setViewport(turned);
  const [side, playTurned] = await layout(tab, '#canvas, #controls [data-key="67"]');
  assert.ok(playTurned[0] >= side[0] + side[2] && side[3] === 390,
            `turned: the picture ${side}, Play ${playTurned}`);
  await tab.setViewport(upright);

  // Full screen, turned as the page asks the phone to: the picture fills the screen, the
  // controls leave its middle half clear and still act (Pause holds the flight over frames until
  // tapped again); leaving gives back the page as it was.
  await page.watchDemo(tab);
  const before = await layout(tab, '#canvas, #controls button');
  await tab.tap('#controls .fullScreen');
  assert.ok(await fullScreenBecomes(tab, true), 'the button did not go to full screen');
  await tab.setViewport(turned);
  assert.deepStrictEqual(await layout(tab, '#canvas'), [[0, 0, 844, 390]]);
  const overMiddle = (await layout(tab, '#controls button'))
                         .filter(([x, , width]) => x + width > 844 / 4 && x < 844 * 3 / 4);
  assert.deepStrictEqual(overMiddle, [], 'controls over the middle of the picture');
  await tab.tap('#controls [data-key="67"]');
  assert.ok(await page.waitFor(async () => (await page.demoState(tab)).flightTime > 0, 30),
            'tapping play did not start the flight');
  const flightAfter = frames => tab.evaluate(frames => new Promise(resolve => {
    const next = () => (--frames ? requestAnimationFrame(next)
                                 : resolve(Module._quiverfall_flight_time()));
    requestAnimationFrame(next);
  }), frames);
  await tab.tap('#controls [data-key="80"]');
  const paused = await flightAfter(2);
  assert.strictEqual(await flightAfter(4), paused, 'Pause did not hold the flight');
  await tab.tap('#controls [data-key="80"]');
  assert.ok((await flightAfter(4)) > paused, 'a second tap of Pause did not go on');
  await tab.tap('#controls .fullScreen');
  assert.ok(await fullScreenBecomes(tab, false), 'the button did not leave full screen');
  await tab.setViewport(upright);
  assert.deepStrictEqual(await layout(tab, '#canvas, #controls button'), before,
                         'the page is not as it was');
  await playsToBlackWithEachArrow(tab);

  // Lost for good: after ten seconds the page offers a restart, which starts the demo again.
  await page.loseContext(tab);
  assert.ok(await page.waitFor(async () => (await page.message(tab)).includes('did not come back'),
                               15), 'no restart was offered');
  await tab.click('#restart');
  assert.ok(await page.waitFor(async () => (await page.message(tab)) === '' &&
                                           (await canvasIsLit(tab)), startSeconds),
            'the restart did not show the room again');
  expectCleanConsole(log);
});

test('a context lost during set-up is restored, and the demo starts', async () => {
  // Lost as the first shader program links, with the rest of set-up still to run.
  const {page: tab, log} = await page.openPage(browser, {script: () => {
    const link = WebGL2RenderingContext.prototype.linkProgram;
    WebGL2RenderingContext.prototype.linkProgram = function(program) {
      link.call(this, program);
      if (!window.lost) (window.lost = this.getExtension('WEBGL_lose_context')).loseContext();
    };
  }});
  assert.ok(await page.waitFor(async () => /waiting/.test(await page.message(tab)), startSeconds),
            'the loss was not waited for: ' + (await page.message(tab)));
  await tab.evaluate(() => window.lost.restoreContext());
  assert.ok(await page.waitFor(async () => (await page.message(tab)) === '' &&
                                           (await canvasIsLit(tab)), startSeconds),
            'the demo did not start after the restore: ' + (await page.message(tab)));
  const {worstTile} = page.compare(await page.canvasPicture(tab),
                                   page.referencePicture('start_view'));
  assert.ok(worstTile <= tileLimit, `not the start view: worst tile ${worstTile}`);
  expectCleanConsole(log);
});

test('a large screen at device pixel ratio 4 shows the whole picture, centred, from a capped ' +
     'drawing buffer', async () => {
  const {page: tab} = await page.openPage(
      browser, {viewport: {width: 2560, height: 1440, deviceScaleFactor: 4}});
  const buffer = () => tab.$eval('#canvas', canvas => {
    const gl = canvas.getContext('webgl2');
    return {width: canvas.width, height: canvas.height, granted: gl.drawingBufferWidth};
  });
  assert.ok(await page.waitFor(async () => (await buffer()).width > 0 &&
                                           (await canvasIsLit(tab)), startSeconds));
  const {width, height, granted} = await buffer();
  // 2560 CSS pixels at 4 device pixels each, 10240, fitted within 4096.
  assert.strictEqual(width, 4096, `a ${width}x${height} drawing buffer`);
  assert.strictEqual(granted, width);
  // The page's canvas at a quarter of its device pixels: one pixel per CSS pixel. The picture
  // fills the height; the bars either side are black and equal.
  const rect = await tab.$eval('#canvas', canvas => canvas.getBoundingClientRect().toJSON());
  const picture = PNG.sync.read(await tab.screenshot({clip: {...rect, scale: 0.25}}));
  const columnLit = x => page.brightestChannel(page.crop(picture, x, 0, 1, picture.height)) >
                         darkestBlack;
  let left = 0;
  while (left < picture.width && !columnLit(left)) left++;
  let right = 0;
  while (right < picture.width && !columnLit(picture.width - 1 - right)) right++;
  assert.ok(left > 10 && Math.abs(left - right) <= 2,
            `bars of ${left} and ${right} pixels; picture in ` +
                page.writeFailure('browser_dpr4', picture));
});

test('the server answers only for the page\'s own files', async () => {
  const status = async file => (await fetch(new URL(file, process.env.QUIVERFALL_WEB_URL))).status;
  assert.strictEqual(await status('index.wasm'), 200);
  assert.strictEqual(await status('CMakeCache.txt'), 404);
  assert.strictEqual(await status('header-only/glm/glm.hpp'), 404);
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
});

test('data that does not download is reported on the page', async () => {
  const {page: tab} = await page.openPage(browser, {block: ['index.data']});
  assert.ok(await page.waitFor(async () => (await page.message(tab)) !== '', 60),
            'the page showed no message');
  assert.match(await page.message(tab), /went wrong|stopped/);
});
