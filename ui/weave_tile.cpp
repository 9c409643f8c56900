#include "ui/weave_tile.h"

namespace tamux {

BgraImage weaveTile(std::uint32_t alpha) {
    BgraImage tile;
    tile.width = 8;
    tile.height = 8;
    tile.pixels.assign(64, 0);
    for (int i = 0; i < 8; ++i) {
        tile.pixels[static_cast<std::size_t>(i * 8 + i)] = alpha << 24;
        tile.pixels[static_cast<std::size_t>(i * 8 + (7 - i))] = alpha << 24;
    }
    return tile;
}

}  // namespace tamux
