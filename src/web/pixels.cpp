// A picture file's pixels as a canvas takes them: the page shows every picture it is sent,
// and converting its three bytes a pixel to four in the page's own script cost a drag more
// than drawing the picture did.
#include <emscripten/emscripten.h>

#include <cstdint>

#ifdef __wasm_simd128__
#include <wasm_simd128.h>
#endif

// The 24-bit rows of a BMP (blue, green, red; bottom row first, each padded to four bytes),
// `pixels` pointing at its first row, as RGBA rows top row first, opaque.  Reads up to 4 bytes
// past a row's last pixel: the caller leaves room after the last row.
extern "C" EMSCRIPTEN_KEEPALIVE void optic_rgba(const std::uint8_t* pixels, int largeur,
                                                int hauteur, std::uint8_t* rgba) {
    const long pas = (3L * largeur + 3) & ~3L;
    for (int y = 0; y < hauteur; ++y) {
        const std::uint8_t* de = pixels + pas * (hauteur - 1 - y);
        std::uint8_t* vers = rgba + 4L * largeur * y;
        int x = 0;
#ifdef __wasm_simd128__
        const v128_t opaque = wasm_i8x16_splat(static_cast<std::int8_t>(0xff));
        for (; x + 4 <= largeur; x += 4, de += 12, vers += 16) {
            const v128_t bgr = wasm_v128_load(de);
            wasm_v128_store(vers, wasm_i8x16_shuffle(bgr, opaque, 2, 1, 0, 16, 5, 4, 3, 16, 8, 7, 6,
                                                     16, 11, 10, 9, 16));
        }
#endif
        for (; x < largeur; ++x, de += 3, vers += 4) {
            vers[0] = de[2];
            vers[1] = de[1];
            vers[2] = de[0];
            vers[3] = 0xff;
        }
    }
}
