// What dragging an item or one of its handles does to its line: the numbers it changes, a
// readout of them, and, when the drag reaches a value the line cannot take, why it stops
// there.  Every result keeps the line one the engine accepts.
import { above, below, written } from '../numbers.js';
import { add, cross, dot, handle, minus } from './geometry.js';

const kDegree = Math.PI / 180;
// Shift turns a tilt or a direction by steps of this many degrees.
const kAngleStep = 15;

const value = (item, field) => {
  const v = item.values[field - 1];
  return v === 'inf' ? Infinity : v;
};

// A lens's names for its fields, as the readout shows them.
const kLabels = { L: ['x', 'y', 'e', 'R1', 'R2', 'D', 'angle', 'glass'], D: ['x', 'y', 'e', 'inner', 'outer', 'angle'] };

function label(item, field) {
  if (item.kind !== 'S') return kLabels[item.kind][field - 1];
  const n = item.values[0];
  return ['x', 'y', 'opening', 'direction', 'width', 'rays'][field - n - 2];
}

// An angle in degrees written to one pixel at `arm` world units from its pivot.
function angleZoom(zoom, arm) {
  return Math.max(1e-3, zoom * arm * kDegree);
}

// The direction from `from` to `to` as the description writes angles (degrees, turning the
// other way from the pictures' y axis), snapped to kAngleStep with Shift.
function angleTo(from, to, snap) {
  const d = minus(to, from);
  let degrees = -Math.atan2(d[1], d[0]) / kDegree;
  if (snap) degrees = Math.round(degrees / kAngleStep) * kAngleStep;
  return degrees;
}

function move(drag, world, shift) {
  let d = minus(world, drag.from);
  if (shift) d = add([0, 0], drag.item.axis, dot(d, drag.item.axis));
  const [fx, fy] = handle(drag.item, 'move').fields;
  return [
    { field: fx, value: value(drag.item, fx) + d[0] },
    { field: fy, value: value(drag.item, fy) + d[1] },
  ];
}

// The sag of a face at the aperture's edge (dragged along the axis) as a radius: the one of
// the circle through the vertex with that sag there; flat within half a pixel.
function radiusFromSag(sag, h, zoom) {
  if (Math.abs(sag) < 0.5 / zoom) return Infinity;
  return (sag * sag + h * h) / (2 * sag);
}

// Each handle: the changes for the pointer at `world`, and why it stopped, if it did.
const kHandles = {
  thickness(drag, world) {
    const t = dot(minus(world, drag.item.origin), drag.item.axis);
    if (t < 0) return { changes: [{ field: 3, value: 0 }], limit: 'the thickness cannot be negative' };
    return { changes: [{ field: 3, value: t }] };
  },
  diameter(drag, world, shift, zoom) {
    const item = drag.item;
    const d = 2 * Math.abs(cross(item.axis, minus(world, item.origin)));
    const radii = [value(item, 4), value(item, 5)].filter(Number.isFinite).map(Math.abs);
    const most = Math.min(...radii.map((r) => 2 * r));
    if (d >= most) {
      return { changes: [{ field: 6, value: below(most, zoom) }], limit: `the diameter must stay below twice the smaller radius (${written(most, zoom)})` };
    }
    return { changes: [{ field: 6, value: d }] };
  },
  tilt(drag, world, shift, zoom) {
    const arm = Math.hypot(...minus(world, drag.item.origin));
    return { changes: [{ field: 7, value: angleTo(drag.item.origin, world, shift) }], zoom: angleZoom(zoom, arm) };
  },
  radius1: (drag, world, shift, zoom) => radius(drag, world, zoom, 4, drag.item.origin),
  radius2: (drag, world, shift, zoom) => radius(drag, world, zoom, 5, add(drag.item.origin, drag.item.axis, value(drag.item, 3))),
  inner: (drag, world) => edge(drag, world, 'inner'),
  outer: (drag, world) => edge(drag, world, 'outer'),
  direction(drag, world, shift, zoom) {
    const [field] = handle(drag.item, 'direction').fields;
    const arm = Math.hypot(...minus(world, drag.item.origin));
    return { changes: [{ field, value: angleTo(drag.item.origin, world, shift) }], zoom: angleZoom(zoom, arm) };
  },
  opening(drag, world, shift, zoom) {
    const item = drag.item;
    const [field] = handle(item, 'opening').fields;
    const width = value(item, field + 2);
    const end = add(item.origin, [-item.axis[1], item.axis[0]], -Math.abs(width) / 2);
    const v = minus(world, end);
    const opening = (-2 * Math.atan2(cross(item.axis, v), dot(item.axis, v))) / kDegree;
    const arm = Math.hypot(...v);
    const limit = 179;
    if (Math.abs(opening) > limit) {
      return { changes: [{ field, value: Math.sign(opening) * limit }], zoom: angleZoom(zoom, arm), limit: 'the opening stays below 180 degrees' };
    }
    return { changes: [{ field, value: opening }], zoom: angleZoom(zoom, arm) };
  },
  width(drag, world) {
    const item = drag.item;
    const [field] = handle(item, 'width').fields;
    const side = -cross(item.axis, minus(world, item.origin));
    if (side < 0) return { changes: [{ field, value: 0 }], limit: 'the width cannot be negative' };
    return { changes: [{ field, value: 2 * side }] };
  },
};

function radius(drag, world, zoom, field, vertex) {
  const item = drag.item;
  const h = item.aperture;
  const sag = dot(minus(world, vertex), item.axis);
  const r = radiusFromSag(sag, h, zoom);
  const least = Math.abs(value(item, 6)) / 2;
  if (Number.isFinite(r) && Math.abs(r) <= least) {
    return {
      changes: [{ field, value: Math.sign(r) * above(least, zoom) }],
      limit: `the radius must stay above half the diameter (${written(least, zoom)})`,
    };
  }
  return { changes: [{ field, value: r }] };
}

function edge(drag, world, which) {
  const item = drag.item;
  const [field] = handle(item, which).fields;
  const [other] = handle(item, which === 'inner' ? 'outer' : 'inner').fields;
  const r = Math.abs(cross(item.axis, minus(world, item.origin)));
  const bound = Math.abs(value(item, other));
  if (which === 'inner' && r > bound) return { changes: [{ field, value: bound }], limit: 'the inner edge stays inside the outer edge' };
  if (which === 'outer' && r < bound) return { changes: [{ field, value: bound }], limit: 'the outer edge stays outside the inner edge' };
  return { changes: [{ field, value: r }] };
}

// The drag of `drag.handle` of `drag.item` (taken at world point drag.from) with the pointer
// at `world`, in a picture of `zoom` pixels a unit: the fields to write, as text, the readout
// and the limit reached, if any.  A field whose written value has stayed as it was all along
// the drag is left alone (drag.touched keeps those that have not).
export function dragChange(drag, world, shift, zoom) {
  drag.touched ??= new Set();
  const result = drag.handle === 'move'
    ? { changes: move(drag, world, shift) }
    : kHandles[drag.handle](drag, world, shift, zoom);
  const at = result.zoom ?? zoom;
  const fields = [];
  const readout = [];
  for (const { field, value: v } of result.changes) {
    const text = written(v, at);
    readout.push(`${label(drag.item, field)} ${text}`);
    if (text !== written(value(drag.item, field), at)) drag.touched.add(field);
    if (drag.touched.has(field)) fields.push({ field, text });
  }
  return { fields, readout: readout.join('  '), limit: result.limit ?? '' };
}
