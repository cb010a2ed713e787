// What panning and zooming do to a zoombox's line: the corners of its window, x1 y1 x2 y2
// (fields 1 to 4), each written to one pixel; its pixel count and grid step stay as written.
import { written } from '../numbers.js';

// The most pixels a unit: the engine caps a zoombox's scale there.
const kZoomMax = 100000;

// A zoombox's window as its picture is drawn: the world point at the top left corner and
// the pixels a unit (values: the line's numbers x1 y1 x2 y2 side grid).
export function viewOf(values) {
  const [x1, y1, x2, y2, side] = values;
  return { x: x1, y: y1, zoom: side / Math.max(x2 - x1, y2 - y1) };
}

function corners(values, [x1, y1, x2, y2], zoom) {
  return {
    values: [x1, y1, x2, y2, ...values.slice(4)],
    fields: [x1, y1, x2, y2].map((v, i) => ({ field: i + 1, text: written(v, zoom) })),
  };
}

// The window moved by d world units: { values (unrounded), fields (as written) }.
export function panned(values, d, zoom) {
  const [x1, y1, x2, y2] = values;
  return corners(values, [x1 + d[0], y1 + d[1], x2 + d[0], y2 + d[1]], zoom);
}

// The window magnified by `factor` about the world point c, which stays where it is in the
// picture; no further than the engine's largest scale.
export function zoomed(values, c, factor) {
  const [x1, y1, x2, y2] = values;
  const { zoom } = viewOf(values);
  const f = Math.min(factor, kZoomMax / zoom);
  const about = (v, centre) => centre + (v - centre) / f;
  return corners(values, [about(x1, c[0]), about(y1, c[1]), about(x2, c[0]), about(y2, c[1])], zoom * f);
}
