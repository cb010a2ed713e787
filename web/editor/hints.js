// What the editor says about a line as it is written: each word's field on hover or at the
// caret (Alt+I), and at the start of an empty line the six kinds to complete, each a
// template of named placeholders.
import { autocompletion, snippetCompletion } from '@codemirror/autocomplete';
import { StateEffect, StateField } from '@codemirror/state';
import { hoverTooltip, keymap, showTooltip } from '@codemirror/view';
import { fieldHint, kKinds, template, tokens } from './fields.js';

// A tooltip's content: the text as text, never as markup (the description is untrusted).
export function tooltipNode(className, text) {
  const dom = document.createElement('div');
  dom.className = className;
  dom.setAttribute('role', 'tooltip');
  dom.textContent = text;
  return dom;
}

// The tooltip saying what the word at position `pos` is, or null between words and on
// comment lines.
function hintAt(state, pos) {
  const line = state.doc.lineAt(pos);
  const at = pos - line.from;
  const k = tokens(line.text).findIndex((w) => at >= w.from && at <= w.to);
  const text = k >= 0 ? fieldHint(line.text, k) : null;
  if (!text) return null;
  const word = tokens(line.text)[k];
  return {
    pos: line.from + word.from,
    end: line.from + word.to,
    above: true,
    create: () => ({ dom: tooltipNode('cm-field-hint', text) }),
  };
}

// The hint at the caret, asked for by a key and gone at the next change, move or Escape.
const showHint = StateEffect.define();
const caretHint = StateField.define({
  create: () => null,
  update(hint, tr) {
    for (const effect of tr.effects) {
      if (effect.is(showHint)) return effect.value ? hintAt(tr.state, tr.state.selection.main.head) : null;
    }
    return tr.docChanged || tr.selection ? null : hint;
  },
  provide: (field) => showTooltip.from(field),
});

const kHintKeys = [
  { key: 'Alt-i', run: (view) => { view.dispatch({ effects: showHint.of(true) }); return true; } },
  {
    key: 'Escape',
    run: (view) => {
      if (!view.state.field(caretHint)) return false;
      view.dispatch({ effects: showHint.of(false) });
      return true;
    },
  },
];

// At the start of an empty line (or after its first capital), the six kinds.
const kCompletions = Object.entries(kKinds).map(([kind, { title }]) =>
  snippetCompletion(template(kind), { label: kind, detail: title, type: 'keyword' }));

function kindCompletion(context) {
  const line = context.state.doc.lineAt(context.pos);
  const before = line.text.slice(0, context.pos - line.from);
  if (!/^[A-Z]?$/.test(before) || line.text.length > before.length) return null;
  return { from: line.from, options: kCompletions, validFor: /^[A-Z]?$/ };
}

export function hints() {
  return [
    hoverTooltip((view, pos) => hintAt(view.state, pos), { hoverTime: 300 }),
    caretHint,
    keymap.of(kHintKeys),
    autocompletion({ override: [kindCompletion], icons: false }),
  ];
}
