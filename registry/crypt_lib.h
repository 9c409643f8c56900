// CryptLib: the suite's string cipher. A text is enciphered into hexadecimal digit pairs with a
// key stream drawn from the runtime's linear congruential generator, seeded from the password;
// every string starts afresh from the password, so strings decipher independently of each other.
// Deciphering and enciphering share one piece of code: the same draws in the same order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace tamux {

// A failure of the cipher: a bad hex string or a rejected property value.
class CryptError : public Error {
  public:
    using Error::Error;
};

// The runtime's 32-bit linear congruential generator, exactly: each draw advances the seed
// (seed * 134775813 + 1, modulo 2^32) and yields the upper 32 bits of seed * range, a value from
// 0 to range - 1 (0 for a range of 0, which still advances the seed).
class RuntimeRandom {
  public:
    explicit RuntimeRandom(std::uint32_t seed = 0) : seed_(seed) {}

    std::uint32_t seed() const { return seed_; }
    void setSeed(std::uint32_t seed) { seed_ = seed; }

    std::uint32_t draw(std::uint32_t range) {
        seed_ = seed_ * kMultiplier + 1u;
        return scale(seed_, range);
    }

    // `count` draws in `range` into `out`, the same values as `count` calls of draw. Two steps of
    // the generator are one step with multiplier a*a and increment a + 1, so the even and the odd
    // draws run on two chains that do not wait for each other.
    template <typename T>
    void drawMany(std::uint32_t range, T* out, std::size_t count) {
        constexpr std::uint32_t kTwoSteps = kMultiplier * kMultiplier;
        constexpr std::uint32_t kTwoStepsIncrement = kMultiplier + 1u;
        std::uint32_t first = seed_ * kMultiplier + 1u;
        std::uint32_t second = first * kMultiplier + 1u;
        std::uint32_t last = seed_;
        std::size_t i = 0;
        for (; i + 2 <= count; i += 2) {
            out[i] = static_cast<T>(scale(first, range));
            out[i + 1] = static_cast<T>(scale(second, range));
            last = second;
            first = first * kTwoSteps + kTwoStepsIncrement;
            second = second * kTwoSteps + kTwoStepsIncrement;
        }
        if (i < count) {
            out[i] = static_cast<T>(scale(first, range));
            last = first;
        }
        seed_ = last;
    }

  private:
    static constexpr std::uint32_t kMultiplier = 134775813u;
    static std::uint32_t scale(std::uint32_t seed, std::uint32_t range) {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * range) >> 32);
    }

    std::uint32_t seed_;
};

class CryptLib {
  public:
    static constexpr std::size_t kPasswordLimit = 12;
    // One block of the work buffer, and the hex characters that fill it.
    static constexpr std::size_t kBlockBytes = 32768;
    static constexpr std::size_t kHexChunk = 2 * kBlockBytes;

    CryptLib();
    ~CryptLib();
    CryptLib(const CryptLib&) = delete;
    CryptLib& operator=(const CryptLib&) = delete;

    const std::string& password() const { return password_; }
    // At most 12 characters; a longer one empties the password and raises
    // "TCryptLib.Password is too long".
    void setPassword(std::string_view password);

    std::int32_t addKey() const { return addKey_; }
    // Never 0: setting 0 stores 1 and raises "TCryptLib.AddKey is too big".
    void setAddKey(std::int32_t value);

    std::int32_t multKey() const { return multKey_; }
    // Never 0: setting 0 stores 1 and raises "TCryptLib.MultKey is too big".
    void setMultKey(std::int32_t value);

    // Deciphers hex digit pairs (0-9, A-F, a-f) chunk by chunk, 65536 characters at a time; a
    // trailing odd digit is ignored. Raises "TCryptLib: decrypting error - not hexlook string" for
    // a pair that is not a hex number.
    std::string decryptString(std::string_view hex);

    // decryptString over `hexLength` hex characters at `data`, writing the text over them from
    // the start (it is half as long, so every chunk is read before its text is written).
    // Returns the text's length. On an error the text written so far is overwritten with "0"s.
    std::size_t decryptInPlace(char* data, std::size_t hexLength);
    // decryptInPlace with the text written to `out`, which has room for `hexLength` characters
    // (and may be `hex` itself): a line of hex that is read where it lies needs no copy first.
    std::size_t decryptInto(const char* hex, std::size_t hexLength, char* out);

    // The exact inverse of decryptString with the same password and keys: upper-case hex pairs.
    std::string encryptString(std::string_view text);

    // Published with the component; the string cipher does not consult them.
    std::string infile;
    std::string outfile;
    bool compression = true;
    std::function<void()> onBadPassword;

  private:
    enum class Direction { Decipher, Encipher };

    void initKey();
    // Runs the block cipher over bytes 0..n-1 of the work buffer.
    void cipherBlock(std::size_t n, Direction direction);
    void decryptBlock(std::size_t n) { cipherBlock(n, Direction::Decipher); }
    void encryptBlock(std::size_t n) { cipherBlock(n, Direction::Encipher); }
    void makeWorkArea();
    void wipeWorkArea();

    // Every string starts from the same seed, so the swaps and the key stream of a one-chunk
    // string depend only on its length: drawn once per length, as the final order of the swapped
    // bytes (which hex pair lands where) and the stream's bytes. drawn again after the password
    // changes.
    struct LengthPlan {
        std::vector<std::uint16_t> source;  // byte i comes from hex pair source[i]
        std::vector<std::uint8_t> stream;   // the key stream's draws
    };
    static constexpr std::size_t kPlannedLengths = 1024;  // bytes; longer strings draw as they go
    const LengthPlan& planFor(std::size_t n);
    // The n bytes of hex pairs at `hex` by their length's plan, written to `out` (or over `hex`).
    std::size_t decryptPlanned(const char* hex, std::size_t n, char* out);
    template <typename PairOf>
    void decipherPairs(const LengthPlan& plan, std::size_t n, char* out, PairOf&& pairOf);
    // What each enciphered byte c adds to the key word after the multiply: (c + K3) * multKey +
    // AddKey. Worked out again after the password or a key changes.
    const std::array<std::uint32_t, 256>& keySteps();

    std::vector<LengthPlan> plans_;  // by length; empty: not drawn yet
    std::array<std::uint32_t, 256> keySteps_{};
    bool stepsDrawn_ = false;
    std::string password_;
    std::int32_t addKey_;
    std::int32_t multKey_;
    std::uint32_t k1_ = 0, k2_ = 0, k3_ = 0;
    std::array<std::uint32_t, 3> words_{};  // the password's, once worked out
    bool wordsReady_ = false;
    RuntimeRandom random_;
    std::vector<std::uint8_t> buffer_;    // the work buffer
    std::size_t used_ = 0;                // bytes of it written since the last wipe
    std::vector<std::uint16_t> shuffle_;  // one swap partner per byte of a block
};

}  // namespace tamux
