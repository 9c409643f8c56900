// The seven shipped language modules against their sources and against what the program needs of
// its texts.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/codepage.h"
#include "platform/sim/pe_resources.h"
#include "tests/support/test_paths.h"
#include "tests/unit/lang/lang_source.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;

fs::path sourceFolder() {
    return test::sourceDir() / "data" / "lang";
}

// What text_ids.txt says an id is for, by the first word of its note ("label:", "button:", ...).
std::map<std::uint32_t, std::string> roles() {
    std::map<std::uint32_t, std::string> result;
    std::ifstream in(sourceFolder() / "text_ids.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] < '0' || line[0] > '9') continue;
        std::size_t note = line.find_first_not_of(" \t", line.find_first_of(" \t"));
        std::string role = line.substr(note, line.find(':', note) - note);
        result[static_cast<std::uint32_t>(std::stoul(line))] = role;
    }
    return result;
}

class ShippedTexts : public ::testing::TestWithParam<test::LanguageInfo> {
  protected:
    void SetUp() override {
        code = GetParam().code;
        codePage = GetParam().codePage;
        texts = test::readRcTexts(sourceFolder() / (code + ".rc"));
        ASSERT_FALSE(texts.empty()) << code << ".rc has no texts";
    }

    std::u16string text(std::uint32_t id) { return sim::utf8ToUtf16(texts.at(id)); }

    std::string code;
    unsigned codePage = 0;
    std::map<std::uint32_t, std::string> texts;
};

TEST_P(ShippedTexts, TheModuleHoldsEverySourceTextForEveryIdTheProgramUses) {
    auto image =
        sim::PeImage::fromFile(fs::path(TAMUX_LANG_MODULE_DIR) / ("tamux" + code + ".dll"));
    ASSERT_TRUE(image) << "tamux" << code << ".dll is missing or not a module";
    EXPECT_TRUE(image->isLoadableModule(sim::ProgramArchitecture::I386));
    for (std::uint32_t id : test::readTextIds(sourceFolder() / "text_ids.txt")) {
        ASSERT_TRUE(texts.count(id)) << code << " lacks text id " << id;
        auto inModule = image->stringText(id, 0x0409);
        ASSERT_TRUE(inModule) << "tamux" << code << ".dll lacks text id " << id;
        EXPECT_EQ(sim::utf16ToUtf8(*inModule), texts[id]) << code << " text id " << id;
        EXPECT_FALSE(inModule->empty()) << code << " text id " << id;
    }
}

TEST_P(ShippedTexts, EveryTextCanBeWrittenInTheLanguagesCodePage) {
    for (const auto& [id, utf8] : texts) {
        std::u16string wide = sim::utf8ToUtf16(utf8);
        std::string narrow = sim::narrowUtf16(codePage, wide);
        EXPECT_EQ(sim::widen(codePage, narrow), wide)
            << code << " text id " << id << " has a letter outside code page " << codePage;
    }
}

TEST_P(ShippedTexts, LabelsAndCaptionsFitTheirPlaces) {
    // Character counts for the places: a 90-pixel button with its bitmap, a 200-pixel label
    // column at 10 points, the wait window's message line.
    for (const auto& [id, role] : roles()) {
        std::size_t length = text(id).size();
        std::size_t limit = role == "button" ? 14 : role == "label" ? 26 : id == 410 ? 45 : 60;
        EXPECT_LE(length, limit) << code << " text id " << id << " (" << role << ")";
    }
}

TEST_P(ShippedTexts, BlanksOnlyWhereTheTextJoinsAValue) {
    // 50201 and 50202 stand directly before the date and the program's title, 709 directly after
    // the colour format value.
    EXPECT_EQ(text(50201).back(), u' ') << code;
    EXPECT_EQ(text(50202).back(), u' ') << code;
    EXPECT_EQ(text(709).front(), u' ') << code;
    for (const auto& [id, utf8] : texts) {
        if (id == 50201 || id == 50202 || id == 709) continue;
        EXPECT_NE(utf8.front(), ' ') << code << " text id " << id;
        EXPECT_NE(utf8.back(), ' ') << code << " text id " << id;
        // Labels stand before a tab stop; a colon would stand alone in the column.
        EXPECT_NE(utf8.back(), ':') << code << " text id " << id;
    }
}

TEST_P(ShippedTexts, EveryTextBeginsWithACapital) {
    auto isLower = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7) ||
               (c >= 0x430 && c <= 0x45F);
    };
    for (const auto& [id, utf8] : texts) {
        if (id == 709) continue;
        EXPECT_FALSE(isLower(text(id).front())) << code << " text id " << id;
    }
}

TEST_P(ShippedTexts, TextsThatTellThingsApartDiffer) {
    // The main window tells the keyboard and the mouse entries apart by these two captions.
    EXPECT_NE(texts[601], texts[602]) << code;
    const std::vector<std::vector<std::uint32_t>> groups = {{7, 8},
                                                            {700, 701},
                                                            {300, 301},
                                                            {310, 311, 312, 313, 314},
                                                            {10, 11, 12, 13, 52},
                                                            {50100, 50101, 50102, 52},
                                                            {50103, 50104},
                                                            {201, 202, 203, 204, 205}};
    for (const auto& group : groups) {
        std::set<std::string> distinct;
        for (std::uint32_t id : group) distinct.insert(texts[id]);
        EXPECT_EQ(distinct.size(), group.size()) << code << " group starting with " << group[0];
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedTexts, ::testing::ValuesIn(test::kLanguages),
                         [](const auto& info) { return std::string(info.param.code); });

// The build's check of a text source, run on a damaged copy.
struct CheckResult {
    int status;
    std::string output;
};

CheckResult runCheck(const fs::path& source, const std::string& code, const fs::path& work) {
    fs::path log = work / "check.log";
    fs::path stamp = work / "stamp";
    std::string command =
        std::string("\"") + TAMUX_CMAKE_COMMAND + "\" -DSOURCE=\"" + source.string() +
        "\" -DLANGUAGE=" + code + " -DTEXT_IDS=\"" + (sourceFolder() / "text_ids.txt").string() +
        "\" -DSTAMP=\"" + stamp.string() + "\" -P \"" +
        (sourceFolder() / "check_texts.cmake").string() + "\" > \"" + log.string() + "\" 2>&1";
    int status = std::system(command.c_str());
    return {status, test::readWholeFile(log)};
}

TEST(TextCheck, PassesTheShippedSources) {
    test::TempDir work;
    for (const auto& language : test::kLanguages) {
        CheckResult result = runCheck(sourceFolder() / (std::string(language.code) + ".rc"),
                                      language.code, work.path());
        EXPECT_EQ(result.status, 0) << language.code << ": " << result.output;
    }
}

TEST(TextCheck, NamesEveryMissingEmptyDoubledOrUnknownId) {
    test::TempDir work;
    std::ifstream in(sourceFolder() / "DE.rc");
    std::ofstream out(work.path() / "DE.rc");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("    5617,", 0) == 0) continue;                   // missing
        if (line.rfind("    7,", 0) == 0) line = "    7, \"  \"";        // blank
        if (line.rfind("    8,", 0) == 0) line += "\n    8, \"Aus\"";    // doubled
        if (line.rfind("    10,", 0) == 0) line += "\n    9, \"Neun\"";  // unknown
        if (line.rfind("    11,", 0) == 0) line = "    11 Info";         // unreadable
        out << line << '\n';
    }
    out.close();

    CheckResult result = runCheck(work.path() / "DE.rc", "DE", work.path());
    EXPECT_NE(result.status, 0);
    EXPECT_FALSE(fs::exists(work.path() / "stamp"));
    for (const char* expected : {"language DE lacks text id 5617", "text id 7 is empty in DE",
                                 "text id 8 appears twice in DE",
                                 "text id 9 in DE is not one the program uses", "DE.rc line"}) {
        EXPECT_NE(result.output.find(expected), std::string::npos)
            << "expected \"" << expected << "\" in:\n"
            << result.output;
    }
}

}  // namespace
}  // namespace tamux
