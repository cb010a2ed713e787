// The optic engine as a module, for the page, for Node and for anyone's script.
//
//   run(description, name = "bench.txt", { onProgress, share } = {}) -> Promise<{
//     status, stdout, pictures: [{ name, width, height, bmp, view }],
//     diagnostics: [{ line, message }], messages: [{ text, line }], report, geometry
//   }>
//   rgbaOf(picture) -> Promise<Uint8ClampedArray>: a picture's pixels as a canvas's ImageData
//   bitmapOf(picture) -> Promise<ImageBitmap | null>: the same as a bitmap (where the platform
//     has createImageBitmap: browsers, their workers); of its `rows` only, when it has some
//   recycle(...bmps): hands back the bytes of pictures no longer needed, for the next runs
//
// gives what the program gives when run as `optic NAME` in an empty directory holding the
// description in the file NAME.  The engine (engine.mjs and engine.wasm beside this file) is
// loaded at the first call; it runs on the calling thread, so a page runs it in a worker.
// `geometry`, there once the bench is read, says what is where on it (see the README), so that
// a page hit-tests in world units without reading the description itself.
// With `share` = { part, parts }, the run is one of `parts` runs of the same description that
// share out its pictures' rows (one per worker, say): it hands over only the pictures it drew
// rows of, everything else as a whole run does.  A picture it drew in part has `rows` =
// [first, end): only those rows of its `bmp` are the picture's (the others are any bytes);
// the parts' rows together are the whole run's pictures.
// With `report` false, the run measures nothing and gives no `report` (a crew's other shares:
// the first one's report is the run's).  With `packedRays`, each fan's aberrations.rays is
// { keys, values }: the rays' values, keys.length a ray, in one Float64Array, NaN standing
// for null (see rays.js), rather than an object a ray.
import createEngine from './engine.mjs';
import { rowBytes } from './bmp.js';
import { unpackRays } from './rays.js';
import { Room } from './room.js';

const kWorkDirectory = '/work';
// After a run that grew the engine's memory beyond this, the engine is dropped (and made
// anew at the next call), so that one large picture does not hold its memory for ever.
const kMemoryKept = 256 * 1024 * 1024;
const kPicture = /^OpticZoomBox_(\d+)\.bmp$/;

const decoder = new TextDecoder();  // UTF-8; bytes that are not become U+FFFD
const encoder = new TextEncoder();
const inNode = typeof process === 'object' && typeof process.versions?.node === 'string';

let engine = null;  // Promise of the engine instance

// In Node the generated loader would look for the wasm file with the browser's means: hand
// it the bytes.
async function engineOptions() {
  if (!inNode) return {};
  const { readFile } = await import('node:fs/promises');
  return { wasmBinary: await readFile(new URL('engine.wasm', import.meta.url)) };
}

function loadEngine() {
  if (!engine) {
    engine = engineOptions().then(createEngine).then((instance) => {
      instance.room = new Room(instance.FS);
      return instance;
    });
    engine.catch(() => { engine = null; });
  }
  return engine;
}

// Loads the engine now, so that the first run does not wait for it.
export function ready() {
  return loadEngine().then(() => undefined);
}

function bytesOf(description) {
  if (typeof description === 'string') return encoder.encode(description);
  if (description instanceof Uint8Array) return description;
  if (description instanceof ArrayBuffer) return new Uint8Array(description);
  throw new TypeError('run: the description must be a string, a Uint8Array or an ArrayBuffer');
}

// Removes a file or a directory tree of the engine's file system.
function remove(FS, path) {
  const { node } = FS.lookupPath(path);
  if (FS.isDir(node.mode)) {
    for (const entry of FS.readdir(path)) {
      if (entry !== '.' && entry !== '..') remove(FS, `${path}/${entry}`);
    }
    FS.rmdir(path);
  } else {
    FS.unlink(path);
  }
}

function exists(FS, path) {
  return FS.analyzePath(path).exists;
}

// Makes the empty working directory and the description file NAME in it (its directories
// too, when NAME has some).  What cannot be made is left out: the run then finds no file, as
// the program does.  Returns what was made, for the clean-up.
function prepare(FS, name, bytes) {
  const made = [kWorkDirectory];
  try {
    FS.mkdir(kWorkDirectory);
  } catch {
    remove(FS, kWorkDirectory);  // left by a run that failed
    FS.mkdir(kWorkDirectory);
  }
  FS.chdir(kWorkDirectory);
  if (name === '' || name.endsWith('/')) return made;
  try {
    const path = name.startsWith('/') ? name : `${kWorkDirectory}/${name}`;
    const parts = path.split('/').filter((p) => p !== '');
    // Below the working directory, just made empty, nothing exists yet (a look-up of a path
    // costs more than a small bench's reading).
    const fresh = !name.startsWith('/') && !parts.includes('.') && !parts.includes('..');
    let directory = '';
    for (const part of parts.slice(0, -1)) {
      directory += `/${part}`;
      if (fresh ? directory !== kWorkDirectory : !exists(FS, directory)) {
        FS.mkdir(directory);
        made.push(directory);
      }
    }
    if (fresh || !exists(FS, path)) {
      FS.writeFile(path, bytes);
      made.push(path);
    }
  } catch {
    // a name the file system cannot hold: the run reports the missing file
  }
  return made;
}

function cleanUp(FS, made) {
  FS.chdir('/');
  for (const path of made.reverse()) {
    try {
      remove(FS, path);
    } catch {
      // already gone with its directory
    }
  }
}

// The keys of a ray of a fan's aberrations, in the order the engine hands over their values.
const kRayKeys = ['height', 'angle_deg', 'axis_crossing', 'transverse'];

// Puts each fan's aberration rays, handed over as numbers (raysOf[f]), into the report as
// rays.js packs them: a number that is not finite is null in the document, NaN there.
function putRays(report, raysOf) {
  raysOf.forEach((values, f) => {
    const aberrations = report?.fans?.[f]?.aberrations;
    if (!aberrations) return;
    for (let k = 0; k < values.length; ++k) {
      if (!Number.isFinite(values[k])) values[k] = NaN;
    }
    aberrations.rays = { keys: kRayKeys, values };
  });
  return report;
}

function execute(instance, bytes, name, onProgress, share, report, packedRays) {
  const { FS } = instance;
  const result = { status: 0, stdout: '', pictures: [], diagnostics: [], messages: [] };
  const views = [];
  const shares = [];  // the rows of each zoombox's picture the run draws
  const raysOf = [];  // each fan's aberration rays, as numbers
  let failure = null;
  instance.recepteur = {
    sortie: (text) => { result.stdout = decoder.decode(text); },
    message: (line, text) => result.messages.push({ text: decoder.decode(text), line }),
    diagnostic: (line, text) => result.diagnostics.push({ line, message: decoder.decode(text) }),
    fenetre: (c, x, y, zoom) => { views[c] = { x, y, zoom }; },
    rangs: (c, first, end) => { shares[c] = [first, end]; },
    geometrie: (text) => { result.geometry = JSON.parse(decoder.decode(text)); },
    // Each picture is taken out of the file system as soon as it is written (its bytes
    // as they are, when the file holds exactly them: a picture may weigh gigabytes).
    image: (text, side) => {
      const file = decoder.decode(text);
      const { node } = FS.lookupPath(file);
      const bmp = node.contents?.length === node.usedBytes ? node.contents : FS.readFile(file);
      FS.unlink(file);
      const c = Number(kPicture.exec(file)?.[1]);
      const picture = { name: file, width: side, height: side, bmp, view: views[c] };
      const rows = shares[c];
      if (rows && (rows[0] > 0 || rows[1] < side)) picture.rows = rows;
      result.pictures.push(picture);
    },
    progression: (text, done, total) => onProgress?.({ step: decoder.decode(text), done, total }),
    rayonsAberration: (f, values) => { raysOf[f] = values; },
    compteRendu: (text) => {
      const document = putRays(JSON.parse(decoder.decode(text)), raysOf);
      result.report = packedRays ? document : unpackRays(document);
    },
    echec: (text) => { failure = decoder.decode(text); },
  };
  const made = prepare(FS, name, bytes);
  const size = instance.lengthBytesUTF8(name) + 1;
  const pointer = instance._malloc(size);
  try {
    instance.stringToUTF8(name, pointer, size);
    result.status = instance._optic_executer_part(pointer, share?.part ?? 0, share?.parts ?? 1, report ? 1 : 0);
  } finally {
    instance._free(pointer);
    cleanUp(FS, made);
    instance.recepteur = null;
  }
  if (failure !== null) throw new Error(failure);
  return result;
}

// The colour the pictures give a ray of this wavelength (nanometres), as [red, green, blue].
export async function rayColour(wavelength) {
  const packed = (await loadEngine())._optic_couleur(Number(wavelength));
  return [packed >> 16, (packed >> 8) & 255, packed & 255];
}

// Room left after a picture's rows: the conversion reads a few bytes past a row's end.
const kRowSlack = 16;

// Hands `use` a picture's pixels (a picture of run()'s result; its `rows` only, when it has
// some) as a canvas's RGBA rows, top row first, in the engine's memory: valid only until
// `use` is done, with no engine call meanwhile.  Returns what `use` gives.
async function withRgba(picture, use) {
  const instance = await loadEngine();
  const { width } = picture;
  const [first, end] = picture.rows ?? [0, picture.height];
  const height = end - first;
  const rows = rowBytes(picture, first, end);
  const size = 4 * width * height;
  if (size === 0) return use(new Uint8ClampedArray(0));
  const from = instance._malloc(rows.length + kRowSlack);
  const to = instance._malloc(size);
  try {
    if (!from || !to) throw new Error('no memory left for the picture\'s pixels');
    instance.HEAPU8.set(rows, from);
    instance._optic_rgba(from, width, height, to);
    return await use(new Uint8ClampedArray(instance.HEAPU8.buffer, to, size));
  } finally {
    instance._free(from);
    instance._free(to);
  }
}

// A picture's pixels as a canvas's RGBA rows, top row first: the ImageData of the picture.
export function rgbaOf(picture) {
  return withRgba(picture, (rgba) => rgba.slice());
}

// A picture's pixels (its `rows` only, when it has some) as an ImageBitmap, exactly its bytes
// (a picture is opaque: there is nothing to premultiply), or null for a picture with no
// pixels.  Made from the engine's memory: a fresh copy of the pixels would cost more than the
// bitmap itself.
export function bitmapOf(picture) {
  const [first, end] = picture.rows ?? [0, picture.height];
  if (picture.width === 0 || end <= first) return Promise.resolve(null);
  return withRgba(picture, (rgba) => createImageBitmap(new ImageData(rgba, picture.width, end - first),
    { premultiplyAlpha: 'none', colorSpaceConversion: 'none' }));
}

// Hands back the bytes of pictures no longer needed (their `bmp`s, or the ArrayBuffers
// under them): the next runs write their pictures into them, which is faster than into
// fresh memory.  They must not be used after.
export async function recycle(...bytes) {
  const instance = await engine?.catch(() => null);
  for (const b of bytes) instance?.room.give(b);
}

// A share of the pictures, checked: whole numbers, part < parts.
function shareOf(share) {
  if (share === undefined || share === null) return null;
  const { part, parts } = share;
  if (!Number.isInteger(part) || !Number.isInteger(parts) || part < 0 || part >= parts) {
    throw new TypeError('run: share must be { part, parts }, whole numbers with 0 <= part < parts');
  }
  return parts > 1 ? { part, parts } : null;
}

export async function run(description, name = 'bench.txt', { onProgress, share, report = true, packedRays = false } = {}) {
  const bytes = bytesOf(description);
  const part = shareOf(share);
  const loading = loadEngine();
  const instance = await loading;
  try {
    return execute(instance, bytes, String(name), onProgress, part, Boolean(report), Boolean(packedRays));
  } catch (error) {
    // The engine may be left in any state: the next run gets a fresh one.
    if (engine === loading) engine = null;
    if (error instanceof Error && !(error instanceof WebAssembly.RuntimeError)) throw error;
    throw new Error(`the engine failed: ${error?.message ?? error}`);
  } finally {
    if (engine === loading && instance.HEAPU8.length > kMemoryKept) engine = null;
  }
}
