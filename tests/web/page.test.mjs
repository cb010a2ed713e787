// The page in headless Chromium, as a person uses it: pictures, typing, messages, links,
// the coordinates readout, nudging, examples, downloads, long runs and hostile links.
import assert from 'node:assert/strict';
import { mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { canvasPixels, download, kDefault, kRoot, native, pageTest, siteInBrowser, textOf, waitForPictures, write } from './support.mjs';

const kShots = join(kRoot, 'build/screenshots');

const site = siteInBrowser();

const editor = (page) => page.getByTestId('description');
const messageTexts = (page) => page.getByTestId('messages').locator('li .text').allTextContents();

pageTest(site, 'the page shows the bundled bench\'s two pictures, pixel for pixel the program\'s, with the point under the pointer, each to download, and its report; the report\'s tables say when there is no image or no finite focal length', async (page) => {
  assert.equal(await textOf(page), kDefault);
  assert.deepEqual(await page.getByTestId('picture').evaluateAll((c) => c.map((e) => [e.width, e.height])), [[1000, 1000], [1000, 1000]]);
  assert.deepEqual(await messageTexts(page), []);
  mkdirSync(kShots, { recursive: true });
  await page.screenshot({ path: join(kShots, 'page.png') });
  // Picture 0's window starts at (-10, -60) with 1000 pixels for 120 units: the centre of
  // pixel (600, 500) is the world point (62, 0); picture 1's pixel (100, 900) is (75.5, 2).
  const table = [[0, 600, 500, 'x 62.00, y 0.00'], [1, 100, 900, 'x 75.5000, y 2.0000']];
  for (const [index, column, row, expected] of table) {
    const box = await page.getByTestId('picture').nth(index).boundingBox();
    await page.mouse.move(box.x + ((column + 0.5) * box.width) / 1000, box.y + ((row + 0.5) * box.height) / 1000);
    const readout = await page.getByTestId('coordinates').textContent();
    assert.ok(readout.startsWith(expected), `${readout} starts with ${expected}`);
    assert.match(readout, new RegExp(`pixel ${column}, ${row}\\)`));
  }
  // Each picture downloads as the program's BMP bytes and as a PNG.
  const [bmp, png] = [await download(page, 1, 'BMP'), await download(page, 1, 'PNG')];
  assert.deepEqual([bmp.name, png.name], ['OpticZoomBox_1.bmp', 'OpticZoomBox_1.png']);
  assert.ok(bmp.bytes.equals(native(kDefault, 'default_optic.txt').pictures['OpticZoomBox_1.bmp']));
  assert.deepEqual([png.bytes.toString('latin1', 1, 4), png.bytes.readUInt32BE(16)], ['PNG', 1000]);
  // The report shows under the pictures, each fan's image point crossed in its colour.
  const report = page.locator('#report');
  await report.getByText('real image at (76.9256, 0.0000), rms 0.0439').waitFor();
  assert.equal(await report.locator('tbody tr').count(), 4 + 2 + 4);  // four fans, two lenses, a system at four wavelengths
  // Picture 1 shows the focus, 5 units for 1000 pixels from (75, -2.5): the 460 nm fan's
  // image point (76.926, 0) falls on pixel (385, 500).
  const [centre, away] = await canvasPixels(page, 'canvas.overlay', 1, [[385, 500], [385, 400]]);
  assert.deepEqual(centre, [...await page.evaluate(async () => (await import('./optic.mjs')).rayColour(460)), 255]);
  assert.equal(away[3], 0);
  // The tables say when a fan has no image and a focal length is infinite: one ray, a slab.
  await write(page, 'I 1.5 400 1.5 500 1.5 600\nL 5 0 1 inf inf 10 0 1\nS 1 550 0 0 0 0 0 1\nZ 0 -5 10 5 50 1\n');
  await report.getByText('no image (fewer than two rays left)').waitFor();
  await report.getByText('550 nm: ∞').waitFor();
});

pageTest(site, 'typing a change, or nudging a number with Alt+Up and Alt+Down, redraws the pictures; a broken line shows its message and marks its line, with its explanation on hover', async (page) => {
  await editor(page).focus();
  await page.keyboard.press('Control+End');
  const added = '\nS 1 550 -5 -20 0 10 0 3';
  await page.keyboard.type(added);
  await waitForPictures(page, kDefault + added, 'default_optic.txt');
  // Alt+Up and Alt+Down nudge the number at the caret.
  await write(page, kDefault);
  const at = kDefault.indexOf('L 30 0 8 40') + 'L 30 0 8 4'.length;
  await editor(page).evaluate((e, caret) => { e.focus(); e.caret = caret; }, at);
  const [once, twice] = ['41', '31'].map((d) => kDefault.replace('L 30 0 8 40', `L 30 0 8 ${d}`));
  for (const [key, text] of [['Alt+ArrowUp', once], ['Alt+Shift+ArrowDown', twice]]) {
    await page.keyboard.press(key);
    assert.equal(await textOf(page), text, key);
  }
  await waitForPictures(page, twice, 'default_optic.txt');
  await page.keyboard.press('Control+z');  // undo brings the number back, as after typing
  assert.equal(await textOf(page), once);
  // A broken line shows its message and marks its line, with its explanation on hover.
  await write(page, kDefault.replace('\nD 10 0 1 10 30 0\n', '\nD 10 0 1 10 30\n'));  // line 27, the stop, one value short
  const message = 'Warning: Probleme avec un diaphragme dans le fichier default_optic.txt ';
  const why = 'diaphragm: 5 values, 6 expected (D x y thickness inner outer angle)';
  await page.getByTestId('messages').locator('li', { hasText: message }).waitFor();
  assert.deepEqual(await messageTexts(page), [message]);
  await page.locator('.cm-lint-marker-error').hover();  // the one mark: two would throw
  await page.getByRole('tooltip', { name: why }).first().waitFor();
  // The message's button brings the caret to the line.
  await page.getByRole('button', { name: 'line 27' }).click();
  assert.equal(await editor(page).evaluate((e) => e.value.slice(0, e.caret).split('\n').length), 27);
});


pageTest(site, 'the address restores an awkward description exactly; one encoded slowly never replaces the newer text\'s', async (page) => {
  const awkward = `# Ünïcödé 光学 🔭 e\u0301 \t tab, trailing spaces   \n${'# long '.repeat(700)}\n\n` +
    'I 1.5 400 1.52 500 1.51 600\nL 5 5 1 10 -10 4 0 1\nS 1 550 0 5 5 0 2 9\nZ 0 0 10 10 64 1\n% & # ? = + /\n';
  await write(page, awkward);
  await page.waitForFunction(() => location.hash.length > 1);
  const copy = await site.open(page.url().slice(site.url.length));
  await waitForPictures(copy, awkward, 'default_optic.txt');
  assert.equal(await textOf(copy), awkward);
  assert.deepEqual(copy.errors, []);
  await copy.close();
  // An address encoded slowly never replaces the newer text's.
  // The first text's compression is held back until the second's address is written.
  await page.evaluate(() => {
    const Real = CompressionStream;
    window.slowNext = true;
    window.CompressionStream = class extends Real {
      constructor(format) {
        super(format);
        if (!window.slowNext) return;
        window.slowNext = false;
        const wait = () => new Promise((done) => setTimeout(done, 1500));
        const held = this.readable.pipeThrough(new TransformStream({ transform: (c, out) => wait().then(() => out.enqueue(c)) }));
        Object.defineProperty(this, 'readable', { value: held });
      }
    };
  });
  const [older, newer] = ['L 31 0', 'L 32 0'].map((line) => kDefault.replace('L 30 0', line));
  await write(page, older);
  await page.waitForFunction(() => !window.slowNext);
  await write(page, newer);
  await page.waitForTimeout(2500);
  const { decodeBench } = await import(join(kRoot, 'web/fragment.js'));
  assert.equal((await decodeBench(new URL(page.url()).hash)).description, newer);
});


pageTest(site, 'a long run shows its progress and the next edit cancels it; a picture too large for the browser is a failed write, and the page goes on', async (page) => {
  const heavy = 'S 10 400 430 460 490 520 550 580 610 640 670 0 0 40 0 1 1000000\nZ -1 -1 1 1 2000 1\n';
  await write(page, heavy);
  await page.locator('#activity').getByText(/tracing rays: [\d,]+ \/ 10,000,000/).waitFor({ timeout: 10_000 });
  const light = 'Z 0 0 10 10 50 1\n';
  await write(page, light);
  await waitForPictures(page, light, 'default_optic.txt', 10_000);
  assert.ok(await page.locator('#activity').isHidden());
  // A picture too large for the browser is a failed write, and the page goes on.
  await write(page, 'Z 0 0 10 10 37837 1\nZ 0 0 10 10 40 1\nZ 0 0 10 10 0 1\nZ 0 0 10 10 9000 1\n');
  await page.getByTestId('messages').getByText("Error: Impossible d'ecrire le fichier OpticZoomBox_0.bmp").waitFor();
  // A picture of no pixels, and one too large to show here but there to download.
  assert.deepEqual(await page.getByTestId('picture').evaluateAll((c) => c.map((e) => e.width)), [40, 0, 0]);
  await page.locator('figcaption', { hasText: 'OpticZoomBox_3.bmp, 9000 × 9000 (too large to show here' }).waitFor();
  await write(page, kDefault);
  await waitForPictures(page, kDefault, 'default_optic.txt');
});

// Texts asked for faster than they run, as a drag asks: answered in order, each from its own
// text, the newest last, some skipped; with one worker and with a crew of two.
for (const cores of [1, 2]) {
  pageTest(site, `runs that follow one another come back in order, the newest last (${cores} core${cores > 1 ? 's' : ''})`, async (page) => {
    const seen = await page.evaluate(async () => {
      const { Renderer } = await import('./renderer.js');
      const xs = [];
      const { promise: over, resolve: done } = Promise.withResolvers();
      const result = (r) => {
        xs.push(r.geometry.elements[0].values[0]);
        if (xs.at(-1) === 39) done();
      };
      const renderer = new Renderer({ result, progress: () => {}, failure: (message) => xs.push(message) });
      // One picture of enough rays that a crew draws it in two bands, put together after.
      const bench = (x) => `I 1.5 400 1.5 500 1.5 600\nL ${x} 0 8 40 inf 36 0 1\nS 1 500 0 0 20 0 0 2000\nZ 0 -30 60 30 400 10\n`;
      for (let x = 20; x < 40; ++x) {
        renderer.follow(bench(x), 'bench.txt');
        await new Promise((resolve) => setTimeout(resolve, 2));
      }
      await over;
      return xs;
    });
    assert.equal(seen.at(-1), 39);
    assert.ok(seen.every((x, k) => k === 0 || x > seen[k - 1]), `in order: ${seen}`);
    assert.ok(seen.length < 20, `the texts replaced are never run: ${seen}`);
  }, { cores });
}

// A crew of two shares out the pictures' rows: a picture drawn in two bands, one by each
// worker, is shown and downloaded as the program's.
pageTest(site, 'a picture drawn in bands by two workers is the program\'s, shown and downloaded', async (page) => {
  const lens = 'I 1.5 400 1.5 500 1.5 600\nL 20 0 8 40 inf 36 0 1\nS 2 450 620 0 0 20 0 30 3000\n';
  for (const zooms of ['Z 0 -30 60 30 301 10\n', 'Z 0 -30 60 30 200 10\nZ 20 -10 40 10 333 0\nZ 10 -5 50 5 90 2\n']) {
    await write(page, lens + zooms);
    await waitForPictures(page, lens + zooms, 'default_optic.txt');
    const program = native(lens + zooms, 'default_optic.txt');
    const bmp = await download(page, zooms.split('\n').length > 2 ? 1 : 0, 'BMP');
    assert.ok(bmp.bytes.equals(program.pictures[bmp.name]), bmp.name);
  }
}, { cores: 2 });

// A hostile link: markup and scripts in the name, a comment and the values.
const markup = '<img src=x onerror="window.pwned=1">';
const name = `${markup}.txt`;
const description = `# ${markup} <script>window.pwned=2</script>\nI 1.5 400 1.52 500 1.51 600\n` +
  `L ${markup} <script>window.pwned=3</script>\nL 1 2 3 <script>window.pwned=4</script> 5 6 7 8\n` +
  'Z 0 0 10 10 40 1\n';
pageTest(site, 'a hostile link runs no script and shows its text as written', async (page) => {
  await waitForPictures(page, description, name);
  assert.equal(await textOf(page), description);
  const lens = ['Error: Diametre de la lentille trop grand...', `Warning: Probleme avec une lentille dans le fichier ${name} `];
  assert.deepEqual(await messageTexts(page), [...lens, ...lens]);
  // A diagnostic quoting the markup shows it on hover as text.
  await page.locator('.cm-lint-marker-error').first().hover();
  await page.getByRole('tooltip', { name: 'radius1 "<script>window.pwned=3</script>"' }).first().waitFor({ timeout: 5000 });
  assert.equal(await page.evaluate(() => window.pwned), undefined);
  assert.equal(await page.locator('body img, body script').count(), 0);
  const policy = await page.locator('meta[http-equiv="Content-Security-Policy"]').getAttribute('content');
  assert.match(policy, /script-src 'self'/);
  assert.doesNotMatch(policy, /unsafe-inline|https?:/);
}, { fragment: `#n=${encodeURIComponent(name)}&text=${encodeURIComponent(description)}` });

pageTest(site, 'a damaged link says so, and the page shows the bundled bench', async (page) => {
  await page.locator('#notice').getByText('could not be read').waitFor();
  await waitForPictures(page, kDefault, 'default_optic.txt');
}, { fragment: '#n=b.txt&z=AAAA-not-a-bench' });

pageTest(site, 'on a phone-sized window the page fits its width and is usable from the keyboard', async (page) => {
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth));
  // From the top, the keyboard reaches the menu, then the description; Tab leaves the editor
  // rather than typing a tab: the marks checkbox, then the pictures.
  for (const expected of ['examples', 'description', 'marks', 'picture']) {
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => {
      const e = document.activeElement.shadowRoot?.activeElement ?? document.activeElement;
      return e.id || e.dataset.testid;
    });
    assert.equal(focused, expected);
  }
}, { viewport: { width: 390, height: 844 } });


pageTest(site, 'the editor colours the kinds, says what a number is, and completes a line; the examples menu opens an example', async (page) => {
  const lens = page.locator('.cm-line', { hasText: 'L 30 0 8 40 inf 36 0 1' });
  const colour = (selector, text) => lens.locator(selector, { hasText: text }).first().evaluate((e) => getComputedStyle(e).color);
  assert.equal(new Set([await colour('.tok-keyword', 'L'), await colour('.tok-number', '36'), await colour('.tok-atom', 'inf')]).size, 3);
  await lens.locator('.tok-number', { hasText: /^36$/ }).hover();
  await page.getByRole('tooltip', { name: 'L, field 6 of 8: diameter D, the requested aperture (world units)' }).waitFor();
  // A new line from the completion's template, Tab going from one placeholder to the next.
  await editor(page).focus();
  await page.keyboard.press('Control+End');
  await page.keyboard.type('\nL');
  await page.getByRole('option', { name: /^L/ }).waitFor();
  // The completion ignores an Enter that comes within its interaction delay (75 ms) of the
  // list opening, so that a fast typist's newline is not taken as a choice.
  await page.waitForTimeout(150);
  await page.keyboard.press('Enter');
  for (const value of ['50', '0', '5', '20', '-20', '10', '0']) {
    await page.keyboard.type(value);
    await page.keyboard.press('Tab');
  }
  await page.keyboard.type('1');
  assert.equal(await textOf(page), `${kDefault}\nL 50 0 5 20 -20 10 0 1`);
  // The examples menu opens each example.
  const options = await page.locator('#examples option').evaluateAll((o) => o.map((e) => e.value).filter(Boolean));
  assert.deepEqual(options, ['default_optic.txt', 'dispersion.txt', 'microscope_objective.txt', 'stop.txt',
    'telescope.txt', 'total_internal_reflection.txt']);
  await page.locator('#examples').selectOption('telescope.txt');
  const telescope = readFileSync(join(kRoot, 'examples/telescope.txt'), 'utf8');
  await waitForPictures(page, telescope, 'telescope.txt');
  assert.equal(await textOf(page), telescope);
});
