#!/usr/bin/env node
// Repaints a second while a lens is dragged in the page, in headless Chromium: the pointer
// goes back and forth over picture 0 of the bundled bench holding lens 1, and every picture
// the page paints is counted (each run paints all of the bench's pictures).
//
//   node bench/drag.mjs [--seconds S] [--site DIR] [--crew N]
//
// The site is build/web (make web); --crew makes the page see N cores (its crew of workers).  Prints the repaints a second, the pointer moves a
// second sent, and lens 1's line at the end.
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, serve } from '../tests/web/browser.mjs';

// One display frame, milliseconds.
const kFrame = 1000 / 60;
const root = resolve(fileURLToPath(import.meta.url), '../..');
const args = process.argv.slice(2);
let seconds = 5;
let site = join(root, 'build/web');
let crew = 0;
for (let i = 0; i < args.length; ++i) {
  if (args[i] === '--seconds') seconds = Number(args[++i]);
  else if (args[i] === '--site') site = resolve(args[++i]);
  else if (args[i] === '--crew') crew = Number(args[++i]);
}

const server = await serve(site);
const { browser } = await launch();
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  // Counts the pictures painted: each is one bitmap handed to a picture's canvas.
  if (crew > 0) {
    await page.addInitScript((cores) => {
      Object.defineProperty(navigator, 'hardwareConcurrency', { get: () => cores });
    }, crew);
  }
  await page.addInitScript(() => {
    window.painted = 0;
    const prototype = ImageBitmapRenderingContext.prototype;
    const paint = prototype.transferFromImageBitmap;
    prototype.transferFromImageBitmap = function count(bitmap) {
      if (bitmap && this.canvas.dataset.testid === 'picture') window.painted += 1;
      return paint.call(this, bitmap);
    };
  });
  await page.goto(server.url);
  await page.waitForFunction(() => window.painted >= 2);
  await page.waitForTimeout(500);
  const pictures = await page.getByTestId('picture').count();
  const box = await page.getByTestId('picture').first().boundingBox();
  // Picture 0: 120 units from (-10, -60) in 1000 pixels.
  const at = (x, y) => [box.x + ((x + 10) * (1000 / 120)) * (box.width / 1000), box.y + ((y + 60) * (1000 / 120)) * (box.width / 1000)];
  await page.mouse.move(...at(33, 5));
  await page.mouse.down();
  const before = await page.evaluate(() => window.painted);
  const start = Date.now();
  let moves = 0;
  // A hand's pointer moves at the display's rate whatever the page does: one move every
  // frame (60 a second), none waiting for the page to take the one before.
  const sent = [];
  while (Date.now() - start < seconds * 1000) {
    const t = (Date.now() - start) / 1000;
    sent.push(page.mouse.move(...at(33 - 10 * Math.abs(Math.sin(t * 2)), 5)));
    moves += 1;
    await new Promise((done) => setTimeout(done, kFrame - ((Date.now() - start) % kFrame)));
  }
  const after = await page.evaluate(() => window.painted);
  const elapsed = (Date.now() - start) / 1000;
  await Promise.all(sent);
  await page.mouse.up();
  const line = (await page.getByTestId('description').evaluate((e) => e.value)).split('\n').find((l) => l.startsWith('L 2') || l.startsWith('L 3'));
  const repaints = (after - before) / pictures / elapsed;
  console.log(`repaints a second while dragging: ${repaints.toFixed(1)} (${after - before} pictures in ${elapsed.toFixed(1)} s, ` +
    `${pictures} a repaint); pointer moves a second: ${(moves / elapsed).toFixed(0)}; lens 1 now: ${line}`);
} finally {
  await browser.close();
  server.close();
}
