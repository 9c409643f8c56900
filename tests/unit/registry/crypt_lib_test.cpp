#include "registry/crypt_lib.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/database_cipher.h"

namespace tamux {
namespace {

std::string bytesToHex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

CryptLib& databaseCipher(CryptLib& crypt) {
    useDatabaseKeys(crypt);
    return crypt;
}

// Expected values below were computed outside this program from the generator's and the
// cipher's definitions.
TEST(RuntimeRandom, FollowsTheRuntimeGenerator) {
    RuntimeRandom fromZero(0);
    EXPECT_EQ(fromZero.draw(100), 0u);
    EXPECT_EQ(fromZero.draw(100), 3u);
    EXPECT_EQ(fromZero.draw(100), 86u);
    EXPECT_EQ(fromZero.seed(), 3698175007u);

    // Wraps modulo 2^32 and takes the upper half of the 64-bit product.
    RuntimeRandom fromTop(0xFFFFFFFFu);
    EXPECT_EQ(fromTop.draw(0x80000000u), 2080095742u);
    EXPECT_EQ(fromTop.draw(0x80000000u), 433171958u);
    EXPECT_EQ(fromTop.draw(0x80000000u), 1115652049u);
    EXPECT_EQ(fromTop.seed(), 2231304098u);
}

TEST(RuntimeRandom, RangeZeroYieldsZeroButStillAdvances) {
    RuntimeRandom random(0);
    EXPECT_EQ(random.draw(0), 0u);
    EXPECT_EQ(random.seed(), 1u);
}

TEST(RuntimeRandom, DrawingManyGivesTheSameValuesAsDrawingOneByOne) {
    for (std::size_t count : {0u, 1u, 2u, 3u, 8u, 31u}) {
        RuntimeRandom single(0xDEADBEEFu), many(0xDEADBEEFu);
        std::vector<std::uint16_t> values(count);
        many.drawMany(1000, values.data(), count);
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(values[i], single.draw(1000)) << i;
        EXPECT_EQ(many.seed(), single.seed()) << count;
    }
}

TEST(CryptLib, DecryptsKnownLinesWithTheDatabaseKeys) {
    CryptLib crypt;
    databaseCipher(crypt);
    EXPECT_EQ(bytesToHex(crypt.decryptString("000000000000")), "9a6cb7cb819d");
    // Upper- and lower-case digits alike.
    EXPECT_EQ(bytesToHex(crypt.decryptString("0123456789abcdefFEDCBA98")),
              "1aedeae65a9df96b4882557b");
    // Each line starts afresh from the password.
    EXPECT_EQ(bytesToHex(crypt.decryptString("000000000000")), "9a6cb7cb819d");
}

TEST(CryptLib, ANewPasswordIsUsedAtOnce) {
    CryptLib reused;
    databaseCipher(reused);
    const std::string hex = reused.encryptString("PNP0303=Keyboard");
    EXPECT_EQ(reused.decryptString(hex), "PNP0303=Keyboard");
    reused.setPassword("Other");
    CryptLib fresh;
    fresh.setAddKey(kDatabaseAddKey);
    fresh.setMultKey(kDatabaseMultKey);
    fresh.setPassword("Other");
    EXPECT_EQ(reused.decryptString(hex), fresh.decryptString(hex));
    EXPECT_NE(reused.decryptString(hex), "PNP0303=Keyboard");
}

TEST(CryptLib, TwelveCharacterPasswordAndNegativeKeys) {
    CryptLib crypt;
    crypt.setAddKey(-5);
    crypt.setMultKey(-7);
    crypt.setPassword("ABCDEFGHIJKL");
    EXPECT_EQ(bytesToHex(crypt.decryptString("0123456789ABCDEF")), "bcfbea58fdada5de");
}

TEST(CryptLib, KeyStreamCarriesOverIntoTheNextChunk) {
    // 32770 bytes: one full chunk of 65536 hex digits and a second of 4.
    std::string hex;
    for (int i = 0; i < 32770; ++i) {
        static const char* digits = "0123456789ABCDEF";
        const int byte = (i * 7 + 3) & 255;
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 15]);
    }
    CryptLib crypt;
    databaseCipher(crypt);
    const std::string plain = crypt.decryptString(hex);
    ASSERT_EQ(plain.size(), 32770u);
    EXPECT_EQ(bytesToHex(plain.substr(0, 4)), "998ed0dd");
    EXPECT_EQ(bytesToHex(plain.substr(32766, 4)), "5d330256");
}

TEST(CryptLib, EmptyAndOddLengthHex) {
    CryptLib crypt;
    databaseCipher(crypt);
    EXPECT_EQ(crypt.decryptString(""), "");
    EXPECT_EQ(crypt.decryptString("7"), "");
    EXPECT_EQ(crypt.decryptString("0000000000007"), crypt.decryptString("000000000000"));
    // The odd trailing character is not read at all, hex or not.
    EXPECT_EQ(crypt.decryptString("000000000000Z"), crypt.decryptString("000000000000"));
}

TEST(CryptLib, RejectsAPairThatIsNotHex) {
    CryptLib crypt;
    databaseCipher(crypt);
    for (const char* bad : {"0G", "00 1", "+1", "x0", "0-"}) {
        try {
            crypt.decryptString(bad);
            ADD_FAILURE() << "expected an error for \"" << bad << "\"";
        } catch (const CryptError& error) {
            EXPECT_STREQ(error.what(), "TCryptLib: decrypting error - not hexlook string");
        }
    }
}

TEST(CryptLib, RoundTripsEveryLengthAroundTheBlockSize) {
    CryptLib crypt;
    databaseCipher(crypt);
    for (std::size_t length : {0u, 1u, 2u, 3u, 255u, 32767u, 32768u, 32769u, 70000u}) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(static_cast<char>((i * 131 + length) & 255));
        }
        const std::string hex = crypt.encryptString(text);
        ASSERT_EQ(hex.size(), 2 * length);
        EXPECT_EQ(crypt.decryptString(hex), text) << "length " << length;
    }
}

TEST(CryptLib, DecipheringIntoAnotherBufferGivesTheSameTextAndWipesItOnABadPair) {
    CryptLib crypt;
    databaseCipher(crypt);
    for (std::size_t length : {1u, 2u, 45u, 1024u, 1025u, 40000u}) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>(0x80 | i));
        const std::string hex = crypt.encryptString(text);
        std::string out(hex.size(), '\0');
        ASSERT_EQ(crypt.decryptInto(hex.data(), hex.size(), out.data()), length);
        EXPECT_EQ(out.substr(0, length), text) << "length " << length;
        // A last pair that is not hex: no deciphered text is left, only "0"s and hex (the
        // text's bytes here are no hex digits).
        std::string bad = hex;
        bad[bad.size() - 1] = 'Z';
        out.assign(hex.size(), '\0');
        EXPECT_THROW(crypt.decryptInto(bad.data(), bad.size(), out.data()), CryptError);
        EXPECT_EQ(out.find_first_not_of(std::string("0123456789ABCDEFZ\0", 18)), std::string::npos)
            << "length " << length;
    }
}

TEST(CryptLib, EnciphersWithTheKeysItIsGiven) {
    CryptLib database, other;
    databaseCipher(database);
    other.setAddKey(kDatabaseAddKey);
    other.setMultKey(kDatabaseMultKey + 1);
    other.setPassword(kDatabasePassword);
    const std::string line = "VID_046D&PID_C00E=Optical Wheel Mouse";
    EXPECT_NE(other.encryptString(line), database.encryptString(line));
    EXPECT_NE(other.decryptString(database.encryptString(line)), line);
}

TEST(CryptLib, PropertyValidation) {
    CryptLib crypt;
    crypt.setPassword("123456789012");
    EXPECT_EQ(crypt.password(), "123456789012");
    try {
        crypt.setPassword("1234567890123");
        ADD_FAILURE() << "a 13-character password was accepted";
    } catch (const CryptError& error) {
        EXPECT_STREQ(error.what(), "TCryptLib.Password is too long");
    }
    EXPECT_EQ(crypt.password(), "");

    try {
        crypt.setAddKey(0);
        ADD_FAILURE() << "AddKey 0 was accepted";
    } catch (const CryptError& error) {
        EXPECT_STREQ(error.what(), "TCryptLib.AddKey is too big");
    }
    EXPECT_EQ(crypt.addKey(), 1);
    try {
        crypt.setMultKey(0);
        ADD_FAILURE() << "MultKey 0 was accepted";
    } catch (const CryptError& error) {
        EXPECT_STREQ(error.what(), "TCryptLib.MultKey is too big");
    }
    EXPECT_EQ(crypt.multKey(), 1);

    crypt.setAddKey(-1);
    crypt.setMultKey(0x7FFFFFFF);
    EXPECT_EQ(crypt.addKey(), -1);
    EXPECT_EQ(crypt.multKey(), 0x7FFFFFFF);
    EXPECT_TRUE(CryptLib().compression);
}

}  // namespace
}  // namespace tamux
