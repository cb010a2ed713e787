#!/usr/bin/env node
// Times the web engine's run() on benches, in Node or in headless Chromium: the median of
// several runs after one that warms the engine up, as wall time and as the CPU time of the
// thread that runs the engine (on a busy machine the second is the steadier measure).
//
//   node bench/web.mjs [--browser [--crew N]] [--runs N] [--recycle] [--site DIR] BENCH.txt ...
//
// With --recycle, each run's pictures are handed back to the engine (recycle()) once timed,
// as the page does with the pictures it no longer shows, so that the next run writes into
// them rather than into fresh memory.
// With --crew N, the page's crew of N workers (web/crew.js) runs each bench instead of run()
// on the page's thread: the wall time from the message sent to the result put together, and
// the CPU time of the page's main thread only (the workers' is not counted).  With --parts N,
// run() is called N times in turn on the page's thread, each drawing one share of the
// pictures' rows (as each worker of a crew of N does; the first also measures), and the
// figures are those of the slowest share: what a crew takes on a machine with N idle cores,
// but for the messages between them and putting pictures together (on a busy machine the
// CPU time is the figure to read).
//
// run() is asked for the report's rays packed, as the page's worker asks (`packedRays`).
// The site is build/web (make web) unless --site names another; --browser needs Debian's
// chromium and the node modules (npm ci).  Prints one line per bench: the median and
// fastest wall times, the median CPU time (milliseconds), the status and picture count.
import { readFileSync } from 'node:fs';
import { basename, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = resolve(fileURLToPath(import.meta.url), '../..');
const args = process.argv.slice(2);
let browser = false;
let crew = 0;
let parts = 0;
let handBack = false;
let runs = 9;
let site = join(root, 'build/web');
const benches = [];
for (let i = 0; i < args.length; ++i) {
  if (args[i] === '--browser') browser = true;
  else if (args[i] === '--runs') runs = Number(args[++i]);
  else if (args[i] === '--crew') crew = Number(args[++i]);
  else if (args[i] === '--parts') parts = Number(args[++i]);
  else if (args[i] === '--recycle') handBack = true;
  else if (args[i] === '--site') site = resolve(args[++i]);
  else benches.push(args[i]);
}
if (benches.length === 0 || !(runs > 0)) {
  console.error('usage: node bench/web.mjs [--browser [--crew N | --parts N]] [--runs N] [--recycle] [--site DIR] BENCH.txt ...');
  process.exit(2);
}

// One run in Node: wall time, and the process's CPU time (the engine's thread is the only
// busy one once warmed up).
async function nodeRunner() {
  const { recycle, run } = await import(pathToFileURL(join(site, 'optic.mjs')).href);
  return {
    async once(bytes, name) {
      const cpu = process.cpuUsage();
      const start = performance.now();
      const result = await run(bytes, name, { packedRays: true });
      const wall = performance.now() - start;
      const used = process.cpuUsage(cpu);
      if (handBack) await recycle(...result.pictures.map((p) => p.bmp));
      return { wall, cpu: (used.user + used.system) / 1000, status: result.status, pictures: result.pictures.length };
    },
    close() {},
  };
}

// One run in a page of the site's origin in Chromium: wall time in the page, and the CPU
// time of the page's main thread as the browser counts it.
async function chromiumRunner() {
  // Shared with the browser tests; loaded here only, Node runs need no playwright.
  const { launch, serve } = await import('../tests/web/browser.mjs');
  const server = await serve(site);
  const { browser: instance } = await launch();
  const page = await instance.newPage();
  await page.goto(`${server.url}default_optic.txt`);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable', { timeDomain: 'threadTicks' });
  const threadTime = async () =>
    (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'ThreadTime').value * 1000;
  return {
    async once(bytes, name) {
      if (parts > 1) {
        let slowest = { wall: 0, cpu: 0, pictures: 0 };
        for (let part = 0; part < parts; ++part) {
          const before = await threadTime();
          const m = await page.evaluate(async ([b, n, share, back]) => {
            const { recycle, run } = await import('./optic.mjs');
            const description = new Uint8Array(b);
            const start = performance.now();
            const result = await run(description, n, { share, report: share.part === 0, packedRays: true });
            const wall = performance.now() - start;
            if (back) await recycle(...result.pictures.map((p) => p.bmp));
            return { wall, status: result.status, pictures: result.pictures.length };
          }, [[...bytes], name, { part, parts }, handBack]);
          const cpu = (await threadTime()) - before;
          slowest = { wall: Math.max(slowest.wall, m.wall), cpu: Math.max(slowest.cpu, cpu),
            status: m.status, pictures: slowest.pictures + m.pictures };
        }
        return slowest;
      }
      const before = await threadTime();
      const measured = crew > 0 ? await page.evaluate(async ([b, n, size]) => {
        const { Crew } = await import('./crew.js');
        window.benchCrew ??= new Crew(new URL('./worker.js', location.href), size);
        const description = new Uint8Array(b);
        const start = performance.now();
        const data = await new Promise((done) => {
          const listen = ({ data: d }) => {
            if (d.progress) return;
            window.benchCrew.removeEventListener('message', listen);
            done(d);
          };
          window.benchCrew.addEventListener('message', listen);
          window.benchCrew.postMessage({ id: performance.now(), description, name: n });
        });
        if (data.error !== undefined || data.failed) throw new Error(data.error ?? data.failed);
        return { wall: performance.now() - start, status: data.result.status, pictures: data.result.pictures.length };
      }, [[...bytes], name, crew]) : await page.evaluate(async ([b, n, back]) => {
        const { recycle, run } = await import('./optic.mjs');
        const description = new Uint8Array(b);
        const start = performance.now();
        const result = await run(description, n, { packedRays: true });
        const wall = performance.now() - start;
        if (back) await recycle(...result.pictures.map((p) => p.bmp));
        return { wall, status: result.status, pictures: result.pictures.length };
      }, [[...bytes], name, handBack]);
      return { ...measured, cpu: (await threadTime()) - before };
    },
    async close() {
      await instance.close();
      server.close();
    },
  };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const runner = browser ? await chromiumRunner() : await nodeRunner();
const what = (crew > 0 ? `a crew of ${crew} workers` : parts > 1 ? `run() in ${parts} shares, the slowest` : 'run()') +
  (handBack && crew === 0 ? ', pictures handed back' : '');
console.log(`${what} in ${browser ? 'headless Chromium' : `Node ${process.version}`}, ${runs} runs each, ` +
  `site ${site}, load average ${readFileSync('/proc/loadavg', 'utf8').split(' ')[0]}`);
try {
  for (const file of benches) {
    const bytes = readFileSync(file);
    let last = await runner.once(bytes, basename(file));
    const walls = [];
    const cpus = [];
    for (let k = 0; k < runs; ++k) {
      last = await runner.once(bytes, basename(file));
      walls.push(last.wall);
      cpus.push(last.cpu);
    }
    console.log(`${basename(file).padEnd(24)} wall median ${median(walls).toFixed(1).padStart(7)} ms, ` +
      `min ${Math.min(...walls).toFixed(1).padStart(7)}; cpu median ${median(cpus).toFixed(1).padStart(7)} ms` +
      `   status ${last.status}, ${last.pictures} pictures`);
  }
} finally {
  await runner.close();
}
