// A report's traced rays (each fan's aberrations.rays: up to a thousand rays of four numbers)
// packed into one Float64Array a fan for the way from the engine's worker to the page, and
// back into their objects when the report is shown.  Copying a megabyte of small objects
// between threads cost the page's thread more, on a bench like mixed, than showing the
// pictures; an array of numbers goes over without a copy.

// Packs `report`'s rays in place, and returns the buffers to transfer (those of rays packed
// already, as run() gives them with `packedRays`, too).  A fan's rays whose values are not all
// numbers or null, or whose keys differ, stay as they are.
export function packRays(report) {
  const buffers = [];
  for (const fan of report?.fans ?? []) {
    const rays = fan.aberrations?.rays;
    if (rays?.values instanceof Float64Array) {
      buffers.push(rays.values.buffer);
      continue;
    }
    if (!Array.isArray(rays) || rays.length === 0) continue;
    const keys = Object.keys(rays[0]);
    // NaN stands for null (the report writes a number that is not finite as null): a ray
    // holding NaN itself stays as it is.
    const same = rays.every((ray) => {
      const k = Object.keys(ray);
      return k.length === keys.length && k.every((key, i) => key === keys[i] &&
        (ray[key] === null || (typeof ray[key] === 'number' && !Number.isNaN(ray[key]))));
    });
    if (!same) continue;
    const values = new Float64Array(rays.length * keys.length);
    rays.forEach((ray, r) => keys.forEach((key, k) => { values[r * keys.length + k] = ray[key] ?? NaN; }));
    fan.aberrations.rays = { keys, values };
    buffers.push(values.buffer);
  }
  return buffers;
}

// Undoes packRays on `report`, in place; a report never packed is left as it is.
export function unpackRays(report) {
  for (const fan of report?.fans ?? []) {
    const packed = fan.aberrations?.rays;
    if (!packed || Array.isArray(packed) || !(packed.values instanceof Float64Array)) continue;
    const { keys, values } = packed;
    const rays = [];
    for (let r = 0; r < values.length / keys.length; ++r) {
      const ray = {};
      keys.forEach((key, k) => {
        const v = values[r * keys.length + k];
        ray[key] = Number.isNaN(v) ? null : v;
      });
      rays.push(ray);
    }
    fan.aberrations.rays = rays;
  }
  return report;
}
