// A few engine workers that behave as one (the same messages in and out as worker.js): each
// run is shared out between them, each drawing its share of the pictures' rows from the same
// description (see run()'s `share`), and their pictures are put together, a picture drawn in
// bands by several of them from its bands, in the order of the zoomboxes.  The pictures are
// the bytes one worker gives: whenever the workers do not agree on everything else a run
// hands over (a picture that one of them could not write, say), the first worker runs it
// again alone.  Plain static hosts send no cross-origin isolation
// headers, so workers, not WebAssembly threads, use the processor's other cores.

import { copyRows } from './bmp.js';

// At most this many workers: the tracing, which each does whole, soon outweighs their shares.
const kCrewMax = 4;
const kZoombox = /_(\d+)\.[a-z]+$/;

// How many workers a crew of this machine has (1: a crew is not worth it).
export function crewSize() {
  return Math.max(1, Math.min(globalThis.navigator?.hardwareConcurrency || 1, kCrewMax));
}

function zoomboxOf(picture) {
  return Number(kZoombox.exec(picture.name)?.[1] ?? 0);
}

// One picture from the bands of it that several workers drew (each with its `rows`): the
// others' rows copied into the bytes of the one that drew the most, the bands' bitmaps drawn
// into one.  Gives the picture and the bytes no longer needed.
function join(bands) {
  const size = (band) => band.rows[1] - band.rows[0];
  const whole = bands.reduce((a, b) => (size(b) > size(a) ? b : a));
  const others = bands.filter((band) => band !== whole);
  for (const band of others) copyRows(band, whole, band.rows);
  if (bands.every((band) => band.bitmap)) {
    const canvas = new OffscreenCanvas(whole.width, whole.height);
    const context = canvas.getContext('2d');
    for (const band of bands) {
      context.drawImage(band.bitmap, 0, band.rows[0]);
      band.bitmap.close();
    }
    whole.bitmap = canvas.transferToImageBitmap();
  }
  delete whole.rows;
  return { picture: whole, spent: others.map((band) => band.bmp.buffer) };
}

// The pictures of a run's shares as one run's: each picture once, in the order of the
// zoomboxes.  Gives them and the bytes no longer needed.
function gather(shares) {
  const byName = new Map();
  for (const picture of shares.flat()) {
    if (!byName.has(picture.name)) byName.set(picture.name, []);
    byName.get(picture.name).push(picture);
  }
  const pictures = [], spent = [];
  for (const bands of byName.values()) {
    if (bands.length === 1 && !bands[0].rows) {
      pictures.push(bands[0]);
      continue;
    }
    const joined = join(bands);
    pictures.push(joined.picture);
    spent.push(...joined.spent);
  }
  pictures.sort((a, b) => zoomboxOf(a) - zoomboxOf(b));
  return { pictures, spent };
}

// Whether two shares of one run told the same story but for their pictures.
function agree(a, b) {
  return a.status === b.status && a.stdout === b.stdout &&
    JSON.stringify(a.messages) === JSON.stringify(b.messages) &&
    JSON.stringify(a.diagnostics) === JSON.stringify(b.diagnostics);
}

export class Crew extends EventTarget {
  #workers;
  // The runs posted, oldest first, each answered in turn even when a later one is done first:
  // { id, description, name, answers, alone, done }
  #jobs = [];
  #pictures = null;  // how many pictures the last run had: none to share, no shares
  #writers = new WeakMap();  // a picture's bytes (its ArrayBuffer): the worker that wrote them

  constructor(url, size) {
    super();
    this.#workers = Array.from({ length: size }, (_, k) => {
      const worker = new Worker(url, { type: 'module' });
      worker.addEventListener('message', ({ data }) => this.#message(k, data));
      worker.addEventListener('error', (event) => {
        event.preventDefault();
        this.dispatchEvent(new ErrorEvent('error', { message: event.message, cancelable: true }));
      });
      return worker;
    });
  }

  // The bytes of pictures no longer shown, each back to the worker that wrote it (the first
  // one when none of this crew did).
  #recycle(buffers) {
    this.#workers.forEach((worker, k) => {
      const own = buffers.filter((b) => (this.#writers.get(b) ?? 0) === k);
      if (own.length > 0) worker.postMessage({ recycle: own }, own);
    });
  }

  #wrote(k, pictures) {
    for (const picture of pictures) this.#writers.set(picture.bmp.buffer, k);
  }

  postMessage({ id, description, name, recycle }) {
    if (recycle) return this.#recycle(recycle);
    const parts = this.#pictures === 0 ? 1 : this.#workers.length;
    this.#jobs.push({ id, description, name, answers: new Array(parts).fill(null), alone: parts === 1, done: null });
    if (parts === 1) {
      this.#workers[0].postMessage({ id, description, name });
      return;
    }
    for (let part = 0; part < parts; ++part) {
      this.#workers[part].postMessage({ id, description, name, share: { part, parts } });
    }
  }

  terminate() {
    for (const worker of this.#workers) worker.terminate();
    this.#jobs = [];
  }

  #emit(data) {
    this.dispatchEvent(new MessageEvent('message', { data }));
  }

  #message(k, data) {
    if (data.ready) return;
    if (data.failed) return this.#emit(data);
    const job = this.#jobs.find((j) => j.id === data.id);
    if (!job) return;
    if (data.progress) {
      if (k === 0 && job === this.#jobs[0]) this.#emit(data);
      return;
    }
    if (job.alone) {
      if (k !== 0) return;
      if (data.result) {
        this.#pictures = data.result.pictures.length;
        this.#wrote(0, data.result.pictures);
      }
      job.done = data;
    } else {
      job.answers[k] = data;
      if (job.answers.includes(null)) return;
      const [lead, ...others] = job.answers;
      if (lead.error !== undefined || others.some((o) => o.error !== undefined || !agree(lead.result, o.result))) {
        // Told apart: the first worker runs it alone, and its answer is the run's.
        job.alone = true;
        this.#workers[0].postMessage({ id: job.id, description: job.description, name: job.name });
        return;
      }
      job.answers.forEach((a, k) => this.#wrote(k, a.result.pictures));
      const { pictures, spent } = gather(job.answers.map((a) => a.result.pictures));
      this.#recycle(spent);
      this.#pictures = pictures.length;
      job.done = { id: job.id, result: { ...lead.result, pictures } };
    }
    while (this.#jobs[0]?.done) this.#emit(this.#jobs.shift().done);
  }
}
