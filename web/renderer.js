// Runs the engine off the page's thread, always on the newest description: a run made stale
// by a newer one is cancelled by ending its worker, and a spare worker, its engine loaded,
// takes over at once.  A picture being dragged asks instead for the newest text to follow the
// runs under way: the latest wins, the ones it replaces are never run.  Where the machine has
// several cores, the "worker" is a crew of workers that share out each run's pictures.
import { Crew, crewSize } from './crew.js';

// A run that lasts longer than this shows its progress.
const kShowProgressAfter = 150;

// Runs in flight at most while a picture is dragged: the one under way and one waiting
// behind it in the worker, which then starts it the moment it is done rather than after a
// round trip through the page's thread, busy showing the pictures before.
const kInFlight = 2;

export class Renderer {
  #worker = null;
  #spare = null;
  #jobs = [];  // the runs posted, oldest first: { id, timer, shown, latest }
  #next = null;  // the text to run once there is room: { description, name }
  #count = 0;
  #handlers;

  // handlers: result(result), progress(progress, or null when the run is over), failure(message)
  constructor(handlers) {
    this.#handlers = handlers;
    this.#worker = this.#spawn();
  }

  #spawn() {
    const url = new URL('./worker.js', import.meta.url);
    const worker = crewSize() > 1 ? new Crew(url, crewSize()) : new Worker(url, { type: 'module' });
    worker.addEventListener('message', ({ data }) => this.#message(worker, data));
    worker.addEventListener('error', (event) => {
      event.preventDefault();
      this.#lost(worker, `the engine's worker failed: ${event.message || 'no reason given'}`);
    });
    return worker;
  }

  // Whether a run is under way.
  get running() {
    return this.#jobs.length > 0;
  }

  // Whether a run waits behind the one under way: a newer text had better wait too.
  get queued() {
    return this.#jobs.length >= kInFlight;
  }

  // Runs this text now, cancelling the runs under way.
  render(description, name) {
    this.#next = null;
    if (this.#jobs.length > 0) {
      // Stale: end its worker and take the spare.
      for (const job of this.#jobs) clearTimeout(job.timer);
      this.#jobs = [];
      this.#worker.terminate();
      this.#worker = this.#spare;
      this.#spare = null;
    }
    this.#post(description, name);
  }

  // Runs this text after the runs under way, instead of any text asked for before it.
  follow(description, name) {
    if (this.#jobs.length >= kInFlight) this.#next = { description, name };
    else this.#post(description, name);
  }

  // Hands the bytes of pictures no longer shown back to the engine, for its next runs.
  recycle(pictures) {
    const buffers = [...new Set(pictures.map((p) => p.bmp?.buffer).filter((b) => b?.byteLength > 0))];
    if (this.#worker && buffers.length > 0) this.#worker.postMessage({ recycle: buffers }, buffers);
  }

  #post(description, name) {
    this.#worker ??= this.#spawn();
    const job = { id: ++this.#count, timer: 0, shown: false, latest: null };
    this.#jobs.push(job);
    if (this.#jobs.length === 1) this.#watch(job);
    this.#worker.postMessage({ id: job.id, description, name });
  }

  // The run now under way shows its progress once it has lasted a while.
  #watch(job) {
    job.timer = setTimeout(() => {
      job.shown = true;
      this.#handlers.progress(job.latest ?? { step: 'starting', done: 0, total: 0 });
    }, kShowProgressAfter);
  }

  #message(worker, data) {
    if (data.failed) return this.#lost(worker, data.failed);
    const job = this.#jobs[0];
    // A worker runs its texts in order: only the oldest run can be answering.
    if (worker !== this.#worker || !job || data.id !== job.id) return;
    if (data.progress) {
      job.latest = data.progress;
      if (job.shown) this.#handlers.progress(data.progress);
      return;
    }
    this.#finish();
    if (data.error !== undefined) this.#handlers.failure(data.error);
    else this.#handlers.result(data.result);
    if (this.#next && this.#jobs.length < kInFlight) {
      const { description, name } = this.#next;
      this.#next = null;
      this.#post(description, name);
    }
    // Idle now: have a spare ready for the next cancellation.
    if (this.#jobs.length === 0) this.#spare ??= this.#spawn();
  }

  #finish() {
    clearTimeout(this.#jobs.shift().timer);
    this.#handlers.progress(null);
    if (this.#jobs.length > 0) this.#watch(this.#jobs[0]);
  }

  // A worker that can no longer run: the next render takes a new one.
  #lost(worker, message) {
    worker.terminate();
    if (worker === this.#spare) this.#spare = null;
    if (worker !== this.#worker) return;
    this.#worker = null;
    const lost = this.#jobs.length > 0;
    for (const job of this.#jobs) clearTimeout(job.timer);
    this.#jobs = [];
    this.#next = null;
    if (lost) this.#handlers.progress(null);
    this.#handlers.failure(message);
  }
}
