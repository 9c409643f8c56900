#include "platform/sim/packed_values.h"

#include <algorithm>

namespace tamux::sim {

namespace {

// A key's first block: room for four values and the records of the small ones.
constexpr std::size_t kFirstRoom = 4;
constexpr std::size_t kFirstCapacity = 32;

}  // namespace

std::u16string PackedValues::name(std::size_t at) const {
    const StoredName stored{namePointer(at), words_[record(at) + kNameSize]};
    std::u16string text(stored.size(), u'\0');
    if (stored.sizeWord & kAsciiName) {
        std::copy(stored.bytes, stored.bytes + text.size(), text.begin());
    } else {
        std::memcpy(text.data(), stored.bytes, 2 * text.size());
    }
    return text;
}

std::unique_ptr<std::uint32_t[]> PackedValues::copied(std::size_t capacity, std::size_t used,
                                                      std::size_t at, std::size_t gap) const {
    auto block = std::make_unique<std::uint32_t[]>(capacity);
    std::copy(words_.get(), words_.get() + at, block.get());
    std::copy(words_.get() + at, words_.get() + used, block.get() + at + gap);
    block[kCapacity] = static_cast<std::uint32_t>(capacity);
    return block;
}

std::uint32_t PackedValues::append(std::u16string_view name, std::uint32_t type,
                                   std::span<const std::uint8_t> data) {
    const bool ascii = std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
    const std::size_t nameBytes = ascii ? name.size() : 2 * name.size();
    const std::size_t start = words_[kUsed];
    const std::size_t end = start + recordWords(nameBytes, data.size());
    if (end > words_[kCapacity]) {
        words_ = copied(std::max<std::size_t>(end, 2 * words_[kCapacity]), start, start, 0);
    }
    words_[kUsed] = static_cast<std::uint32_t>(end);
    words_[end - 1] = 0;  // the padding after the data, if any
    words_[start + kType] = type;
    words_[start + kNameSize] = static_cast<std::uint32_t>(name.size()) | (ascii ? kAsciiName : 0);
    words_[start + kDataSize] = static_cast<std::uint32_t>(data.size());
    auto* bytes = reinterpret_cast<std::uint8_t*>(words_.get() + start + kRecordHeader);
    if (ascii) {
        for (std::size_t i = 0; i < name.size(); ++i) bytes[i] = static_cast<std::uint8_t>(name[i]);
    } else {
        std::memcpy(bytes, name.data(), nameBytes);
    }
    if (!data.empty()) std::memcpy(bytes + nameBytes, data.data(), data.size());
    return static_cast<std::uint32_t>(start);
}

void PackedValues::grow() {
    if (!words_) {
        words_ = std::make_unique<std::uint32_t[]>(kFirstCapacity);
        words_[kRoom] = kFirstRoom;
        words_[kUsed] = kHeader + 2 * kFirstRoom;
        words_[kCapacity] = kFirstCapacity;
        return;
    }
    // The hashes gain `more` places and the starts as many: the starts move up by `more` and the
    // records by twice that.
    const std::size_t oldRoom = room();
    // By half as much again: the room a key does not use lies between its hashes and its records.
    const std::size_t newRoom = std::max(kFirstRoom, oldRoom + oldRoom / 2);
    const std::size_t more = newRoom - oldRoom;
    const std::size_t count = size();
    const std::size_t used = words_[kUsed];
    auto block = copied(words_[kCapacity] + 2 * more, used, kHeader + 2 * oldRoom, 2 * more);
    std::uint32_t* hashes = block.get() + kHeader;
    std::copy_backward(hashes + oldRoom, hashes + oldRoom + count, hashes + newRoom + count);
    std::fill(hashes + oldRoom, hashes + newRoom, 0);
    for (std::size_t i = 0; i < count; ++i) {
        hashes[newRoom + i] += static_cast<std::uint32_t>(2 * more);
    }
    block[kRoom] = static_cast<std::uint32_t>(newRoom);
    block[kUsed] = static_cast<std::uint32_t>(used + 2 * more);
    words_ = std::move(block);
}

void PackedValues::set(std::u16string_view name, std::uint32_t type,
                       std::span<const std::uint8_t> data) {
    const FoldedView folded{name};
    const std::size_t at = find(folded);
    if (at != kNone) {
        const std::u16string spelling = this->name(at);
        const std::size_t unused = recordWords(at);
        const std::uint32_t start = append(spelling, type, data);
        words_[kHeader + room() + at] = start;
        words_[kUnused] += static_cast<std::uint32_t>(unused);
        compactIfWasteful();
        return;
    }
    if (!words_ || size() == room()) grow();
    const std::uint32_t start = append(name, type, data);
    const std::size_t count = size();
    words_[kHeader + count] = shortHash(folded);
    words_[kHeader + room() + count] = start;
    words_[kCount] = static_cast<std::uint32_t>(count + 1);
}

void PackedValues::erase(std::u16string_view name) {
    const FoldedView folded{name};
    const std::size_t at = find(folded);
    if (at == kNone) return;
    const std::size_t count = size();
    if (count == 1) {
        clear();
        return;
    }
    words_[kUnused] += static_cast<std::uint32_t>(recordWords(at));
    std::uint32_t* hashes = words_.get() + kHeader;
    std::uint32_t* starts = hashes + room();
    std::copy(hashes + at + 1, hashes + count, hashes + at);
    std::copy(starts + at + 1, starts + count, starts + at);
    hashes[count - 1] = starts[count - 1] = 0;
    words_[kCount] = static_cast<std::uint32_t>(count - 1);
    compactIfWasteful();
}

void PackedValues::compactIfWasteful() {
    const std::size_t records = words_[kUsed] - kHeader - 2 * room();
    if (2 * words_[kUnused] <= records) return;
    const std::size_t count = size();
    const std::size_t used = kHeader + 2 * count + records - words_[kUnused];
    auto block = std::make_unique<std::uint32_t[]>(used);
    block[kCount] = block[kRoom] = static_cast<std::uint32_t>(count);
    block[kUsed] = block[kCapacity] = static_cast<std::uint32_t>(used);
    std::size_t end = kHeader + 2 * count;
    for (std::size_t i = 0; i < count; ++i) {
        block[kHeader + i] = words_[kHeader + i];
        block[kHeader + count + i] = static_cast<std::uint32_t>(end);
        const std::uint32_t* from = words_.get() + record(i);
        end = static_cast<std::size_t>(std::copy(from, from + recordWords(i), block.get() + end) -
                                       block.get());
    }
    words_ = std::move(block);
}

}  // namespace tamux::sim
