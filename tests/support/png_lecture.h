#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

#include "support/bmp_lecture.h"

namespace optic::test {

// The pixels of a square PNG picture, decoded by libpng; an empty picture when it is not
// one.  `rgb8` tells whether the file itself holds 8-bit RGB without alpha.
inline Toile DepuisPNG(const std::vector<std::uint8_t>& o, bool* rgb8 = nullptr) {
    Toile t;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, o.data(), o.size())) return t;
    if (rgb8) *rgb8 = image.format == PNG_FORMAT_RGB;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> octets(PNG_IMAGE_SIZE(image));
    if (image.width != image.height ||
        !png_image_finish_read(&image, nullptr, octets.data(), 0, nullptr)) {
        png_image_free(&image);
        return t;
    }
    t.cote = static_cast<int>(image.width);
    for (std::size_t i = 0; i + 2 < octets.size(); i += 3) {
        t.pixels.push_back(Rgb{octets[i], octets[i + 1], octets[i + 2]});
    }
    return t;
}

}  // namespace optic::test
