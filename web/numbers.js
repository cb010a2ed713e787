// Numbers as the pictures read and write them: with digits enough to tell one pixel of a
// picture from the next, and no more.

// Decimals enough to tell one pixel from the next, at `zoom` pixels a unit.
export function decimals(zoom) {
  return Math.min(10, Math.max(0, Math.ceil(Math.log10(zoom)) + 1));
}

// A number with that many decimals; no "-0.00" for a number a rounding error below zero.
export function fixed(value, digits) {
  const text = value.toFixed(digits);
  return /^-0\.?0*$/.test(text) ? text.slice(1) : text;
}

// A number as an edit writes it into the description: rounded to one pixel of the picture
// the edit was made in (`zoom` pixels a unit), without trailing zeros: 20, 10.12, -5.
export function written(value, zoom) {
  if (!Number.isFinite(value)) return 'inf';
  const text = fixed(value, decimals(zoom));
  return text.includes('.') ? text.replace(/\.?0+$/, '') : text;
}

// The largest number written at that zoom strictly below `limit`, and the smallest above.
export function below(limit, zoom) {
  const scale = 10 ** decimals(zoom);
  return (Math.ceil(limit * scale) - 1) / scale;
}

export function above(limit, zoom) {
  const scale = 10 ** decimals(zoom);
  return (Math.floor(limit * scale) + 1) / scale;
}
