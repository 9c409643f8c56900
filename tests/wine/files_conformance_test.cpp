// The Files service on the real file system and on the simulated machine's drive.
#include <algorithm>
#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/win32/windows_support.h"
#include "tests/wine/conformance_support.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

template <typename Side>
class FilesConformance : public ::testing::Test {
  protected:
    platform::Files& files() { return side_.files(); }
    Side side_;
};

using FileSides = ::testing::Types<Win32Sides, SimSides>;
TYPED_TEST_SUITE(FilesConformance, FileSides, SideName);

TYPED_TEST(FilesConformance, WrittenContentReadsBackByteForByte) {
    std::string content("line\r\nnext\nNUL\0here\xff\xe9", 21);
    for (int i = 0; i < 5000; ++i) content += static_cast<char>(i * 13);
    const std::string path = this->side_.path("report.txt");
    this->files().writeFile(path, content);
    EXPECT_TRUE(this->files().fileExists(path));
    std::optional<std::string> read = this->files().readFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), content.size());
    EXPECT_TRUE(*read == content) << "the content changed on the way";
}

TYPED_TEST(FilesConformance, AFileReadInPiecesIsTheWholeFileInOrder) {
    // More than two pieces, the last one short; and a missing file, which hands over nothing.
    std::string content;
    for (int i = 0; i < 150000; ++i) content += static_cast<char>(i * 7 + i / 256);
    const std::string path = this->side_.path("other.txt");
    this->files().writeFile(path, content);
    std::string read;
    std::size_t pieces = 0, largest = 0, smallest = content.size();
    ASSERT_TRUE(this->files().readFilePieces(path, [&](std::string_view piece) {
        read += piece;
        ++pieces;
        largest = std::max(largest, piece.size());
        smallest = std::min(smallest, piece.size());
    }));
    EXPECT_TRUE(read == content) << "the content changed on the way";
    EXPECT_GE(pieces, 3u);
    EXPECT_LE(largest, platform::Files::kReadPieceBytes);
    EXPECT_GT(smallest, 0u);

    bool handed = false;
    EXPECT_FALSE(this->files().readFilePieces(this->side_.path("missing.txt"),
                                              [&](std::string_view) { handed = true; }));
    EXPECT_FALSE(handed);
}

TYPED_TEST(FilesConformance, AReadFromAnOffsetStartsThereAndStopsWhenAsked) {
    std::string content;
    for (int i = 0; i < 150000; ++i) content += static_cast<char>(i * 11 + i / 300);
    const std::string path = this->side_.path("other.txt");
    this->files().writeFile(path, content);
    EXPECT_EQ(this->files().fileSize(path), std::optional<std::uint64_t>(content.size()));
    EXPECT_EQ(this->files().fileSize(this->side_.path("missing.txt")), std::nullopt);

    // From inside the file to its end; from its end and past it nothing is handed over.
    for (std::size_t from : {std::size_t{70001}, content.size(), content.size() + 5}) {
        std::string read;
        ASSERT_TRUE(this->files().readFileFrom(path, from, [&](std::string_view piece) {
            EXPECT_FALSE(piece.empty());
            read += piece;
            return true;
        }));
        EXPECT_TRUE(read == content.substr(std::min(from, content.size()))) << "from " << from;
    }
    // A reader that has what it needs stops the reading after that piece.
    std::size_t pieces = 0;
    std::string first;
    ASSERT_TRUE(this->files().readFileFrom(path, 3, [&](std::string_view piece) {
        ++pieces;
        first = piece;
        return false;
    }));
    EXPECT_EQ(pieces, 1u);
    EXPECT_TRUE(first == content.substr(3, first.size()));
}

TYPED_TEST(FilesConformance, WritingReplacesTheWholeFile) {
    const std::string path = this->side_.path("report.htm");
    this->files().writeFile(path, std::string(1000, 'x'));
    this->files().writeFile(path, "short");
    EXPECT_EQ(this->files().readFile(path), std::optional<std::string>("short"));
    this->files().writeFile(path, "");
    EXPECT_TRUE(this->files().fileExists(path)) << "an empty file is still a file";
    EXPECT_EQ(this->files().readFile(path), std::optional<std::string>(""));
}

TYPED_TEST(FilesConformance, AReadOnlyFileKeepsItsContentAndNothingIsLeftBeside) {
    namespace fs = std::filesystem;
    const std::string path = this->side_.path("report.txt");
    const fs::path host = this->side_.hostPath("report.txt");
    this->files().writeFile(path, "earlier");
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write;
    fs::permissions(host, write, fs::perm_options::remove);
    EXPECT_THROW(this->files().writeFile(path, "new"), FileCreateError);
    fs::permissions(host, write, fs::perm_options::add);
    EXPECT_EQ(this->files().readFile(path), std::optional<std::string>("earlier"));
    const auto entries = fs::directory_iterator(host.parent_path());
    EXPECT_EQ(std::distance(fs::begin(entries), fs::end(entries)), 1) << "a new file was left";
}

TYPED_TEST(FilesConformance, NamesAreMatchedWithoutRegardToCase) {
    this->files().writeFile(this->side_.path("Report.TXT"), "abc");
    EXPECT_TRUE(this->files().fileExists(this->side_.path("REPORT.txt")));
    EXPECT_EQ(this->files().readFile(this->side_.path("report.txt")),
              std::optional<std::string>("abc"));
}

TYPED_TEST(FilesConformance, AMissingFileHasNoContentAndNoTime) {
    const std::string path = this->side_.path("missing.txt");
    EXPECT_FALSE(this->files().fileExists(path));
    EXPECT_EQ(this->files().readFile(path), std::nullopt);
    EXPECT_EQ(this->files().lastWriteTime(path), std::nullopt);
}

TYPED_TEST(FilesConformance, AFolderIsNotAFile) {
    std::filesystem::create_directories(this->side_.hostPath("Zmail"));
    const std::string path = this->side_.path("Zmail");
    EXPECT_FALSE(this->files().fileExists(path));
    EXPECT_EQ(this->files().readFile(path), std::nullopt);
    EXPECT_THROW(this->files().writeFile(path, "x"), FileCreateError);
}

TYPED_TEST(FilesConformance, AFileInAMissingFolderCannotBeCreated) {
    const std::string path = this->side_.path("Zmail\\report.txt");
    try {
        this->files().writeFile(path, "text");
        FAIL() << "expected FileCreateError";
    } catch (const FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
    EXPECT_FALSE(this->files().fileExists(path));
    EXPECT_FALSE(std::filesystem::exists(this->side_.hostPath("Zmail")))
        << "the folder was created";
}

TYPED_TEST(FilesConformance, LastWriteTimeIsAFileTimeOfNow) {
    const std::string path = this->side_.path("stamp.txt");
    this->files().writeFile(path, "x");
    std::optional<std::uint64_t> written = this->files().lastWriteTime(path);
    ASSERT_TRUE(written.has_value());
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t nowTicks =
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const std::uint64_t hour = 36000000000ull;
    EXPECT_LT(*written, nowTicks + hour) << "expected about " << nowTicks << ", got " << *written;
    EXPECT_GT(*written, nowTicks - hour) << "expected about " << nowTicks << ", got " << *written;
}

}  // namespace
}  // namespace tamux::wine_test
