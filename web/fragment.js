// The bench in the address's fragment, so that a link carries it exactly: "#n=NAME&z=DATA",
// DATA being the description's UTF-8 bytes deflated and written in base64url.  A hand-written
// link may give the text itself instead, percent-encoded: "#text=...".

// A link inflating to more than this is refused rather than let it fill the memory.
const kMaxBytes = 16 * 1024 * 1024;

const encoder = new TextEncoder();
const decoder = new TextDecoder('utf-8', { fatal: true });

async function through(bytes, stream) {
  const chunks = [];
  let total = 0;
  const reader = new Blob([bytes]).stream().pipeThrough(stream).getReader();
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    total += value.length;
    if (total > kMaxBytes) {
      await reader.cancel();
      throw new Error('the bench in the link is larger than 16 MB');
    }
    chunks.push(value);
  }
  const out = new Uint8Array(total);
  let at = 0;
  for (const c of chunks) {
    out.set(c, at);
    at += c.length;
  }
  return out;
}

function toBase64Url(bytes) {
  let binary = '';
  const kChunk = 0x8000;
  for (let i = 0; i < bytes.length; i += kChunk) {
    binary += String.fromCharCode(...bytes.subarray(i, i + kChunk));
  }
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  if (!/^[A-Za-z0-9_-]*$/.test(text)) throw new Error('the link holds characters base64url has not');
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// The fragment (without "#") that holds the bench.
export async function encodeBench({ description, name }) {
  const packed = await through(encoder.encode(description), new CompressionStream('deflate-raw'));
  return `n=${encodeURIComponent(name)}&z=${toBase64Url(packed)}`;
}

// The bench a fragment holds, null when it holds none; throws an Error saying what is wrong
// with a damaged one.
export async function decodeBench(fragment) {
  const text = fragment.replace(/^#/, '');
  if (text === '') return null;
  const fields = new Map();
  for (const part of text.split('&')) {
    const equal = part.indexOf('=');
    if (equal > 0) fields.set(part.slice(0, equal), part.slice(equal + 1));
  }
  let name = 'bench.txt';
  try {
    if (fields.has('n')) name = decodeURIComponent(fields.get('n'));
    if (fields.has('text')) {
      return { description: decodeURIComponent(fields.get('text')), name };
    }
  } catch {
    throw new Error('the link holds a damaged percent-encoding');
  }
  if (!fields.has('z')) throw new Error('the link holds no bench');
  let bytes;
  try {
    bytes = await through(fromBase64Url(fields.get('z')), new DecompressionStream('deflate-raw'));
  } catch (error) {
    if (error.message.startsWith('the ')) throw error;
    throw new Error('the bench in the link is cut short or damaged');
  }
  try {
    return { description: decoder.decode(bytes), name };
  } catch {
    throw new Error('the bench in the link is not UTF-8 text');
  }
}
