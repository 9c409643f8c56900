// The cipher's fast paths (the per-length plans of short lines, the two-at-a-time key word,
// the pair table) against a plain, slow transcription of the deciphering algorithm: the swaps
// drawn and made one by one, the key stream drawn byte by byte.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"

namespace tamux {
namespace {

struct Keys {
    std::string password;
    std::int32_t addKey;
    std::int32_t multKey;
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// decryptString, step by step as the algorithm is written; nullopt-like "!" for a bad pair.
std::string referenceDecrypt(const Keys& keys, const std::string& hex) {
    std::uint32_t k[3] = {0, 0, 0};
    for (std::size_t i = 0; i < keys.password.size(); ++i) {
        k[i / 4] |= static_cast<std::uint32_t>(static_cast<unsigned char>(keys.password[i]))
                    << (8 * (i % 4));
    }
    std::uint32_t seed = k[0];
    auto draw = [&seed](std::uint32_t range) {
        seed = seed * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * range) >> 32);
    };
    std::uint32_t k2 = k[1];
    std::string out;
    const std::size_t chunks = hex.size() / 65536 + 1;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        const std::string part = hex.substr(chunk * 65536, 65536);
        const std::size_t n = part.size() / 2;
        std::vector<std::uint8_t> b(n + 1);  // 1-based, as the algorithm counts
        for (std::size_t i = 1; i <= n; ++i) {
            const int high = hexValue(part[2 * i - 2]), low = hexValue(part[2 * i - 1]);
            if (high < 0 || low < 0) return "!";
            b[i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        std::vector<std::uint32_t> p(n + 1);
        for (std::size_t i = 1; i <= n; ++i) p[i] = draw(static_cast<std::uint32_t>(n - 1)) + 1;
        for (std::size_t i = n; i >= 1; --i) std::swap(b[i], b[p[i]]);
        for (std::size_t i = 1; i <= n; ++i) {
            const std::uint8_t c = b[i];
            const std::uint32_t x = (k2 ^ (k2 >> 8) ^ (k2 >> 16) ^ (k2 >> 24)) & 0xFF;
            b[i] = static_cast<std::uint8_t>(c ^ x ^ draw(255));
            k2 = (c + k2 + k[2]) * static_cast<std::uint32_t>(keys.multKey) +
                 static_cast<std::uint32_t>(keys.addKey);
        }
        out.append(b.begin() + 1, b.end());
    }
    return out;
}

std::string decrypt(CryptLib& crypt, const std::string& hex) {
    try {
        return crypt.decryptString(hex);
    } catch (const CryptError&) {
        return "!";
    }
}

void useKeys(CryptLib& crypt, const Keys& keys) {
    crypt.setAddKey(keys.addKey);
    crypt.setMultKey(keys.multKey);
    crypt.setPassword(keys.password);
}

std::string randomHex(std::mt19937& random, std::size_t length) {
    static const char digits[] = "0123456789ABCDEFabcdef";
    std::string hex;
    for (std::size_t i = 0; i < length; ++i) hex.push_back(digits[random() % 22]);
    return hex;
}

const Keys kDatabaseKeys{std::string(kDatabasePassword), kDatabaseAddKey, kDatabaseMultKey};

// Every length up to past the longest planned line, odd lengths included, each twice with the
// same cipher: the second time from the plan drawn the first time.
TEST(TCryptLibReference, EveryShortLengthAgreesWithThePlainAlgorithm) {
    std::mt19937 random(7);
    CryptLib crypt;
    useKeys(crypt, kDatabaseKeys);
    for (std::size_t length = 0; length <= 2 * 1030 + 1; ++length) {
        for (int round = 0; round < 2; ++round) {
            const std::string hex = randomHex(random, length);
            ASSERT_EQ(decrypt(crypt, hex), referenceDecrypt(kDatabaseKeys, hex))
                << "length " << length << ", round " << round;
        }
    }
}

TEST(TCryptLibReference, LongTextsAcrossChunksAgreeWithThePlainAlgorithm) {
    std::mt19937 random(11);
    CryptLib crypt;
    useKeys(crypt, kDatabaseKeys);
    for (std::size_t length : {2050u, 9999u, 65534u, 65536u, 65537u, 131074u}) {
        const std::string hex = randomHex(random, length);
        EXPECT_EQ(decrypt(crypt, hex), referenceDecrypt(kDatabaseKeys, hex)) << length;
    }
}

// Extreme keys: the multiply and the add wrap, a password of every length up to 12, bytes with
// the high bit set in it.
TEST(TCryptLibReference, OtherKeysAgreeWithThePlainAlgorithm) {
    std::mt19937 random(3);
    const std::vector<Keys> keySets = {
        {"", 1, 1},
        {"A", -1, -1},
        {"ZorvInf", 0x7FFFFFFF, 0x7FFFFFFF},
        {"\xFF\xFE\x80pass", -2147483647 - 1, 3},
        {"ABCDEFGHIJKL", 9127, -8429},
    };
    for (const Keys& keys : keySets) {
        CryptLib crypt;
        useKeys(crypt, keys);
        for (std::size_t length : {1u, 2u, 3u, 16u, 17u, 90u, 2048u, 2050u, 3000u}) {
            const std::string hex = randomHex(random, length);
            EXPECT_EQ(decrypt(crypt, hex), referenceDecrypt(keys, hex))
                << "password \"" << keys.password << "\", length " << length;
        }
    }
}

// A cipher that has deciphered with some keys deciphers with new ones at once: whatever it
// worked out for the old keys must not be used again.
TEST(TCryptLibReference, KeysChangedAfterUseTakeEffectAtOnce) {
    std::mt19937 random(5);
    const std::string hex = randomHex(random, 64);
    CryptLib crypt;
    useKeys(crypt, kDatabaseKeys);
    ASSERT_EQ(decrypt(crypt, hex), referenceDecrypt(kDatabaseKeys, hex));

    crypt.setMultKey(77);
    EXPECT_EQ(decrypt(crypt, hex), referenceDecrypt({"ZorvInfo", kDatabaseAddKey, 77}, hex));
    crypt.setAddKey(-3);
    EXPECT_EQ(decrypt(crypt, hex), referenceDecrypt({"ZorvInfo", -3, 77}, hex));
    // Same first four characters (the same swaps), another third word.
    crypt.setPassword("ZorvInfoK3");
    EXPECT_EQ(decrypt(crypt, hex), referenceDecrypt({"ZorvInfoK3", -3, 77}, hex));
    // A rejected key is replaced by 1, and 1 is what deciphers next.
    EXPECT_THROW(crypt.setMultKey(0), CryptError);
    EXPECT_EQ(decrypt(crypt, hex), referenceDecrypt({"ZorvInfoK3", -3, 1}, hex));
}

// A bad pair anywhere is refused, whichever path deciphers the line, and a refused line leaves
// the cipher as good as before.
TEST(TCryptLibReference, ABadPairAnywhereIsRefused) {
    std::mt19937 random(13);
    CryptLib crypt;
    useKeys(crypt, kDatabaseKeys);
    for (std::size_t length : {2u, 40u, 2048u, 2050u, 70000u}) {
        const std::string good = randomHex(random, length);
        for (std::size_t at : {std::size_t{0}, length / 2, length - 1}) {
            std::string bad = good;
            bad[at] = "G g\x80"[at % 4];
            EXPECT_EQ(decrypt(crypt, bad), "!") << "length " << length << ", at " << at;
        }
        EXPECT_EQ(decrypt(crypt, good), referenceDecrypt(kDatabaseKeys, good)) << length;
    }
}

// decryptInPlace on every short length and across chunks: the text over the start of the buffer,
// the rest of the hex and the bytes beyond it untouched; with a bad pair, the error, the text of
// the chunks already deciphered overwritten with "0"s and nothing else changed.
TEST(TCryptLibReference, InPlaceWritesTheTextAndNothingElse) {
    std::mt19937 random(17);
    CryptLib crypt;
    useKeys(crypt, kDatabaseKeys);
    const std::string guard = "#guard#";
    std::vector<std::size_t> lengths;  // in hex characters, odd ones too
    for (std::size_t pairs = 1; pairs <= 1100; ++pairs)
        lengths.push_back(2 * pairs + pairs % 3 / 2);
    for (std::size_t pairs : {32767u, 32768u, 32769u, 65541u}) lengths.push_back(2 * pairs + 1);
    for (const std::size_t length : lengths) {
        const std::string hex = randomHex(random, length);
        const std::size_t pairs = length / 2;
        std::string buffer = hex + guard;
        ASSERT_EQ(crypt.decryptInPlace(buffer.data(), length), pairs) << length;
        ASSERT_EQ(buffer.substr(0, pairs), referenceDecrypt(kDatabaseKeys, hex)) << length;
        ASSERT_EQ(buffer.substr(pairs), hex.substr(pairs) + guard) << length;

        const std::size_t middle = random() % pairs;
        for (const std::size_t badPair : {std::size_t{0}, middle, pairs - 1}) {
            std::string bad = hex;
            bad[2 * badPair + random() % 2] = "G g\x80"[random() % 4];
            buffer = bad + guard;
            try {
                crypt.decryptInPlace(buffer.data(), length);
                ADD_FAILURE() << "length " << length << ", bad pair " << badPair;
            } catch (const CryptError& error) {
                EXPECT_STREQ(error.what(), "TCryptLib: decrypting error - not hexlook string");
            }
            // Whole chunks before the bad pair's were deciphered, and only those are wiped.
            const std::size_t wiped = badPair / CryptLib::kBlockBytes * CryptLib::kBlockBytes;
            ASSERT_EQ(buffer, std::string(wiped, '0') + bad.substr(wiped) + guard)
                << "length " << length << ", bad pair " << badPair;
        }
    }
}

}  // namespace
}  // namespace tamux
