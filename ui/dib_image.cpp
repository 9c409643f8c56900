#include "ui/dib_image.h"

#include <algorithm>

namespace tamux {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Larger images are not pictures of ours; refusing them keeps the sizes below far from overflow.
constexpr std::int64_t kLargestSide = 16384;

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// The value of the bits of `mask` in `pixel`, scaled to 0..255.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    std::uint32_t max = mask >> shift;
    std::uint32_t value = (pixel & mask) >> shift;
    return max == 255 ? value : (value * 255 + max / 2) / max;
}

std::uint32_t premultiplied(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | mul(r) << 16 | mul(g) << 8 | mul(b);
}

std::optional<BgraImage> readPixels(const std::uint8_t* data, std::size_t size,
                                    std::size_t pixelOffset) {
    if (size < 40) return std::nullopt;
    std::uint32_t headerSize = u32(data);
    if (headerSize < 40 || headerSize > size) return std::nullopt;
    std::int64_t width = static_cast<std::int32_t>(u32(data + 4));
    std::int64_t height = static_cast<std::int32_t>(u32(data + 8));
    std::uint16_t planes = u16(data + 12);
    std::uint16_t bits = u16(data + 14);
    std::uint32_t compression = u32(data + 16);
    std::uint32_t colorsUsed = u32(data + 32);
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        return std::nullopt;
    }
    if (planes != 1 || (bits != 24 && bits != 32)) return std::nullopt;
    if (compression != kBiRgb && !(compression == kBiBitfields && bits == 32)) return std::nullopt;

    std::uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    std::size_t afterHeader = headerSize;
    if (compression == kBiBitfields) {
        if (headerSize >= 56) {
            for (int i = 0; i < 4; ++i) masks[i] = u32(data + 40 + 4 * i);
        } else {
            if (size < 40 + 12) return std::nullopt;
            for (int i = 0; i < 3; ++i) masks[i] = u32(data + 40 + 4 * i);
            masks[3] = 0;
            afterHeader += 12;
        }
    }
    if (pixelOffset == 0) {
        if (colorsUsed > 256) return std::nullopt;
        pixelOffset = afterHeader + static_cast<std::size_t>(colorsUsed) * 4;
    }

    std::int64_t stride = (width * bits + 31) / 32 * 4;
    if (static_cast<std::int64_t>(pixelOffset) + stride * height >
        static_cast<std::int64_t>(size)) {
        return std::nullopt;
    }

    BgraImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width * height));
    bool anyAlpha = false;
    std::vector<std::uint32_t> alpha(image.pixels.size());
    for (std::int64_t y = 0; y < height; ++y) {
        std::int64_t sourceRow = topDown ? y : height - 1 - y;
        const std::uint8_t* row = data + pixelOffset + sourceRow * stride;
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t r, g, b, a;
            if (bits == 24) {
                const std::uint8_t* p = row + x * 3;
                b = p[0];
                g = p[1];
                r = p[2];
                a = 255;
            } else {
                std::uint32_t pixel = u32(row + x * 4);
                r = channel(pixel, masks[0]);
                g = channel(pixel, masks[1]);
                b = channel(pixel, masks[2]);
                a = masks[3] ? channel(pixel, masks[3]) : 255;
                if (a != 0 && masks[3]) anyAlpha = true;
            }
            std::size_t at = static_cast<std::size_t>(y * width + x);
            alpha[at] = a;
            image.pixels[at] = r << 16 | g << 8 | b;
        }
    }
    // A 32-bit image without any alpha written into it is meant to be opaque.
    bool opaque = bits == 24 || masks[3] == 0 || !anyAlpha;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        std::uint32_t p = image.pixels[i];
        image.pixels[i] =
            premultiplied(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, opaque ? 255 : alpha[i]);
    }
    return image;
}

}  // namespace

std::optional<BgraImage> readDib(const std::uint8_t* data, std::size_t size) {
    return readPixels(data, size, 0);
}

std::optional<BgraImage> readBmpFile(const std::uint8_t* data, std::size_t size) {
    if (size < 14 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    std::uint32_t pixelOffset = u32(data + 10);
    if (pixelOffset < 14 || pixelOffset > size) return std::nullopt;
    std::optional<BgraImage> image = readPixels(data + 14, size - 14, pixelOffset - 14);
    return image;
}

MaskedImage toMaskedImage(const BgraImage& image) {
    MaskedImage masked{image, image};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint32_t pixel = image.pixels[i];
        const std::uint32_t alpha = pixel >> 24;
        if (alpha < 128) {
            masked.colours.pixels[i] = 0;
            masked.mask.pixels[i] = 0x00FFFFFFu;
            continue;
        }
        // Back from premultiplied: each channel times 255 / alpha, rounded.
        std::uint32_t colour = 0;
        for (int shift : {16, 8, 0}) {
            const std::uint32_t channel = pixel >> shift & 0xFF;
            colour |= std::min<std::uint32_t>(255, (channel * 255 + alpha / 2) / alpha) << shift;
        }
        masked.colours.pixels[i] = colour;
        masked.mask.pixels[i] = 0;
    }
    return masked;
}

}  // namespace tamux
