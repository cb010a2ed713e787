// Room for the engine's picture files, made of the bytes of pictures that whoever ran the
// engine is done with: the engine writes its next pictures into it rather than into fresh
// memory, which the system hands over page by page the first time it is written, and on a
// virtual machine that costs more than the run (a 1000-pixel picture, 3 MB: 1.5 ms in
// Chromium, where the whole run of the bundled bench takes 3).
//
// The engine's files live in Emscripten's file system in memory, whose files all share one
// table of operations.  The program gives each picture's file its size before writing it:
// an empty file given a size takes a buffer of exactly that size from the room instead of a
// new one.  It is not cleared: the program writes every byte of a picture it sizes (the
// engine's tests hand back buffers full of other bytes and compare the pictures).

// At most this many bytes kept: the oldest go first.
const kKeptMax = 128 * 1024 * 1024;

export class Room {
  #kept = [];  // Uint8Arrays, each a whole buffer, oldest first
  #bytes = 0;

  // Makes the files of FS take their storage from this room.
  constructor(FS) {
    const probe = '/.room';
    FS.writeFile(probe, '');
    const ops = FS.lookupPath(probe).node.node_ops;
    FS.unlink(probe);
    const setattr = ops.setattr;
    ops.setattr = (node, attr) => {
      if (attr.size > 0 && node.usedBytes === 0 && FS.isFile(node.mode)) {
        const storage = this.#take(attr.size);
        if (storage) {
          node.contents = storage;
          node.usedBytes = attr.size;  // the size asked for: nothing left for setattr to do
        }
      }
      return setattr(node, attr);
    };
  }

  // Keeps these bytes (an ArrayBuffer, or a Uint8Array over a whole one) for a later file.
  give(bytes) {
    const buffer = bytes instanceof ArrayBuffer ? bytes : bytes?.buffer;
    if (!(buffer instanceof ArrayBuffer) || buffer.byteLength === 0) return;
    if (bytes !== buffer && (bytes.byteOffset !== 0 || bytes.byteLength !== buffer.byteLength)) return;
    if (this.#kept.some((k) => k.buffer === buffer)) return;
    this.#kept.push(new Uint8Array(buffer));
    this.#bytes += buffer.byteLength;
    while (this.#bytes > kKeptMax) this.#bytes -= this.#kept.shift().byteLength;
  }

  #take(size) {
    const k = this.#kept.findIndex((storage) => storage.byteLength === size);
    if (k < 0) return null;
    const [storage] = this.#kept.splice(k, 1);
    this.#bytes -= size;
    return storage;
  }
}
