#include "platform/ascii_case.h"

#include <gtest/gtest.h>

#include <string>

namespace tamux {
namespace {

TEST(AsciiCase, UpperCaseFoldsOnlyTheAsciiLetters) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"", ""},
        {"pci\\ven_8086&dev_7110", "PCI\\VEN_8086&DEV_7110"},
        {"Keyboard", "KEYBOARD"},
        {"az@[`{", "AZ@[`{"},
        // Bytes of the code page's upper half stay: which letters they are is not known here.
        {"\xe0\xe8\xfd", "\xe0\xe8\xfd"},
        {std::string("a\0b", 3), std::string("A\0B", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toAsciiUpper(c.text), c.expected) << "text \"" << c.text << "\"";
    }
    static_assert(toAsciiUpper('q') == 'Q' && toAsciiUpper('Q') == 'Q' && toAsciiUpper('1') == '1');
}

TEST(AsciiCase, EqualsIgnoringCaseComparesLetterByLetter) {
    struct Case {
        std::string a;
        std::string b;
        bool equal;
    };
    const Case cases[] = {
        {"", "", true},
        {"Unknown", "UNKNOWN", true},
        {"{4d36e96b-e325}", "{4D36E96B-E325}", true},
        {"Keyboard", "Keyboards", false},
        {"Keyboards", "Keyboard", false},
        {"Mouse", "Mousf", false},
        {"@", "`", false},
        {"\xe0", "\xc0", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal)
            << "\"" << c.a << "\" and \"" << c.b << "\"";
    }
}

}  // namespace
}  // namespace tamux
