// The engine's worker: runs one bench at a time, off the page's thread, and sends back the
// result with each shown picture's pixels ready for a canvas.  The page ends a worker whose
// run has gone stale and takes another.  A message may name a share of the pictures' rows
// ({ part, parts }, see run()); without one the worker draws them all.
import { bitmapOf, rayColour, ready, recycle, rgbaOf, run } from './optic.mjs';
import { kShownSideMax } from './limits.js';
import { packRays } from './rays.js';

ready().then(
  () => self.postMessage({ ready: true }),
  (error) => self.postMessage({ failed: `the engine could not be loaded: ${error.message ?? error}` }),
);

// Texts are run one after the other, in the order they came, however long a run's pictures
// take to become bitmaps: the page takes the answers in that order.
let queue = Promise.resolve();
// The page hands back the bytes of the pictures it no longer shows ({ recycle: [ArrayBuffer] }):
// the next runs write into them.
self.addEventListener('message', ({ data }) => {
  if (data.recycle) recycle(...data.recycle);
  else queue = queue.then(() => answer(data));
});

async function answer({ id, description, name, share }) {
  try {
    const onProgress = (progress) => self.postMessage({ id, progress });
    // A crew takes its report from the first share: the others need not measure.
    const result = await run(description, name, { onProgress, share, report: !(share?.part > 0), packedRays: true });
    for (const fan of result.report?.fans ?? []) fan.colour = await rayColour(fan.wavelength_nm);
    const transfer = packRays(result.report);
    for (const picture of result.pictures) {
      transfer.push(picture.bmp.buffer);
      if (picture.width > kShownSideMax) continue;
      if (picture.rows) {
        // A band's pixels, for the crew's joiner to put into the whole picture's bitmap.
        picture.rgba = await rgbaOf(picture);
        transfer.push(picture.rgba.buffer);
      } else {
        // Made here, a bitmap reaches the page's canvas without a copy on the page's thread.
        picture.bitmap = await bitmapOf(picture);
        if (picture.bitmap) transfer.push(picture.bitmap);
      }
    }
    self.postMessage({ id, result }, transfer);
  } catch (error) {
    self.postMessage({ id, error: error?.message ?? String(error) });
  }
}
