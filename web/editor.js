// The description's editor: a plain textarea with a gutter of line numbers, and marks behind
// the lines the engine refused, each with its messages on hover.  Lines never wrap, so that
// one line of text is one line of the gutter.
import { nudge } from './nudge.js';

function lineCount(text) {
  let n = 1;
  for (let i = text.indexOf('\n'); i >= 0; i = text.indexOf('\n', i + 1)) ++n;
  return n;
}

export class Editor {
  #area;
  #gutter;
  #marks;
  #lines = 0;
  #problems = new Map();  // line -> its messages
  #onEdit;

  constructor(area, gutter, marks, onEdit) {
    this.#area = area;
    this.#gutter = gutter;
    this.#marks = marks;
    this.#onEdit = onEdit;
    area.addEventListener('input', () => this.#edited());
    area.addEventListener('scroll', () => this.#follow());
    area.addEventListener('keydown', (event) => this.#key(event));
    area.addEventListener('mousemove', (event) => this.#hover(event));
  }

  get text() {
    return this.#area.value;
  }

  // Replaces the whole text (a link opened, an example chosen).
  set text(text) {
    this.#area.value = text;
    this.#area.setSelectionRange(0, 0);
    this.#area.scrollTop = 0;
    this.#refresh();
  }

  // The lines the engine refused, each with its messages.
  mark(diagnostics) {
    this.#problems = new Map();
    for (const { line, message } of diagnostics) {
      if (!this.#problems.has(line)) this.#problems.set(line, []);
      this.#problems.get(line).push(message);
    }
    this.#lines = -1;  // the gutter is redrawn with its marks
    this.#refresh();
  }

  // Puts the caret at the start of a line, in view.
  goTo(line) {
    const text = this.#area.value;
    let at = 0;
    for (let n = 1; n < line && at >= 0; ++n) at = text.indexOf('\n', at) + 1 || -1;
    if (at < 0) return;
    this.#area.focus();
    this.#area.setSelectionRange(at, at);
    const height = this.#lineHeight();
    const top = (line - 1) * height;
    if (top < this.#area.scrollTop || top + height > this.#area.scrollTop + this.#area.clientHeight) {
      this.#area.scrollTop = Math.max(0, top - this.#area.clientHeight / 2);
    }
  }

  #edited() {
    this.#refresh();
    this.#onEdit(this.#area.value);
  }

  #lineHeight() {
    return parseFloat(getComputedStyle(this.#area).lineHeight) || 20;
  }

  #refresh() {
    const lines = lineCount(this.#area.value);
    if (lines !== this.#lines) {
      this.#lines = lines;
      const numbers = document.createDocumentFragment();
      const marks = document.createDocumentFragment();
      const height = this.#lineHeight();
      for (let n = 1; n <= lines; ++n) {
        const number = document.createElement('div');
        number.textContent = String(n);
        const problems = this.#problems.get(n);
        if (problems) {
          number.className = 'refused';
          number.title = problems.join('\n');
          const mark = document.createElement('div');
          mark.className = 'mark';
          mark.style.top = `${(n - 1) * height}px`;
          mark.style.height = `${height}px`;
          marks.append(mark);
        }
        numbers.append(number);
      }
      this.#gutter.replaceChildren(numbers);
      this.#marks.replaceChildren(marks);
    }
    this.#follow();
  }

  #follow() {
    const offset = `translateY(${-this.#area.scrollTop}px)`;
    this.#gutter.style.transform = offset;
    this.#marks.style.transform = offset;
  }

  // The messages of the line under the pointer, as the textarea's tooltip.
  #hover(event) {
    const style = getComputedStyle(this.#area);
    const y = event.offsetY + this.#area.scrollTop - parseFloat(style.paddingTop);
    const line = Math.floor(y / this.#lineHeight()) + 1;
    const problems = this.#problems.get(line);
    const title = problems ? problems.join('\n') : '';
    if (this.#area.title !== title) this.#area.title = title;
  }

  // Alt+Up / Alt+Down nudge the number at the caret by one unit of its last decimal place;
  // with Shift, by ten.
  #key(event) {
    if (!event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.key !== 'ArrowUp' && event.key !== 'ArrowDown') return;
    const area = this.#area;
    const steps = (event.key === 'ArrowUp' ? 1 : -1) * (event.shiftKey ? 10 : 1);
    const change = nudge(area.value, area.selectionEnd, steps);
    if (!change) return;
    event.preventDefault();
    const fromEnd = change.to - area.selectionEnd;
    area.focus();
    area.setSelectionRange(change.from, change.to);
    // As typing does: the change can be undone, and the page hears an input event.
    if (!document.execCommand('insertText', false, change.text)) {
      area.setRangeText(change.text, change.from, change.to, 'end');
      area.dispatchEvent(new Event('input'));
    }
    const caret = change.from + change.text.length - Math.min(fromEnd, change.text.length);
    area.setSelectionRange(caret, caret);
  }
}
