// The crew's joiner: puts together, off the page's thread, a picture that several workers drew
// in bands.  A message { id, target, width, height, bands: [{ rows, bmp, rgba }] } is
// answered with { id, bmp, bitmap, spent }: the other bands' rows copied into the bytes of
// band `target`, the bands' pixels (when every band has them: see rgbaOf) made into one
// bitmap, and the other bands' bytes, no longer needed, in the order of the bands.
import { copyRows } from './bmp.js';

self.addEventListener('message', ({ data: { id, target, width, height, bands } }) => {
  const whole = { ...bands[target], width, height };
  const others = bands.filter((_, k) => k !== target);
  for (const band of others) copyRows({ ...band, width, height }, whole, band.rows);
  let bitmap;
  if (bands.every((band) => band.rgba)) {
    // Pixels put into a canvas as they are (a picture is opaque), faster than bitmaps drawn.
    const canvas = new OffscreenCanvas(width, height);
    const context = canvas.getContext('2d');
    for (const { rows: [first, end], rgba } of bands) {
      context.putImageData(new ImageData(rgba, width, end - first), 0, first);
    }
    bitmap = canvas.transferToImageBitmap();
  }
  const spent = others.map((band) => band.bmp.buffer);
  self.postMessage({ id, bmp: whole.bmp, bitmap, spent }, [whole.bmp.buffer, ...spent, ...(bitmap ? [bitmap] : [])]);
});
