// What a lens designer reads after the pictures: for each fan whose rays run along a system's
// axis, its ray fan and its longitudinal aberration, and each system's chromatic focal shift.
// The numbers are the engine's (the report's traced rays, the geometry's sampled BFD); this
// module only draws them, with Observable Plot, bundled with the page.
import * as Plot from '@observablehq/plot';

const kWidth = 360;
const kHeight = 240;

const rgb = (colour) => (colour ? `rgb(${colour.join(', ')})` : 'currentColor');

// One plot in a figure of its own, with its caption as text.
function figure(caption, options) {
  const f = document.createElement('figure');
  f.className = 'plot';
  const c = document.createElement('figcaption');
  c.textContent = caption;
  const plot = Plot.plot({ width: kWidth, height: kHeight, grid: true, marginLeft: 56, ...options });
  // The page's policy allows no inline style sheet: the page's own carries these rules.
  for (const s of plot.querySelectorAll('style')) s.remove();
  f.append(plot, c);
  return f;
}

// The legend of a plot: each fan's wavelength in its rays' colour.
function legend(fans) {
  return {
    legend: true,
    domain: fans.map((f) => `source ${f.source}, ${f.wavelength_nm} nm`),
    range: fans.map((f) => rgb(f.colour)),
  };
}

const label = (f) => `source ${f.source}, ${f.wavelength_nm} nm`;

// A point source's rays all start at one height: its fan is drawn against their angle.
function againstAngle(rays) {
  return rays.length > 1 && rays.every((r) => r.height === rays[0].height);
}

// The paraxial axis crossing of a fan, for the longitudinal plot's reference line: the
// system's BFD at its wavelength for a parallel beam; none for a point source (the report
// gives its paraxial image as a point, the reference).
function paraxialCrossing(report, fan) {
  const system = (report.systems ?? []).find((s) => s.system === fan.aberrations.system);
  const p = system?.first_order?.find((o) => o.wavelength_nm === fan.wavelength_nm);
  return typeof p?.bfd === 'number' ? p.bfd : null;
}

function fanPlots(report, fan) {
  const rays = fan.aberrations.rays.map((r) => ({ ...r, fan: label(fan) }));
  const angle = againstAngle(rays);
  const stroke = { stroke: 'fan' };
  const colour = legend([fan]);
  const crossing = paraxialCrossing(report, fan);
  const crossed = rays.filter((r) => typeof r.axis_crossing === 'number');
  return [
    figure(`Ray fan, ${label(fan)}: where each ray meets the reference plane`, {
      color: colour,
      x: { label: angle ? 'start angle (degrees)' : 'start height (world units)' },
      y: { label: 'transverse height (world units)' },
      marks: [Plot.ruleY([0]), Plot.ruleX([0]),
        Plot.line(rays, { x: angle ? 'angle_deg' : 'height', y: 'transverse', ...stroke }),
        Plot.dot(rays, { x: angle ? 'angle_deg' : 'height', y: 'transverse', r: 1.5, fill: 'fan' })],
    }),
    figure(`Longitudinal aberration, ${label(fan)}: where each ray crosses the axis`, {
      color: colour,
      x: { label: 'axis crossing from the last vertex (world units)' },
      y: { label: angle ? 'start angle (degrees)' : 'start height (world units)' },
      marks: [Plot.ruleY([0]), ...(crossing === null ? [] : [Plot.ruleX([crossing], { strokeDasharray: '4 3' })]),
        Plot.line(crossed, { x: 'axis_crossing', y: angle ? 'angle_deg' : 'height', ...stroke }),
        Plot.dot(crossed, { x: 'axis_crossing', y: angle ? 'angle_deg' : 'height', r: 1.5, fill: 'fan' })],
    }),
  ];
}

// A system's BFD across its glasses' range, with the bench's own wavelengths marked in their
// colours.
function chromaticPlot(report, curve) {
  const points = curve.bfd.filter((p) => typeof p.bfd === 'number');
  if (points.length < 2) return [];
  const system = (report.systems ?? []).find((s) => s.system === curve.system);
  const marked = (system?.first_order ?? []).filter((p) => typeof p.bfd === 'number').map((p) => {
    const fan = (report.fans ?? []).find((f) => f.wavelength_nm === p.wavelength_nm);
    return { ...p, colour: rgb(fan?.colour) };
  });
  return [figure(`Chromatic focal shift, system ${curve.system}: the back focal distance by wavelength`, {
    x: { label: 'wavelength (nm)' },
    y: { label: 'BFD (world units)' },
    marks: [Plot.line(points, { x: 'wavelength_nm', y: 'bfd' }),
      Plot.dot(marked, { x: 'wavelength_nm', y: 'bfd', r: 4, fill: 'colour', stroke: 'currentColor' }),
      Plot.text(marked, { x: 'wavelength_nm', y: 'bfd', text: (p) => `${p.wavelength_nm} nm`, dy: -10 })],
  })];
}

export function showPlots(section, report, geometry) {
  const fans = (report?.fans ?? []).filter((f) => f.aberrations && f.aberrations.rays?.length > 1);
  const plots = [
    ...fans.flatMap((f) => fanPlots(report, f)),
    ...(geometry?.systems ?? []).flatMap((c) => chromaticPlot(report ?? {}, c)),
  ];
  section.hidden = plots.length === 0;
  if (plots.length === 0) {
    section.replaceChildren();
    return;
  }
  const heading = document.createElement('h2');
  heading.textContent = 'Aberrations';
  section.replaceChildren(heading, ...plots);
}
