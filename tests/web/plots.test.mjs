// The aberration plots and the Systems table under the pictures: there for the benches that
// have them, with axes and units, each point where its numbers put it.
import assert from 'node:assert/strict';
import { kDefault, pageTest, siteInBrowser } from './support.mjs';

const site = siteInBrowser();

// On a linear axis, each point's offset from the first is its value's offset times one factor.
function linear(positions, values) {
  const k = (positions[1] - positions[0]) / (values[1] - values[0]);
  positions.forEach((p, i) => assert.ok(Math.abs(p - positions[0] - k * (values[i] - values[0])) < 0.05,
    `point ${i}: ${p} for ${values[i]}`));
  return k;
}

pageTest(site, 'the bundled bench shows its Systems table and its chromatic focal shift; a fan along an axis, its ray fan and longitudinal aberration', async (page) => {
  const { report } = await page.evaluate(async (text) => (await import('./optic.mjs')).run(text, 'default_optic.txt'), kDefault);
  const [system] = report.systems;
  const table = page.locator('#report table', { hasText: 'Systems' });
  for (const p of system.first_order) await table.getByRole('cell', { name: p.efl.toFixed(4) }).first().waitFor();
  const figure = page.locator('#plots figure', { hasText: 'Chromatic focal shift, system 1' });
  assert.match(await figure.innerText(), /wavelength \(nm\)[\s\S]*BFD \(world units\)|BFD \(world units\)[\s\S]*wavelength \(nm\)/);
  // The bench's wavelengths marked on the curve, each where its wavelength and BFD put it.
  const dots = await figure.locator('circle').evaluateAll((cs) => cs.map((c) => [+c.getAttribute('cx'), +c.getAttribute('cy')]));
  assert.equal(dots.length, system.first_order.length);
  assert.ok(linear(dots.map((d) => d[0]), system.first_order.map((p) => p.wavelength_nm)) > 0);
  assert.ok(linear(dots.map((d) => d[1]), system.first_order.map((p) => p.bfd)) < 0);  // up is larger
  // A fan along an axis gets its ray fan and its longitudinal aberration.
  const shown = await page.evaluate(async () => {
    const { showPlots } = await import('./plots.js');
    const rays = [-2, -1, 0, 1, 2].map((h) => ({ height: h, angle_deg: 0,
      axis_crossing: h === 0 ? null : 50 - 0.1 * h * h, transverse: -0.01 * h * h * h }));
    const report = {
      fans: [{ source: 1, wavelength_nm: 550, colour: [0, 255, 0], aberrations: { system: 1, reference: { x: 52, y: 0 }, rays } }],
      systems: [{ system: 1, lenses: [1], first_order: [{ wavelength_nm: 550, bfd: 50, afocal: false }] }],
    };
    const section = document.body.appendChild(document.createElement('section'));
    showPlots(section, report, { systems: [] });
    return [...section.querySelectorAll(':scope > figure')].map((f) => ({
      caption: f.querySelector(':scope > figcaption').textContent,
      text: f.textContent,
      dots: [...f.querySelectorAll('circle')].map((c) => [+c.getAttribute('cx'), +c.getAttribute('cy'), c.getAttribute('fill')]),
    }));
  });
  assert.deepEqual(shown.map((f) => f.caption), [
    'Ray fan, source 1, 550 nm: where each ray meets the reference plane',
    'Longitudinal aberration, source 1, 550 nm: where each ray crosses the axis']);
  const [fan, longitudinal] = shown;
  assert.match(fan.text, /start height \(world units\)/);
  assert.match(fan.text, /transverse height \(world units\)/);
  linear(fan.dots.map((d) => d[0]), [-2, -1, 0, 1, 2]);
  linear(fan.dots.map((d) => d[1]), [0.08, 0.01, 0, -0.01, -0.08]);
  assert.ok(fan.dots.length === 5 && fan.dots.every((d) => d[2] === 'rgb(0, 255, 0)'));
  // The ray along the axis crosses it nowhere: four dots.
  assert.equal(longitudinal.dots.length, 4);
  linear(longitudinal.dots.map((d) => d[0]), [49.6, 49.9, 49.9, 49.6]);
});

pageTest(site, 'the focal points and principal planes are marked on request, each where the report puts it', async (page) => {
  // White pixels of the first picture's overlay (the fans' crosses are in their colours),
  // and whether one lies within a pixel of (x, y).
  const white = (x, y) => page.evaluate(({ x, y }) => {
    const { data, width } = document.querySelectorAll('canvas.overlay')[0].getContext('2d')
      .getImageData(0, 0, 1000, 1000);
    let count = 0, near = false;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] !== 255 || data[i + 1] !== 255 || data[i + 2] !== 255 || data[i + 3] !== 255) continue;
      ++count;
      const px = (i / 4) % width, py = Math.floor(i / 4 / width);
      near ||= Math.abs(px - x) <= 1 && Math.abs(py - y) <= 1;
    }
    return { count, near };
  }, { x, y });
  const { report, pictures } = await page.evaluate(async (text) => (await import('./optic.mjs')).run(text, 'default_optic.txt'), kDefault);
  const entry = report.systems[0].first_order[1];  // 510 nm, the middle one of four
  const view = pictures[0].view;
  // H′'s plane crosses the axis there; 10 pixels up is on it, away from every cross.
  const pixel = (p, k) => Math.floor((p[k] - view[k]) * view.zoom + 0.5);
  const H2 = { x: pixel(entry.back_principal_point, 'x'), y: pixel(entry.back_principal_point, 'y') - 10 };
  assert.equal((await white(H2.x, H2.y)).count, 0);
  await page.getByTestId('marks').check();
  await page.locator('#marks-legend').getByText('efl from H′ to F′', { exact: false }).waitFor();
  const shown = await white(H2.x, H2.y);
  assert.ok(shown.count > 100 && shown.near, JSON.stringify(shown));
  // The dimension lines, on a tilted axis: bfd ends on F′ and starts bfd before it.
  const marks = await page.evaluate(async (e) => {
    const { systemMarks } = await import('./marks.js');
    return systemMarks({ axis: { direction_deg: 30 } }, e, { x: 0, y: 0, zoom: 2 }, 30);
  }, entry);
  const bfd = marks.lines.find((l) => l.name === 'bfd');
  const [dx, dy] = [bfd.to.x - bfd.from.x, bfd.to.y - bfd.from.y];
  assert.ok(Math.abs(Math.hypot(dx, dy) - 2 * Math.abs(entry.bfd)) < 1e-9);
  assert.ok(Math.abs(dx * Math.cos(Math.PI / 6) - dy * Math.sin(Math.PI / 6) - 2 * entry.bfd) < 1e-9);
  // The pointer on the 460 nm fan's cross draws the marks at 460 nm; the selected source,
  // at its middle fan's 510 nm; neither, at the bench's middle wavelength.
  const legend = page.locator('#marks-wavelength');
  assert.equal(await legend.textContent(), 'Drawn at the middle wavelength.');
  // In the second picture (200 pixels a unit) the four crosses lie about 46 pixels apart.
  const fan = report.fans.find((f) => f.wavelength_nm === 460);
  const close = pictures[1].view;
  const box = await page.getByTestId('picture').nth(1).boundingBox();
  const css = (p, k) => box[k ? 'y' : 'x'] + ((p - close[k ? 'y' : 'x']) * close.zoom + 0.5) * (box.width / 1000);
  const before = await white(0, 0);
  await page.mouse.move(css(fan.image.x, 0) - 2, css(fan.image.y, 1) - 2);
  await legend.getByText('Drawn at 460 nm.').waitFor();
  assert.notEqual((await white(0, 0)).count, before.count);
  await page.mouse.move(box.x + 5, box.y + box.height - 5);
  await legend.getByText('Drawn at the middle wavelength.').waitFor();
  await page.getByTestId('picture').first().focus();
  for (let k = 0; k < 4; ++k) await page.keyboard.press(']');  // D, L, L, then S
  await page.getByTestId('selection').getByText('Selected line', { exact: false }).waitFor();
  assert.match(await page.getByTestId('selection').textContent(), /: S /);
  await legend.getByText('Drawn at 510 nm.').waitFor();
  await page.getByTestId('marks').uncheck();
  assert.equal((await white(H2.x, H2.y)).count, 0);
});
