// Corner ordering shared by the box figures.
#include "raster/figures.h"

#include <algorithm>

namespace win::raster {

Box64 ordered_box(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

}  // namespace win::raster
