// The faint diagonal weave that the program's windows lay over a colour as their background and
// as the section lists' wallpaper.
#pragma once

#include <cstdint>

#include "ui/dib_image.h"

namespace tamux {

// An 8 x 8 tile, transparent but for its two diagonals, which are black at `alpha` (0 to 255).
BgraImage weaveTile(std::uint32_t alpha);

}  // namespace tamux
