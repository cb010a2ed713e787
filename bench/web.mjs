#!/usr/bin/env node
// Times the web engine's run() on benches, in Node or in headless Chromium: the median of
// several runs after one that warms the engine up.
//
//   node bench/web.mjs [--browser] [--runs N] [--site DIR] BENCH.txt ...
//
// The site is build/web (make web) unless --site names another; --browser needs Debian's
// chromium and the node modules (npm ci).  Prints one line per bench: its name, the median,
// fastest and slowest times in milliseconds, and the run's status and picture count.
import { readFileSync } from 'node:fs';
import { basename, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = resolve(fileURLToPath(import.meta.url), '../..');
const args = process.argv.slice(2);
let browser = false;
let runs = 9;
let site = join(root, 'build/web');
const benches = [];
for (let i = 0; i < args.length; ++i) {
  if (args[i] === '--browser') browser = true;
  else if (args[i] === '--runs') runs = Number(args[++i]);
  else if (args[i] === '--site') site = resolve(args[++i]);
  else benches.push(args[i]);
}
if (benches.length === 0 || !(runs > 0)) {
  console.error('usage: node bench/web.mjs [--browser] [--runs N] [--site DIR] BENCH.txt ...');
  process.exit(2);
}

// Runs in whatever holds the engine module: Node, or the page's context in Chromium.
async function timeRuns(moduleUrl, bytes, name, count) {
  const { run } = await import(moduleUrl);
  let result = await run(new Uint8Array(bytes), name);
  const times = [];
  for (let k = 0; k < count; ++k) {
    const start = performance.now();
    result = await run(new Uint8Array(bytes), name);
    times.push(performance.now() - start);
  }
  return { times, status: result.status, pictures: result.pictures.length };
}

async function inChromium(measure) {
  const { createServer } = await import('node:http');
  const { chromium } = await import('playwright-core');
  const types = { '.mjs': 'text/javascript', '.js': 'text/javascript', '.wasm': 'application/wasm', '.html': 'text/html' };
  const server = createServer((request, response) => {
    const path = new URL(request.url, 'http://x').pathname;
    try {
      const body = readFileSync(join(site, path === '/' ? 'index.html' : path));
      response.writeHead(200, { 'Content-Type': types[path.slice(path.lastIndexOf('.'))] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const instance = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = await instance.newPage();
    // A blank page of the site's origin: the measure is the engine's alone.
    await page.goto(`http://127.0.0.1:${server.address().port}/optic.mjs`);
    return await measure((bytes, name) =>
      page.evaluate(([f, b, n, c]) => eval(`(${f})`)('./optic.mjs', b, n, c),
        [timeRuns.toString(), [...bytes], name, runs]));
  } finally {
    await instance.close();
    server.close();
  }
}

async function measureAll(timeOne) {
  for (const file of benches) {
    const { times, status, pictures } = await timeOne(readFileSync(file), basename(file));
    times.sort((a, b) => a - b);
    const median = times[Math.floor(times.length / 2)];
    console.log(`${basename(file).padEnd(24)} median ${median.toFixed(1).padStart(8)} ms` +
      `   min ${times[0].toFixed(1)}   max ${times.at(-1).toFixed(1)}   status ${status}, ${pictures} pictures`);
  }
}

console.log(`run() in ${browser ? 'headless Chromium' : `Node ${process.version}`}, ${runs} runs each, site ${site}`);
if (browser) {
  await inChromium(measureAll);
} else {
  const moduleUrl = pathToFileURL(join(site, 'optic.mjs')).href;
  await measureAll((bytes, name) => timeRuns(moduleUrl, bytes, name, runs));
}
