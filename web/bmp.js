// A BMP picture's rows, as the engine writes them: bottom-up, three bytes a pixel, each row
// padded to a multiple of four bytes.  A picture is { bmp, width, height } (see optic.mjs).

function pixelsOffset({ bmp }) {
  return new DataView(bmp.buffer, bmp.byteOffset, bmp.byteLength).getUint32(10, true);
}

function rowLength({ width }) {
  return 3 * width + (width % 4);
}

// The bytes of a picture's rows [first, end) (row 0 at the top), in the file's order.
export function rowBytes(picture, first, end) {
  const offset = pixelsOffset(picture), row = rowLength(picture);
  return picture.bmp.subarray(offset + (picture.height - end) * row, offset + (picture.height - first) * row);
}

// Copies rows [first, end) of picture `from` into picture `to`, of the same side.
export function copyRows(from, to, [first, end]) {
  to.bmp.set(rowBytes(from, first, end), pixelsOffset(to) + (to.height - end) * rowLength(to));
}
