// Editing the bench in its pictures as a person does: mouse, wheel and keyboard events on the
// page.  Each edit is checked on its line's exact text, on every other byte of the bench, and
// on the pictures, which must be the program's for the new text.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { canvasPixels, kDefault, kDefaultName as kName, kRoot, pageTest, siteInBrowser, textOf, until, waitForPictures } from './support.mjs';

const { decodeBench } = await import(join(kRoot, 'web/fragment.js'));

const kLens = 'L 30 0 8 40 inf 36 0 1';
const kStop = 'D 10 0 1 10 30 0';
const kSource = 'S 4 460 510 570 650 -5 0 0 0 28 14';
const kWhole = 'Z -10 -60 110 60 1000 10';
// Picture 0's window: 120 units from (-10, -60) in 1000 pixels.
const kView = { x: -10, y: -60, zoom: 1000 / 120 };

const site = siteInBrowser();

// The text, once the page has handled the events sent (pointer moves come with the frames).
async function expectText(page, expected, what) {
  await until(async () => await textOf(page) === expected);
  assert.equal(await textOf(page), expected, what);
}

async function expectAnnounced(page, expected, what) {
  const selection = page.getByTestId('selection');
  await selection.filter({ hasText: expected }).waitFor({ timeout: 5000 }).catch(() => {});
  assert.equal(await selection.textContent(), expected, what);
}

// The bench with line `old` made `line`, every other byte as it was.
function edited(old, line) {
  assert.ok(kDefault.includes(`\n${old}\n`), old);
  return kDefault.replace(`\n${old}\n`, `\n${line}\n`);
}

// The page position of world point p in picture 0.
async function spot(page, [x, y]) {
  const box = await page.getByTestId('picture').first().boundingBox();
  const css = box.width / 1000;
  return [box.x + ((x - kView.x) * kView.zoom + 0.5) * css, box.y + ((y - kView.y) * kView.zoom + 0.5) * css];
}

// Presses at world point `from` of picture 0 and moves, in steps, to `to`; `during` runs
// before the button is released.
async function drag(page, from, to, during = async () => {}) {
  const [start, end] = [await spot(page, from), await spot(page, to)];
  await page.mouse.move(...start);
  await page.mouse.down();
  await page.mouse.move((start[0] + end[0]) / 2, (start[1] + end[1]) / 2, { steps: 2 });
  await page.mouse.move(...end, { steps: 3 });
  await during();
  await page.mouse.up();
}

pageTest(site, 'dragging an element or one of its handles writes only its numbers; Ctrl+Z and Ctrl+Shift+Z undo and redo it', async (page) => {
  const stopBlade = [10, -20];
  const table = [
    // [what, click to select first, press, release, line before, line after, with Shift,
    // the reason a limit gives, shown while dragging]
    ['lens 1 by its body, 10 units left', null, [33, 5], [23, 5], kLens, 'L 20 0 8 40 inf 36 0 1'],
    ['the source by its start point, 5 units down', null, [-5, 0], [-5, 5], kSource, 'S 4 460 510 570 650 -5 5 0 0 28 14'],
    ['lens 1\'s thickness', [33, 5], [38, 0], [36, 0], kLens, 'L 30 0 6 40 inf 36 0 1'],
    ['lens 1\'s diameter', [33, 5], [36.1394289, -18], [36.1394289, -15], kLens, 'L 30 0 8 40 inf 30 0 1'],
    ['lens 1\'s tilt, about its front vertex', [33, 5], [56, 0], [56, -26], kLens, 'L 30 0 8 40 inf 36 45 1'],
    ['lens 1\'s front face, dragged flat', [33, 5], [34.2788578, -18], [30, -18], kLens, 'L 30 0 8 inf inf 36 0 1'],
    // A sag of -2 at 18 off the axis: R = (2² + 18²) / (2 × -2).
    ['lens 1\'s flat back face, curved', [33, 5], [38, -18], [36, -18], kLens, 'L 30 0 8 40 -82 36 0 1'],
    ['the stop\'s inner edge', stopBlade, [10, -10], [10, -15], kStop, 'D 10 0 1 15 30 0'],
    ['the stop\'s outer edge', stopBlade, [10, -30], [10, -40], kStop, 'D 10 0 1 10 40 0'],
    ['the source\'s direction', [-5, 0], [23, 0], [23, -28], kSource, 'S 4 460 510 570 650 -5 0 0 45 28 14'],
    // The edge ray from the segment's end (-5, -14) turned 10 degrees up: an opening of 20.
    ['the source\'s opening', [-5, 0], [23, -14], [23, -14 - 28 * Math.tan(Math.PI / 18)], kSource, 'S 4 460 510 570 650 -5 0 20 0 28 14'],
    ['the source\'s width', [-5, 0], [-5, -14], [-5, -20], kSource, 'S 4 460 510 570 650 -5 0 0 0 40 14'],
    // Shift keeps a move on the lens's axis and a tilt on 15° steps (24.8° snaps to 30°).
    ['lens 1 along its axis', null, [33, 5], [23, 9], kLens, 'L 20 0 8 40 inf 36 0 1', true],
    ['lens 1\'s tilt in steps', [33, 5], [56, 0], [56, -12], kLens, 'L 30 0 8 40 inf 36 30 1', true],
    // A drag past a limit stops at it, and the readout says why.
    ['lens 1\'s diameter, too far', [33, 5], [36.1394289, -18], [36.1394289, -45], kLens, 'L 30 0 8 40 inf 79.99 0 1', false,
      'the diameter must stay below twice the smaller radius (80)'],
    ['lens 1\'s thickness, too far', [33, 5], [38, 0], [25, 0], kLens, 'L 30 0 0 40 inf 36 0 1', false, 'the thickness cannot be negative'],
  ];
  for (const [what, select, from, to, before, after, shift, reason] of table) {
    if (select) await page.mouse.click(...await spot(page, select));
    if (shift) await page.keyboard.down('Shift');
    let readout;
    await drag(page, from, to, async () => {
      if (!reason) return;
      await page.getByTestId('readout').filter({ hasText: reason }).first().waitFor({ timeout: 5000 }).catch(() => {});
      readout = await page.getByTestId('readout').first().textContent();
    });
    if (shift) await page.keyboard.up('Shift');
    if (reason) {
      assert.ok(readout.includes(reason), readout);
      await expectAnnounced(page, `Stopped: ${reason}.`);
    }
    const expected = edited(before, after);
    await expectText(page, expected, what);
    await waitForPictures(page, expected, kName);
    await page.keyboard.press('Control+z');
    await expectText(page, kDefault, `${what}: undone`);
    await page.keyboard.press('Control+Shift+z');
    await expectText(page, expected, `${what}: redone`);
    // Undone again, and once more: the previews of the drag were never steps of the history.
    await page.keyboard.press('Control+z');
    await page.keyboard.press('Control+z');
    await expectText(page, kDefault, `${what}: nothing more to undo`);
    // A person clicks on what the pictures show: wait for them.
    await waitForPictures(page, kDefault, kName);
  }
});

pageTest(site, 'an edit from a picture is undone from the editor too, and the address follows it; a selected lens shows its outline and handles over the picture, whose pixels stay the program\'s', async (page) => {
  await drag(page, [33, 5], [23, 5]);
  const moved = edited(kLens, 'L 20 0 8 40 inf 36 0 1');
  const address = async () => (await decodeBench(new URL(page.url()).hash))?.description;
  await until(async () => await address() === moved);
  assert.equal(await address(), moved);
  await page.getByTestId('description').focus();
  await page.keyboard.press('Control+z');
  await expectText(page, kDefault);
  await page.keyboard.press('Control+y');
  await expectText(page, moved);
  await waitForPictures(page, moved, kName);
  await page.keyboard.press('Control+z');
  await waitForPictures(page, kDefault, kName);
  // A selected lens shows its outline and handles over the picture, whose pixels stay the
  // program's.
  await page.mouse.click(...await spot(page, [33, 5]));
  await expectAnnounced(page, `Selected line 30: ${kLens}`);
  assert.equal(await page.locator('.cm-picked').textContent(), kLens);
  // The thickness handle's square is drawn at the back vertex (38, 0), nothing far from the lens.
  const [handle, away] = await canvasPixels(page, 'canvas.marks', 0, [[400, 500], [700, 200]]);
  assert.ok(handle[3] > 0);
  assert.equal(away[3], 0);
  await waitForPictures(page, kDefault, kName);
  // Clicking empty space clears the selection.
  await page.mouse.click(...await spot(page, [0, 40]));
  await expectAnnounced(page, 'Nothing selected.');
  await expectText(page, kDefault);
});


// The window a zoombox line gives, as its picture is drawn.
function windowOf(line) {
  const [x1, y1, x2, y2, side, grid] = line.split(' ').slice(1).map(Number);
  return { x: x1, y: y1, zoom: side / (x2 - x1), side, grid, width: x2 - x1 };
}

// The world point of `view` under page position `at` of picture 0, whose box is `box`.
const under = (view, box, at) => [0, 1].map((i) => view[['x', 'y'][i]] + ((at[i] - [box.x, box.y][i]) * (1000 / box.width) - 0.5) / view.zoom);
// How far the world point under `at` moved from kView's to the window `after`, in its pixels.
const drift = (after, box, at) => Math.hypot(...[0, 1].map((i) => under(kView, box, at)[i] - under(after, box, at)[i])) * after.zoom;

// Picture 0's zoombox line once the text has changed, and the window it gives.
async function zoomed(page) {
  await until(async () => await textOf(page) !== kDefault);
  const line = (await textOf(page)).split('\n')[39];
  return [line, windowOf(line)];
}

pageTest(site, 'dragging empty space pans the window; the wheel and two fingers zoom it about the pointer', async (page) => {
  await drag(page, [0, 40], [10, 45]);
  const panned = edited(kWhole, 'Z -20 -65 100 55 1000 10');
  await expectText(page, panned);
  await waitForPictures(page, panned, kName);
  await page.keyboard.press('Control+z');
  await expectText(page, kDefault);
  // A wheel event lands on a whole CSS pixel: the world point there stays there, within a
  // pixel, while the window's side changes 1.25 times a notch.
  const box = await page.getByTestId('picture').first().boundingBox();
  const pointer = (await spot(page, [50, 0])).map(Math.round);
  for (const [notches, width] of [[-1, 96], [1, 150], [-2, 76.8]]) {
    await page.mouse.move(...pointer);
    await page.mouse.wheel(0, 100 * notches);
    const [line, after] = await zoomed(page);
    assert.deepEqual([after.side, after.grid], [1000, 10], line);
    assert.ok(Math.abs(after.width - width) < 0.02, line);
    assert.ok(drift(after, box, pointer) < 1, `${line}: the point under the pointer stays there`);
    await waitForPictures(page, edited(kWhole, line), kName);
    await page.getByTestId('picture').first().focus();
    await page.keyboard.press('Control+z');
    await expectText(page, kDefault, `${notches}: one step undoes the turn`);
  }
  // Two touches 80 CSS pixels apart part to 160: the window halves about the point between them.
  const cdp = await page.context().newCDPSession(page);
  const fingers = (type, apart) => cdp.send('Input.dispatchTouchEvent', {
    type, touchPoints: apart === null ? [] : [-1, 1].map((side, id) => ({ x: pointer[0] + side * apart / 2, y: pointer[1], id })),
  });
  await fingers('touchStart', 80);
  for (const apart of [100, 130, 160]) await fingers('touchMove', apart);
  await fingers('touchEnd', null);
  const [line, after] = await zoomed(page);
  assert.ok(Math.abs(after.width - 60) < 0.05 && after.side === 1000, line);
  assert.ok(drift(after, box, pointer) < 2, `${line}: the point between the fingers stays there`);
  await waitForPictures(page, edited(kWhole, line), kName);
}, { hasTouch: true });

pageTest(site, 'from the keyboard: ] and [ select, the arrows move by a pixel or pan, + zooms, Escape clears', async (page) => {
  await page.getByTestId('picture').first().focus();
  const moved = 'D 10.12 1.2 1 10 30 0';
  const steps = [
    // [key, the stop's line after, picture 0's zoombox line after, announced]
    [']', kStop, kWhole, `Selected line 27: ${kStop}`],
    ['ArrowRight', 'D 10.12 0 1 10 30 0', kWhole, null],
    ['Shift+ArrowDown', moved, kWhole, null],
    [']', moved, kWhole, `Selected line 30: ${kLens}`],
    ['[', moved, kWhole, `Selected line 27: ${moved}`],
    ['Escape', moved, kWhole, 'Nothing selected.'],
    ['ArrowLeft', moved, 'Z -10.12 -60 109.88 60 1000 10', null],
    // About the window's centre (49.88, 0): the corners 1.25 times closer to it.
    ['+', moved, 'Z 1.88 -48 97.88 48 1000 10', null],
  ];
  const texts = [kDefault];
  for (const [key, stop, whole, announcement] of steps) {
    await page.keyboard.press(key);
    const text = kDefault.replace(`\n${kStop}\n`, `\n${stop}\n`).replace(`\n${kWhole}\n`, `\n${whole}\n`);
    await expectText(page, text, key);
    if (text !== texts.at(-1)) texts.push(text);
    if (announcement) await expectAnnounced(page, announcement, key);
  }
  await waitForPictures(page, texts.at(-1), kName);
  // Four edits, four steps of the history, each undone by one press.
  assert.equal(texts.length, 5);
  for (const text of texts.slice(0, -1).reverse()) {
    await page.keyboard.press('Control+z');
    await expectText(page, text, 'one step undone');
  }
  // The caret on a lens's line selects the lens.
  await page.getByTestId('description').evaluate((e, at) => { e.focus(); e.caret = at; }, kDefault.indexOf('L 39'));
  await expectAnnounced(page, 'Selected line 32: L 39 0 6 40 inf 36 0 1');
});
