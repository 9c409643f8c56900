// The picture drawn through a mask where the system cannot blend.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "ui/dib_image.h"

namespace tamux {
namespace {

struct MaskRow {
    std::uint32_t pixel;  // premultiplied 0xAARRGGBB
    std::uint32_t colour;
    bool shows;
};

TEST(MaskedImage, PixelsAtLeastHalfOpaqueShowInTheirOwnColour) {
    const std::vector<MaskRow> rows = {
        {0xFF336699u, 0x00336699u, true},   // opaque: as it is
        {0x80402010u, 0x00804020u, true},   // half opaque: the colour before premultiplying
        {0x80808080u, 0x00FFFFFFu, true},   // white at half
        {0x7F7F7F7Fu, 0x00000000u, false},  // just under half: hidden
        {0x00000000u, 0x00000000u, false},  // transparent
    };
    BgraImage image;
    image.width = static_cast<int>(rows.size());
    image.height = 1;
    for (const MaskRow& row : rows) image.pixels.push_back(row.pixel);

    const MaskedImage masked = toMaskedImage(image);
    ASSERT_EQ(masked.colours.pixels.size(), rows.size());
    ASSERT_EQ(masked.mask.pixels.size(), rows.size());
    EXPECT_EQ(masked.mask.width, image.width);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(masked.colours.pixels[i], rows[i].colour) << std::hex << rows[i].pixel;
        EXPECT_EQ(masked.mask.pixels[i], rows[i].shows ? 0u : 0x00FFFFFFu)
            << std::hex << rows[i].pixel;
    }
}

}  // namespace
}  // namespace tamux
