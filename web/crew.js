// A few engine workers that behave as one (the same messages in and out as worker.js): each
// run is shared out between them, each drawing its share of the pictures' rows from the same
// description (see run()'s `share`), and their pictures are put together in the order of the
// zoomboxes, a picture drawn in bands by several of them from its bands (by a joiner worker,
// off the page's thread).  The pictures are the bytes one worker gives: whenever the workers
// do not agree on everything else a run hands over (a picture that one of them could not
// write, say), the first worker runs it again alone.  Plain static hosts send no
// cross-origin isolation headers, so workers, not WebAssembly threads, use the processor's
// other cores.

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

// The pictures of a run's shares (shares[k]: worker k's) as one run's, in the order of the
// zoomboxes: each picture drawn whole as it came, and for each picture drawn in bands, its
// bands ({ picture, writer }), to be put together.
function gather(shares) {
  const byName = new Map();
  shares.forEach((pictures, writer) => {
    for (const picture of pictures) {
      if (!byName.has(picture.name)) byName.set(picture.name, []);
      byName.get(picture.name).push({ picture, writer });
    }
  });
  const pictures = [], split = [];
  for (const bands of byName.values()) {
    pictures.push(bands[0].picture);
    if (bands.length > 1 || bands[0].picture.rows) split.push(bands);
  }
  pictures.sort((a, b) => zoomboxOf(a) - zoomboxOf(b));
  return { pictures, split };
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
  #joiner = null;  // made for the first picture drawn in bands (see joiner.js)
  #joins = new Map();  // the pictures being put together: their bands, by number
  #joined = 0;
  #pictures = null;  // how many pictures the last run had: none to share, no shares
  #writers = new WeakMap();  // a picture's bytes (its ArrayBuffer): the worker that wrote them

  constructor(url, size) {
    super();
    this.#workers = Array.from({ length: size }, (_, k) => this.#hire(url, (data) => this.#message(k, data)));
  }

  #hire(url, listen) {
    const worker = new Worker(url, { type: 'module' });
    worker.addEventListener('message', ({ data }) => listen(data));
    worker.addEventListener('error', (event) => {
      event.preventDefault();
      this.dispatchEvent(new ErrorEvent('error', { message: event.message, cancelable: true }));
    });
    return worker;
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
    this.#joiner?.terminate();
    this.#jobs = [];
    this.#joins.clear();
  }

  // Has the joiner put a picture's bands together into the first band's picture, whose bytes
  // and bitmap become the whole picture's.  The bytes no longer needed go back to their
  // workers.
  #join(bands) {
    this.#joiner ??= this.#hire(new URL('./joiner.js', import.meta.url), (data) => this.#put(data));
    const size = ({ picture }) => picture.rows[1] - picture.rows[0];
    const target = bands.indexOf(bands.reduce((a, b) => (size(b) > size(a) ? b : a)));
    const { width, height } = bands[0].picture;
    const id = ++this.#joined;
    return new Promise((done) => {
      this.#joins.set(id, { bands, target, done });
      const sent = bands.map(({ picture: { rows, bmp, rgba } }) => ({ rows, bmp, rgba }));
      const transfer = sent.flatMap(({ bmp, rgba }) => (rgba ? [bmp.buffer, rgba.buffer] : [bmp.buffer]));
      this.#joiner.postMessage({ id, target, width, height, bands: sent }, transfer);
    });
  }

  #put({ id, bmp, bitmap, spent }) {
    const join = this.#joins.get(id);
    if (!join) return;
    this.#joins.delete(id);
    const { bands, target, done } = join;
    const picture = bands[0].picture;
    delete picture.rows;
    delete picture.rgba;
    picture.bmp = bmp;
    if (bitmap) picture.bitmap = bitmap;
    else delete picture.bitmap;
    this.#writers.set(bmp.buffer, bands[target].writer);
    const others = bands.filter((_, k) => k !== target);
    spent.forEach((buffer, k) => this.#writers.set(buffer, others[k].writer));
    this.#recycle(spent);
    done();
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
      const { pictures, split } = gather(job.answers.map((a) => a.result.pictures));
      this.#pictures = pictures.length;
      const done = { id: job.id, result: { ...lead.result, pictures } };
      if (split.length > 0) {
        Promise.all(split.map((bands) => this.#join(bands))).then(() => {
          job.done = done;
          this.#flush();
        });
        return;
      }
      job.done = done;
    }
    this.#flush();
  }

  // The runs done, in the order they were posted.
  #flush() {
    while (this.#jobs[0]?.done) this.#emit(this.#jobs.shift().done);
  }
}
