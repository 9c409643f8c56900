#include "platform/sim/version_block.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/pe_resources.h"
#include "tests/unit/pe_resources/test_files.h"

namespace tamux::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A text as VerQueryValueA hands it over: its bytes and the terminating NUL.
Bytes withNul(std::string_view text) {
    Bytes out = bytes(text);
    out.push_back(0);
    return out;
}

std::uint32_t dword(const Bytes& data, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, data.data() + at, 4);  // the tests run on little-endian hosts
    return value;
}

// The block that GetFileVersionInfoA gives for a test module.
Bytes moduleBlock(const char* file) {
    auto image = PeImage::fromFile(file);
    if (!image) return {};
    auto resource = image->versionResource(0x0409);
    return resource ? versionInfoBlock(*resource) : Bytes();
}

TEST(VersionBlock, TheBlockAsGetFileVersionInfoGivesIt) {
    auto image = PeImage::fromFile(TAMUX_VERSION_DLL);
    ASSERT_TRUE(image);
    auto resource = image->versionResource(0x0409);
    ASSERT_TRUE(resource);
    const std::size_t length = (*resource)[0] | ((*resource)[1] << 8);
    ASSERT_LE(length, resource->size());

    const Bytes block = versionInfoBlock(*resource);
    EXPECT_EQ(block.size(), versionInfoSize(resource->size()));
    EXPECT_EQ(block.size(), resource->size() * 2 + 4);
    EXPECT_TRUE(std::equal(resource->begin(), resource->begin() + length, block.begin()));
    EXPECT_EQ(Bytes(block.begin() + length, block.begin() + length + 4), bytes("FE2X"));
    for (std::size_t i = length + 4; i < block.size(); ++i) ASSERT_EQ(block[i], 0) << i;

    // A resource too short to hold even its length gets no signature written past its room.
    EXPECT_EQ(versionInfoBlock({}), bytes("FE2X"));
    EXPECT_EQ(versionInfoBlock({0xFF, 0xFF}).size(), 8u);
}

TEST(VersionBlock, FixedInfoTranslationAndTexts) {
    const Bytes block = moduleBlock(TAMUX_VERSION_DLL);
    ASSERT_FALSE(block.empty());

    auto fixed = queryVersionValue(block, "\\", 1250);
    ASSERT_TRUE(fixed);
    ASSERT_EQ(fixed->size(), 52u);
    EXPECT_EQ(dword(*fixed, 0), 0xFEEF04BDu);
    EXPECT_EQ(dword(*fixed, 8), 0x00010000u) << "file version 1.0";
    EXPECT_EQ(dword(*fixed, 12), 608u) << "file version .0.608";
    EXPECT_EQ(dword(*fixed, 16), 0x00010000u) << "product version";
    EXPECT_EQ(dword(*fixed, 20), 608u);
    EXPECT_EQ(dword(*fixed, 32), 0x40004u) << "file OS";
    EXPECT_EQ(dword(*fixed, 36), 1u) << "file type";

    EXPECT_EQ(queryVersionValue(block, "\\VarFileInfo\\Translation", 1250),
              (Bytes{0x05, 0x04, 0xE2, 0x04}));

    const std::string table = "\\StringFileInfo\\040504E2\\";
    const struct {
        const char* key;
        std::string_view expected;
    } texts[] = {
        {"CompanyName", "Zorv Info"},
        {"FileVersion", "1.0.0.608"},
        {"ProductVersion", "1.00"},
        {"Comments", "Imput/Output device information (keyboard, mouse, printers, ..)"},
        {"LegalTrademarks", ""},
    };
    for (const auto& t : texts) {
        EXPECT_EQ(queryVersionValue(block, table + t.key, 1250), withNul(t.expected)) << t.key;
    }
    // The same text in the two code pages: 1252 writes the letter it lacks without its accent.
    EXPECT_EQ(queryVersionValue(block, table + "LegalCopyright", 1250),
              withNul("\xA9 Zorv Info, \x8E\xEF\xE1r nad S\xE1zavou"));
    EXPECT_EQ(queryVersionValue(block, table + "LegalCopyright", 1252),
              withNul("\xA9 Zorv Info, \x8E"
                      "d\xE1r nad S\xE1zavou"));
}

TEST(VersionBlock, PathsAreMatchedLikeVerQueryValue) {
    const Bytes block = moduleBlock(TAMUX_VERSION_DLL);
    ASSERT_FALSE(block.empty());
    const auto fixed = queryVersionValue(block, "\\", 1252);
    const auto company = queryVersionValue(block, "\\StringFileInfo\\040504E2\\CompanyName", 1252);
    ASSERT_TRUE(fixed);
    ASSERT_TRUE(company);

    for (const char* path : {"", "\\\\", "\\\\\\"}) {
        EXPECT_EQ(queryVersionValue(block, path, 1252), fixed) << '"' << path << '"';
    }
    for (const char* path :
         {"\\stringfileinfo\\040504e2\\companyname", "\\STRINGFILEINFO\\040504E2\\COMPANYNAME",
          "StringFileInfo\\040504E2\\CompanyName",
          "\\\\StringFileInfo\\\\040504E2\\CompanyName\\"}) {
        EXPECT_EQ(queryVersionValue(block, path, 1252), company) << path;
    }
    // The query ends at its first NUL, as a C string does.
    EXPECT_EQ(queryVersionValue(block, std::string_view("\\VarFileInfo\\Translation\0x", 26), 1252),
              (Bytes{0x05, 0x04, 0xE2, 0x04}));

    for (const char* path :
         {"\\StringFileInfo\\040904E4\\CompanyName", "\\StringFileInfo\\040504E2\\Company",
          "\\StringFileInfo\\040504E2\\CompanyNameX", "\\StringFileInfo\\CompanyName", "\\Nothing",
          "\\VS_VERSION_INFO", "\\VarFileInfo\\Translation\\More"}) {
        EXPECT_EQ(queryVersionValue(block, path, 1252), std::nullopt) << path;
    }
    // A node without a value of its own gives an empty text.
    EXPECT_EQ(queryVersionValue(block, "\\StringFileInfo\\040504E2", 1252), Bytes{});
}

TEST(VersionBlock, ABlockWithoutTranslationTable) {
    const Bytes block = moduleBlock(TAMUX_VERSION_UNTRANSLATED_DLL);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(queryVersionValue(block, "\\VarFileInfo\\Translation", 1252), std::nullopt);
    EXPECT_EQ(queryVersionValue(block, "\\StringFileInfo\\040904E4\\FileVersion", 1252),
              withNul("2.5.7.11"));
    auto fixed = queryVersionValue(block, "\\", 1252);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(dword(*fixed, 8), 0x00020005u);
    EXPECT_EQ(dword(*fixed, 12), 0x0007000Bu);
}

TEST(VersionBlock, TextsAsStoredConvertedToTheCodePage) {
    const Bytes block = versionInfoBlock(test::serialize(test::versionRoot({test::VersionNode{
        u"040904E4",
        {},
        0,
        1,
        {test::versionText(u"WithNul", u"abc", 4), test::versionText(u"WithoutNul", u"abc", 3),
         test::versionText(u"Inner", std::u16string(u"ab\0cd", 5), 6),
         test::versionText(u"Empty", u"", 0), test::versionText(u"Cyrillic", u"Мышь", 5)}}})));

    // The stored count decides how many characters come back, NULs and all.
    const std::string table = "\\StringFileInfo\\040904E4\\";
    EXPECT_EQ(queryVersionValue(block, table + "WithNul", 1252), withNul("abc"));
    EXPECT_EQ(queryVersionValue(block, table + "WithoutNul", 1252), bytes("abc"));
    EXPECT_EQ(queryVersionValue(block, table + "Inner", 1252),
              bytes(std::string_view("ab\0cd\0", 6)));
    EXPECT_EQ(queryVersionValue(block, table + "Empty", 1252), Bytes{});
    EXPECT_EQ(queryVersionValue(block, table + "Cyrillic", 1251), withNul("\xCC\xFB\xF8\xFC"));
    EXPECT_EQ(queryVersionValue(block, table + "cyrillic", 1252), withNul("????"));

    // Keys with letters beyond ASCII are compared without case too.
    const Bytes accented = versionInfoBlock(test::serialize(test::versionRoot(
        {test::VersionNode{u"040504E2", {}, 0, 1, {test::versionText(u"Žlutá", u"x", 2)}}})));
    EXPECT_EQ(queryVersionValue(accented, "\\StringFileInfo\\040504E2\\\x9Elut\xC1", 1250),
              withNul("x"));
}

TEST(VersionBlock, BlocksInThe16BitLayout) {
    // wLength, wValueLength, an 8-bit key, values as 8-bit bytes: what 16-bit files carry.
    auto node = [](std::string key, Bytes value, std::vector<Bytes> children) {
        Bytes out = {0, 0, static_cast<std::uint8_t>(value.size()), 0};
        out.insert(out.end(), key.begin(), key.end());
        out.push_back(0);
        test::padTo4(out);
        out.insert(out.end(), value.begin(), value.end());
        for (const Bytes& child : children) {
            test::padTo4(out);
            out.insert(out.end(), child.begin(), child.end());
        }
        out[0] = static_cast<std::uint8_t>(out.size());
        return out;
    };
    const Bytes version = node("FileVersion", withNul("3.1"), {});
    const Bytes block = node("VS_VERSION_INFO", Bytes(52, 7),
                             {node("StringFileInfo", {}, {node("040904E4", {}, {version})})});

    EXPECT_EQ(queryVersionValue(block, "\\stringfileinfo\\040904e4\\FILEVERSION", 1252),
              withNul("3.1"));
    EXPECT_EQ(queryVersionValue(block, "\\", 1252), Bytes(52, 7));
    EXPECT_EQ(queryVersionValue(block, "\\StringFileInfo\\040904E4\\ProductVersion", 1252),
              std::nullopt);
}

TEST(VersionBlock, CorruptBlocksGiveNoValueAndStayInside) {
    const test::VersionNode good = test::versionRoot({test::VersionNode{
        u"040904E4",
        {},
        0,
        1,
        {test::versionText(u"A", u"first", 6), test::versionText(u"B", u"second", 7)}}});
    const Bytes base = test::serialize(good);
    const std::string a = "\\StringFileInfo\\040904E4\\A", b = "\\StringFileInfo\\040904E4\\B";
    ASSERT_EQ(queryVersionValue(base, b, 1252), withNul("second"));

    // Offsets of the nodes in the serialized block.
    const std::size_t strings = 92, table = strings + 36, first = table + 24;
    ASSERT_EQ(base[strings + 6], 'S');
    ASSERT_EQ(base[table + 6], '0');
    ASSERT_EQ(base[first + 6], 'A');

    // A child of length 0 ends the search among its siblings.
    Bytes zeroLength = base;
    zeroLength[first] = zeroLength[first + 1] = 0;
    EXPECT_EQ(queryVersionValue(zeroLength, b, 1252), std::nullopt);

    // Lengths that reach past the block: the search stops at the block's end.
    Bytes overlong = base;
    overlong[0] = overlong[1] = 0xFF;
    overlong[strings] = overlong[strings + 1] = 0xFF;
    overlong[table] = overlong[table + 1] = 0xFF;
    EXPECT_EQ(queryVersionValue(overlong, "\\StringFileInfo\\040904E4\\Missing", 1252),
              std::nullopt);

    // A text longer than what is left of the block, and a binary value that is.
    Bytes longText = base;
    longText[first + 2] = 0xFF;
    longText[first + 3] = 0x7F;
    EXPECT_EQ(queryVersionValue(longText, a, 1252), std::nullopt);
    Bytes longFixed = base;
    longFixed[2] = 0xF0;
    longFixed[3] = 0xFF;
    EXPECT_EQ(queryVersionValue(longFixed, "\\", 1252), std::nullopt);

    // A key that runs to the end of the block without its NUL.
    Bytes cut(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(first + 8));
    EXPECT_EQ(queryVersionValue(cut, a, 1252), std::nullopt);

    // A text beyond the room the root's own length gives it has no 8-bit form.
    Bytes shortRoot = base;
    shortRoot[0] = static_cast<std::uint8_t>(first + 10);
    shortRoot[1] = 0;
    EXPECT_EQ(queryVersionValue(shortRoot, a, 1252), Bytes{});

    EXPECT_EQ(queryVersionValue({}, "\\", 1252), std::nullopt);
    EXPECT_EQ(queryVersionValue({6, 0, 0, 0, 0}, "\\", 1252), std::nullopt);
}

}  // namespace
}  // namespace tamux::sim
