#include "platform/sim/version_block.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sim/case_fold.h"
#include "platform/sim/codepage.h"

namespace tamux::sim {

namespace {

constexpr char kSignature[4] = {'F', 'E', '2', 'X'};

std::uint16_t le16(const std::vector<std::uint8_t>& block, std::size_t at) {
    return static_cast<std::uint16_t>(block[at] | (block[at + 1] << 8));
}

std::size_t align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// The 16-bit layout compares its 8-bit keys folding ASCII letters only.
char16_t foldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + 0x20 : c;
}

// One node of the block: VS_VERSIONINFO, StringFileInfo, a string table, a string, and so on.
// `wide` nodes (the 32-bit layout) carry a type word and UTF-16 keys; the 16-bit layout has
// neither.
struct Node {
    std::size_t offset = 0;
    std::size_t length = 0;       // wLength
    std::size_t valueLength = 0;  // wValueLength: characters for text, bytes otherwise
    bool isText = false;
    std::u16string key;
    std::size_t valueOffset = 0;
    std::size_t valueBytes = 0;
};

class BlockReader {
  public:
    BlockReader(const std::vector<std::uint8_t>& block, bool wide) : block_(block), wide_(wide) {}

    std::optional<Node> node(std::size_t offset) const {
        const std::size_t header = wide_ ? 6 : 4;
        if (offset + header > block_.size()) return std::nullopt;
        Node node;
        node.offset = offset;
        node.length = le16(block_, offset);
        node.valueLength = le16(block_, offset + 2);
        node.isText = wide_ && le16(block_, offset + 4) != 0;
        std::size_t at = offset + header;
        const std::size_t unit = wide_ ? 2 : 1;
        for (;; at += unit) {
            if (at + unit > block_.size()) return std::nullopt;  // key without its NUL
            char16_t c = wide_ ? le16(block_, at) : block_[at];
            if (c == 0) break;
            node.key.push_back(c);
        }
        node.valueOffset = offset + align4(at + unit - offset);
        node.valueBytes = (wide_ && node.isText) ? node.valueLength * 2 : node.valueLength;
        return node;
    }

    // The child of `parent` whose key is `key`, compared without regard to case.
    std::optional<Node> child(const Node& parent, std::u16string_view key) const {
        const std::size_t end = std::min(parent.offset + parent.length, block_.size());
        std::size_t at = parent.valueOffset + align4(parent.valueBytes);
        while (at < end) {
            auto candidate = node(at);
            if (!candidate) return std::nullopt;
            if (sameKey(candidate->key, key)) return candidate;
            if (candidate->length == 0) return std::nullopt;
            at += align4(candidate->length);
        }
        return std::nullopt;
    }

  private:
    bool sameKey(std::u16string_view a, std::u16string_view b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (wide_ ? upperCase(a[i]) != upperCase(b[i]) : foldAscii(a[i]) != foldAscii(b[i])) {
                return false;
            }
        }
        return true;
    }

    const std::vector<std::uint8_t>& block_;
    bool wide_;
};

}  // namespace

std::uint32_t versionInfoSize(std::size_t resourceSize) {
    return static_cast<std::uint32_t>(resourceSize * 2 + sizeof kSignature);
}

std::vector<std::uint8_t> versionInfoBlock(const std::vector<std::uint8_t>& resource) {
    std::vector<std::uint8_t> block(versionInfoSize(resource.size()), 0);
    std::copy(resource.begin(), resource.end(), block.begin());
    const std::size_t length = le16(block, 0);
    if (length + sizeof kSignature <= block.size()) {
        std::memcpy(block.data() + length, kSignature, sizeof kSignature);
    }
    return block;
}

std::optional<std::vector<std::uint8_t>> queryVersionValue(const std::vector<std::uint8_t>& block,
                                                           std::string_view subBlock,
                                                           unsigned codePage) {
    if (block.size() < 6) return std::nullopt;
    // In the 16-bit layout the key starts where the 32-bit one has its type word (0 or 1).
    const bool wide = block[4] < ' ';
    const BlockReader reader(block, wide);

    subBlock = subBlock.substr(0, subBlock.find('\0'));
    std::u16string path;
    if (wide) {
        path = widen(codePage, subBlock);
    } else {
        for (char c : subBlock) path.push_back(static_cast<unsigned char>(c));
    }

    auto current = reader.node(0);
    std::size_t at = 0;
    while (current && at < path.size()) {
        std::size_t slash = path.find(u'\\', at);
        if (slash == std::u16string::npos) slash = path.size();
        if (slash > at) {
            current = reader.child(*current, std::u16string_view(path).substr(at, slash - at));
        }
        at = slash + 1;
    }
    if (!current) return std::nullopt;

    const Node& value = *current;
    if (value.valueOffset + value.valueBytes > block.size()) return std::nullopt;
    std::vector<std::uint8_t> result;
    if (!value.isText) {
        result.assign(
            block.begin() + static_cast<std::ptrdiff_t>(value.valueOffset),
            block.begin() + static_cast<std::ptrdiff_t>(value.valueOffset + value.valueBytes));
        return result;
    }
    // VerQueryValueA converts a text into the spare half of the block, and only when its 8-bit
    // form fits in the room it allows; otherwise it reports the text with a length of 0.
    const std::size_t rootLength = le16(block, 0);
    if (value.valueLength > 0 && value.valueOffset < rootLength &&
        value.valueLength <= rootLength - value.valueOffset) {
        std::u16string text(value.valueLength, u'\0');
        for (std::size_t i = 0; i < value.valueLength; ++i) {
            text[i] = le16(block, value.valueOffset + 2 * i);
        }
        const std::string narrow = narrowUtf16(codePage, text);
        result.assign(narrow.begin(), narrow.end());
    }
    return result;
}

}  // namespace tamux::sim
