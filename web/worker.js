// The engine's worker: runs one bench at a time, off the page's thread, and sends back the
// result with each shown picture's pixels ready for a canvas.  The page ends a worker whose
// run has gone stale and takes another.  A message may name a share of the pictures
// ({ part, parts }, see run()); without one the worker draws them all.
import { rayColour, ready, rgbaOf, run } from './optic.mjs';
import { kShownSideMax } from './limits.js';

ready().then(
  () => self.postMessage({ ready: true }),
  (error) => self.postMessage({ failed: `the engine could not be loaded: ${error.message ?? error}` }),
);

self.addEventListener('message', async ({ data: { id, description, name, share } }) => {
  try {
    const onProgress = (progress) => self.postMessage({ id, progress });
    const result = await run(description, name, { onProgress, share });
    for (const fan of result.report?.fans ?? []) fan.colour = await rayColour(fan.wavelength_nm);
    const transfer = [];
    for (const picture of result.pictures) {
      transfer.push(picture.bmp.buffer);
      if (picture.width <= kShownSideMax) {
        picture.rgba = await rgbaOf(picture);
        transfer.push(picture.rgba.buffer);
      }
    }
    self.postMessage({ id, result }, transfer);
  } catch (error) {
    self.postMessage({ id, error: error?.message ?? String(error) });
  }
});
