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
  // One 32-bit store a pixel (red in the lowest byte, as every browser's memory holds it):
  // a picture is converted while a drag waits for it.
  const pixels = new Uint32Array(rgba.buffer);
  for (let y = 0; y < rows; ++y) {
    const source = offset + stride * (height > 0 ? rows - 1 - y : y);
    let to = y * width;
    for (let x = 0, from = source; x < width; ++x, from += 3, ++to) {
      pixels[to] = 0xff000000 | (bmp[from] << 16) | (bmp[from + 1] << 8) | bmp[from + 2];
    }
  }
  return { width, height: rows, rgba };
}
