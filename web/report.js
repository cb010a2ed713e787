// The run's report, when the engine gives one: where each fan of rays meets, each lens's
// focal length and each system's first-order properties, as tables under the pictures.

function cell(row, text, header = false) {
  const c = document.createElement(header ? 'th' : 'td');
  c.textContent = text;
  row.append(c);
  return c;
}

function table(caption, headers, rows) {
  const t = document.createElement('table');
  t.createCaption().textContent = caption;
  const head = t.createTHead().insertRow();
  for (const h of headers) cell(head, h, true);
  const body = t.createTBody();
  for (const r of rows) {
    const row = body.insertRow();
    for (const value of r) {
      if (value instanceof Node) row.insertCell().append(value);
      else cell(row, value);
    }
  }
  return t;
}

const number = (v, digits = 4) => (typeof v === 'number' ? v.toFixed(digits) : '—');

function swatch(colour) {
  const s = document.createElement('span');
  s.className = 'swatch';
  if (colour) s.style.backgroundColor = `rgb(${colour.join(', ')})`;
  return s;
}

function meeting(fan) {
  if (fan.image) {
    return `${fan.image.kind} image at (${number(fan.image.x)}, ${number(fan.image.y)}), rms ${number(fan.image.rms)}`;
  }
  if (fan.collimated) return `collimated, direction ${number(fan.collimated.direction_deg, 3)}°`;
  return 'no image (fewer than two rays left)';
}

export function showReport(section, report) {
  section.hidden = !report;
  if (!report) {
    section.replaceChildren();
    return;
  }
  const heading = document.createElement('h2');
  heading.textContent = 'Report';
  const fans = (report.fans ?? []).map((f) => [
    swatch(f.colour), String(f.source), `${f.wavelength_nm} nm`, String(f.rays),
    `${f.left} / ${f.stopped} / ${f.trapped}`, meeting(f),
  ]);
  const lenses = (report.lenses ?? []).map((l) => [
    String(l.lens),
    (l.focal_length ?? []).map((f) => `${f.wavelength_nm} nm: ${f.f === null ? '∞' : number(f.f)}`).join('; '),
  ]);
  // One row a system and wavelength; an afocal system has only its angular magnification.
  const systems = (report.systems ?? []).flatMap((s) => (s.first_order ?? []).map((p, k) => [
    k === 0 ? String(s.system) : '', k === 0 ? s.lenses.join(', ') : '', `${p.wavelength_nm} nm`,
    ...(p.afocal
      ? [`afocal, angular magnification ${number(p.angular_magnification)}`, '', '']
      : [number(p.efl), number(p.bfd), number(p.ffd)]),
  ]));
  section.replaceChildren(
    heading,
    table('Fans', ['', 'Source', 'Wavelength', 'Rays', 'Left / stopped / trapped', 'Where they meet'], fans),
    table('Lenses', ['Lens', 'Focal length'], lenses),
    table('Systems (distances signed along the axis, world units)',
      ['System', 'Lenses', 'Wavelength', 'EFL', 'BFD', 'FFD'], systems),
  );
}
