// The zoomboxes' pictures: each at its own pixel size in a canvas (the page may scale it),
// with downloads as BMP (the program's bytes) and PNG, the world coordinates under the
// pointer, and, when the run has a report, each fan's image point marked by a cross and, on
// request, each system's focal points and principal planes.
import { drawSystemMarks } from './marks.js';
import { decimals, fixed } from './numbers.js';

// A fan's image point within this many CSS pixels of the pointer is under it.
const kFanReach = 10;

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
}

function button(label, title, action) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = label;
  b.title = title;
  b.addEventListener('click', action);
  return b;
}

// The world point under a position (x, y) in picture pixels, counted from the top left
// corner of the picture (pixel k spans [k, k + 1)): pixel k's centre is the world point
// view.x + k / zoom.
export function worldPoint(view, x, y) {
  return { x: view.x + (x - 0.5) / view.zoom, y: view.y + (y - 0.5) / view.zoom };
}

export class Pictures {
  #list;
  #readout;
  #figures = [];
  #report;
  #marks = false;
  #hooks;
  #pointed = null;  // the latest pointer move over a picture not yet read out: { figure, event }
  // The fans whose wavelength the systems' marks are drawn at: the one whose image point is
  // under the pointer, else the selected source's.
  #designated = { pointer: null, selection: null };
  #onMarks;

  // hooks: made(figure) when a picture's figure is made, filled(figure) when it shows a new
  // picture (figure: { element, frame, canvas, overlay, picture }), released(pictures) with
  // the pictures no longer shown, whose bytes nothing here uses again; marks(wavelength) when
  // the systems' marks are drawn at another wavelength (undefined: the middle one).
  constructor(list, readout, hooks = {}) {
    this.#list = list;
    this.#onMarks = hooks.marks ?? (() => {});
    this.#readout = readout;
    this.#hooks = hooks;
    this.#clearReadout();
  }

  // Shows a run's pictures, in zoombox order, reusing the figures already there; the
  // pictures they showed before go to the released hook.
  show(pictures, report) {
    this.#report = report;
    const before = this.#figures.map((f) => f.picture).filter((p) => p && !pictures.includes(p));
    while (this.#figures.length > pictures.length) this.#figures.pop().element.remove();
    pictures.forEach((picture, i) => {
      if (!this.#figures[i]) {
        this.#figures[i] = this.#figure();
        this.#list.append(this.#figures[i].element);
      }
      this.#fill(this.#figures[i], picture, report);
    });
    if (before.length > 0) this.#hooks.released?.(before);
  }

  #figure() {
    const element = document.createElement('figure');
    element.className = 'picture';
    const frame = document.createElement('div');
    frame.className = 'frame';
    const canvas = document.createElement('canvas');
    canvas.dataset.testid = 'picture';
    const overlay = document.createElement('canvas');
    overlay.className = 'overlay';
    overlay.setAttribute('aria-hidden', 'true');
    frame.append(canvas, overlay);
    const caption = document.createElement('figcaption');
    const title = document.createElement('span');
    const bmp = button('BMP', 'Download the picture as the program writes it', () => {
      download(new Blob([figure.picture.bmp], { type: 'image/bmp' }), figure.picture.name);
    });
    const png = button('PNG', 'Download the picture as PNG', () => {
      canvas.toBlob((blob) => download(blob, figure.picture.name.replace(/\.bmp$/, '.png')), 'image/png');
    });
    caption.append(title, bmp, png);
    element.append(frame, caption);
    const figure = { element, frame, canvas, overlay, title, png, picture: null };
    canvas.addEventListener('pointermove', (event) => {
      // Read out once a frame, however many moves the frame had.
      if (!this.#pointed) requestAnimationFrame(() => this.#point());
      this.#pointed = { figure, event };
    });
    canvas.addEventListener('pointerleave', () => {
      this.#pointed = null;
      this.#clearReadout();
      this.designate('pointer', null);
    });
    this.#hooks.made?.(figure);
    return figure;
  }

  #fill(figure, picture, report) {
    figure.picture = picture;
    const { canvas, overlay } = figure;
    const shown = picture.bitmap !== undefined;
    const title = `${picture.name}, ${picture.width} × ${picture.height}` +
      (shown ? '' : ' (too large to show here: download it)');
    // Unchanged on most runs, and the same text written again still costs a layout.
    if (figure.title.textContent !== title) figure.title.textContent = title;
    figure.png.disabled = !shown || picture.width === 0;
    canvas.hidden = !shown;
    overlay.hidden = !shown;
    // A picture not shown leaves an empty canvas, never the pixels of an earlier one.
    const width = shown ? picture.width : 0;
    const height = shown ? picture.height : 0;
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
    if (overlay.width !== width) overlay.width = width;
    if (overlay.height !== height) overlay.height = height;
    // The worker's bitmap is handed over, not copied; none clears the canvas.
    canvas.getContext('bitmaprenderer').transferFromImageBitmap(picture.bitmap ?? null);
    if (width > 0 && height > 0) this.#cross(overlay, picture, report);
    this.#hooks.filled?.(figure);
  }

  // Whether each system's focal points and principal planes are marked.
  showMarks(on) {
    this.#marks = on;
    this.#redrawOverlays();
  }

  // The fan that the pointer (kind 'pointer') or the selection ('selection') designates,
  // by its wavelength, or null for none: the systems' marks are drawn at its wavelength.
  designate(kind, wavelength) {
    const before = this.#wavelength();
    this.#designated[kind] = wavelength ?? null;
    if (this.#marks && this.#wavelength() !== before) this.#redrawOverlays();
  }

  #wavelength() {
    return this.#designated.pointer ?? this.#designated.selection ?? undefined;
  }

  #redrawOverlays() {
    for (const { overlay, picture } of this.#figures) {
      if (picture?.bitmap !== undefined && overlay.width > 0) this.#cross(overlay, picture, this.#report);
    }
    this.#onMarks(this.#marks ? this.#wavelength() : undefined);
  }

  // The fan whose image point (its cross) lies within reach of (x, y), picture pixels.
  #fanAt(picture, x, y, reach) {
    let best = null;
    for (const fan of this.#report?.fans ?? []) {
      if (!fan.image || !Number.isFinite(fan.image.x) || !Number.isFinite(fan.image.y)) continue;
      const d = Math.hypot((fan.image.x - picture.view.x) * picture.view.zoom + 0.5 - x,
        (fan.image.y - picture.view.y) * picture.view.zoom + 0.5 - y);
      if (d <= reach && (!best || d < best.d)) best = { d, fan };
    }
    return best?.fan ?? null;
  }

  // Each fan's image point, a cross in the fan's colour; the systems' marks when asked for.
  #cross(overlay, picture, report) {
    const context = overlay.getContext('2d');
    context.clearRect(0, 0, overlay.width, overlay.height);
    if (!report?.fans || !picture.view) return;
    const arm = Math.max(4, Math.round(picture.width / 80));
    context.lineWidth = Math.max(1, Math.round(picture.width / 500));
    for (const fan of report.fans) {
      if (!fan.image || !Number.isFinite(fan.image.x) || !Number.isFinite(fan.image.y)) continue;
      const x = (fan.image.x - picture.view.x) * picture.view.zoom + 0.5;
      const y = (fan.image.y - picture.view.y) * picture.view.zoom + 0.5;
      if (x < -arm || y < -arm || x > overlay.width + arm || y > overlay.height + arm) continue;
      const [r, g, b] = fan.colour ?? [255, 255, 255];
      context.strokeStyle = `rgb(${r}, ${g}, ${b})`;
      context.beginPath();
      context.moveTo(x - arm, y - arm);
      context.lineTo(x + arm, y + arm);
      context.moveTo(x - arm, y + arm);
      context.lineTo(x + arm, y - arm);
      context.stroke();
    }
    if (this.#marks) drawSystemMarks(context, picture, report, this.#wavelength());
  }

  #point() {
    if (!this.#pointed) return;
    const { figure, event } = this.#pointed;
    this.#pointed = null;
    const { canvas, picture } = figure;
    if (!picture?.view) return;
    const box = canvas.getBoundingClientRect();
    const x = ((event.clientX - box.left) * canvas.width) / box.width;
    const y = ((event.clientY - box.top) * canvas.height) / box.height;
    const world = worldPoint(picture.view, x, y);
    this.designate('pointer', this.#fanAt(picture, x, y, (kFanReach * canvas.width) / box.width)?.wavelength_nm);
    const digits = decimals(picture.view.zoom);
    this.#readout.textContent = `x ${fixed(world.x, digits)}, y ${fixed(world.y, digits)}` +
      ` (${picture.name}, pixel ${Math.floor(x)}, ${Math.floor(y)})`;
  }

  #clearReadout() {
    this.#readout.textContent = 'Point at a picture to read its world coordinates.';
  }
}
