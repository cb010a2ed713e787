// The description's colours: each line's kind, its numbers, a flat face's `inf`, and
// comment lines, told apart by classes (tok-*) that the editor's theme colours.
import { StreamLanguage, syntaxHighlighting } from '@codemirror/language';
import { classHighlighter } from '@lezer/highlight';

const kKind = /^[DEILSZ]$/;
const kNumber = /^[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?/;

const description = StreamLanguage.define({
  name: 'optic',
  startState: () => ({ comment: false }),
  token(stream, state) {
    if (stream.sol()) {
      // A description line starts with one of six capitals; its whole first word is the kind.
      state.comment = !kKind.test(stream.peek() ?? '');
      if (state.comment) {
        stream.skipToEnd();
        return 'comment';
      }
      stream.match(/^[^ ]+/);
      return 'keyword';
    }
    if (state.comment) {
      stream.skipToEnd();
      return 'comment';
    }
    if (stream.eatSpace()) return null;
    const word = stream.match(/^[^ ]+/)[0];
    if (word === 'inf') return 'atom';
    return kNumber.test(word) ? 'number' : null;
  },
  copyState: (state) => ({ ...state }),
});

export function highlighting() {
  return [description, syntaxHighlighting(classHighlighter)];
}
