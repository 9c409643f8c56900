// Truncated, corrupt and hostile files: every answer is "no such text" or "no version resource",
// or the text the intact file holds; nothing is read outside the file (the asan build checks).
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/pe_resources.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/version_block.h"
#include "tests/support/test_paths.h"
#include "tests/unit/pe_resources/test_files.h"

namespace tamux::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kUser = 0x0409;
const std::uint32_t kIds[] = {1, 7, 15, 16, 601, 5590, 700, 50201};

void put32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void put16(Bytes& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Everything a reader can be asked of an image; answers must stay within their limits.
void askEverything(const PeImage& image) {
    for (std::uint32_t id : kIds) {
        auto text = image.stringText(id, kUser);
        if (text) {
            EXPECT_LE(text->size(), 0xFFFFu);
        }
    }
    image.ids(restype::kString);
    image.languages(restype::kString, 1);
    if (auto resource = image.versionResource(kUser)) {
        const Bytes block = versionInfoBlock(*resource);
        for (const char* path :
             {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040504E2\\CompanyName"}) {
            auto value = queryVersionValue(block, path, 1250);
            if (value) {
                EXPECT_LE(value->size(), block.size());
            }
        }
    }
}

TEST(HostileFiles, ATruncatedModuleGivesItsTextsOrNone) {
    const Bytes full = test::readBytes(TAMUX_STRINGS_DLL);
    auto intact = PeImage::fromBytes(full);
    ASSERT_TRUE(intact);
    std::vector<std::optional<std::u16string>> expected;
    for (std::uint32_t id : kIds) expected.push_back(intact->stringText(id, kUser));

    std::size_t loaded = 0;
    for (std::size_t length = 0; length < full.size(); ++length) {
        auto image = PeImage::fromBytes(Bytes(full.begin(), full.begin() + length));
        if (!image) continue;
        ++loaded;
        for (std::size_t i = 0; i < std::size(kIds); ++i) {
            auto text = image->stringText(kIds[i], kUser);
            if (text) {
                EXPECT_EQ(text, expected[i]) << "cut at " << length << ", id " << kIds[i];
            }
        }
    }
    // Cutting into the sections makes the file unloadable, as for the loader.
    EXPECT_LT(loaded, full.size() / 2);
}

TEST(HostileFiles, ATruncatedVersionResourceGivesTheBlockOrNone) {
    const Bytes full = test::readBytes(TAMUX_VERSION_DLL);
    const auto expected = PeImage::fromBytes(full)->versionResource(kUser);
    ASSERT_TRUE(expected);
    for (std::size_t length = 0; length < full.size(); ++length) {
        auto image = PeImage::fromBytes(Bytes(full.begin(), full.begin() + length));
        if (!image) continue;
        auto resource = image->versionResource(kUser);
        if (resource) {
            EXPECT_EQ(resource, expected) << "cut at " << length;
        }
    }
}

TEST(HostileFiles, TruncatedFilesThroughTheService) {
    test::TempDir drive;
    const Bytes full = test::readBytes(TAMUX_VERSION_DLL);
    SimResourceModules modules(
        [&](std::string_view path) { return drive.path() / std::string(path); }, 1250);
    for (std::size_t length : {std::size_t{0}, std::size_t{63}, std::size_t{64}, std::size_t{300},
                               std::size_t{1024}, full.size() / 2}) {
        const std::string name = "cut" + std::to_string(length) + ".dll";
        test::writeBytes(drive.path() / name, Bytes(full.begin(), full.begin() + length));
        std::string text = "sentinel";
        EXPECT_EQ(modules.loadString(modules.loadLibrary(name), 1, text, 1024), 0) << length;
        EXPECT_EQ(text, "");
        EXPECT_EQ(modules.fileVersionInfoSize(name), 0u) << length;
    }
}

TEST(HostileFiles, RandomBytesAndCorruptedModules) {
    std::mt19937 random(20240611);
    auto byte = [&] { return static_cast<std::uint8_t>(random() & 0xFF); };

    // Noise, and noise behind a valid DOS and PE signature.
    for (int round = 0; round < 200; ++round) {
        Bytes noise(random() % 4096);
        for (auto& b : noise) b = byte();
        if (round % 2 && noise.size() > 0x100) {
            noise[0] = 'M', noise[1] = 'Z';
            put32(noise, 0x3C, 0x80);
            noise[0x80] = 'P', noise[0x81] = 'E', noise[0x82] = 0, noise[0x83] = 0;
        }
        if (auto image = PeImage::fromBytes(noise)) askEverything(*image);
    }

    // Real modules with bytes flipped anywhere, and in the resource section above all.
    for (const char* file : {TAMUX_STRINGS_DLL, TAMUX_VERSION_DLL, TAMUX_LANGUAGES_DLL}) {
        const Bytes intact = test::readBytes(file);
        for (int round = 0; round < 400; ++round) {
            Bytes corrupt = intact;
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < flips; ++i) {
                const std::size_t at =
                    round % 2 ? random() % corrupt.size()
                              : (corrupt.size() - 1) -
                                    random() % std::min<std::size_t>(corrupt.size(), 3000);
                corrupt[at] = byte();
            }
            if (auto image = PeImage::fromBytes(corrupt)) askEverything(*image);
        }
    }

    // Random blocks handed to the version query.
    for (int round = 0; round < 500; ++round) {
        Bytes block(random() % 600);
        for (auto& b : block) b = byte();
        if (block.size() > 4 && round % 2) block[4] = 0;  // the 32-bit layout
        if (auto value =
                queryVersionValue(block, "\\StringFileInfo\\040904E4\\FileVersion", 1252)) {
            EXPECT_LE(value->size(), block.size() + 1);
        }
        queryVersionValue(block, "\\", 1252);
    }
}

// A hand-made module with one string table in the neutral language, to be spoilt by each test.
struct Handmade {
    Handmade() {
        section = test::resourceSection(
            {{restype::kString, 1, 0, test::stringBlock({u"zero", u"one"})},
             {restype::kVersion, 1, 0, *PeImage::fromFile(TAMUX_VERSION_DLL)->versionResource(0)}},
            0x1000);
    }
    std::optional<PeImage> image() const { return PeImage::fromBytes(test::buildPe(section)); }

    // Layout of resourceSection for two types with one id and one language each.
    static constexpr std::size_t kRoot = 0, kStringTypeEntry = 16, kVersionTypeEntry = 24;
    static constexpr std::size_t kStringTypeDir = 32, kStringNameDir = 80, kStringDataEntry = 128;
    static constexpr std::size_t kVersionDataEntry = 144;

    Bytes section;
};

TEST(HostileFiles, HandmadeLayoutIsWhatTheTestsAssume) {
    Handmade made;
    auto image = made.image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(1, kUser), u"one");
    EXPECT_EQ(made.section[Handmade::kStringTypeEntry], restype::kString);
    EXPECT_EQ(made.section[Handmade::kVersionTypeEntry], restype::kVersion);
    EXPECT_EQ(made.section[Handmade::kStringTypeEntry + 4], Handmade::kStringTypeDir);
    EXPECT_EQ(made.section[Handmade::kStringTypeDir + 16 + 4], Handmade::kStringNameDir);
    EXPECT_EQ(made.section[Handmade::kStringNameDir + 16 + 4], Handmade::kStringDataEntry);
}

TEST(HostileFiles, DirectoriesThatLoopOrPointAway) {
    const struct {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    } spoils[] = {
        {"type entry pointing at the root", Handmade::kStringTypeEntry + 4, 0x80000000u},
        {"name entry pointing at its own directory", Handmade::kStringTypeDir + 16 + 4,
         0x80000000u | Handmade::kStringTypeDir},
        {"language entry pointing at the root as data", Handmade::kStringNameDir + 16 + 4, 0},
        {"language entry that is a directory", Handmade::kStringNameDir + 16 + 4,
         0x80000000u | Handmade::kStringNameDir},
        {"type directory far away", Handmade::kStringTypeEntry + 4, 0xFFFFFFF0u},
        {"data entry past the image", Handmade::kStringNameDir + 16 + 4, 0x7FFFFFF8u},
        {"data past the section", Handmade::kStringDataEntry, 0x1000 + 0x10000},
        {"data at the end of the address space", Handmade::kStringDataEntry, 0xFFFFFFFEu},
        {"data of 4 GB", Handmade::kStringDataEntry + 4, 0xFFFFFFFFu},
    };
    for (const auto& spoil : spoils) {
        Handmade made;
        put32(made.section, spoil.at, spoil.value);
        auto image = made.image();
        ASSERT_TRUE(image) << spoil.what;
        EXPECT_EQ(image->stringText(1, kUser), std::nullopt) << spoil.what;
        askEverything(*image);
    }
}

TEST(HostileFiles, HugeCountsInDirectoriesAndTables) {
    const struct {
        const char* what;
        std::size_t at;
        std::uint16_t value;
    } spoils[] = {
        {"65535 named entries before the ids", Handmade::kRoot + 12, 0xFFFF},
        {"65535 types, most beyond the section", Handmade::kRoot + 14, 0xFFFF},
        {"65535 languages, most beyond the section", Handmade::kStringNameDir + 14, 0xFFFF},
    };
    for (const auto& spoil : spoils) {
        Handmade made;
        put16(made.section, spoil.at, spoil.value);
        auto image = made.image();
        ASSERT_TRUE(image) << spoil.what;
        askEverything(*image);
    }

    // Many id entries that all fit: the lookup runs through them and finds nothing.
    Handmade many;
    put16(many.section, Handmade::kStringNameDir + 14, 0x30);
    auto image = many.image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(1, 0x0405), u"one") << "the first entry is still the neutral one";

    // The first text claims more characters than the block holds: it and every text after it
    // are missing, never read from beyond.
    Handmade longText;
    const std::size_t block = Handmade::kStringDataEntry + 2 * 16;  // data after both entries
    ASSERT_EQ(longText.section[block], 4) << "length of \"zero\"";
    put16(longText.section, block, 0x7FFF);
    image = longText.image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(0, kUser), std::nullopt);
    EXPECT_EQ(image->stringText(1, kUser), std::nullopt);
}

TEST(HostileFiles, BrokenHeaders) {
    const Bytes good = Handmade().section;
    const struct {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        int width;
    } spoils[] = {
        {"PE header offset past the end", 0x3C, 0xFFFFFFF0u, 4},
        {"no PE signature", 0x40, 0x00004551, 4},
        {"unknown optional header", 0x58, 0x0107, 2},
        {"optional header larger than the file", 0x54, 0xFFFF, 2},
        {"65535 sections", 0x46, 0xFFFF, 2},
        {"section data past the end", 0x58 + 224 + 20, 0xFFFFFF00u, 4},
        {"section size past the end", 0x58 + 224 + 16, 0x10000, 4},
    };
    for (const auto& spoil : spoils) {
        Bytes file = test::buildPe(good);
        ASSERT_TRUE(PeImage::fromBytes(file));
        if (spoil.width == 4) {
            put32(file, spoil.at, spoil.value);
        } else {
            put16(file, spoil.at, static_cast<std::uint16_t>(spoil.value));
        }
        EXPECT_FALSE(PeImage::fromBytes(file)) << spoil.what;
    }

    Bytes nearEnd = test::buildPe(good);
    put32(nearEnd, 0x3C, static_cast<std::uint32_t>(nearEnd.size() - 8));
    nearEnd[nearEnd.size() - 8] = 'P';
    nearEnd[nearEnd.size() - 7] = 'E';
    nearEnd[nearEnd.size() - 6] = nearEnd[nearEnd.size() - 5] = 0;
    EXPECT_FALSE(PeImage::fromBytes(nearEnd)) << "PE header cut off by the end of the file";

    // Headers too short for the resource entry, or a resource entry pointing nowhere: a file
    // without resources.
    Bytes shortHeader = test::buildPe(good);
    put32(shortHeader, 0x58 + 92, 2);  // two data directories only
    auto image = PeImage::fromBytes(shortHeader);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(1, kUser), std::nullopt);

    Bytes nowhere = test::buildPe(good);
    put32(nowhere, 0x58 + 96 + 16, 0x00900000);
    image = PeImage::fromBytes(nowhere);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(1, kUser), std::nullopt);
    EXPECT_EQ(image->versionResource(kUser), std::nullopt);
}

}  // namespace
}  // namespace tamux::sim
