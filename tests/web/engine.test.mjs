// The engine module in Node: run() gives the program's status, messages and picture bytes.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { describe, test } from 'node:test';
import { kDefault, kDefaultName, kRoot, kSite, native } from './support.mjs';

const { recycle, run } = await import(join(kSite, 'optic.mjs'));
const { copyRows } = await import(join(kSite, 'bmp.js'));
const { unpackRays } = await import(join(kSite, 'rays.js'));

// The same exit status, standard output and pictures, byte for byte.
function assertSameAsProgram(result, expected) {
  assert.deepEqual([result.status, result.stdout], [expected.status, expected.stdout]);
  assert.deepEqual(Object.fromEntries(result.pictures.map((p) => [p.name, Buffer.from(p.bmp)])), expected.pictures);
}

// Its status, messages and picture bytes, and for a description file its report, the one
// `optic --report=json` gives.
describe('run() gives what the program gives', () => {
  const benches = [
    [kDefaultName, kDefault],
    ...['telescope', 'dispersion', 'stop', 'total_internal_reflection', 'microscope_objective']
      .map((e) => [`${e}.txt`, readFileSync(join(kRoot, `examples/${e}.txt`))]),
    ['refused.txt', 'I 1.5 400 1.6 500\nL 1 2 3\nS 1 500 0 0 0 0 1 5\nZ 0 0 10 10 64 1\nD 1 2\n'],
    ['crlf.txt', 'I 1.5 400 1.52 500 1.51 600\r\nE 0\r\nL 5 5 1 10 -10 4 0 1\r\nS 1 550 0 5 5 0 2 9\r\nZ 0 0 10 10 50 1\r\n'],
    ['no_glass.txt', 'L 0 0 1 inf inf 10 0 1\nZ 0 0 10 10 50 1\n'],
    ['bytes.txt', Buffer.from([0x49, 0x20, 0xff, 0xfe, 0x0a, 0x5a, 0x20, 0x30, 0x20, 0x30, 0x20, 0x39, 0x20, 0x39, 0x20, 0x33, 0x30, 0x20, 0x33, 0x0a])],
    ['sub/dir/bench.txt', 'Z 0 0 10 10 20 1\n'],
    // The first picture's name is the description's directory: that picture cannot be written.
    ['OpticZoomBox_0.bmp/bench.txt', 'Z 0 0 10 10 20 1\nZ 0 0 10 10 30 1\n'],
    ['--help', 'Z 0 0 10 10 20 1\n'],
    ['', 'Z 0 0 10 10 20 1\n'],
    ['dossier/', 'Z 0 0 10 10 20 1\n'],
  ];
  for (const [name, description] of benches) {
    test(`${name || '(empty name)'}`, async () => {
      const bytes = typeof description === 'string' ? description : new Uint8Array(description);
      const expected = native(description, name === '--help' ? './--help' : name);
      if (name === '--help') expected.stdout = expected.stdout.replaceAll('./--help', '--help');
      const result = await run(bytes, name);
      assertSameAsProgram(result, expected);
      // The objective's aberration numbers differ from the native ones in their last digits
      // (the engine's mathematical library is not the native one): its pictures are the
      // same, its report is not.
      if (name.endsWith('.txt') && name !== 'microscope_objective.txt') {
        assert.deepEqual(result.report, JSON.parse(native(description, name, ['--report=json']).stdout));
      }
      // The page's form of the same rays: one array of numbers a fan, NaN for null.
      assert.deepEqual(unpackRays((await run(bytes, name, { packedRays: true })).report), result.report);
    });
  }
});

test('random benches (tilted lenses, stops, fans at any angle) give the program\'s bytes', async () => {
  // The engine's mathematical library is not the native one: every sine and arc tangent must
  // still land on the same pixels.
  let seed = 2026;
  const random = () => { seed = (seed * 1103515245 + 12345) % 2147483648; return seed / 2147483648; };
  const value = (a, b) => (a + (b - a) * random()).toPrecision(7);
  for (let k = 0; k < 40; ++k) {
    let d = 'I 1.52 400 1.51 500 1.50 600\nI 1.7 450 1.68 550 1.67 650\n';
    for (let i = 0; i < 3; ++i) {
      d += `L ${value(10, 80)} ${value(30, 70)} ${value(1, 8)} ${value(20, 60)} ${value(-60, -20)} ` +
        `${value(5, 30)} ${value(-40, 40)} ${1 + (i % 2)}\n#\n`;
    }
    d += `D ${value(20, 80)} ${value(40, 60)} 1 ${value(1, 5)} ${value(6, 20)} ${value(-90, 90)}\n`;
    for (let i = 0; i < 2; ++i) {
      d += `S 3 ${value(400, 700)} ${value(400, 700)} ${value(400, 700)} ${value(0, 5)} ${value(20, 80)} ` +
        `${value(0, 60)} ${value(-180, 180)} ${value(0, 10)} ${Math.floor(20 + random() * 200)}\n#\n`;
    }
    d += `Z 0 0 100 100 ${Math.floor(200 + random() * 600)} 10\n` +
      `Z ${value(20, 60)} ${value(20, 60)} ${value(61, 80)} ${value(61, 80)} 400 1\n`;
    assertSameAsProgram(await run(d), native(d));
  }
});

test('a string is the text as an editor saves it, in UTF-8; neither text nor bytes is refused', async () => {
  const text = 'I 1.5 400 1.52 500 1.51 600\n# é, 光, 🔭\nL 5 5 1 10 -10 4 0 7\nZ 0 0 10 10 30 1\n';
  const fromString = await run(text, 'été.txt');
  assert.deepEqual(fromString, await run(new TextEncoder().encode(text), 'été.txt'));
  assert.equal(fromString.stdout, 'Warning: Probleme avec une lentille dans le fichier été.txt \n');
  await assert.rejects(run(42), TypeError);
});

test('each refused line is a diagnostic with its line, counted as an editor does', async () => {
  const result = await run('# one\r\nD 1\r\n\r\nE -1\nI 1 2 3\nZ 0 0 10 10 20 1\nS 0\n', 'b.txt');
  assert.deepEqual(result.diagnostics.map((d) => d.line), [2, 4, 5, 7]);
  for (const d of result.diagnostics) assert.match(d.message, /^.*\S.*$/, 'one line, not blank');
  assert.deepEqual(result.messages.map((m) => m.line), [2, 4, 5, 7]);
  assert.equal(result.messages.map((m) => m.text).join(''), result.stdout);
});

test('a picture too large for the engine\'s memory is a failed write, never a crash', async () => {
  for (const side of [37837, 30000]) {
    const result = await run(`Z 0 0 10 10 ${side} 1\nZ 0 0 10 10 16 1\n`);
    assert.deepEqual([result.status, result.stdout], [255, "Error: Impossible d'ecrire le fichier OpticZoomBox_0.bmp \n"]);
    assert.deepEqual(result.pictures.map((p) => p.name), ['OpticZoomBox_1.bmp']);
    // The engine is still sound.
    assert.equal((await run('Z 0 0 1 1 8 1\n')).pictures[0].bmp.length, 54 + 8 * 24);
  }
});

// The rays are drawn as they are traced, lot after lot (the report's measures ride on that
// too), the count never going back; then the picture is written.
test('a long run tells its progress', async () => {
  const steps = [];
  const result = await run('S 1 550 0 0 40 0 1 1000000\nZ -1 -1 1 1 200 1\n', 'b.txt', { onProgress: (p) => steps.push(p) });
  assert.equal(result.status, 0);
  assert.deepEqual(steps[0], { step: 'tracing rays', done: 0, total: 1000000 });
  assert.ok(steps.some((s) => s.step === 'writing OpticZoomBox_0.bmp'));
  assert.ok(steps.filter((s) => s.step === 'tracing rays').every((s, i, all) => i === 0 || s.done >= all[i - 1].done));
});

test('runs sharing out the pictures give, together, the pictures of one run', async () => {
  const benches = [
    [kDefaultName, kDefault],
    ['three.txt', 'I 1.5 400 1.5 500\nL 5 5 1 10 -10 4 0 1\nS 1 450 0 5 5 0 2 99\n' +
      'Z 0 0 10 10 90 1\nZ 2 2 8 8 300 1\nZ 0 0 10 10 40 1\nD 1 2\n'],
    // One picture, and more rays than are kept from one visit to the next.
    ['one.txt', 'I 1.5 400 1.5 500 1.5 600\nL 5 0 1 10 -10 4 0 1\nS 1 450 0 0 2 0 8 40000\nZ -1 -6 13 6 257 1\n'],
  ];
  for (const [name, description] of benches) {
    // Each picture as its name and bytes, in the order of the names; one drawn in bands put
    // together from them, each of its rows from exactly one.
    const listed = (pictures) => {
      const byName = new Map();
      for (const p of pictures) {
        const [first, end] = p.rows ?? [0, p.height];
        if (!byName.has(p.name)) byName.set(p.name, { ...p, bmp: Uint8Array.from(p.bmp), given: new Array(p.height).fill(0) });
        const whole = byName.get(p.name);
        copyRows(p, whole, [first, end]);
        for (let r = first; r < end; ++r) ++whole.given[r];
      }
      for (const { name, given } of byName.values()) assert.ok(given.every((n) => n === 1), name);
      return [...byName.values()].map((p) => [p.name, Buffer.from(p.bmp).toString('hex')]).sort();
    };
    const whole = await run(description, name);
    for (const parts of [2, 3, 5]) {
      const shares = [];
      // The first share with the report, the others without: they measure nothing.
      for (let part = 0; part < parts; ++part) shares.push(await run(description, name, { share: { part, parts }, report: part === 0 }));
      assert.deepEqual(shares.map((share) => share.report !== undefined), shares.map((_, part) => part === 0));
      for (const share of shares) assert.deepEqual([share.status, share.stdout], [whole.status, whole.stdout], `${name}, ${parts} parts`);
      assert.deepEqual(listed(shares.flatMap((s) => s.pictures)), listed(whole.pictures), `${name}, ${parts} parts`);
    }
  }
  await assert.rejects(run('Z 0 0 1 1 5 1\n', 'x.txt', { share: { part: 2, parts: 2 } }), TypeError);
});

test('pictures handed back are written into again, and hold nothing of what they held', async () => {
  const description = 'I 1.5 400 1.5 500 1.5 600\nL 5 5 1 10 -10 4 0 1\nS 1 450 0 5 5 0 2 99\nZ 0 0 10 10 90 1\nZ 2 2 8 8 300 1\n';
  const expected = native(description, 'bench.txt');
  const first = await run(description);
  // Bytes that no picture has, and one buffer of a size no picture of this bench has.
  for (const p of first.pictures) p.bmp.fill(0xa5);
  const odd = new ArrayBuffer(1234);
  await recycle(...first.pictures.map((p) => p.bmp), odd);
  const second = await run(description);
  assertSameAsProgram(second, expected);
  assert.equal(second.pictures.filter((p) => first.pictures.some((f) => f.bmp.buffer === p.bmp.buffer)).length, 2, 'both buffers written into again');
  assert.equal(new Uint8Array(odd).every((b) => b === 0), true);
  // Once taken, a buffer is the run's: the next run takes fresh memory.
  const third = await run(description);
  assertSameAsProgram(third, expected);
  assert.equal(third.pictures.some((p) => second.pictures.some((s) => s.bmp.buffer === p.bmp.buffer)), false);
});
