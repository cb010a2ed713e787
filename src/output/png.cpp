// PNG pictures, through libpng.
#include "output/png.h"

#include <png.h>

#include <cerrno>

#include "output/bmp.h"
#include "write/fichier.h"

namespace optic {

namespace {

// zlib's fastest level: these pictures are mostly flat colour, which every level packs well.
constexpr int kCompression = 1;

// libpng reports an error by a long jump back into Encoder, and prints nothing.
[[noreturn]] void Erreur(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Avertissement(png_structp, png_const_charp) {}

void Ecrire(png_structp png, png_bytep octets, png_size_t n) {
    if (!static_cast<Flux*>(png_get_io_ptr(png))->Ecrire(octets, n)) png_error(png, "write");
}
void Vider(png_structp) {}

// Between setjmp and the end, nothing here may own anything that needs a destructor: the
// long jump of an error would skip it.
bool Encoder(const Raster& raster, Flux& flux) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Erreur, Avertissement);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const png_uint_32 d = static_cast<png_uint_32>(raster.taille());
    png_set_write_fn(png, &flux, Ecrire, Vider);
    png_set_IHDR(png, info, d, d, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, kPixelsParMetre, kPixelsParMetre, PNG_RESOLUTION_METER);
    png_set_compression_level(png, kCompression);
    png_write_info(png, info);
    png_set_bgr(png);  // the raster holds blue, green, red
    for (int rang = 0; rang < raster.taille(); ++rang) {
        png_write_row(png, const_cast<png_bytep>(raster.Ligne(rang)));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool EcriturePNG(const Raster& raster, const std::string& chemin) {
    if (raster.taille() <= 0) {
        errno = EDOM;
        return false;
    }
    return EcrireFichier(chemin, [&](Flux& flux) { return Encoder(raster, flux); });
}

}  // namespace optic
