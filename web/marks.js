// Each system's focal points F, F′ and principal planes H, H′ on a picture's overlay, with
// the signed distances the report gives (efl from H′ to F′, bfd from the last vertex to F′,
// ffd from F to the first vertex) drawn as labelled dimension lines, so that nobody has to
// guess a sign convention.  All in the picture's pixels, from the report's world points.

// The report's first-order entry of a system at a wavelength: that one if the system has it,
// otherwise its middle one.
export function firstOrderAt(system, wavelength) {
  const entries = system.first_order ?? [];
  return entries.find((p) => p.wavelength_nm === wavelength) ?? entries[Math.floor((entries.length - 1) / 2)];
}

// What to draw for one system in a picture of window `view` ({ x, y, zoom }): the four
// points and the three dimension lines, in pixels, or null for an afocal system.  `height`
// is how far from the axis, in pixels, the principal planes' ticks reach; the dimension
// lines lie at one, two and three times a third of it below the axis.
export function systemMarks(system, entry, view, height) {
  if (!entry || entry.afocal) return null;
  const a = (system.axis.direction_deg * Math.PI) / 180;
  const u = { x: Math.cos(a), y: -Math.sin(a) };  // along the axis, world and pixels alike
  const n = { x: -u.y, y: u.x };  // a quarter turn: across it
  const pixel = (p) => ({ x: (p.x - view.x) * view.zoom + 0.5, y: (p.y - view.y) * view.zoom + 0.5 });
  const along = (p, t) => ({ x: p.x + t * u.x, y: p.y + t * u.y });
  const F = entry.front_focal_point, F2 = entry.back_focal_point;
  const H = entry.front_principal_point, H2 = entry.back_principal_point;
  const last = along(F2, -entry.bfd), first = along(F, entry.ffd);
  const step = height / 3;
  const line = (from, to, k, name, value) => {
    const p = pixel(from), q = pixel(to);
    const off = { x: n.x * step * k, y: n.y * step * k };
    return { name, value, from: { x: p.x + off.x, y: p.y + off.y }, to: { x: q.x + off.x, y: q.y + off.y } };
  };
  return {
    points: [['F', F], ['F′', F2], ['H', H], ['H′', H2]].map(([name, p]) => ({ name, at: pixel(p) })),
    across: n,
    lines: [line(H2, F2, 1, 'efl', entry.efl), line(last, F2, 2, 'bfd', entry.bfd),
      line(F, first, 3, 'ffd', entry.ffd)],
  };
}

const number = (v) => (Math.abs(v) >= 100 ? v.toFixed(1) : v.toPrecision(4).replace(/\.?0+$/, ''));

function arrow(context, from, to, size) {
  const dx = to.x - from.x, dy = to.y - from.y, l = Math.hypot(dx, dy);
  if (l < 1) return;
  const ux = dx / l, uy = dy / l;
  context.moveTo(to.x, to.y);
  context.lineTo(to.x - size * ux + (size / 2) * uy, to.y - size * uy - (size / 2) * ux);
  context.moveTo(to.x, to.y);
  context.lineTo(to.x - size * ux - (size / 2) * uy, to.y - size * uy + (size / 2) * ux);
}

// Draws every system's marks at `wavelength` (the report's middle one when it is not given).
export function drawSystemMarks(context, picture, report, wavelength) {
  if (!report?.systems || !picture.view) return;
  const size = Math.max(6, Math.round(picture.width / 60));
  const height = size * 4;
  context.save();
  context.lineWidth = Math.max(1, Math.round(picture.width / 600));
  context.font = `${Math.round(size * 1.6)}px system-ui, sans-serif`;
  context.strokeStyle = context.fillStyle = 'rgb(255, 255, 255)';
  for (const system of report.systems) {
    const marks = systemMarks(system, firstOrderAt(system, wavelength), picture.view, height);
    if (!marks) continue;
    const n = marks.across;
    context.beginPath();
    for (const { name, at } of marks.points) {
      const reach = name.startsWith('H') ? height : size;  // a plane spans, a point is a tick
      context.moveTo(at.x - n.x * reach, at.y - n.y * reach);
      context.lineTo(at.x + n.x * reach, at.y + n.y * reach);
    }
    for (const { from, to } of marks.lines) {
      context.moveTo(from.x, from.y);
      context.lineTo(to.x, to.y);
      arrow(context, from, to, size);
    }
    context.stroke();
    for (const { name, at } of marks.points) {
      context.fillText(name, at.x - n.x * (height + size) - size / 2, at.y - n.y * (height + size));
    }
    for (const { name, value, from, to } of marks.lines) {
      context.fillText(`${name} ${number(value)}`, (from.x + to.x) / 2, (from.y + to.y) / 2 - size / 2);
    }
  }
  context.restore();
}
