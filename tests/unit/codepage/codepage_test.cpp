#include "platform/sim/codepage.h"

#include <gtest/gtest.h>

namespace tamux::sim {
namespace {

std::string narrow(unsigned codePage, std::string_view utf8) {
    return narrowUtf16(codePage, utf8ToUtf16(utf8));
}

TEST(CodePage, EveryByteSurvivesTheRoundTripThroughUtf16) {
    for (unsigned codePage : {1250u, 1251u, 1252u}) {
        std::string all;
        for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
        EXPECT_EQ(narrowUtf16(codePage, widen(codePage, all)), all) << "code page " << codePage;
    }
}

TEST(CodePage, LettersOfTheCodePageMapExactly) {
    EXPECT_EQ(narrow(1250, "Zavřít"), "Zav\xF8\xEDt");
    EXPECT_EQ(narrow(1251, "Файл"), "\xD4\xE0\xE9\xEB");
    EXPECT_EQ(narrow(1252, "Über"),
              "\xDC"
              "ber");
}

TEST(CodePage, MissingAccentedLettersFallBackToTheirPlainLetterAsWindowsDoes) {
    EXPECT_EQ(narrow(1252, "Zavřít"), "Zavr\xEDt");
    EXPECT_EQ(narrow(1250, "À propos"), "A propos");
    EXPECT_EQ(narrow(1251, "À propos"), "A propos");
    EXPECT_EQ(narrow(1252, "Łódź"),
              "L\xF3"
              "dz");
}

TEST(CodePage, OtherUnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(narrow(1252, "Файл"), "????");
    EXPECT_EQ(narrow(1250, "€ 中"), "\x80 ?");
}

}  // namespace
}  // namespace tamux::sim
