// The pixels of a picture file as the program writes it (24-bit BMP, rows bottom-up, each
// padded to four bytes), as the RGBA rows of a canvas, top row first.
export function bmpToRgba(bmp) {
  const view = new DataView(bmp.buffer, bmp.byteOffset, bmp.byteLength);
  const offset = view.getUint32(10, true);
  const width = view.getInt32(18, true);
  const height = view.getInt32(22, true);
  const rows = Math.abs(height);
  const stride = (3 * width + 3) & ~3;
  const rgba = new Uint8ClampedArray(width * rows * 4);
  for (let y = 0; y < rows; ++y) {
    const source = offset + stride * (height > 0 ? rows - 1 - y : y);
    let to = y * width * 4;
    for (let x = 0, from = source; x < width; ++x, from += 3, to += 4) {
      rgba[to] = bmp[from + 2];
      rgba[to + 1] = bmp[from + 1];
      rgba[to + 2] = bmp[from];
      rgba[to + 3] = 255;
    }
  }
  return { width, height: rows, rgba };
}
