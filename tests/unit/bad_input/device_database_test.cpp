// The suite's device databases damaged or missing: a line with a pair that is not hexadecimal,
// lines of odd length, a line of a megabyte, an empty file, a file that cannot be read, no database
// folder at all. Without usable names a device is named by the registry's description; a broken
// database is reported and costs only its own class's names.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_files.h"
#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"
#include "tests/unit/bad_input/program_view.h"

namespace tamux::test {
namespace {

namespace fs = std::filesystem;

// How the XP machine's devices read without names from the databases.
const std::string kKeyboardDescription = "Standard 101/102-Key or Microsoft Natural PS/2 Keyboard";
const std::string kMouseDescription = "HID-compliant mouse";

std::string readHostFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeHostFile(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

std::string encipher(const std::string& text) {
    CryptLib crypt;
    useDatabaseKeys(crypt);
    return crypt.encryptString(text);
}

class DamagedDatabase : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        FormHarness sound({.databases = true});
        sound.start();
        sound_ = new Seen(look(sound));
    }
    static void TearDownTestSuite() { delete sound_; }
    static const Seen& sound() { return *sound_; }

    fs::path database(const char* name) { return databaseFolder(h.machine()) / name; }

    // Starts the program and reads its window.
    const Seen& run() {
        h.start();
        seen = look(h);
        return seen;
    }

    // Everything the databases do not feed is as on the sound machine.
    void expectRestAsSound() {
        EXPECT_EQ(seen.captions, sound().captions);
        EXPECT_EQ(seen.entries, sound().entries);
        EXPECT_EQ(seen.printers, sound().printers);
        EXPECT_EQ(seen.keyboard().lines.size(), sound().keyboard().lines.size());
        EXPECT_EQ(seen.mouse().lines.size(), sound().mouse().lines.size());
    }

    FormHarness h{{.databases = true}};
    Seen seen;

  private:
    static Seen* sound_;
};

Seen* DamagedDatabase::sound_ = nullptr;

TEST_F(DamagedDatabase, ALineWithANonHexPairIsReportedAndCostsOnlyItsClass) {
    std::string keyboards = readHostFile(database("Keyboard.txt"));
    keyboards.insert(keyboards.size() / 2, "\r\n0A1BXZ3C\r\n");
    writeHostFile(database("Keyboard.txt"), keyboards);
    run();

    EXPECT_EQ(seen.messages,
              (std::vector<std::string>{
                  "Zorv Info Tamux: TCryptLib: decrypting error - not hexlook string"}));
    EXPECT_EQ(seen.keyboard().lines[0], kKeyboardDescription);
    EXPECT_EQ(seen.mouse(), sound().mouse()) << "the mouse database is sound";
    expectRestAsSound();
}

TEST_F(DamagedDatabase, LinesOfOddLengthReadWithoutTheirLastDigit) {
    for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
        std::string text = readHostFile(database(name));
        std::string longer;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            longer += text.substr(start, end - start) + "F\r\n";
            start = end + 2;
        }
        writeHostFile(database(name), longer);
    }
    run();
    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.inputDevices, sound().inputDevices);
    expectRestAsSound();
}

TEST_F(DamagedDatabase, AMegabyteLineNamesNothingAndDisturbsNothing) {
    // A device line whose key, half a megabyte long, occurs in no hardware id: a megabyte of hex.
    const std::string huge = encipher(std::string(512 * 1024 - 16, 'Z') + "=Huge device");
    ASSERT_GE(huge.size(), 1024u * 1024u - 32u);
    for (const char* name : {"Keyboard.txt", "other.txt"}) {
        writeHostFile(database(name), huge + "\r\n" + readHostFile(database(name)) + huge);
    }
    run();
    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.inputDevices, sound().inputDevices);
    expectRestAsSound();
}

TEST_F(DamagedDatabase, EmptyFilesAreDatabasesWithoutNames) {
    // The keyboard's name is in both files it is looked up in.
    writeHostFile(database("Keyboard.txt"), "");
    writeHostFile(database("other.txt"), "");
    run();
    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.keyboard().lines[0], kKeyboardDescription);
    EXPECT_EQ(seen.mouse(), sound().mouse());
    expectRestAsSound();
}

TEST_F(DamagedDatabase, AFileThatCannotBeReadIsReported) {
    h.machine().files().lockFile("..\\SHARED\\DATABASES\\Mouse.txt");
    run();
    EXPECT_EQ(seen.messages,
              (std::vector<std::string>{
                  "Zorv Info Tamux: Cannot open file ..\\SHARED\\DATABASES\\Mouse.txt"}));
    EXPECT_EQ(seen.mouse().lines[0], kMouseDescription);
    EXPECT_EQ(seen.keyboard(), sound().keyboard());
    expectRestAsSound();
}

TEST_F(DamagedDatabase, WithoutTheFolderEveryDeviceIsNamedByTheRegistry) {
    fs::remove_all(databaseFolder(h.machine()));
    run();
    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.keyboard().lines[0], kKeyboardDescription);
    EXPECT_EQ(seen.mouse().lines[0], kMouseDescription);
    // Only the names differ.
    for (const PaneSection* section : {&seen.keyboard(), &seen.mouse()}) {
        const PaneSection& before =
            section == &seen.keyboard() ? sound().keyboard() : sound().mouse();
        EXPECT_TRUE(std::equal(section->lines.begin() + 1, section->lines.end(),
                               before.lines.begin() + 1, before.lines.end()));
    }
    expectRestAsSound();
}

}  // namespace
}  // namespace tamux::test
