// Inputs that fuzzing found to break the cipher, kept so that they stay mended.
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"
#include "tests/support/test_paths.h"

namespace tamux {
namespace {

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FuzzedCipherInputs, A543ByteTextDeciphersBackAfterARefusedLine) {
    // Fuzzing found a build of the short-line decipherer (the pair table, the key word two
    // steps at a time) that got this text wrong from byte 502 on. Checked as the fuzzer met it,
    // after a refused line on the same component, and on a fresh one.
    const std::string text =
        readFile(test::sourceDir() / "tests/unit/registry/fuzzed/round_trip_543.bin");
    ASSERT_EQ(text.size(), 543u);
    CryptLib crypt;
    useDatabaseKeys(crypt);
    EXPECT_THROW(crypt.decryptString(text), CryptError);
    const std::string hex = crypt.encryptString(text);
    EXPECT_EQ(crypt.decryptString(hex), text);

    CryptLib fresh;
    useDatabaseKeys(fresh);
    EXPECT_EQ(fresh.decryptString(hex), text);
}

}  // namespace
}  // namespace tamux
