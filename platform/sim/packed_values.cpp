#include "platform/sim/packed_values.h"

#include <algorithm>

namespace tamux::sim {

std::u16string PackedValues::name(std::size_t at) const {
    std::u16string text(nameSize(at), u'\0');
    std::memcpy(text.data(), namePointer(at), 2 * text.size());
    return text;
}

std::uint32_t PackedValues::append(std::u16string_view name, std::uint32_t type,
                                   std::span<const std::uint8_t> data) {
    const std::size_t start = words_.size();
    words_.resize(start + recordWords(name.size(), data.size()), 0);
    words_[start + kType] = type;
    words_[start + kNameSize] = static_cast<std::uint32_t>(name.size());
    words_[start + kDataSize] = static_cast<std::uint32_t>(data.size());
    auto* bytes = reinterpret_cast<std::uint8_t*>(words_.data() + start + kRecordHeader);
    if (!name.empty()) std::memcpy(bytes, name.data(), 2 * name.size());
    if (!data.empty()) std::memcpy(bytes + 2 * name.size(), data.data(), data.size());
    return static_cast<std::uint32_t>(start);
}

void PackedValues::grow() {
    if (words_.empty()) {
        words_.assign(kHeader, 0);
    }
    const std::size_t oldRoom = room();
    const std::size_t newRoom = std::max<std::size_t>(4, 2 * oldRoom);
    const std::size_t more = newRoom - oldRoom;
    // The hashes gain `more` places, the starts `more` after them, and every record moves up by
    // twice that.
    const std::size_t count = size();
    words_.insert(words_.begin() + static_cast<std::ptrdiff_t>(kHeader + 2 * oldRoom), 2 * more, 0);
    std::uint32_t* hashes = words_.data() + kHeader;
    std::copy_backward(hashes + oldRoom, hashes + oldRoom + count, hashes + newRoom + count);
    std::fill(hashes + oldRoom, hashes + newRoom, 0);
    for (std::size_t i = 0; i < count; ++i) {
        hashes[newRoom + i] += static_cast<std::uint32_t>(2 * more);
    }
    words_[kRoom] = static_cast<std::uint32_t>(newRoom);
}

void PackedValues::set(std::u16string_view name, std::uint32_t type,
                       std::span<const std::uint8_t> data) {
    const FoldedView folded{name};
    const std::uint32_t hash = hashFolded(folded);
    const std::size_t at = find(folded, hash);
    if (at != kNone) {
        const std::u16string spelling = this->name(at);
        const std::size_t unused = recordWords(at);
        const std::uint32_t start = append(spelling, type, data);
        words_[kHeader + room() + at] = start;
        words_[kUnused] += static_cast<std::uint32_t>(unused);
        compactIfWasteful();
        return;
    }
    if (words_.empty() || size() == room()) grow();
    const std::uint32_t start = append(name, type, data);
    const std::size_t count = size();
    words_[kHeader + count] = hash;
    words_[kHeader + room() + count] = start;
    words_[kCount] = static_cast<std::uint32_t>(count + 1);
}

void PackedValues::erase(std::u16string_view name) {
    const FoldedView folded{name};
    const std::size_t at = find(folded, hashFolded(folded));
    if (at == kNone) return;
    const std::size_t count = size();
    if (count == 1) {
        clear();
        return;
    }
    words_[kUnused] += static_cast<std::uint32_t>(recordWords(at));
    std::uint32_t* hashes = words_.data() + kHeader;
    std::uint32_t* starts = hashes + room();
    std::copy(hashes + at + 1, hashes + count, hashes + at);
    std::copy(starts + at + 1, starts + count, starts + at);
    words_[kCount] = static_cast<std::uint32_t>(count - 1);
    compactIfWasteful();
}

void PackedValues::compactIfWasteful() {
    const std::size_t records = words_.size() - kHeader - 2 * room();
    if (2 * words_[kUnused] <= records) return;
    const std::size_t count = size();
    std::vector<std::uint32_t> compact(kHeader + 2 * count, 0);
    compact.reserve(words_.size() - words_[kUnused]);
    compact[kCount] = compact[kRoom] = static_cast<std::uint32_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        compact[kHeader + i] = words_[kHeader + i];
        compact[kHeader + count + i] = static_cast<std::uint32_t>(compact.size());
        const auto from = words_.begin() + static_cast<std::ptrdiff_t>(record(i));
        compact.insert(compact.end(), from, from + static_cast<std::ptrdiff_t>(recordWords(i)));
    }
    words_ = std::move(compact);
}

}  // namespace tamux::sim
