#include "ui/dib_image.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace tamux {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// An info header (40 bytes) followed by the given bytes.
std::vector<std::uint8_t> dib(int width, int height, int bits, std::uint32_t compression,
                              const std::vector<std::uint8_t>& rest) {
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(bits));
    put32(out, compression);
    for (int i = 0; i < 5; ++i) put32(out, 0);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

TEST(readDib, BottomUpRowsWithAlphaArePremultiplied) {
    // 2 x 2, bottom row first: blue opaque, red half transparent / green, white invisible.
    std::vector<std::uint8_t> pixels = {
        0x00, 0x00, 0xFF, 0x80, 0xFF, 0x00, 0x00, 0xFF,  // bottom: red 50%, blue
        0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,  // top: green, white at alpha 0
    };
    auto image = readDib(dib(2, 2, 32, 0, pixels).data(), 40 + pixels.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->at(0, 0), 0xFF00FF00u);
    EXPECT_EQ(image->at(1, 0), 0x00000000u);
    EXPECT_EQ(image->at(0, 1), 0x80800000u);
    EXPECT_EQ(image->at(1, 1), 0xFF0000FFu);
}

TEST(readDib, TopDownAndOpaqueImages) {
    // 32-bit without any alpha written: opaque. Negative height: top row first.
    std::vector<std::uint8_t> pixels = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x00};
    auto image = readDib(dib(1, -2, 32, 0, pixels).data(), 40 + pixels.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0, 0), 0xFF302010u);
    EXPECT_EQ(image->at(0, 1), 0xFF605040u);

    // 24-bit rows are padded to four bytes.
    std::vector<std::uint8_t> rgb = {0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0};
    auto opaque = readDib(dib(1, 2, 24, 0, rgb).data(), 40 + rgb.size());
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->at(0, 0), 0xFF060504u);
    EXPECT_EQ(opaque->at(0, 1), 0xFF030201u);
}

TEST(readDib, BitFieldMasksAfterTheHeader) {
    std::vector<std::uint8_t> rest;
    put32(rest, 0x000000FF);  // red in the low byte
    put32(rest, 0x0000FF00);
    put32(rest, 0x00FF0000);
    put32(rest, 0x00332211);
    auto image = readDib(dib(1, 1, 32, 3, rest).data(), 40 + rest.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0, 0), 0xFF112233u);
}

TEST(readDib, RefusesWhatItCannotReadOrWhatIsCutShort) {
    std::vector<std::uint8_t> pixels(16, 0xFF);
    EXPECT_FALSE(readDib(dib(2, 2, 32, 0, pixels).data(), 40 + 15));
    EXPECT_FALSE(readDib(dib(2, 2, 8, 0, pixels).data(), 40 + 16));
    EXPECT_FALSE(readDib(dib(2, 2, 32, 1, pixels).data(), 40 + 16));
    EXPECT_FALSE(readDib(dib(0, 2, 32, 0, pixels).data(), 40 + 16));
    EXPECT_FALSE(readDib(dib(0x7FFFFFFF, 0x7FFFFFFF, 32, 0, pixels).data(), 40 + 16));
    EXPECT_FALSE(readDib(dib(2, 2, 32, 0, pixels).data(), 39));
    std::vector<std::uint8_t> notBmp = {'X', 'M', 0, 0};
    EXPECT_FALSE(readBmpFile(notBmp.data(), notBmp.size()));
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sums of the colour over one 16 x 16 image of a strip, to tell the pictures apart by colour.
struct ColorSums {
    long red = 0, green = 0, blue = 0, opaque = 0;
};

ColorSums sums(const BgraImage& strip, int index) {
    ColorSums s;
    for (int y = 0; y < 16; ++y) {
        for (int x = index * 16; x < index * 16 + 16; ++x) {
            std::uint32_t p = strip.at(x, y);
            s.red += p >> 16 & 0xFF;
            s.green += p >> 8 & 0xFF;
            s.blue += p & 0xFF;
            s.opaque += (p >> 24) == 0xFF ? 1 : 0;
        }
    }
    return s;
}

TEST(SilkImages, SubItemStripHoldsTheSevenImagesInOrder) {
    auto bytes = readFile(test::sourceDir() / "resources/icons/silk_subitems.bmp");
    auto strip = readBmpFile(bytes.data(), bytes.size());
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->width, 7 * 16);
    ASSERT_EQ(strip->height, 16);
    for (int i = 0; i < 7; ++i) {
        ColorSums s = sums(*strip, i);
        EXPECT_GT(s.opaque, 40) << "image " << i << " is empty";
        EXPECT_LT(s.opaque, 256) << "image " << i << " has no transparent edge";
    }
    ColorSums information = sums(*strip, 3), tick = sums(*strip, 4), cross = sums(*strip, 5);
    EXPECT_GT(information.blue, information.red);
    EXPECT_GT(tick.green, tick.red);
    EXPECT_GT(tick.green, tick.blue);
    EXPECT_GT(cross.red, cross.green);
    EXPECT_GT(cross.red, cross.blue);
}

TEST(SilkImages, SectionStripHoldsPrinterThenKeyboard) {
    auto sections = readFile(test::sourceDir() / "resources/icons/silk_sections.bmp");
    auto subItems = readFile(test::sourceDir() / "resources/icons/silk_subitems.bmp");
    auto sectionStrip = readBmpFile(sections.data(), sections.size());
    auto subItemStrip = readBmpFile(subItems.data(), subItems.size());
    ASSERT_TRUE(sectionStrip);
    ASSERT_TRUE(subItemStrip);
    ASSERT_EQ(sectionStrip->width, 2 * 16);
    // The same pictures as the sub-item images 2 (printer) and 1 (keyboard).
    for (auto [section, subItem] : {std::pair{0, 2}, std::pair{1, 1}}) {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                ASSERT_EQ(sectionStrip->at(section * 16 + x, y),
                          subItemStrip->at(subItem * 16 + x, y))
                    << "image " << section << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace tamux
