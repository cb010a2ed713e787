// Nudging the number under the caret by units of its last decimal place, its writing kept:
// "12.5" goes to "12.6", "-0.1" to "0.0" then "0.1", "1e-3" to "2e-3".

// A number as the description writes one: sign, digits with at most one point, exponent.
const kNumber = /[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?/g;
const kParts = /^([-+]?)(\d*)(\.?)(\d*)([eE][-+]?\d+)?$/;

// The number `written` changed by `steps` units of its last decimal place.
export function shiftNumber(written, steps) {
  const [, sign, whole, point, fraction, exponent = ''] = kParts.exec(written);
  let value = BigInt(whole + fraction || '0') * (sign === '-' ? -1n : 1n) + BigInt(steps);
  const negative = value < 0n;
  if (negative) value = -value;
  const digits = value.toString().padStart(fraction.length + 1, '0');
  let integer = digits.slice(0, digits.length - fraction.length);
  if (whole === '' && /^0+$/.test(integer)) integer = '';  // ".5" stays without its 0
  const shown = negative ? '-' : sign === '+' ? '+' : '';
  return shown + integer + point + digits.slice(digits.length - fraction.length) + exponent;
}

// The text with the number at the caret nudged, and where that number now lies; null when
// the caret is on no number.
export function nudge(text, caret, steps) {
  const start = text.lastIndexOf('\n', caret - 1) + 1;
  const newline = text.indexOf('\n', caret);
  const line = text.slice(start, newline < 0 ? text.length : newline);
  const at = caret - start;
  for (const match of line.matchAll(kNumber)) {
    const from = match.index;
    const to = from + match[0].length;
    if (from > at) break;
    if (at > to) continue;
    const number = shiftNumber(match[0], steps);
    return { text: number, from: start + from, to: start + to };
  }
  return null;
}
