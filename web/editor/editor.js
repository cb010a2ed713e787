// The description's editor (CodeMirror): colours, the refused lines as diagnostics, hints
// and completion, nudging, and one undo history for typing, nudges, loads and the pictures'
// edits.  The pictures edit the text only through replaceFields.
import { completionKeymap } from '@codemirror/autocomplete';
import { defaultKeymap, history, historyKeymap, isolateHistory, redo, undo } from '@codemirror/commands';
import { lintGutter, setDiagnostics } from '@codemirror/lint';
import { Annotation, EditorState, Prec, StateEffect, StateField, Transaction } from '@codemirror/state';
import {
  Decoration, EditorView, drawSelection, highlightActiveLine, highlightActiveLineGutter,
  highlightSpecialChars, keymap, lineNumbers,
} from '@codemirror/view';
import { nudge } from '../nudge.js';
import { tokens } from './fields.js';
import { hints, tooltipNode } from './hints.js';
import { highlighting } from './language.js';
import { theme } from './theme.js';

// The page's own changes (a picture's preview, a drag's text put back): no caret report.
const kOurs = Annotation.define();

// The line of the element the pictures have selected, highlighted.
const pickLine = StateEffect.define();
const kPicked = Decoration.line({ class: 'cm-picked' });
const pickedLine = StateField.define({
  create: () => Decoration.none,
  update(set, tr) {
    for (const effect of tr.effects) {
      if (!effect.is(pickLine)) continue;
      const n = effect.value;
      return n >= 1 && n <= tr.state.doc.lines ? Decoration.set([kPicked.range(tr.state.doc.line(n).from)]) : Decoration.none;
    }
    return set.map(tr.changes);
  },
  provide: (field) => EditorView.decorations.from(field),
});

// Alt+Up / Alt+Down nudge the number at the caret by one unit of its last decimal place;
// with Shift, by ten.  Each nudge is one step of the history.
function nudgeBy(steps) {
  return (view) => {
    const { head } = view.state.selection.main;
    const line = view.state.doc.lineAt(head);
    const change = nudge(line.text, head - line.from, steps);
    if (!change) return false;
    const from = line.from + change.from;
    const fromEnd = line.from + change.to - head;
    const caret = from + change.text.length - Math.min(fromEnd, change.text.length);
    view.dispatch({
      changes: { from, to: line.from + change.to, insert: change.text },
      selection: { anchor: caret },
      userEvent: 'input.nudge',
      annotations: isolateHistory.of('full'),
    });
    return true;
  };
}

const kNudgeKeys = [
  { key: 'Alt-ArrowUp', run: nudgeBy(1) },
  { key: 'Alt-ArrowDown', run: nudgeBy(-1) },
  { key: 'Shift-Alt-ArrowUp', run: nudgeBy(10) },
  { key: 'Shift-Alt-ArrowDown', run: nudgeBy(-10) },
];

// The changes writing `fields` ([{ field: k, text }], k = 0 for the kind's word) into line
// `number` of `doc`: only those words' characters change.  A field just past the line's
// last word is added after a space.
function fieldChanges(doc, number, fields) {
  const line = doc.line(number);
  const words = tokens(line.text);
  const sorted = [...fields].sort((a, b) => a.field - b.field);
  return sorted.map(({ field, text }, i) => {
    if (!/^[^ \n]+$/.test(text)) throw new RangeError(`line ${number}, field ${field}: "${text}" is not one word`);
    const word = words[field];
    if (word) return word.text === text ? [] : { from: line.from + word.from, to: line.from + word.to, insert: text };
    if (field !== words.length + i) throw new RangeError(`line ${number} has no field ${field}`);
    return { from: line.to, insert: ` ${text}` };
  });
}

// The editor in a shadow root of `parent`, holding `doc`.  onChange(text, { preview }) hears every change of
// the text (preview: a picture's edit under way); onCaretLine(line) hears the line the user
// put the caret on (1 = the first).
export function createEditor(parent, { doc = '', onChange = () => {}, onCaretLine = () => {} } = {}) {
  let drag = null;  // a picture's edit under way: { start, applied } (the text and changes since)
  let marked = 0;  // how many lines are marked refused

  const listener = EditorView.updateListener.of((update) => {
    if (drag && update.transactions.some((tr) => tr.docChanged && !tr.annotation(kOurs))) drag = null;
    if (update.docChanged) {
      const preview = update.transactions.every((tr) => !tr.docChanged || tr.annotation(kOurs) === 'preview');
      onChange(update.state.doc.toString(), { preview });
    }
    if (update.transactions.some((tr) => tr.selection && !tr.annotation(kOurs))) {
      onCaretLine(update.state.doc.lineAt(update.state.selection.main.head).number);
    }
  });

  const root = parent.shadowRoot ?? parent.attachShadow({ mode: 'open' });
  const view = new EditorView({
    parent: root,
    root,
    state: EditorState.create({
      doc,
      extensions: [
        // Every byte kept: a CR stays in its line, as the engine reads it.
        EditorState.lineSeparator.of('\n'),
        lineNumbers(),
        lintGutter(),
        history(),
        drawSelection(),
        highlightSpecialChars(),
        highlightActiveLine(),
        highlightActiveLineGutter(),
        highlighting(),
        theme,
        hints(),
        pickedLine,
        Prec.high(keymap.of(kNudgeKeys)),
        keymap.of([...completionKeymap, ...historyKeymap, ...defaultKeymap]),
        EditorView.contentAttributes.of({
          'data-testid': 'description', 'aria-label': 'Bench description', spellcheck: 'false', autocapitalize: 'off',
        }),
        listener,
      ],
    }),
  });

  const editor = {
    view,

    text: () => view.state.doc.toString(),

    // A load (a link, an example): the whole text replaced, one step of the history (none
    // when the editor was empty: there is nothing to go back to).
    setText(text) {
      drag = null;
      const empty = view.state.doc.length === 0;
      view.dispatch({
        changes: { from: 0, to: view.state.doc.length, insert: text },
        selection: { anchor: 0 },
        scrollIntoView: true,
        userEvent: 'input.load',
        annotations: empty ? Transaction.addToHistory.of(false) : isolateHistory.of('full'),
      });
    },

    // Writes the given fields of line `number`, every other byte kept.  A preview stays out
    // of the history; the commit that follows previews is one step from the text before
    // the first of them.
    replaceFields(number, fields, { preview = false } = {}) {
      if (number < 1 || number > view.state.doc.lines) throw new RangeError(`no line ${number}`);
      const { state } = view;
      if (preview) {
        const tr = state.update({
          changes: fieldChanges(state.doc, number, fields),
          annotations: [Transaction.addToHistory.of(false), kOurs.of('preview')],
        });
        if (tr.changes.empty) return;
        drag ??= { start: state.doc, applied: null };
        drag.applied = drag.applied ? drag.applied.compose(tr.changes) : tr.changes;
        view.dispatch(tr);
        return;
      }
      // The previews undone out of the history, then the edit as one step of it, in one
      // update: the page hears the final text only.
      const steps = [];
      if (drag?.applied) {
        steps.push(state.update({
          changes: drag.applied.invert(drag.start),
          annotations: [Transaction.addToHistory.of(false), kOurs.of('revert')],
        }));
      }
      drag = null;
      const before = steps.length ? steps[0].state : state;
      const edit = before.update({
        changes: fieldChanges(before.doc, number, fields),
        userEvent: 'input.picture',
        annotations: [kOurs.of('commit'), isolateHistory.of('full')],
      });
      if (!edit.changes.empty) steps.push(edit);
      if (steps.length) view.dispatch(steps);
    },

    undo: () => undo(view),
    redo: () => redo(view),

    // Highlights line `number` (0: none) and scrolls it into view, the focus left where it is.
    selectLine(number) {
      const { doc } = view.state;
      const effects = [pickLine.of(number)];
      if (number >= 1 && number <= doc.lines) effects.push(EditorView.scrollIntoView(doc.line(number).from, { y: 'nearest' }));
      view.dispatch({ effects });
    },

    // The caret to the start of line `number`, in view, and the focus to the editor.
    goTo(number) {
      const { doc } = view.state;
      if (number < 1 || number > doc.lines) return;
      const at = doc.line(number).from;
      view.dispatch({ selection: { anchor: at }, effects: EditorView.scrollIntoView(at, { y: 'center' }) });
      view.focus();
    },

    // The lines the engine refused, each with its explanation, as diagnostics.
    mark(diagnostics) {
      // No marks before and none now: nothing to dispatch (a drag's every run would redraw).
      if (diagnostics.length === 0 && marked === 0) return;
      marked = diagnostics.length;
      const { doc } = view.state;
      const marks = diagnostics.filter(({ line }) => line >= 1 && line <= doc.lines).map(({ line, message }) => {
        const { from, to } = doc.line(line);
        return { from, to, severity: 'error', message, renderMessage: () => tooltipNode('cm-refused', message) };
      });
      view.dispatch(setDiagnostics(view.state, marks));
    },
  };

  // For the browser tests and anyone holding the content element: its text, as a
  // textarea's value, and the caret's offset.
  Object.defineProperties(view.contentDOM, {
    value: { get: editor.text, set: (text) => view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text }, userEvent: 'input.replace' }) },
    caret: { get: () => view.state.selection.main.head, set: (at) => view.dispatch({ selection: { anchor: at } }) },
  });
  return editor;
}
