// One key of the simulated registry. A device walk opens thousands of keys one after the other
// and reads a few values of each, so a key is laid out for the lines of memory such a read
// touches: the key's names follow it in the same allocation, its values are one block
// (PackedValues), and its subkeys are listed with the hashes of their folded names beside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
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
    struct Subkey {
        std::uint32_t hash;  // hashFolded of the subkey's name
        std::unique_ptr<Node> node;
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
                if (slots[i].hash == hash &&
                    equalsFolded(FoldedView{slots[i].node->name()}, folded)) {
                    return slots[i].node;
                }
            }
            return nullptr;
        }
    };

    // Keys are made only here: `name` as first created, `narrowName` as subkey listings deliver
    // it (in the registry's code page).
    static std::unique_ptr<Node> make(std::u16string_view name, std::string_view narrowName);
    // Frees what make allocated; with the destructor below, a whole subtree.
    static void operator delete(void* memory) { ::operator delete(memory); }
    static void* operator new(std::size_t) = delete;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();

    std::u16string_view name() const {
        return {reinterpret_cast<const char16_t*>(trailing()), nameSize_};
    }
    std::string_view narrowName() const {
        return {reinterpret_cast<const char*>(trailing()) + 2 * nameSize_, narrowSize_};
    }

    // The subkey whose folded name is `folded` (a folded std::u16string_view, a FoldedView or a
    // FoldingName) and hashes to `hash`; null when missing.
    template <typename Name>
    Node* foldedChild(const Name& folded, std::uint32_t hash) const {
        if (childIndex) return childIndex->find(folded, hash);
        for (const Subkey& c : children) {
            if (c.hash == hash && equalsFolded(FoldedView{c.node->name()}, folded)) {
                return c.node.get();
            }
        }
        return nullptr;
    }
    Node* child(std::u16string_view childName) const;
    Node* adopt(std::unique_ptr<Node> node);
    Node* addChild(std::u16string_view childName, std::string_view narrow) {
        return adopt(make(childName, narrow));
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

    // What a walk reads first.
    bool deleted = false;
    std::unique_ptr<Link> link;
    PackedValues values;  // in creation order, as NT keeps values
    Children children;    // in folded-name order, as NT's hives keep subkeys
    // Held apart, so that the many keys with few subkeys do not carry an empty one.
    std::unique_ptr<ChildIndex> childIndex;

  private:
    Node(std::size_t nameSize, std::size_t narrowSize);
    const unsigned char* trailing() const {
        return reinterpret_cast<const unsigned char*>(this) + sizeof(Node);
    }
    Children::iterator lowerBound(const FoldedView& folded);
    // Makes the index afresh from the subkeys, or drops it when there are few.
    void reindex();

    std::uint32_t nameSize_;
    std::uint32_t narrowSize_;
};

}  // namespace tamux::sim
