// One key of the simulated registry. A device walk opens thousands of keys one after the other
// and reads a few values of each, so a key is laid out for the lines of memory such a read
// touches: a key starts a cache line, with what a walk reads of it first and then its names in
// the same allocation; its values are one block (PackedValues); its subkeys are listed with the
// hashes of their folded names beside them. What few keys have (a link, an index of many
// subkeys) is held apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "platform/sim/folded_name.h"
#include "platform/sim/packed_values.h"
#include "platform/sim/sim_registry.h"

namespace tamux::sim {

struct SimRegistry::Node {
    // A link key shows the key at `path` under `root` instead of contents of its own.
    struct Link {
        platform::RootKey root;
        std::u16string path;
        std::u16string folded;  // path folded, for lookups
    };
    // A subkey as its key lists it. A short name that converts exactly is held here as well, so
    // that finding the subkey by it, and learning whether it is a link, read this list only: a
    // walk that merely passes through a key (as a device walk through "Control") never reads
    // the key itself.
    struct Subkey {
        static constexpr std::size_t kHeldSize = 10;
        static constexpr std::uint8_t kNotHeld = 0xFF;

        std::uint32_t hash = 0;  // hashFolded of the subkey's name
        std::uint8_t heldSize = kNotHeld;
        bool isLink = false;
        char held[kHeldSize] = {};  // the subkey's 8-bit name, when heldSize is not kNotHeld
        std::unique_ptr<Node> node;

        template <typename Name>
        bool named(const Name& folded) const {
            if constexpr (std::is_same_v<Name, FoldingName>) {
                if (heldSize != kNotHeld) {
                    return equalsFolded(FoldingName{{held, heldSize}, folded.units}, folded);
                }
            }
            return node->named(folded);
        }
    };
    using Children = std::vector<Subkey>;

    // For a key with many subkeys (a device class with thousands of instances): its subkeys by
    // the hash of their folded names, kept up to date as subkeys are added and made again when
    // one goes. Open addressing with linear probing, at most half full; the slot count is a power
    // of two. A slot holds the hash, so that probing reads no key but the one found.
    struct ChildIndex {
        struct Slot {
            std::uint32_t hash = 0;
            Node* node = nullptr;
        };
        std::vector<Slot> slots;
        std::size_t count = 0;

        void insert(std::uint32_t hash, Node* child);
        void place(Slot slot);

        template <typename Name>
        Node* find(const Name& folded, std::uint32_t hash) const {
            const std::size_t mask = slots.size() - 1;
            for (std::size_t i = hash & mask; slots[i].node; i = (i + 1) & mask) {
                if (slots[i].hash == hash && slots[i].node->named(folded)) return slots[i].node;
            }
            return nullptr;
        }
    };

    // Keys are made only here: `name` as first created, `narrowName` as subkey listings deliver
    // it (in the registry's code page, one byte for each unit of `name`), `exact` when it
    // converts back to `name`.
    static std::unique_ptr<Node> make(std::u16string_view name, std::string_view narrowName,
                                      bool exact);
    // Frees what make allocated; with the destructor below, a whole subtree.
    static void operator delete(void* memory);
    static void* operator new(std::size_t) = delete;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();

    std::string_view narrowName() const {
        return {reinterpret_cast<const char*>(this) + sizeof(Node), nameSize_};
    }
    std::u16string_view name() const {
        return {reinterpret_cast<const char16_t*>(reinterpret_cast<const char*>(this) +
                                                  wideNameOffset(nameSize_)),
                nameSize_};
    }
    // Whether the key's folded name is `folded`: an 8-bit name of the code page is compared with
    // the 8-bit name, which lies beside what a walk reads first, when that converts exactly.
    template <typename Name>
    bool named(const Name& folded) const {
        if constexpr (std::is_same_v<Name, FoldingName>) {
            if (exact_) return equalsFolded(FoldingName{narrowName(), folded.units}, folded);
        }
        return equalsFolded(FoldedView{name()}, folded);
    }

    struct Found {
        Node* node;  // null when missing
        bool isLink;
    };
    // The subkey whose folded name is `folded` (a folded std::u16string_view, a FoldedView or a
    // FoldingName) and hashes to `hash`.
    template <typename Name>
    Found foldedChild(const Name& folded, std::uint32_t hash) const {
        if (const ChildIndex* index = childIndex()) {
            Node* found = index->find(folded, hash);
            return {found, found && found->link()};
        }
        for (const Subkey& c : children) {
            if (c.hash == hash && c.named(folded)) return {c.node.get(), c.isLink};
        }
        return {nullptr, false};
    }
    Node* child(std::u16string_view childName) const;
    Node* adopt(std::unique_ptr<Node> node);
    Node* addChild(std::u16string_view childName, std::string_view narrow, bool exact) {
        return adopt(make(childName, narrow, exact));
    }
    std::unique_ptr<Node> detach(std::u16string_view childName);
    // Takes every subkey out, to be moved elsewhere or retired.
    std::vector<std::unique_ptr<Node>> takeChildren();

    void setValue(std::u16string_view valueName, std::uint32_t type,
                  std::span<const std::uint8_t> data) {
        values.set(valueName, type, data);
    }
    void eraseValue(std::u16string_view valueName) { values.erase(valueName); }

    // A .reg file may nest keys many thousands deep, deeper than the call stack would allow a
    // recursion over the subtree: these walks and the destructor keep the keys still to visit in
    // a list instead.
    void markDeleted();
    bool holdsAny(const std::unordered_set<const Node*>& nodes) const;

    const Link* link() const { return rare_ ? rare_->link.get() : nullptr; }
    // Makes `child`, a subkey of this key, a link, or (with null) no link.
    void linkChild(Node& child, std::unique_ptr<Link> link);
    std::unique_ptr<Link> takeLink() { return rare_ ? std::move(rare_->link) : nullptr; }

    // What a walk reads first, in the key's first cache line with the 8-bit name that follows;
    // the UTF-16 name comes after that.
    bool deleted = false;

  private:
    static constexpr std::size_t kAlignment = 64;  // a cache line
    struct Rare {
        std::unique_ptr<Link> link;
        std::unique_ptr<ChildIndex> childIndex;
    };

    bool exact_;
    std::uint32_t nameSize_;
    std::unique_ptr<Rare> rare_;

  public:
    PackedValues values;  // in creation order, as NT keeps values
    Children children;    // in folded-name order, as NT's hives keep subkeys

  private:
    Node(std::size_t nameSize, bool exact);
    static std::size_t wideNameOffset(std::size_t nameSize) {
        return (sizeof(Node) + nameSize + 1) & ~std::size_t{1};
    }
    const ChildIndex* childIndex() const { return rare_ ? rare_->childIndex.get() : nullptr; }
    Rare& rare();
    Children::iterator lowerBound(const FoldedView& folded);
    // Makes the index afresh from the subkeys, or drops it when there are few.
    void reindex();
};

}  // namespace tamux::sim
