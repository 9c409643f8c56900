#include "registry/crypt_lib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "registry/secure_wipe.h"

namespace tamux {

namespace {

// The component's own defaults; every user of it sets all three before use.
constexpr std::string_view kDefaultPassword = "CryptLib";
constexpr std::int32_t kDefaultAddKey = 1;
constexpr std::int32_t kDefaultMultKey = 1;

// The value of each hex digit character, -1 for any other byte.
constexpr std::array<std::int8_t, 256> kHexValue = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        table['A' + i] = static_cast<std::int8_t>(10 + i);
        table['a' + i] = static_cast<std::int8_t>(10 + i);
    }
    return table;
}();

int hexDigit(char c) {
    return kHexValue[static_cast<unsigned char>(c)];
}

std::uint32_t xorOfBytes(std::uint32_t word) {
    // The low byte of word ^ word >> 8 ^ word >> 16 ^ word >> 24, in two shifts.
    const std::uint32_t halves = word ^ (word >> 16);
    return (halves ^ (halves >> 8)) & 0xFF;
}

static_assert(std::endian::native == std::endian::little, "hex pairs are read as 16-bit numbers");

// Every pair of characters, read as one little-endian 16-bit number, to the byte the pair spells
// in hex, or to -1: one look-up per pair instead of two and a combination.
const std::int16_t* hexPairValues() {
    static const std::vector<std::int16_t> table = [] {
        std::vector<std::int16_t> values(65536);
        for (unsigned first = 0; first < 256; ++first) {
            for (unsigned second = 0; second < 256; ++second) {
                const int high = kHexValue[first], low = kHexValue[second];
                values[first | (second << 8)] = high < 0 || low < 0
                                                    ? std::int16_t{-1}
                                                    : static_cast<std::int16_t>(high * 16 + low);
            }
        }
        return values;
    }();
    return table.data();
}

}  // namespace

CryptLib::CryptLib()
    : password_(kDefaultPassword), addKey_(kDefaultAddKey), multKey_(kDefaultMultKey) {}

void CryptLib::makeWorkArea() {
    // Made on first use: the lines of the databases, a few dozen bytes each, are deciphered by
    // their length's plan and never need it.
    if (buffer_.empty()) buffer_.resize(kBlockBytes);
    if (shuffle_.empty()) shuffle_.resize(kBlockBytes);
}

CryptLib::~CryptLib() {
    wipeWorkArea();
}

void CryptLib::setPassword(std::string_view password) {
    plans_.clear();
    wordsReady_ = false;
    stepsDrawn_ = false;
    if (password.size() > kPasswordLimit) {
        password_.clear();
        throw CryptError("TCryptLib.Password is too long");
    }
    password_ = std::string(password);
}

void CryptLib::setAddKey(std::int32_t value) {
    stepsDrawn_ = false;
    if (value == 0) {
        addKey_ = 1;
        throw CryptError("TCryptLib.AddKey is too big");
    }
    addKey_ = value;
}

void CryptLib::setMultKey(std::int32_t value) {
    stepsDrawn_ = false;
    if (value == 0) {
        multKey_ = 1;
        throw CryptError("TCryptLib.MultKey is too big");
    }
    multKey_ = value;
}

void CryptLib::initKey() {
    // Every string starts from the password's words; worked out once per password.
    if (!wordsReady_) {
        words_ = {0, 0, 0};
        for (std::size_t i = 0; i < password_.size() && i < kPasswordLimit; ++i) {
            words_[i / 4] |= static_cast<std::uint32_t>(static_cast<unsigned char>(password_[i]))
                             << (8 * (i % 4));
        }
        wordsReady_ = true;
    }
    k1_ = words_[0];
    k2_ = words_[1];
    k3_ = words_[2];
    random_.setSeed(k1_);
}

void CryptLib::cipherBlock(std::size_t n, Direction direction) {
    if (n == 0) return;
    used_ = std::max(used_, n);
    std::uint8_t* b = buffer_.data();
    std::uint16_t* partner = shuffle_.data();
    // Local copies keep the generator and the key word in registers.
    RuntimeRandom random = random_;
    std::uint32_t k2 = k2_;
    // The swap partners are drawn first in both directions, then the key stream; the order of
    // draws is what keeps the two directions in step.
    const auto span = static_cast<std::uint32_t>(n - 1);
    random.drawMany(span, partner, n);

    if (direction == Direction::Decipher) {
        for (std::size_t i = n; i-- > 0;) std::swap(b[i], b[partner[i]]);
    }
    const std::uint32_t k3 = k3_;  // a local: byte stores could otherwise alias the member
    const auto mult = static_cast<std::uint32_t>(multKey_);
    const auto add = static_cast<std::uint32_t>(addKey_);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t in = b[i];
        const std::uint32_t x = xorOfBytes(k2);
        const std::uint32_t r = random.draw(255);
        const auto out = static_cast<std::uint8_t>(in ^ x ^ r);
        b[i] = out;
        // The key word advances with the enciphered byte, whichever way we go.
        const std::uint8_t c = direction == Direction::Decipher ? in : out;
        // (c + k2 + k3) * mult + add, grouped so that the next key word waits for one multiply.
        k2 = k2 * mult + ((c + k3) * mult + add);
    }
    if (direction == Direction::Encipher) {
        for (std::size_t i = 0; i < n; ++i) std::swap(b[i], b[partner[i]]);
    }
    random_ = random;
    k2_ = k2;
}

void CryptLib::wipeWorkArea() {
    // Only the bytes a block has used can hold text; the swap partners are no text at all.
    if (used_ > 0) secureFill(buffer_.data(), used_, 0);
    used_ = 0;
}

const CryptLib::LengthPlan& CryptLib::planFor(std::size_t n) {
    if (plans_.size() <= n) plans_.resize(n + 1);
    LengthPlan& plan = plans_[n];
    if (plan.source.empty()) {
        // The same draws, in the same order, as decryptBlock makes for n bytes.
        RuntimeRandom random(k1_);
        std::vector<std::uint16_t> partner(n);
        random.drawMany(static_cast<std::uint32_t>(n - 1), partner.data(), n);
        plan.source.resize(n);
        for (std::size_t i = 0; i < n; ++i) plan.source[i] = static_cast<std::uint16_t>(i);
        for (std::size_t i = n; i-- > 0;) std::swap(plan.source[i], plan.source[partner[i]]);
        plan.stream.resize(n);
        random.drawMany(255u, plan.stream.data(), n);
    }
    return plan;
}

const std::array<std::uint32_t, 256>& CryptLib::keySteps() {
    if (!stepsDrawn_) {
        const auto mult = static_cast<std::uint32_t>(multKey_);
        const auto add = static_cast<std::uint32_t>(addKey_);
        for (std::uint32_t c = 0; c < 256; ++c) keySteps_[c] = (c + k3_) * mult + add;
        stepsDrawn_ = true;
    }
    return keySteps_;
}

std::size_t CryptLib::decryptPlanned(const char* hex, std::size_t n, char* out) {
    const LengthPlan& plan = planFor(n);
    const std::int16_t* pairValues = hexPairValues();
    auto pairAt = [hex, pairValues](std::size_t pair) {
        std::uint16_t characters;
        std::memcpy(&characters, hex + 2 * pair, sizeof characters);
        return pairValues[characters];
    };
    int bad = 0;
    if (out == hex) {
        // In place, the text overwrites pairs not read yet: the pairs in their written order
        // first. These are enciphered bytes, the file's own content in another form, so the
        // buffer needs no wipe.
        std::uint8_t enciphered[kPlannedLengths];
        for (std::size_t pair = 0; pair < n; ++pair) {
            const int value = pairAt(pair);
            bad |= value;
            enciphered[pair] = static_cast<std::uint8_t>(value);
        }
        if (bad < 0) throw CryptError("TCryptLib: decrypting error - not hexlook string");
        decipherPairs(plan, n, out, [&enciphered](std::size_t pair) { return enciphered[pair]; });
        return n;
    }
    // Each pair is read where the plan needs it; the text written before a pair that is not hex
    // turns up is overwritten.
    decipherPairs(plan, n, out, [&](std::size_t pair) {
        const int value = pairAt(pair);
        bad |= value;
        return static_cast<std::uint8_t>(value);
    });
    if (bad < 0) {
        secureFill(out, n, '0');
        throw CryptError("TCryptLib: decrypting error - not hexlook string");
    }
    return n;
}

template <typename PairOf>
void CryptLib::decipherPairs(const LengthPlan& plan, std::size_t n, char* out, PairOf&& pairOf) {
    // Byte i is the pair the swaps move to place i. The key word advances as
    // k2 := k2 * mult + steps[c]; two steps at a time it is k2 * mult^2 + (steps[c0] * mult +
    // steps[c1]), so the next pair's key word waits for one multiply instead of two.
    const std::uint16_t* source = plan.source.data();
    const std::uint8_t* stream = plan.stream.data();
    const std::uint32_t* steps = keySteps().data();
    const auto mult = static_cast<std::uint32_t>(multKey_);
    const std::uint32_t mult2 = mult * mult;
    std::uint32_t k2 = k2_;
    std::size_t i = 0;
    for (; i + 2 <= n; i += 2) {
        const std::uint8_t c0 = pairOf(source[i]);
        const std::uint8_t c1 = pairOf(source[i + 1]);
        const std::uint32_t step0 = steps[c0];
        const std::uint32_t next = k2 * mult + step0;
        out[i] = static_cast<char>(c0 ^ xorOfBytes(k2) ^ stream[i]);
        out[i + 1] = static_cast<char>(c1 ^ xorOfBytes(next) ^ stream[i + 1]);
        k2 = k2 * mult2 + (step0 * mult + steps[c1]);
    }
    if (i < n) {
        const std::uint8_t c0 = pairOf(source[i]);
        out[i] = static_cast<char>(c0 ^ xorOfBytes(k2) ^ stream[i]);
        k2 = k2 * mult + steps[c0];
    }
    k2_ = k2;
}

std::size_t CryptLib::decryptInto(const char* hex, std::size_t hexLength, char* out) {
    const std::size_t n = hexLength / 2;
    if (hexLength < kHexChunk && n > 0 && n <= kPlannedLengths) {
        initKey();
        return decryptPlanned(hex, n, out);
    }
    if (out != hex) std::memmove(out, hex, hexLength);
    return decryptInPlace(out, hexLength);
}

std::size_t CryptLib::decryptInPlace(char* data, std::size_t hexLength) {
    initKey();
    const std::size_t n = hexLength / 2;
    if (hexLength < kHexChunk && n > 0 && n <= kPlannedLengths)
        return decryptPlanned(data, n, data);
    makeWorkArea();
    const std::size_t chunks = hexLength / kHexChunk + 1;
    std::size_t written = 0;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        const char* hex = data + chunk * kHexChunk;
        const std::size_t n = std::min(kHexChunk, hexLength - chunk * kHexChunk) / 2;
        for (std::size_t i = 0; i < n; ++i) {
            const int high = hexDigit(hex[2 * i]);
            const int low = hexDigit(hex[2 * i + 1]);
            if (high < 0 || low < 0) {
                secureFill(data, written, '0');
                wipeWorkArea();
                throw CryptError("TCryptLib: decrypting error - not hexlook string");
            }
            buffer_[i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        decryptBlock(n);
        // An empty text may come without a buffer at all.
        if (n > 0) std::memcpy(data + written, buffer_.data(), n);
        written += n;
    }
    wipeWorkArea();
    return written;
}

std::string CryptLib::decryptString(std::string_view hex) {
    std::string text(hex);
    text.resize(decryptInPlace(text.data(), text.size()));
    return text;
}

std::string CryptLib::encryptString(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 2);
    makeWorkArea();
    initKey();
    const std::size_t chunks = text.size() / kBlockBytes + 1;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        std::string_view part = text.substr(chunk * kBlockBytes, kBlockBytes);
        for (std::size_t i = 0; i < part.size(); ++i) {
            buffer_[i] = static_cast<std::uint8_t>(part[i]);
        }
        encryptBlock(part.size());
        for (std::size_t i = 0; i < part.size(); ++i) {
            out.push_back(kDigits[buffer_[i] >> 4]);
            out.push_back(kDigits[buffer_[i] & 0x0F]);
        }
    }
    wipeWorkArea();
    return out;
}

}  // namespace tamux
