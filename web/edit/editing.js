// Editing the bench in its pictures: select an element, drag it or its handles, pan and zoom
// a picture's window, with the pointer (a finger, two for a pinch) or the keyboard alone.
// Every edit writes named numbers of one line through the editor, one step of its history
// per drag, wheel turn or key press; the pictures then come from running the new text.
import { written } from '../numbers.js';
import { worldPoint } from '../pictures.js';
import { dragChange } from './changes.js';
import { add, handle, hit, items, minus } from './geometry.js';
import { panned, viewOf, zoomed } from './window.js';

// A handle within this many CSS pixels of the pointer is under it.
const kReach = 8;
// One wheel notch (100 pixels of deltaY), or one + or -, magnifies by this factor.
const kZoomStep = 1.25;
// A wheel turn's zooms make one step of the history once the wheel has rested this long.
const kWheelRest = 300;
const kPicture = /^OpticZoomBox_(\d+)\.bmp$/;
const kMarks = { outline: '#ffd54a', handle: '#ffd54a', edge: '#000', source: '#fff' };

const asArray = ({ x, y }) => [x, y];
const same = (a, b) => a === b || (a === 'inf' && b === Infinity) || (b === 'inf' && a === Infinity);

export class PictureEditing {
  #editor;
  #announce;
  #geometry = null;
  #selected = 0;  // the line of the selected element, 0 for none
  #figures = new Map();  // canvas -> figure
  #gesture = null;  // the drag, pan or pinch under way
  #wheel = null;  // the wheel turn under way: { line, values, fields, timer }
  #pointers = new Map();  // the pointers down on a picture, by id: { x, y }
  #pending = new Map();  // line -> { field: value } written since the last geometry had them
  #ours = false;
  #waiting;
  #selectedHook;
  #moved = null;  // the latest pointer move not yet applied: { figure, event }
  #frame = 0;  // the animation frame that applies it

  // The pictures' hooks (see Pictures), for the page to hand to them.
  hooks = { made: (figure) => this.#made(figure), filled: (figure) => this.#draw(figure) };

  // Edits go through `editor`; the selection is announced in a live region put before `list`.
  // waiting() says whether the pictures of an earlier edit are still being made: a gesture's
  // newest text is then written once they are shown (see drawn), not at every frame.
  // selected(line) hears each new selection (0 for none).
  constructor(editor, list, { waiting = () => false, selected = () => {} } = {}) {
    this.#editor = editor;
    this.#waiting = waiting;
    this.#selectedHook = selected;
    this.#announce = document.createElement('p');
    this.#announce.className = 'selection';
    this.#announce.dataset.testid = 'selection';
    this.#announce.setAttribute('aria-live', 'polite');
    this.#announce.textContent = 'Nothing selected: click an element in a picture, or focus a picture and press ].';
    list.before(this.#announce);
  }

  // Whether a drag, pan, pinch or wheel turn is under way.
  get busy() {
    return this.#gesture !== null || this.#wheel !== null;
  }

  // A run's pictures are about to be shown: the gesture's newest text, held back while they
  // were being made, is written now, so that the next run starts at once.
  drawn() {
    const g = this.#gesture;
    if (g?.unwritten) this.#preview(g);
  }

  #preview(g) {
    g.unwritten = this.#waiting();
    if (!g.unwritten) this.#write(g.line, g.fields, true);
  }

  // A new run's geometry, before its pictures are shown.
  show(geometry) {
    this.#geometry = geometry ?? null;
    for (const [line, fields] of this.#pending) {
      const entry = this.#entry(line);
      if (!entry || Object.entries(fields).every(([k, v]) => same(entry.values[k - 1], v))) this.#pending.delete(line);
    }
    if (this.#selected && !this.#item(this.#selected)) this.#select(0);
  }

  // The text changed; unless the change is ours, what we wrote is no longer pending.
  changed() {
    if (!this.#ours) this.#pending.clear();
  }

  // The user put the editor's caret on this line: its element, if any, is selected.
  caretLine(line) {
    if (this.#figures.has(document.activeElement)) return;  // an undo from a picture
    this.#select(this.#item(line) ? line : 0);
  }

  #entry(line) {
    const g = this.#geometry;
    if (!g) return null;
    return [...g.elements, ...g.sources, ...g.zoomboxes].find((e) => e.line === line) ?? null;
  }

  #item(line) {
    return items(this.#geometry).find((item) => item.line === line) ?? null;
  }

  // An entry's values as the text now holds them: the geometry's, with what was written since.
  #values(entry) {
    const values = [...entry.values];
    for (const [k, v] of Object.entries(this.#pending.get(entry.line) ?? {})) values[k - 1] = v;
    return values.map((v) => (v === 'inf' ? Infinity : v));
  }

  #zoombox(figure) {
    const c = Number(kPicture.exec(figure.picture?.name ?? '')?.[1]);
    return Number.isInteger(c) ? this.#geometry?.zoomboxes[c] ?? null : null;
  }

  #write(line, fields, preview) {
    this.#ours = true;
    try {
      this.#editor.replaceFields(line, fields, { preview });
    } finally {
      this.#ours = false;
    }
    const pending = this.#pending.get(line) ?? {};
    for (const { field, text } of fields) pending[field] = text === 'inf' ? Infinity : Number(text);
    this.#pending.set(line, pending);
  }

  #select(line) {
    if (line === this.#selected) return;
    this.#selected = line;
    this.#selectedHook(line);
    this.#editor.selectLine(line);
    this.#announce.textContent = line
      ? `Selected line ${line}: ${this.#editor.view.state.doc.line(line).text}`
      : 'Nothing selected.';
    for (const figure of this.#figures.values()) this.#draw(figure);
  }

  #made(figure) {
    const { canvas, frame } = figure;
    canvas.tabIndex = 0;
    figure.marks = document.createElement('canvas');
    figure.marks.className = 'marks';
    figure.marks.setAttribute('aria-hidden', 'true');
    figure.readout = document.createElement('div');
    figure.readout.className = 'readout';
    figure.readout.dataset.testid = 'readout';
    figure.readout.hidden = true;
    frame.append(figure.marks, figure.readout);
    this.#figures.set(canvas, figure);
    canvas.addEventListener('pointerdown', (event) => this.#down(figure, event));
    canvas.addEventListener('pointermove', (event) => this.#move(figure, event));
    canvas.addEventListener('pointerup', (event) => this.#up(figure, event));
    canvas.addEventListener('pointercancel', (event) => this.#up(figure, event));
    canvas.addEventListener('wheel', (event) => this.#turn(figure, event), { passive: false });
    canvas.addEventListener('keydown', (event) => this.#key(figure, event));
  }

  // A pointer's position in picture pixels and its world point in `view`.
  #at(figure, event, view = figure.picture.view) {
    const box = figure.canvas.getBoundingClientRect();
    const scale = figure.canvas.width / box.width;
    const x = (event.clientX - box.left) * scale;
    const y = (event.clientY - box.top) * scale;
    return { x, y, scale, world: asArray(worldPoint(view, x, y)) };
  }

  #down(figure, event) {
    if (event.button !== 0 || !figure.picture?.view || !this.#geometry) return;
    event.preventDefault();
    figure.canvas.focus({ preventScroll: true });
    figure.canvas.setPointerCapture(event.pointerId);
    this.#settleWheel();
    this.#pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
    if (this.#pointers.size === 2) return this.#pinch(figure);
    if (this.#pointers.size > 2) return undefined;
    const view = figure.picture.view;
    const { scale, world } = this.#at(figure, event, view);
    const taken = hit(this.#geometry, this.#item(this.#selected), world, (kReach * scale) / view.zoom);
    if (taken) {
      this.#select(taken.item.line);
      const item = { ...taken.item, values: this.#values(taken.item) };
      const drag = { item, handle: taken.handle, from: handle(item, taken.handle).at };
      this.#gesture = { kind: 'drag', figure, line: item.line, view, press: world, drag, fields: [] };
      return undefined;
    }
    this.#select(0);
    const box = this.#zoombox(figure);
    if (box) this.#gesture = { kind: 'pan', figure, line: box.line, view, press: world, values: this.#values(box), fields: [] };
    return undefined;
  }

  // Pointer moves come faster than the display shows them: the latest one of a frame is
  // applied at the frame, so that the text, the readout and the layout change once a frame.
  #move(figure, event) {
    if (!this.#pointers.has(event.pointerId)) return;
    this.#pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
    const g = this.#gesture;
    if (!g || g.figure !== figure) return;
    this.#moved = { figure, event };
    this.#frame ||= requestAnimationFrame(() => this.#applyMove());
  }

  #applyMove() {
    cancelAnimationFrame(this.#frame);
    this.#frame = 0;
    const moved = this.#moved;
    this.#moved = null;
    const g = this.#gesture;
    if (!moved || !g || g.figure !== moved.figure) return undefined;
    const { figure, event } = moved;
    if (g.kind === 'pinch') return this.#pinching(g);
    const { world } = this.#at(figure, event, g.view);
    const d = minus(world, g.press);
    let text;
    if (g.kind === 'drag') {
      const change = dragChange(g.drag, add(g.drag.from, d), event.shiftKey, g.view.zoom);
      g.fields = change.fields;
      g.limit = change.limit;
      text = [change.readout, this.#focal(g.line), change.limit].filter(Boolean).join('\n');
    } else {
      g.fields = panned(g.values, minus([0, 0], d), g.view.zoom).fields;
      text = g.fields.map(({ field, text: t }) => `${['x1', 'y1', 'x2', 'y2'][field - 1]} ${t}`).join('  ');
    }
    this.#preview(g);
    this.#readout(figure, event, text);
    return undefined;
  }

  #up(figure, event) {
    if (!this.#pointers.has(event.pointerId)) return;
    // The release is where the pointer ended, whatever moves the browser merged before it.
    if (event.type === 'pointerup' && this.#gesture?.figure === figure && this.#gesture.kind !== 'pinch') {
      this.#moved = { figure, event };
    }
    this.#applyMove();
    this.#pointers.delete(event.pointerId);
    const g = this.#gesture;
    if (!g || g.figure !== figure) return;
    this.#finish();
  }

  // The gesture under way written as one step of the history.
  #finish() {
    this.#applyMove();
    const g = this.#gesture;
    this.#gesture = null;
    g.figure.readout.hidden = true;
    this.#write(g.line, g.fields, false);
    if (g.limit) this.#announce.textContent = `Stopped: ${g.limit}.`;
  }

  // A lens's focal length at the bench's middle wavelength, as the latest run found it.
  #focal(line) {
    const item = this.#item(line);
    const f = item?.focal_length;
    if (item?.kind !== 'L' || typeof f !== 'number') return '';
    return `f ${Number.isFinite(f) ? f.toFixed(2) : 'inf'} (${this.#geometry.wavelength_nm} nm)`;
  }

  #readout(figure, event, text) {
    const box = figure.frame.getBoundingClientRect();
    const { readout } = figure;
    readout.textContent = text;
    readout.style.left = `${event.clientX - box.left + 14}px`;
    readout.style.top = `${event.clientY - box.top + 14}px`;
    readout.hidden = false;
  }

  // Two fingers on a picture: the gesture under way is written, and the window zooms about
  // the point between them as they part or close.
  #pinch(figure) {
    if (this.#gesture) this.#finish();
    const box = this.#zoombox(figure);
    if (!box) return;
    const [a, b] = [...this.#pointers.values()];
    const values = this.#values(box);
    const middle = { clientX: (a.x + b.x) / 2, clientY: (a.y + b.y) / 2 };
    const { world } = this.#at(figure, middle, viewOf(values));
    this.#gesture = { kind: 'pinch', figure, line: box.line, values, centre: world, apart: Math.hypot(a.x - b.x, a.y - b.y), fields: [] };
  }

  #pinching(g) {
    const [a, b] = [...this.#pointers.values()];
    const apart = Math.hypot(a.x - b.x, a.y - b.y);
    if (!(g.apart > 0 && apart > 0)) return;
    g.fields = zoomed(g.values, g.centre, apart / g.apart).fields;
    this.#preview(g);
  }

  // The wheel zooms about the pointer; a turn's steps are one step of the history.
  #turn(figure, event) {
    const box = figure.picture?.view && this.#zoombox(figure);
    if (!box) return;
    event.preventDefault();
    if (this.#wheel?.line !== box.line) {
      this.#settleWheel();
      this.#wheel = { line: box.line, values: this.#values(box), fields: [] };
    }
    const w = this.#wheel;
    const notches = event.deltaY * (event.deltaMode === 1 ? 1 / 3 : event.deltaMode === 2 ? 10 : 1 / 100);
    const { world } = this.#at(figure, event, viewOf(w.values));
    const next = zoomed(w.values, world, kZoomStep ** -notches);
    w.values = next.values;
    w.fields = next.fields;
    this.#write(w.line, w.fields, true);
    clearTimeout(w.timer);
    w.timer = setTimeout(() => this.#settleWheel(), kWheelRest);
  }

  #settleWheel() {
    const w = this.#wheel;
    if (!w) return;
    clearTimeout(w.timer);
    this.#wheel = null;
    this.#write(w.line, w.fields, false);
  }

  #key(figure, event) {
    const command = event.ctrlKey || event.metaKey;
    const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
    if (command && !event.altKey && (key === 'z' || key === 'y')) {
      event.preventDefault();
      this.#settleWheel();
      if (key === 'y' || event.shiftKey) this.#editor.redo();
      else this.#editor.undo();
      return;
    }
    if (command || event.altKey || this.#gesture || !figure.picture?.view || !this.#geometry) return;
    const arrows = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (key === ']' || key === '[') this.#step(key === ']' ? 1 : -1);
    else if (key === 'Escape') this.#select(0);
    else if (key === '+' || key === '=' || key === '-') this.#zoomKey(figure, key === '-' ? 1 / kZoomStep : kZoomStep);
    else if (arrows[key]) this.#arrow(figure, arrows[key], event.shiftKey ? 10 : 1);
    else return;
    event.preventDefault();
  }

  // The next or previous element in file order.
  #step(direction) {
    const list = items(this.#geometry);
    if (list.length === 0) return;
    const at = list.findIndex((item) => item.line === this.#selected);
    const next = at < 0 ? (direction > 0 ? 0 : list.length - 1) : (at + direction + list.length) % list.length;
    this.#select(list[next].line);
  }

  // The selection moved by `pixels` pixels of this picture, or the window panned by as many.
  #arrow(figure, [dx, dy], pixels) {
    this.#settleWheel();
    const { zoom } = figure.picture.view;
    const d = [(dx * pixels) / zoom, (dy * pixels) / zoom];
    const item = this.#item(this.#selected);
    if (item) {
      const values = this.#values(item);
      const fields = handle(item, 'move').fields.map((field, i) => ({ field, value: values[field - 1] + d[i] }))
        .filter((_, i) => d[i] !== 0).map(({ field, value }) => ({ field, text: written(value, zoom) }));
      this.#write(item.line, fields, false);
      return;
    }
    const box = this.#zoombox(figure);
    if (box) this.#write(box.line, panned(this.#values(box), d, zoom).fields, false);
  }

  #zoomKey(figure, factor) {
    this.#settleWheel();
    const box = this.#zoombox(figure);
    if (!box) return;
    const values = this.#values(box);
    const centre = [(values[0] + values[2]) / 2, (values[1] + values[3]) / 2];
    this.#write(box.line, zoomed(values, centre, factor).fields, false);
  }

  // The overlay: each source's start point, and the selected element's outline and handles.
  #draw(figure) {
    const { canvas, marks, picture } = figure;
    if (marks.width !== canvas.width) marks.width = canvas.width;
    if (marks.height !== canvas.height) marks.height = canvas.height;
    marks.hidden = canvas.hidden;
    const view = picture?.view;
    const item = this.#item(this.#selected);
    // Unchanged marks are not drawn again: every canvas repainted costs the page a frame's time.
    const key = JSON.stringify([marks.width, view, item?.outline, item?.handles, this.#geometry?.sources.map((s) => s.origin)]);
    if (key === figure.marked) return;
    figure.marked = key;
    const context = marks.getContext('2d');
    context.clearRect(0, 0, marks.width, marks.height);
    if (!view || !this.#geometry || marks.width === 0) return;
    figure.canvas.setAttribute('aria-label', `${picture.name}: ] and [ select an element, the arrows move it or pan, + and - zoom`);
    const width = canvas.getBoundingClientRect().width;
    const scale = width > 0 ? canvas.width / width : 1;
    const px = ([x, y]) => [(x - view.x) * view.zoom + 0.5, (y - view.y) * view.zoom + 0.5];
    const dot = (at, r, fill) => {
      context.beginPath();
      context.arc(...px(at), r * scale, 0, 2 * Math.PI);
      if (fill) {
        context.fillStyle = fill;
        context.fill();
      }
      context.stroke();
    };
    context.lineWidth = 1.5 * scale;
    context.strokeStyle = kMarks.source;
    for (const source of this.#geometry.sources) if (source.handles) dot(handle(source, 'move').at, 4);
    if (!item) return;
    context.strokeStyle = kMarks.outline;
    context.lineWidth = 2 * scale;
    for (const part of item.outline) {
      context.beginPath();
      part.forEach((p, i) => (i ? context.lineTo(...px(p)) : context.moveTo(...px(p))));
      if (item.kind !== 'S') context.closePath();
      context.stroke();
    }
    context.strokeStyle = kMarks.edge;
    context.lineWidth = scale;
    for (const h of item.handles) {
      if (h.name === 'move') {
        dot(h.at, 5, kMarks.handle);
        continue;
      }
      const [x, y] = px(h.at);
      const r = 4 * scale;
      context.fillStyle = kMarks.handle;
      context.fillRect(x - r, y - r, 2 * r, 2 * r);
      context.strokeRect(x - r, y - r, 2 * r, 2 * r);
    }
  }
}
