#include "platform/sim/sim_registry_node.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/errors.h"

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

SimRegistry::Node::Node(std::size_t nameSize, bool exact)
    : exact_(exact), nameSize_(static_cast<std::uint32_t>(nameSize)) {}

std::unique_ptr<SimRegistry::Node> SimRegistry::Node::make(std::u16string_view name,
                                                           std::string_view narrowName,
                                                           bool exact) {
    if (narrowName.size() != name.size()) {
        throw Error("A key whose 8-bit name is not one byte for each unit of its name");
    }
    // Placed at the first line boundary after the start of a plain allocation, the distance
    // kept in the byte before it. An aligned allocation would leave fragments of memory around
    // each key, which later allocations elsewhere then search through.
    static_assert(sizeof(Node) <= 48, "room in a key's first line for a short 8-bit name");
    const std::size_t size = wideNameOffset(name.size()) + 2 * name.size();
    auto* raw = static_cast<unsigned char*>(::operator new(size + kAlignment));
    const std::size_t shift = kAlignment - reinterpret_cast<std::uintptr_t>(raw) % kAlignment;
    unsigned char* memory = raw + shift;
    memory[-1] = static_cast<unsigned char>(shift);
    std::unique_ptr<Node> node(::new (memory) Node(name.size(), exact));
    auto* bytes = reinterpret_cast<char*>(memory);
    if (!name.empty()) {
        std::memcpy(bytes + sizeof(Node), narrowName.data(), narrowName.size());
        std::memcpy(bytes + wideNameOffset(name.size()), name.data(), 2 * name.size());
    }
    return node;
}

void SimRegistry::Node::operator delete(void* memory) {
    auto* start = static_cast<unsigned char*>(memory);
    ::operator delete(start - start[-1]);
}

SimRegistry::Node::Rare& SimRegistry::Node::rare() {
    if (!rare_) rare_ = std::make_unique<Rare>();
    return *rare_;
}

void SimRegistry::Node::linkChild(Node& child, std::unique_ptr<Link> link) {
    for (Subkey& c : children) {
        if (c.node.get() == &child) c.isLink = link != nullptr;
    }
    if (link || child.rare_) child.rare().link = std::move(link);
}

SimRegistry::Node::~Node() {
    std::vector<std::unique_ptr<Node>> pending = takeChildren();
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        for (Subkey& c : node->children) pending.push_back(std::move(c.node));
        node->children.clear();
        node->rare_.reset();
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
    return foldedChild(folded, hashFolded(folded)).node;
}

SimRegistry::Node* SimRegistry::Node::adopt(std::unique_ptr<Node> node) {
    const FoldedView folded{node->name()};
    const std::uint32_t hash = hashFolded(folded);
    Subkey entry;
    entry.hash = hash;
    if (node->exact_ && node->nameSize_ <= Subkey::kHeldSize) {
        entry.heldSize = static_cast<std::uint8_t>(node->nameSize_);
        std::memcpy(entry.held, node->narrowName().data(), node->nameSize_);
    }
    entry.isLink = node->link() != nullptr;
    entry.node = std::move(node);
    Node* added = children.insert(lowerBound(folded), std::move(entry))->node.get();
    if (rare_ && rare_->childIndex) {
        rare_->childIndex->insert(hash, added);
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
    reindex();
    return taken;
}

void SimRegistry::Node::reindex() {
    if (rare_) rare_->childIndex.reset();
    if (children.size() < kIndexedChildren) return;
    auto index = std::make_unique<ChildIndex>();
    for (const Subkey& c : children) index->insert(c.hash, c.node.get());
    rare().childIndex = std::move(index);
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
