// Runs the engine off the page's thread, always on the newest description: a run made stale
// by a newer one is cancelled by ending its worker, and a spare worker, its engine loaded,
// takes over at once.  A picture being dragged asks instead for the newest text to follow the
// run under way: the latest wins, the ones it replaces are never run.  Where the machine has
// several cores, the "worker" is a crew of workers that share out each run's pictures.
import { Crew, crewSize } from './crew.js';

// A run that lasts longer than this shows its progress.
const kShowProgressAfter = 150;

export class Renderer {
  #worker = null;
  #spare = null;
  #job = null;  // the run under way: { id, timer, shown, latest }
  #next = null;  // the text to run once it is done: { description, name }
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
    return this.#job !== null;
  }

  // Runs this text now, cancelling the run under way.
  render(description, name) {
    this.#next = null;
    if (this.#job) {
      // Stale: end its worker and take the spare.
      clearTimeout(this.#job.timer);
      this.#worker.terminate();
      this.#worker = this.#spare;
      this.#spare = null;
    }
    this.#worker ??= this.#spawn();
    const job = { id: ++this.#count, shown: false, latest: null };
    job.timer = setTimeout(() => {
      job.shown = true;
      this.#handlers.progress(job.latest ?? { step: 'starting', done: 0, total: 0 });
    }, kShowProgressAfter);
    this.#job = job;
    this.#worker.postMessage({ id: job.id, description, name });
  }

  // Runs this text once the run under way is done, instead of any text asked for before it.
  follow(description, name) {
    if (this.#job) this.#next = { description, name };
    else this.render(description, name);
  }

  #message(worker, data) {
    if (data.failed) return this.#lost(worker, data.failed);
    const job = this.#job;
    if (worker !== this.#worker || !job || data.id !== job.id) return;
    if (data.progress) {
      job.latest = data.progress;
      if (job.shown) this.#handlers.progress(data.progress);
      return;
    }
    this.#finish();
    if (data.error !== undefined) this.#handlers.failure(data.error);
    else this.#handlers.result(data.result);
    if (this.#next) {
      const { description, name } = this.#next;
      this.render(description, name);
      return;
    }
    // Idle now: have a spare ready for the next cancellation.
    this.#spare ??= this.#spawn();
  }

  #finish() {
    clearTimeout(this.#job.timer);
    this.#job = null;
    this.#handlers.progress(null);
  }

  // A worker that can no longer run: the next render takes a new one.
  #lost(worker, message) {
    worker.terminate();
    if (worker === this.#spare) this.#spare = null;
    if (worker !== this.#worker) return;
    this.#worker = null;
    if (this.#job) this.#finish();
    this.#handlers.failure(message);
  }
}
