// A few engine workers that behave as one (the same messages in and out as worker.js): each
// run is shared out between them, each drawing its share of the pictures from the same
// description (see run()'s `share`), and their pictures are put together in the order of the
// zoomboxes.  The pictures are the bytes one worker gives: whenever the workers do not agree
// on everything else a run hands over (a picture that one of them could not write, say), the
// first worker runs it again alone.  Plain static hosts send no cross-origin isolation
// headers, so workers, not WebAssembly threads, use the processor's other cores.

// At most this many workers: a bench seldom has more pictures.
const kCrewMax = 4;
const kZoombox = /_(\d+)\.[a-z]+$/;

// How many workers a crew of this machine has (1: a crew is not worth it).
export function crewSize() {
  return Math.max(1, Math.min(globalThis.navigator?.hardwareConcurrency || 1, kCrewMax));
}

function zoomboxOf(picture) {
  return Number(kZoombox.exec(picture.name)?.[1] ?? 0);
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
  #pictures = null;  // how many pictures the last run had: no more shares than that
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
    const parts = Math.max(1, Math.min(this.#workers.length, this.#pictures ?? this.#workers.length));
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
      const pictures = job.answers.flatMap((a) => a.result.pictures);
      pictures.sort((a, b) => zoomboxOf(a) - zoomboxOf(b));
      this.#pictures = pictures.length;
      job.done = { id: job.id, result: { ...lead.result, pictures } };
    }
    while (this.#jobs[0]?.done) this.#emit(this.#jobs.shift().done);
  }
}
