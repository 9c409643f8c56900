#include "platform/sim/sim_registry_node.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace tamux::sim {

namespace {

// Keys with at least this many subkeys find them through a hash index; fewer are found by
// reading their hashes in turn, which lie side by side.
constexpr std::size_t kIndexedChildren = 8;

}  // namespace

void SimRegistry::Node::ChildIndex::insert(std::uint32_t hash, Node* child) {
    if ((count + 1) * 2 > slots.size()) {
        std::vector<Slot> old = std::move(slots);
        slots.assign(std::max<std::size_t>(2 * kIndexedChildren, old.size() * 2), Slot{});
        for (const Slot& slot : old) {
            if (slot.node) place(slot);
        }
    }
    place({hash, child});
    ++count;
}

void SimRegistry::Node::ChildIndex::place(Slot slot) {
    const std::size_t mask = slots.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots[i].node) i = (i + 1) & mask;
    slots[i] = slot;
}

SimRegistry::Node::Node(std::size_t nameSize, std::size_t narrowSize)
    : nameSize_(static_cast<std::uint32_t>(nameSize)),
      narrowSize_(static_cast<std::uint32_t>(narrowSize)) {}

std::unique_ptr<SimRegistry::Node> SimRegistry::Node::make(std::u16string_view name,
                                                           std::string_view narrowName) {
    static_assert(sizeof(Node) % alignof(char16_t) == 0);
    void* memory = ::operator new(sizeof(Node) + 2 * name.size() + narrowName.size());
    std::unique_ptr<Node> node(::new (memory) Node(name.size(), narrowName.size()));
    auto* names = static_cast<unsigned char*>(memory) + sizeof(Node);
    if (!name.empty()) std::memcpy(names, name.data(), 2 * name.size());
    if (!narrowName.empty()) {
        std::memcpy(names + 2 * name.size(), narrowName.data(), narrowName.size());
    }
    return node;
}

SimRegistry::Node::~Node() {
    std::vector<std::unique_ptr<Node>> pending = takeChildren();
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        for (Subkey& c : node->children) pending.push_back(std::move(c.node));
        node->children.clear();
        node->childIndex.reset();
    }
}

SimRegistry::Node::Children::iterator SimRegistry::Node::lowerBound(const FoldedView& folded) {
    return std::lower_bound(children.begin(), children.end(), folded,
                            [](const Subkey& child, const FoldedView& key) {
                                return foldedBefore(FoldedView{child.node->name()}, key);
                            });
}

SimRegistry::Node* SimRegistry::Node::child(std::u16string_view childName) const {
    const FoldedView folded{childName};
    return foldedChild(folded, hashFolded(folded));
}

SimRegistry::Node* SimRegistry::Node::adopt(std::unique_ptr<Node> node) {
    const FoldedView folded{node->name()};
    const std::uint32_t hash = hashFolded(folded);
    Node* added = children.insert(lowerBound(folded), Subkey{hash, std::move(node)})->node.get();
    if (childIndex) {
        childIndex->insert(hash, added);
    } else if (children.size() >= kIndexedChildren) {
        reindex();
    }
    return added;
}

std::unique_ptr<SimRegistry::Node> SimRegistry::Node::detach(std::u16string_view childName) {
    const FoldedView folded{childName};
    auto it = lowerBound(folded);
    if (it == children.end() || !equalsFolded(FoldedView{it->node->name()}, folded)) {
        return nullptr;
    }
    std::unique_ptr<Node> node = std::move(it->node);
    children.erase(it);
    reindex();
    return node;
}

std::vector<std::unique_ptr<SimRegistry::Node>> SimRegistry::Node::takeChildren() {
    std::vector<std::unique_ptr<Node>> taken;
    taken.reserve(children.size());
    for (Subkey& c : children) taken.push_back(std::move(c.node));
    children.clear();
    childIndex.reset();
    return taken;
}

void SimRegistry::Node::reindex() {
    childIndex.reset();
    if (children.size() < kIndexedChildren) return;
    childIndex = std::make_unique<ChildIndex>();
    for (const Subkey& c : children) childIndex->insert(c.hash, c.node.get());
}

void SimRegistry::Node::markDeleted() {
    std::vector<Node*> pending{this};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        node->deleted = true;
        for (const Subkey& c : node->children) pending.push_back(c.node.get());
    }
}

bool SimRegistry::Node::holdsAny(const std::unordered_set<const Node*>& nodes) const {
    std::vector<const Node*> pending{this};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (nodes.count(node)) return true;
        for (const Subkey& c : node->children) pending.push_back(c.node.get());
    }
    return false;
}

}  // namespace tamux::sim
