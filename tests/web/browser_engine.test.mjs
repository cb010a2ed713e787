// The engine module in Chromium: the exact-output cases through run() give the expected
// status, messages and picture bytes there too.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { conformanceCases, kConformance, sha, siteInBrowser } from './support.mjs';

const cases = conformanceCases();

const site = siteInBrowser();

test('every exact-output case, through run() in Chromium', { skip: !cases && `no cases at ${kConformance}` }, async () => {
  const page = await site.browser.newPage();
  await page.goto(`${site.url}index.html`);
  for (const c of cases) {
    await test(c.file, async () => {
      const result = await page.evaluate(async ([bytes, name]) => {
        const { run } = await import('./optic.mjs');
        const r = await run(new Uint8Array(bytes), name);
        const hex = async (data) => [...new Uint8Array(await crypto.subtle.digest('SHA-256', data))]
          .map((b) => b.toString(16).padStart(2, '0')).join('');
        const pictures = {};
        for (const p of r.pictures) pictures[p.name] = await hex(p.bmp);
        return { status: r.status, stdout: r.stdout, pictures };
      }, [[...c.description], c.file]);
      assert.equal(result.status, c.status, 'exit status');
      assert.equal(result.stdout, c.stdout, 'standard output');
      assert.deepEqual(result.pictures, Object.fromEntries(Object.entries(c.pictures).map(([n, b]) => [n, sha(b)])));
    });
  }
  await page.close();
});
