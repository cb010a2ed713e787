// The page's parts that need no browser: number nudging, the bench in the address, the
// picture's pixels as the canvas gets them, and the report's rays sent from the worker.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { test } from 'node:test';
import { bmpPixels, kRoot, kSite } from './support.mjs';

const { nudge, shiftNumber } = await import(join(kRoot, 'web/nudge.js'));
const { decodeBench, encodeBench } = await import(join(kRoot, 'web/fragment.js'));
const { rgbaOf } = await import(join(kSite, 'optic.mjs'));

test('a nudge moves a number by units of its last decimal place, its writing kept', () => {
  const table = [
    ['12.5', 1, '12.6'], ['12.5', -10, '11.5'], ['-0.1', 1, '0.0'], ['0.0', -1, '-0.1'],
    ['9.99', 1, '10.00'], ['10', -1, '9'], ['40', 10, '50'], ['.5', 1, '.6'], ['.5', -6, '-.1'],
    ['5.', 1, '6.'], ['1e-3', 1, '2e-3'], ['1.50E2', -10, '1.40E2'], ['+3', -5, '-2'],
    ['486.1', 1, '486.2'], ['123456789012345678901', 1, '123456789012345678902'],
  ];
  for (const [written, steps, expected] of table) {
    assert.equal(shiftNumber(written, steps), expected, `${written} by ${steps}`);
  }
});

test('the number at the caret is the one nudged; elsewhere nothing is', () => {
  const text = 'L 30 0 8 40 inf 36 0 1\nS 4 460';
  const table = [
    [2, { text: '31', from: 2, to: 4 }],  // caret before the number
    [4, { text: '31', from: 2, to: 4 }],  // caret after it
    [11, { text: '41', from: 9, to: 11 }],
    [13, null],                             // on "inf"
    [0, null],                              // on the kind letter
    [text.length, { text: '461', from: 27, to: 30 }],
  ];
  for (const [caret, expected] of table) assert.deepEqual(nudge(text, caret, 1), expected, `caret ${caret}`);
});

test('the address holds any text exactly, and says what is wrong with a damaged one', async () => {
  const awkward = [
    '',
    'Z 0 0 10 10 100 1',
    '# é à ü, 光学, 🔭🌈, e\u0301, \u200b, RTL \u05e9\u05dc\u05d5\u05dd\n\tI 1.5 400 1.5 500 1.5 600  \n\n\n',
    `S 1 550 0 0 0 0 1 5 ${'x'.repeat(5000)}\n${'# '.repeat(3000)}\n`,
    '<script>alert(1)</script> & % # ? = + /',
  ];
  for (const description of awkward) {
    for (const name of ['bench.txt', 'mon banc & co #1.txt']) {
      const fragment = await encodeBench({ description, name });
      assert.match(fragment, /^[A-Za-z0-9_.~!*'()%=&-]*$/, 'only characters an address keeps');
      assert.deepEqual(await decodeBench(`#${fragment}`), { description, name });
    }
  }
  assert.equal(await decodeBench(''), null);
  assert.deepEqual(await decodeBench('#text=Z%200%200%201%201%208%201%0A'), { description: 'Z 0 0 1 1 8 1\n', name: 'bench.txt' });
  const good = await encodeBench({ description: 'Z 0 0 1 1 8 1\n'.repeat(50), name: 'b.txt' });
  const damaged = [
    ['#z=', /cut short or damaged/],
    [`#${good.slice(0, -8)}`, /cut short or damaged/],
    ['#z=abc$def', /base64url/],
    ['#n=%E0%A4%A&z=AAAA', /percent-encoding/],
    ['#whatever', /holds no bench/],
  ];
  for (const [fragment, message] of damaged) await assert.rejects(decodeBench(fragment), message, fragment);
  // A small link that inflates without end is refused, not inflated.
  const bomb = await encodeBench({ description: '\0'.repeat(20 * 1024 * 1024), name: 'b.txt' });
  assert.ok(bomb.length < 100_000);
  await assert.rejects(decodeBench(`#${bomb}`), /larger than 16 MB/);
});

test('the canvas gets the picture file\'s pixels, top row first', async () => {
  // Widths with a tail of one to three pixels after whole groups of four: rows padded to four
  // bytes, stored bottom row first.  (The world point under the pointer: the page's readout.)
  for (const [w, h] of [[1, 3], [3, 2], [4, 2], [5, 1], [6, 2], [7, 3], [9, 2], [1000, 2], [0, 0]]) {
    const bmp = Buffer.alloc(54 + ((3 * w + 3) & ~3) * h);
    for (let k = 54; k < bmp.length; ++k) bmp[k] = (k * 37 + 11) & 0xff;
    bmp.write('BM');
    bmp.writeUInt32LE(54, 10);
    bmp.writeInt32LE(w, 18);
    bmp.writeInt32LE(h, 22);
    const pixels = await rgbaOf({ bmp: new Uint8Array(bmp), width: w, height: h });
    assert.deepEqual(Buffer.from(pixels), bmpPixels(bmp).rgba, `${w} x ${h}`);
  }
});

test('a report\'s rays cross from the worker packed, and come back as they were', async () => {
  const { packRays, unpackRays } = await import(join(kSite, 'rays.js'));
  const ray = (h, crossing) => ({ height: h, angle_deg: h / 7, axis_crossing: crossing, transverse: -h * 1e-3 });
  const report = {
    fans: [
      { source: 1, aberrations: { system: 1, rays: [ray(-2, 50.5), ray(0, null), ray(2.25, 49.75)] } },
      { source: 2, image: null },  // no aberrations
      { source: 3, aberrations: { system: 1, rays: [ray(1, 3), { height: 1, note: 'x' }] } },  // not all alike
      { source: 4, aberrations: { system: 2, rays: [] } },
    ],
  };
  const copy = structuredClone(report);
  const buffers = packRays(report);
  assert.equal(buffers.length, 1);
  assert.ok(report.fans[0].aberrations.rays.values instanceof Float64Array);
  assert.deepEqual(report.fans[2], copy.fans[2]);
  assert.deepEqual(unpackRays(structuredClone(report, { transfer: buffers })), copy);
  assert.deepEqual(unpackRays(structuredClone(copy)), copy);
});
