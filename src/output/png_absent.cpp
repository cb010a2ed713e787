// Builds without libpng (the browser's, say) write no PNG picture.
#include <cerrno>

#include "output/png.h"

namespace optic {

bool EcriturePNG(const Raster&, const std::string&) {
    errno = ENOTSUP;
    return false;
}

}  // namespace optic
