// Device-independent bitmaps (the BMP format) read into 32-bit pixels with premultiplied alpha,
// the form that alpha-blended drawing wants. Used for the image lists, which are strips of
// 16 x 16 images kept as 32-bit BMPs with an alpha channel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tamux {

struct BgraImage {
    int width = 0;
    int height = 0;
    // Top row first; each pixel 0xAARRGGBB with the colour premultiplied by alpha (in memory:
    // blue, green, red, alpha).
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// A DIB that starts with its info header, as a BITMAP resource holds it. Reads 24- and 32-bit
// uncompressed and 32-bit bit-field images; a 32-bit image whose alpha bytes are all zero is
// opaque. Returns nullopt for anything else, and for data too short for what its header claims.
std::optional<BgraImage> readDib(const std::uint8_t* data, std::size_t size);

// A whole .bmp file, file header first.
std::optional<BgraImage> readBmpFile(const std::uint8_t* data, std::size_t size);

// An image for a system that cannot blend (Windows 95 and NT 4 have no AlphaBlend): each pixel
// either shows in full or not at all, drawn by masking. `colours` holds the pixels at least half
// opaque with their own colour (no longer premultiplied) and black elsewhere; `mask` is white
// (0x00FFFFFF) where the image does not show and black where it does. Both are opaque images of
// the same size.
struct MaskedImage {
    BgraImage colours;
    BgraImage mask;
};
MaskedImage toMaskedImage(const BgraImage& image);

}  // namespace tamux
