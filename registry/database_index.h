// Finds the first database line that names a device, for many devices at a time. The answer is
// the one a scan of the lines from the first would give: the first line whose key, upper-cased,
// occurs in the hardware id, or whose normalized key equals the device's PCI key ignoring case.
// Lines without a key (empty, or without "=") never match, and neither does an empty key.
// A key matches wherever it stands in letters of either case: a scan that stopped only at keys in
// capitals would let a lower-case key name a device only from the file's last line.
//
// The index is built for the hardware ids it will be asked about: keys that cannot occur in any of
// them (one of their eight-character pieces is in none of the ids) and normalized keys that equal
// none of their PCI keys are left out, which keeps it small. Asked about another id, it may miss.
//
// The index holds deciphered key text; it is zeroed when the index is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/database_lines.h"

namespace tamux {

class DatabaseIndex {
  public:
    // The index of `lines` for `hardwareIds`.
    DatabaseIndex(const std::vector<std::string_view>& lines,
                  const std::vector<std::string_view>& hardwareIds);
    // An index for `hardwareIds` that is handed its lines one at a time, in order, through
    // addLine, and can be asked once finish has run: a caller that deciphers line by line hands
    // each over while it is still in the cache. The lines' text must outlive the index.
    explicit DatabaseIndex(const std::vector<std::string_view>& hardwareIds);
    void addLine(std::string_view line);
    // Room for `count` lines, where the caller knows about how many are coming.
    void expectLines(std::size_t count);
    void finish();
    ~DatabaseIndex();
    DatabaseIndex(const DatabaseIndex&) = delete;
    DatabaseIndex& operator=(const DatabaseIndex&) = delete;

    // The index of the first matching line for `hardwareId` (compared as it is: upper-case ids
    // match upper-cased keys) and its PCI key, or nullopt.
    std::optional<std::size_t> firstMatch(std::string_view hardwareId,
                                          std::string_view pciKey) const;

    // The nearest vendor line above `line`, or nullopt when there is none.
    std::optional<std::size_t> vendorAbove(std::size_t line) const;
    // The last vendor line of all, or nullopt: the vendor above a line that would follow them.
    std::optional<std::size_t> lastVendor() const;

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // A trie of the upper-cased keys; the children of a node are contiguous and sorted.
    struct Node {
        std::uint32_t firstChild = 0;
        std::uint32_t childCount = 0;
        std::uint32_t firstLine = kNone;  // first line whose key ends at this node
        unsigned char letter = 0;
    };

    // A normalized key or a PCI key, upper-cased, packed into numbers.
    struct PackedKey {
        std::uint64_t head = 0, tail = 0;
        std::uint32_t size = 0;
        bool operator==(const PackedKey&) const = default;
    };
    // The PCI keys of the ids, each with the first line whose normalized key equals it; open
    // addressing, a power of two in size.
    struct PciSlot {
        PackedKey key;
        std::uint32_t line = kNone;
        bool used = false;
    };

    // Eight-character pieces of the hardware ids, hashed into a bit set.
    class Pieces {
      public:
        explicit Pieces(const std::vector<std::string_view>& hardwareIds);
        // False when the upper-cased key cannot occur in any of the ids. Keys shorter than a
        // piece are always kept.
        bool mayOccur(std::string_view key) const;

      private:
        std::size_t slot(std::uint64_t piece) const;
        std::vector<std::uint64_t> bits_;
        int shift_ = 0;  // 64 less the bits of a slot number
    };

  public:
    // A key on its way into the trie; its layout is the index's own business.
    struct SortKey;

  private:
    // Sorts the keys and makes the trie of them.
    void buildTrie(std::vector<SortKey>& keys);
    // The table of the ids' PCI keys, no line noted yet.
    void wantPciKeys(const std::vector<std::string_view>& hardwareIds);
    // Notes `line` for the PCI key that the 24-character key normalizes to, unless an earlier
    // line was noted for it.
    void notePciKey(std::string_view key, std::uint32_t line);
    const Node* child(const Node& node, unsigned char letter) const;
    static PackedKey packUpper(std::string_view text);
    // The normalized key of a 24-character key, packed; nullopt when it is empty.
    static std::optional<PackedKey> packNormalized(std::string_view key);
    // Packs `size` letters and zeroes them.
    static PackedKey packLetters(unsigned char (&letters)[16], std::size_t size);
    PciSlot* findPciSlot(const PackedKey& key);
    const PciSlot* findPciSlot(const PackedKey& key) const;
    // Whether some key of the trie begins with these two letters (or the test cannot tell).
    bool mayStartAt(std::string_view id, std::size_t at) const;

    // Makes the id pieces and drops the keys kept so far that cannot occur in any id.
    void filterKeys();
    // Keeps a key for the trie; room is made by copying into a larger vector and wiping the old
    // one, which a vector's own growth would free unwiped.
    void addTrieKey(std::string_view key, std::uint32_t line);

    // Until finish: the ids, their pieces once enough lines came to be worth them (a short
    // file keeps every key: its trie is small anyway), the keys for the trie and the vendor
    // line so far.
    std::vector<std::string_view> ids_;
    std::optional<Pieces> pieces_;
    bool pciKeysWanted_ = false;
    std::vector<SortKey> pending_;
    std::uint32_t vendor_ = kNone;

    std::vector<Node> nodes_;
    std::vector<PciSlot> pciKeys_;            // empty when no id has a PCI key
    std::vector<std::uint64_t> firstPairs_;   // the first two letters of the keys, as bits
    bool shortKeys_ = false;                  // a key of one letter: every place must be tried
    std::vector<std::uint32_t> vendorAbove_;  // per line, or kNone
};

}  // namespace tamux
