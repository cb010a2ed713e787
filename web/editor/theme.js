// The editor's looks, in its own shadow root (the page's security policy allows no inline
// style element, and CodeMirror styles a shadow root through its adopted style sheets).  The
// colours are the page's variables, which follow prefers-color-scheme.
import { EditorView } from '@codemirror/view';

export const theme = EditorView.theme({
  '&': { flex: '1', minWidth: '0', height: '100%', color: 'var(--ink)', background: 'var(--field)' },
  '&.cm-focused': { outline: '2px solid var(--accent)', outlineOffset: '-2px' },
  '.cm-scroller': { font: '13px/var(--line) ui-monospace, "DejaVu Sans Mono", monospace' },
  '.cm-content': { padding: 'var(--pad) 0', caretColor: 'var(--ink)' },
  '.cm-cursor, .cm-dropCursor': { borderLeftColor: 'var(--ink)' },
  '&.cm-focused > .cm-scroller > .cm-selectionLayer .cm-selectionBackground, .cm-selectionBackground':
    { background: 'var(--selection)' },
  '.cm-gutters': { background: 'var(--gutter)', color: 'var(--muted)', borderRight: '0' },
  '.cm-activeLine, .cm-activeLineGutter': { background: 'var(--active)' },
  '.cm-picked': { background: 'var(--picked)' },
  '.cm-lintRange-error': { backgroundImage: 'none', textDecoration: 'underline wavy var(--refused)' },
  '.cm-tooltip': { background: 'var(--paper)', color: 'var(--ink)', border: '1px solid var(--muted)' },
  '.cm-tooltip-autocomplete > ul > li[aria-selected]': { background: 'var(--accent)', color: 'var(--paper)' },
  '.cm-completionDetail': { color: 'inherit', marginLeft: '0.5em' },
  '.cm-field-hint, .cm-refused': { padding: '0.2rem 0.4rem', font: '12px system-ui, sans-serif', maxWidth: '28rem' },
  '.cm-diagnostic-error': { borderLeftColor: 'var(--refused)' },
  // The description's words: kind, numbers, inf and comments.
  '.tok-keyword': { color: 'var(--kind)', fontWeight: '600' },
  '.tok-number': { color: 'var(--number)' },
  '.tok-atom': { color: 'var(--infinity)' },
  '.tok-comment': { color: 'var(--comment)', fontStyle: 'italic' },
});
