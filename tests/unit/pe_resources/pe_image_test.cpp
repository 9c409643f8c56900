#include "platform/sim/pe_resources.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"
#include "tests/unit/pe_resources/test_files.h"

namespace tamux::sim {
namespace {

using test::u16;

constexpr std::uint16_t kCzech = 0x0405;
constexpr std::uint16_t kGerman = 0x0407;
constexpr std::uint16_t kEnglish = 0x0409;

// The 1200-byte text of strings.rc, as written in its include file.
std::u16string longText() {
    std::ifstream in(test::sourceDir() / "tests/unit/pe_resources/long_text.inc");
    std::string line((std::istreambuf_iterator<char>(in)), {});
    auto first = line.find('"'), last = line.rfind('"');
    return u16(line.substr(first + 1, last - first - 1).c_str());
}

// The same string table compiled into a 32-bit and a 64-bit module.
TEST(PeImageStrings, TextsOfEveryBlockComeBackAsCompiled) {
    const struct {
        std::uint32_t id;
        const char* text;
    } cases[] = {
        {1, "Zorv Info Tamux"},
        {7, "zapnuto"},
        {15, "last of the first block"},    // last slot of block 1
        {16, "first of the second block"},  // first slot of block 2
        {601, "Klávesnice"},
        {602, "Myš"},
        {5590, "Příliš žluťoučký kůň úpěl ďábelské ódy"},
        {5591, "Über Applikacion, aplicatión, Jazyková"},
        {5592, "Клавиатура"},
        {5593, "quote \" and tab\tend"},
        {50201, "Report of Zorv Info Tamux"},
    };
    for (const char* file : {TAMUX_STRINGS_DLL, TAMUX_STRINGS64_DLL}) {
        auto image = PeImage::fromFile(file);
        ASSERT_TRUE(image) << file;
        for (const auto& c : cases) {
            auto text = image->stringText(c.id, kCzech);
            ASSERT_TRUE(text) << file << " id " << c.id;
            EXPECT_EQ(*text, u16(c.text)) << file << " id " << c.id;
        }
        auto text = image->stringText(700, kCzech);
        ASSERT_TRUE(text) << file;
        EXPECT_EQ(*text, longText()) << file;
    }
}

TEST(PeImageStrings, EmptySlotsMissingBlocksAndTheHighWordOfTheId) {
    auto image = PeImage::fromFile(TAMUX_STRINGS_DLL);
    ASSERT_TRUE(image);
    // Blocks are numbered id / 16 + 1: exactly the blocks that hold a text exist.
    EXPECT_EQ(image->ids(restype::kString), (std::vector<std::uint16_t>{1, 2, 38, 44, 350, 3138}));

    EXPECT_EQ(image->stringText(8, kCzech), std::u16string()) << "a text compiled empty";
    EXPECT_EQ(image->stringText(2, kCzech), std::u16string()) << "a slot of a present block";
    EXPECT_EQ(image->stringText(31, kCzech), std::u16string()) << "last slot of block 2";
    EXPECT_EQ(image->stringText(32, kCzech), std::nullopt) << "block 3 does not exist";
    EXPECT_EQ(image->stringText(0xFFFF, kCzech), std::nullopt) << "the last block there can be";
    // Only the low word of the id selects a text, as with LoadString.
    EXPECT_EQ(image->stringText(0x10000 + 601, kCzech), u16("Klávesnice"));
}

TEST(PeImageLanguages, TheBlockIsChosenInTheLoadersLanguageOrder) {
    auto image = PeImage::fromFile(TAMUX_LANGUAGES_DLL);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->languages(restype::kString, 1),
              (std::vector<std::uint16_t>{0x000C, kGerman, kEnglish}));

    const struct {
        std::uint16_t user;
        const char* text1;
        const char* text2;
    } cases[] = {
        {kGerman, "Deutsch", "nur Deutsch"},
        // The language decides the block, not the text: English has no text 2.
        {kEnglish, "English (United States)", ""},
        // French exists with the neutral sublanguage only, which serves every French.
        {0x040C, "Français", ""},
        {0x0C0C, "Français", ""},
        // Swiss German finds neither 0x0807 nor 0x0007; German of Germany is not tried.
        {0x0807, "English (United States)", ""},
        {kCzech, "English (United States)", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(image->stringText(1, c.user), u16(c.text1)) << std::hex << c.user;
        EXPECT_EQ(image->stringText(2, c.user), u16(c.text2)) << std::hex << c.user;
        // A language-neutral table comes before the user's own.
        EXPECT_EQ(image->stringText(17, c.user), u16("neutral only")) << std::hex << c.user;
    }
}

TEST(PeImageLanguages, WithoutAPreferredLanguageTheFirstOneIsTaken) {
    auto strings = PeImage::fromFile(TAMUX_STRINGS_DLL);
    ASSERT_TRUE(strings);
    EXPECT_EQ(strings->stringText(7, kGerman), u16("zapnuto")) << "a Czech-only module";

    const auto polish = test::stringBlock({u"", u"po polsku"});
    const auto russian = test::stringBlock({u"", u"по-русски"});
    auto image = PeImage::fromBytes(test::buildPe(test::resourceSection(
        {{restype::kString, 1, 0x0419, russian}, {restype::kString, 1, 0x0415, polish}}, 0x1000)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(1, kGerman), u16("по-русски"));
    EXPECT_EQ(image->stringText(1, 0x0415), u16("po polsku"));
    EXPECT_EQ(image->resource(restype::kString, 1, 0x0419), russian);
    EXPECT_EQ(image->resource(restype::kString, 1, 0x0409), std::nullopt);
}

TEST(PeImageLanguages, ANeutralTableComesBeforeTheUsersOwn) {
    auto image = PeImage::fromBytes(test::buildPe(test::resourceSection(
        {{restype::kString, 1, 0x0000, test::stringBlock({u"", u"neutral"})},
         {restype::kString, 1, 0x0009, test::stringBlock({u"", u"English"})},
         {restype::kString, 1, 0x0409, test::stringBlock({u"", u"US English"})}},
        0x1000)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(1, kEnglish), u"neutral");
    EXPECT_EQ(image->stringText(1, 0x0809), u"neutral");
}

// Which files the loader takes, as code in a program of either architecture and as data: the
// string module built by the real tools for each architecture, and hand-made images.
TEST(PeImageFiles, TheLoaderTakesTheProgramsOwnFormatAsCodeAndBothAsData) {
    const auto section = test::resourceSection(
        {{restype::kString, 1, 0, test::stringBlock({u"zero", u"one"})}}, 0x1000);
    test::PeOptions pe64;
    pe64.pe64 = true;
    pe64.machine = 0x8664;
    test::PeOptions pe64ForI386 = pe64;  // a 64-bit header that names the 32-bit machine
    pe64ForI386.machine = 0x014C;
    test::PeOptions pe32ForX64;  // and a 32-bit header naming the 64-bit machine
    pe32ForX64.machine = 0x8664;
    test::PeOptions notImage;
    notImage.characteristics = 0x2100;  // not marked as an executable image
    test::PeOptions arm;
    arm.machine = 0x01C0;

    struct Case {
        const char* what;
        std::optional<PeImage> image;
        bool asCodeIn32Bit, asCodeIn64Bit, asData;
    };
    const Case cases[] = {
        {"strings.dll (PE32, i386)", PeImage::fromFile(TAMUX_STRINGS_DLL), true, false, true},
        {"strings64.dll (PE32+, x86-64)", PeImage::fromFile(TAMUX_STRINGS64_DLL), false, true,
         true},
        {"hand-made PE32", PeImage::fromBytes(test::buildPe(section)), true, false, true},
        {"hand-made PE32+", PeImage::fromBytes(test::buildPe(section, pe64)), false, true, true},
        {"PE32+ for i386", PeImage::fromBytes(test::buildPe(section, pe64ForI386)), false, false,
         false},
        {"PE32 for x86-64", PeImage::fromBytes(test::buildPe(section, pe32ForX64)), false, false,
         false},
        {"not an executable image", PeImage::fromBytes(test::buildPe(section, notImage)), false,
         false, false},
        {"ARM", PeImage::fromBytes(test::buildPe(section, arm)), false, false, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.image) << c.what;
        EXPECT_EQ(c.image->isLoadableModule(ProgramArchitecture::I386), c.asCodeIn32Bit) << c.what;
        EXPECT_EQ(c.image->isLoadableModule(ProgramArchitecture::X86_64), c.asCodeIn64Bit)
            << c.what;
        for (auto architecture : {ProgramArchitecture::I386, ProgramArchitecture::X86_64}) {
            EXPECT_EQ(c.image->isLoadableModule(architecture, ModuleLoad::AsData), c.asData)
                << c.what;
        }
        // Whatever the loader makes of it, the resources are read alike.
        EXPECT_TRUE(c.image->stringText(1, kEnglish)) << c.what;
    }
}

TEST(PeImageFiles, FilesWithoutTheResourceOrNoImageAtAll) {
    auto noStrings = PeImage::fromFile(TAMUX_NO_STRINGS_DLL);
    ASSERT_TRUE(noStrings);
    EXPECT_EQ(noStrings->stringText(1, kEnglish), std::nullopt);
    EXPECT_EQ(noStrings->versionResource(kEnglish), std::nullopt);
    EXPECT_TRUE(noStrings->resource(restype::kRcData, 1, kEnglish));

    EXPECT_FALSE(PeImage::fromBytes({}));
    EXPECT_FALSE(PeImage::fromBytes(std::vector<std::uint8_t>(4096, 'M')));
    EXPECT_FALSE(PeImage::fromFile(test::sourceDir() / "tests/unit/pe_resources/strings.rc"));
    EXPECT_FALSE(PeImage::fromFile(test::sourceDir() / "tests/unit/pe_resources"));
    EXPECT_FALSE(PeImage::fromFile(test::sourceDir() / "no such file.dll"));
}

TEST(PeImageFiles, TheSectionBeyondItsFileDataReadsAsZeros) {
    // The data entry points into the part of the section that the file does not hold (its
    // virtual size is larger): the loader maps zeros there, which is a block of empty texts.
    auto section =
        test::resourceSection({{restype::kString, 1, 0, test::stringBlock({u"x"})}}, 0x1000);
    const std::size_t dataEntry = 16 + 8 + 16 + 8 + 16 + 8;
    const std::uint32_t beyond = 0x1000 + 0x4000;
    section[dataEntry] = beyond & 0xFF;
    section[dataEntry + 1] = (beyond >> 8) & 0xFF;
    test::PeOptions options;
    options.virtualSize = 0x8000;
    auto image = PeImage::fromBytes(test::buildPe(section, options));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(0, kEnglish), std::u16string());

    // Past the virtual size there is nothing mapped at all.
    options.virtualSize = 0x4010;
    image = PeImage::fromBytes(test::buildPe(section, options));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stringText(0, kEnglish), std::nullopt);
}

}  // namespace
}  // namespace tamux::sim
