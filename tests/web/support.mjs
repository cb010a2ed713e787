// What the browser tests share: the site served over HTTP on the loopback, a headless
// Chromium, the native program to compare with, and the example benches.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { launch, serve } from './browser.mjs';

export const kRoot = resolve(fileURLToPath(import.meta.url), '../../..');
export const kSite = join(kRoot, 'build/web');
// The native program, or another build of it (a copy kept aside while the tree is rebuilt).
export const kProgram = process.env.OPTIC_PROGRAM ?? join(kRoot, 'build/release/optic');
export const kConformance = resolve(kRoot, process.env.OPTIC_CONFORMANCE ?? '../shared/conformance');
export const kDefaultName = 'default_optic.txt';
export const kDefault = readFileSync(join(kRoot, kDefaultName), 'utf8');

// The site served and a browser, for the tests of one file: `browser` and `url` are there
// once the tests start, and open(fragment, options) opens the page in a new tab (1280 x 800
// unless the options say otherwise, on `cores` cores if they say so), its script errors
// gathered in `page.errors`.
export function siteInBrowser() {
  const held = {
    async open(fragment = '', { cores, ...options } = {}) {
      const page = await held.browser.newPage({ viewport: { width: 1280, height: 800 }, ...options });
      page.errors = [];
      page.on('pageerror', (error) => page.errors.push(error.message));
      // A machine of `cores` cores, as the page sees it.
      if (cores) await page.addInitScript((n) => Object.defineProperty(navigator, 'hardwareConcurrency', { get: () => n }), cores);
      await page.goto(held.url + fragment);
      return page;
    },
  };
  let server, instance;
  before(async () => {
    server = await serve(kSite);
    instance = await launch();
    held.url = server.url;
    held.browser = instance.browser;
  });
  after(async () => {
    await instance?.close();
    server?.close();
  });
  return held;
}

// One scenario on a fresh page of `site` opened at `fragment` (downloads accepted, and the
// page options given), the bundled bench's pictures shown first when no fragment is given;
// no script error on the way.
export function pageTest(site, name, scenario, { fragment = '', ...options } = {}) {
  test(name, async () => {
    const page = await site.open(fragment, { acceptDownloads: true, ...options });
    try {
      if (fragment === '') await waitForPictures(page, kDefault, kDefaultName);
      await scenario(page);
      assert.deepEqual(page.errors, []);
    } finally {
      await page.close();
    }
  });
}

// What the native program gives on a description, run as `optic [OPTIONS] NAME` in an empty
// directory: status, standard output and its pictures by name.
export function native(description, name = 'bench.txt', options = []) {
  const directory = mkdtempSync(join(tmpdir(), 'optic-native-'));
  try {
    if (name !== '' && !name.endsWith('/')) {
      mkdirSync(dirname(join(directory, name)), { recursive: true });
      writeFileSync(join(directory, name), description);
    }
    const { status, stdout } = spawnSync(kProgram, [...options, name], { cwd: directory, env: { ...process.env, OMP_NUM_THREADS: '2' } });
    const files = readdirSync(directory).filter((f) => f.endsWith('.bmp') && statSync(join(directory, f)).isFile());
    return { status, stdout: stdout.toString(), pictures: Object.fromEntries(files.map((f) => [f, readFileSync(join(directory, f))])) };
  } finally {
    rmSync(directory, { recursive: true, force: true });
  }
}

// The cases with their expected outputs, or null when they are not there.
export function conformanceCases() {
  if (!existsSync(join(kConformance, 'expected'))) return null;
  return readdirSync(kConformance).filter((f) => f.endsWith('.txt')).sort().map((file) => {
    const name = file.slice(0, -4);
    const expected = join(kConformance, 'expected', name);
    return {
      file,
      description: readFileSync(join(kConformance, file)),
      status: Number(readFileSync(join(expected, 'status'), 'utf8')),
      stdout: readFileSync(join(expected, 'stdout'), 'utf8'),
      pictures: Object.fromEntries(readdirSync(expected).filter((f) => f.endsWith('.bmp'))
        .map((f) => [f, readFileSync(join(expected, f))])),
    };
  });
}

// The RGBA pixels of a BMP file, top row first, as a page's canvas holds them.
export function bmpPixels(bmp) {
  const [offset, width, height] = [bmp.readUInt32LE(10), bmp.readInt32LE(18), bmp.readInt32LE(22)];
  const stride = (3 * width + 3) & ~3;
  const rgba = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const from = offset + (height - 1 - y) * stride + 3 * x;
      rgba.set([bmp[from + 2], bmp[from + 1], bmp[from], 255], 4 * (y * width + x));
    }
  }
  return { width, height, rgba };
}

export const sha = (bytes) => createHash('sha256').update(bytes).digest('hex');

// The hashes of the pixels of every picture the page shows, in order.
export function shownPictures(page) {
  return page.evaluate(async () => {
    const hashes = [];
    for (const canvas of document.querySelectorAll('[data-testid="picture"]')) {
      let data = new Uint8Array(0);
      if (canvas.width > 0 && canvas.height > 0) {
        // A picture's canvas shows a bitmap: its pixels are read through a copy.
        const copy = new OffscreenCanvas(canvas.width, canvas.height).getContext('2d');
        copy.drawImage(canvas, 0, 0);
        data = copy.getImageData(0, 0, canvas.width, canvas.height).data;
      }
      const digest = await crypto.subtle.digest('SHA-256', data);
      hashes.push([...new Uint8Array(digest)].map((b) => b.toString(16).padStart(2, '0')).join(''));
    }
    return hashes;
  });
}

// Resolves once `check()` holds, or after `timeout` ms: the caller asserts what it waited for.
export async function until(check, timeout = 5000) {
  const end = Date.now() + timeout;
  while (!(await check()) && Date.now() < end) await new Promise((done) => setTimeout(done, 50));
}

// Waits until the page shows the program's pictures for a description, pixel for pixel.
export async function waitForPictures(page, description, name, timeout = 15_000) {
  const { pictures } = native(description, name);
  const expected = Object.keys(pictures).sort().map((file) => sha(bmpPixels(pictures[file]).rgba));
  await until(async () => JSON.stringify(await shownPictures(page)) === JSON.stringify(expected), timeout);
  assert.deepEqual(await shownPictures(page), expected, 'the pictures shown are the program\'s');
}

// The description's text, and a new one put in its place at once, as a paste does.
export const textOf = (page) => page.getByTestId('description').evaluate((e) => e.value);
export const write = (page, text) => page.getByTestId('description').evaluate((e, t) => { e.value = t; }, text);

// The RGBA bytes at each [x, y] of the `index`th canvas matching `selector`.
export const canvasPixels = (page, selector, index, points) => page.evaluate(({ selector, index, points }) => {
  const context = document.querySelectorAll(selector)[index].getContext('2d');
  return points.map(([x, y]) => [...context.getImageData(x, y, 1, 1).data]);
}, { selector, index, points });

// Clicks figure `index`'s button for `format`: the file downloaded, its name and bytes.
export async function download(page, index, format) {
  const [file] = await Promise.all([page.waitForEvent('download'), page.locator('figure').nth(index).getByRole('button', { name: format }).click()]);
  return { name: file.suggestedFilename(), bytes: readFileSync(await file.path()) };
}
