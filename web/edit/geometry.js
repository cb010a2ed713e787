// What the engine says is where on the bench (run()'s `geometry`), asked in world units:
// which element, source or handle lies under a point.

export const add = (p, d, t = 1) => [p[0] + t * d[0], p[1] + t * d[1]];
export const minus = (a, b) => [a[0] - b[0], a[1] - b[1]];
export const dot = (a, b) => a[0] * b[0] + a[1] * b[1];
export const cross = (a, b) => a[0] * b[1] - a[1] * b[0];
const distance = (a, b) => Math.hypot(a[0] - b[0], a[1] - b[1]);

// The lenses, diaphragms and sources, in file order: what ] and [ step through.
export function items(geometry) {
  if (!geometry) return [];
  const placed = [...geometry.elements, ...geometry.sources].filter((item) => item.handles);
  return placed.sort((a, b) => a.line - b.line);
}

export function handle(item, name) {
  return item.handles.find((h) => h.name === name);
}

// Whether a point lies inside a closed outline (even-odd rule).
function inside(outline, p) {
  let odd = false;
  for (let i = 0, j = outline.length - 1; i < outline.length; j = i++) {
    const [xi, yi] = outline[i];
    const [xj, yj] = outline[j];
    if ((yi > p[1]) !== (yj > p[1]) && p[0] < ((xj - xi) * (p[1] - yi)) / (yj - yi) + xi) odd = !odd;
  }
  return odd;
}

// What a press at world point p takes, `reach` world units being the pointer's reach: a
// handle of the selected item first (the nearest), then a source's start point, then an element's body;
// null for empty space.
export function hit(geometry, selected, p, reach) {
  const near = (at) => distance(at, p) <= reach;
  if (selected) {
    // The nearest: a lens's handles at the aperture's edge may lie a few pixels apart.
    const h = selected.handles.filter((c) => c.name !== 'move' && near(c.at))
      .sort((a, b) => distance(a.at, p) - distance(b.at, p))[0];
    if (h) return { item: selected, handle: h.name };
  }
  const all = items(geometry);
  const source = all.find((item) => item.kind === 'S' && near(handle(item, 'move').at));
  if (source) return { item: source, handle: 'move' };
  const body = all.find((item) => item.kind !== 'S' && item.outline.some((part) => inside(part, p)));
  return body ? { item: body, handle: 'move' } : null;
}

// The same item in a newer run's geometry: the one on the same line.
export function again(geometry, item) {
  return item ? items(geometry).find((other) => other.line === item.line) ?? null : null;
}
