// What each value of each kind of line is, named as the README's description of the file
// names it: the editor's hints and completion templates read this one table.  A field is
// [placeholder, label, meaning]: the placeholder is the completion template's name for it.

const kLength = '(world units)';

export const kKinds = {
  D: {
    title: 'a diaphragm',
    fields: [
      ['x', 'x', `centre of the diaphragm, on its axis, in the middle of the blades ${kLength}`],
      ['y', 'y', `centre of the diaphragm ${kLength}`],
      ['thickness', 'thickness', `of the blades along the axis ${kLength}`],
      ['inner', 'inner', `distance from the axis to each blade's inner edge ${kLength}`],
      ['outer', 'outer', `distance from the axis to each blade's outer edge ${kLength}`],
      ['angle', 'angle', 'tilt of the axis (degrees; at 0 the axis points to +x, the blades upright)'],
    ],
  },
  E: {
    title: 'the index of the surrounding space',
    fields: [['index', 'index', 'refractive index of the space outside every lens, at least 1e-10']],
  },
  I: {
    title: 'a glass',
    fields: [1, 2, 3].flatMap((k) => [
      [`index${k}`, `index${k}`, `the glass's index at wavelength${k}, above 0`],
      [`wavelength${k}`, `wavelength${k}`, 'a wavelength the index is given at (nm), above 0'],
    ]),
  },
  L: {
    title: 'a lens',
    fields: [
      ['x', 'x', `the vertex of face 1, where it crosses the lens axis ${kLength}`],
      ['y', 'y', `the vertex of face 1 ${kLength}`],
      ['thickness', 'thickness', `on the axis, from face 1's vertex to face 2's ${kLength}`],
      ['R1', 'radius1 R1', 'signed radius of face 1, or inf for a flat face (> 0: bulging towards the light)'],
      ['R2', 'radius2 R2', 'signed radius of face 2, or inf for a flat face (< 0: bulging away from the light)'],
      ['diameter', 'diameter D', `the requested aperture ${kLength}`],
      ['angle', 'angle', 'tilt of the lens axis (degrees; at 0 the axis points to +x, face 1 on the left)'],
      ['glass', 'glass', 'glass number, a whole number: 1 for the first usable I line above'],
    ],
  },
  S: {
    title: 'a source',
    // The wavelengths come between the count and these: see sourceFields.
    fields: [
      ['x', 'x', `middle of the segment the rays start on ${kLength}`],
      ['y', 'y', `middle of the start segment ${kLength}`],
      ['opening', 'opening', 'full opening angle of the fan (degrees)'],
      ['direction', 'direction', 'direction of the beam (degrees; 0 towards +x, positive turning up)'],
      ['width', 'width', `length of the start segment ${kLength}`],
      ['rays', 'rays', 'number of rays per wavelength, a whole number, at most 1000000'],
    ],
  },
  Z: {
    title: 'a zoombox (a picture)',
    fields: [
      ['x1', 'x1', `the window's corner with the smallest x, the picture's left ${kLength}`],
      ['y1', 'y1', `the window's corner with the smallest y, the picture's top ${kLength}`],
      ['x2', 'x2', `the opposite corner's x ${kLength}`],
      ['y2', 'y2', `the opposite corner's y ${kLength}`],
      ['pixels', 'pixels', "the picture's side in pixels"],
      ['grid', 'grid', 'grid step (world units; 0 for no grid)'],
    ],
  },
};

const kCount = ['count', 'count', 'number N of wavelengths, 1 to 10, a whole number'];
const wavelength = (k) => [k === 1 ? 'wavelength' : `wavelength${k}`, `wavelength${k}`, 'a wavelength of the source (nm)'];

// The fields of a source line whose count reads `count` (one wavelength when the count is
// out of its range: the line is refused then, and the rest is best read as one).
function sourceFields(count) {
  const n = Number.isInteger(count) && count >= 1 && count <= 10 ? count : 1;
  return [kCount, ...Array.from({ length: n }, (_, k) => wavelength(k + 1)), ...kKinds.S.fields];
}

// The fields of a line of kind `kind` whose first value is written `first`, or null for a
// comment line.  A count reads as atoi does: its whole-number start.
export function fieldsOf(kind, first = '') {
  if (kind === 'S') return sourceFields(Number.parseInt(first, 10));
  return Object.hasOwn(kKinds, kind) ? kKinds[kind].fields : null;
}

// The words of a line: each run of characters other than the space, where it starts and
// ends.  The first is the kind's word; only the space separates values.
export function tokens(line) {
  return [...line.matchAll(/[^ ]+/g)].map((m) => ({ text: m[0], from: m.index, to: m.index + m[0].length }));
}

// What word k of a line is (0: the kind's word, 1: the first value), or null on a comment
// line.
export function fieldHint(line, k) {
  const words = tokens(line);
  const kind = line[0];
  const fields = fieldsOf(kind, words[1]?.text);
  if (!fields || k < 0 || k >= words.length) return null;
  if (k === 0) return `${kind}: ${kKinds[kind].title}, ${kind} ${fields.map(([, label]) => label.split(' ')[0]).join(' ')}`;
  if (k > fields.length) return `${kind}, value ${k}: past the ${fields.length} this line reads, ignored`;
  const [, label, meaning] = fields[k - 1];
  return `${kind}, field ${k} of ${fields.length}: ${label}, ${meaning}`;
}

// The template a completion inserts: the kind and its fields as named placeholders (a
// source's for the wavelengths of `line`, one when there is no line).
export function template(kind, line = '') {
  const fields = fieldsOf(kind, tokens(line)[1]?.text);
  return `${kind} ${fields.map(([name]) => `\${${name}}`).join(' ')}`;
}
