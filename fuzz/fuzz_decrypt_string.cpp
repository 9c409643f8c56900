// The string cipher: decryptString either refuses a text holding a pair that is not hex, or
// deciphers it into half as many bytes that encryptString turns back into the same digits; any
// text enciphers and deciphers back to itself, with the database's keys and with keys taken from
// the input. Every so often the text is repeated past one work buffer, so that strings of several
// chunks get their turn.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"

namespace {

using tamux::CryptError;
using tamux::CryptLib;

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

void checkDecrypt(CryptLib& crypt, std::string_view hex) {
    const std::size_t pairs = hex.size() / 2;
    bool allHex = true;
    for (std::size_t i = 0; i < 2 * pairs; ++i) allHex = allHex && isHex(hex[i]);
    std::string text;
    try {
        text = crypt.decryptString(hex);
    } catch (const CryptError&) {
        TAMUX_FUZZ_CHECK(!allHex, "a text of hex pairs deciphers");
        return;
    }
    TAMUX_FUZZ_CHECK(allHex, "a pair that is not hex is refused");
    TAMUX_FUZZ_CHECK(text.size() == pairs, "one byte per pair; an odd last digit is dropped");
    TAMUX_FUZZ_CHECK(crypt.encryptString(text) == upper(hex.substr(0, 2 * pairs)),
                     "enciphering the text gives the digits back");
}

void checkRoundTrip(CryptLib& crypt, std::string_view text) {
    const std::string hex = crypt.encryptString(text);
    TAMUX_FUZZ_CHECK(hex.size() == 2 * text.size(), "two digits per byte");
    TAMUX_FUZZ_CHECK(crypt.decryptString(hex) == text, "a text deciphers back to itself");
}

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(tamux::fuzz::asText(data, size));
    if (size % 23 == 5 && !input.empty()) {
        while (input.size() <= CryptLib::kHexChunk + 3) input += input;
    }

    CryptLib database;
    tamux::useDatabaseKeys(database);
    checkDecrypt(database, input);
    checkRoundTrip(database, input);

    // Keys of the input's choosing: AddKey, multKey, then a password of up to 13 bytes.
    if (size < 9) return 0;
    CryptLib own;
    const auto addKey = static_cast<std::int32_t>(le32(data));
    const auto multKey = static_cast<std::int32_t>(le32(data + 4));
    const std::size_t passwordLength = std::min<std::size_t>(data[8] % 14, size - 9);
    const std::string_view password = tamux::fuzz::asText(data + 9, passwordLength);
    try {
        own.setAddKey(addKey);
        TAMUX_FUZZ_CHECK(addKey != 0, "AddKey 0 is refused");
    } catch (const CryptError&) {
        TAMUX_FUZZ_CHECK(addKey == 0 && own.addKey() == 1, "a refused AddKey becomes 1");
    }
    try {
        own.setMultKey(multKey);
        TAMUX_FUZZ_CHECK(multKey != 0, "MultKey 0 is refused");
    } catch (const CryptError&) {
        TAMUX_FUZZ_CHECK(multKey == 0 && own.multKey() == 1, "a refused MultKey becomes 1");
    }
    try {
        own.setPassword(password);
        TAMUX_FUZZ_CHECK(password.size() <= CryptLib::kPasswordLimit, "a long password is refused");
    } catch (const CryptError&) {
        TAMUX_FUZZ_CHECK(password.size() > CryptLib::kPasswordLimit && own.password().empty(),
                         "a refused password leaves none");
    }
    const std::string_view rest = std::string_view(input).substr(9 + passwordLength);
    checkDecrypt(own, rest);
    checkRoundTrip(own, rest);
    return 0;
}
