// What the save dialog is handed: the plain or extended OPENFILENAMEA, the filter in the dialog's
// NUL-separated form, the name buffer.
#include <cstddef>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/win32/save_file_setup.h"

namespace tamux::win32 {
namespace {

// The sizes as this build's Windows headers lay the structure out: the whole of it, and the part
// before the reserved fields that older systems know.
constexpr DWORD kWholeStructure = sizeof(OPENFILENAMEA);
constexpr DWORD kBeforeReserved = offsetof(OPENFILENAMEA, pvReserved);

platform::SaveDialogRequest reportRequest() {
    platform::SaveDialogRequest request;
    request.filter = "Text files|*.txt|HTML files|*.htm|All files|*.*";
    request.filterIndex = 1;
    request.defaultExtension = "txt";
    return request;
}

TEST(SaveFileSetup, TheFilterBecomesNulSeparatedPairsEndedTwice) {
    const std::string expected("Text files\0*.txt\0HTML files\0*.htm\0All files\0*.*\0\0", 49);
    EXPECT_EQ(dialogFilter("Text files|*.txt|HTML files|*.htm|All files|*.*"), expected);
    EXPECT_EQ(dialogFilter(""), "");

    SaveFileSetup setup(reportRequest(), nullptr);
    const char* filter = setup.structure().lpstrFilter;
    ASSERT_NE(filter, nullptr);
    // Walk it as the dialog does: strings until an empty one.
    std::vector<std::string> parts;
    for (const char* p = filter; *p; p += std::strlen(p) + 1) parts.emplace_back(p);
    EXPECT_EQ(parts, (std::vector<std::string>{"Text files", "*.txt", "HTML files", "*.htm",
                                               "All files", "*.*"}));
}

TEST(SaveFileSetup, TheExtendedStructureCarriesThePlacesBarSwitch) {
    platform::SaveDialogRequest request = reportRequest();
    request.extendedStructure = true;
    for (bool placesBar : {true, false}) {
        request.showPlacesBar = placesBar;
        SaveFileSetup setup(request, nullptr);
        const OPENFILENAMEA& ofn = setup.structure();
        EXPECT_EQ(ofn.lStructSize, kWholeStructure);
        EXPECT_EQ(ofn.pvReserved, nullptr);
        EXPECT_EQ(ofn.dwReserved, 0u);
        EXPECT_EQ(ofn.FlagsEx, placesBar ? 0u : 1u) << "places bar " << placesBar;
    }
}

TEST(SaveFileSetup, ThePlainStructureStopsBeforeTheExtendedFields) {
    platform::SaveDialogRequest request = reportRequest();
    request.showPlacesBar = false;
    SaveFileSetup setup(request, nullptr);
    EXPECT_EQ(setup.structure().lStructSize, kBeforeReserved);
    // Nothing is said beyond the plain structure; the rest is left zero all the same.
    EXPECT_EQ(setup.structure().FlagsEx, 0u);
}

TEST(SaveFileSetup, NameExtensionIndexAndFlagsAreHandedOver) {
    platform::SaveDialogRequest request = reportRequest();
    request.filterIndex = 2;
    request.initialFileName = "report.htm";
    HWND owner = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
    SaveFileSetup setup(request, owner);
    const OPENFILENAMEA& ofn = setup.structure();
    EXPECT_EQ(ofn.hwndOwner, owner);
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    ASSERT_NE(ofn.lpstrDefExt, nullptr);
    EXPECT_STREQ(ofn.lpstrDefExt, "txt");
    EXPECT_STREQ(ofn.lpstrFile, "report.htm");
    EXPECT_GE(ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_FALSE(ofn.Flags & OFN_OVERWRITEPROMPT) << "no overwrite prompt was asked for";
    EXPECT_TRUE(ofn.Flags & OFN_NOCHANGEDIR) << "the dialog must not move the current folder";
    EXPECT_TRUE(ofn.Flags & OFN_EXPLORER);

    request.overwritePrompt = true;
    request.defaultExtension.clear();
    SaveFileSetup prompting(request, nullptr);
    EXPECT_TRUE(prompting.structure().Flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(prompting.structure().lpstrDefExt, nullptr);
}

TEST(SaveFileSetup, ALongProposedNameFitsAndTheChosenNameIsReadBack) {
    platform::SaveDialogRequest request = reportRequest();
    request.initialFileName = "C:\\" + std::string(400, 'd') + "\\report.txt";
    SaveFileSetup setup(request, nullptr);
    OPENFILENAMEA& ofn = setup.structure();
    EXPECT_GT(ofn.nMaxFile, request.initialFileName.size());
    EXPECT_EQ(setup.chosenPath(), request.initialFileName);
    // What the dialog leaves in the buffer is the answer.
    std::strcpy(ofn.lpstrFile, "D:\\out\\r.htm");
    EXPECT_EQ(setup.chosenPath(), "D:\\out\\r.htm");
}

}  // namespace
}  // namespace tamux::win32
