// The values of one registry key, in the order they were created, held in one block of memory:
// a short hash of each folded name side by side, then where each value starts, then each value's
// type, name and data one after the other. A query reads the hashes, then the one value that
// matches, from a few neighbouring cache lines, where separate strings and vectors per value
// would each be a line of their own elsewhere. The key holds no more than a pointer to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/sim/folded_name.h"

namespace tamux::sim {

class PackedValues {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    PackedValues() = default;
    PackedValues(PackedValues&&) = default;
    PackedValues& operator=(PackedValues&&) = default;

    std::size_t size() const { return words_ ? words_[kCount] : 0; }

    // The place of the value whose folded name is `folded` (see folded_name.h), or kNone.
    template <typename Name>
    std::size_t find(const Name& folded) const {
        const std::size_t count = size();
        if (count == 0) return kNone;
        const std::uint32_t hash = shortHash(folded);
        const std::uint32_t* hashes = words_.get() + kHeader;
        for (std::size_t i = 0; i < count; ++i) {
            if (hashes[i] == hash &&
                equalsFolded(StoredName{namePointer(i), words_[record(i) + kNameSize]}, folded)) {
                return i;
            }
        }
        return kNone;
    }

    // The value at place `at` (less than size()).
    std::u16string name(std::size_t at) const;  // as first written
    std::uint32_t type(std::size_t at) const { return words_[record(at) + kType]; }
    std::span<const std::uint8_t> data(std::size_t at) const {
        return {namePointer(at) + nameBytes(at), words_[record(at) + kDataSize]};
    }

    // Overwriting keeps the value's place and the spelling of its name, as NT does.
    void set(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data);
    void erase(std::u16string_view name);
    void clear() { words_.reset(); }

  private:
    // The length and the first and last units of a folded name, mixed: cheaper to make for each
    // query than a hash of every unit, and enough to tell apart the few values of a key (names
    // that agree on them are compared in full).
    template <typename Name>
    static std::uint32_t shortHash(const Name& folded) {
        const std::size_t n = folded.size();
        const std::uint32_t ends = n == 0 ? 0 : std::uint32_t{folded[0]} << 16 | folded[n - 1];
        return ends ^ static_cast<std::uint32_t>(n) * 2654435761u;
    }

    // A name as it is held, in the bytes of the block, folded as it is read: one byte for each
    // unit when every unit is ASCII (kAsciiName set in its size word), else UTF-16.
    struct StoredName {
        const std::uint8_t* bytes;
        std::uint32_t sizeWord;

        std::size_t size() const { return sizeWord & ~kAsciiName; }
        char16_t operator[](std::size_t i) const {
            if (sizeWord & kAsciiName) return foldUnit(bytes[i]);
            char16_t unit;
            std::memcpy(&unit, bytes + 2 * i, sizeof unit);
            return foldUnit(unit);
        }
    };

    // The block, in 32-bit words: the value count, the room for hashes and starts, the words of
    // records no longer used, the words in use and the words allocated; the hashes; the starts
    // (where each record begins); the records. A record is the type, the name length in UTF-16
    // units (with kAsciiName when it is held one byte to a unit) and the data length in bytes,
    // then the name and the data, padded to a whole word. None while the key has no values.
    static constexpr std::size_t kCount = 0, kRoom = 1, kUnused = 2, kUsed = 3, kCapacity = 4,
                                 kHeader = 5;
    static constexpr std::size_t kType = 0, kNameSize = 1, kDataSize = 2, kRecordHeader = 3;
    static constexpr std::uint32_t kAsciiName = 0x80000000u;

    std::size_t room() const { return words_[kRoom]; }
    std::size_t record(std::size_t at) const { return words_[kHeader + room() + at]; }
    std::size_t nameBytes(std::size_t at) const {
        const std::uint32_t size = words_[record(at) + kNameSize];
        return size & kAsciiName ? size & ~kAsciiName : 2 * std::size_t{size};
    }
    const std::uint8_t* namePointer(std::size_t at) const {
        return reinterpret_cast<const std::uint8_t*>(words_.get() + record(at) + kRecordHeader);
    }
    static std::size_t recordWords(std::size_t nameBytes, std::size_t dataBytes) {
        return kRecordHeader + (nameBytes + dataBytes + 3) / 4;
    }
    std::size_t recordWords(std::size_t at) const {
        return recordWords(nameBytes(at), words_[record(at) + kDataSize]);
    }

    // Appends a record at the end of the block; returns where it starts.
    std::uint32_t append(std::u16string_view name, std::uint32_t type,
                         std::span<const std::uint8_t> data);
    // Makes room for one hash and start more.
    void grow();
    // A block of `capacity` words holding the first `used` words of this one, with `gap` zero
    // words inserted at `at`.
    std::unique_ptr<std::uint32_t[]> copied(std::size_t capacity, std::size_t used, std::size_t at,
                                            std::size_t gap) const;
    // Copies the records still used into a block of their own, when they are the lesser part.
    void compactIfWasteful();

    std::unique_ptr<std::uint32_t[]> words_;
};

}  // namespace tamux::sim
