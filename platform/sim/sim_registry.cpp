#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#if defined(_GLIBCXX_HAS_GTHREADS)
#include <mutex>
#endif
#include <unordered_set>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/sim/codepage.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/sim_registry_node.h"

namespace tamux::sim {

using platform::KeyAccess;
using platform::RootKey;
namespace status = platform::status;

namespace {

// Answers of the Win32 registry that the shared status list does not name.
constexpr long kBadPathname = 161;  // ERROR_BAD_PATHNAME: a path that starts with a backslash
constexpr long kKeyDeleted = 1018;  // ERROR_KEY_DELETED: the open key was deleted meanwhile

// Deep enough for any real chain of links, small enough to end a loop quickly.
constexpr int kMaxLinkDepth = 16;

constexpr std::size_t kRootCount = 3;

constexpr const char* kLinkLoop = "a key path whose links do not lead back into themselves";

std::size_t rootIndex(RootKey root) {
    return static_cast<std::size_t>(root);
}

// Calls `visit` with each name along a path, as `components` lists them, without copying them.
template <typename Char, typename Visit>
bool forEachComponent(std::basic_string_view<Char> path, Visit&& visit) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(Char('\\'), start);
        if (end == std::basic_string_view<Char>::npos) end = path.size();
        if (end > start && !visit(start, end - start)) return false;
        start = end + 1;
    }
    return true;
}

// The names along a path. Empty components are skipped: a trailing or doubled backslash names the
// same key.
std::vector<std::u16string_view> components(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::u16string joined(const std::vector<std::u16string_view>& parts, std::size_t count) {
    std::u16string path;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) path += u'\\';
        path += parts[i];
    }
    return path;
}

}  // namespace

// Applies the edits of a .reg file to the registry.
class SimRegistry::Importer : public RegFileSink {
  public:
    explicit Importer(SimRegistry& registry) : registry_(registry) {}

    void selectKey(std::optional<RootKey> root, const std::u16string& path) override {
        current_ = nullptr;
        if (!root) return;
        current_ = registry_.walk(*root, path, true, 0);
        if (!current_) throw Error(kLinkLoop);
    }

    void deleteKey(std::optional<RootKey> root, const std::u16string& path) override {
        current_ = nullptr;
        if (root) registry_.removeKey(*root, path);
    }

    void setValue(const std::u16string& name, std::uint32_t type,
                  std::vector<std::uint8_t> data) override {
        // No current key: the values belong to a root the program never reads.
        if (current_) current_->setValue(name, type, data);
    }

    void deleteValue(const std::u16string& name) override {
        if (current_) current_->eraseValue(name);
    }

  private:
    SimRegistry& registry_;
    Node* current_ = nullptr;
};

// A lock where the library has threads; nothing where it has none, and nothing to guard against.
struct SimRegistry::Lock {
#if defined(_GLIBCXX_HAS_GTHREADS)
    mutable std::mutex mutex;
    std::unique_lock<std::mutex> hold() const {
        return std::unique_lock<std::mutex>(mutex);
    }
#else
    struct Held {
        ~Held() {}  // held for its scope, as a lock would be
    };
    Held hold() const {
        return {};
    }
#endif
};

namespace {

// Tells the registries of a process apart for the memos of their walks, also one made where
// another one was before.
std::uint64_t nextRegistryId() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

// Handles are multiples of 4 from 0x1000, as on Windows, with the shard's number in their low
// bits.
constexpr SimRegistry::Key kFirstHandle = 0x1000;

}  // namespace

SimRegistry::WalkMemo& SimRegistry::threadMemo() const {
#if defined(_GLIBCXX_HAS_GTHREADS)
    // Each thread resumes from its own last path: two walks side by side would undo each
    // other's.
    thread_local WalkMemo memo;
    if (memo.registry != id_) {
        memo = WalkMemo{};
        memo.registry = id_;
    }
    return memo;
#else
    return memo_;
#endif
}

struct alignas(64) SimRegistry::Shard {
    Lock lock;
    std::uint64_t next = 0;  // the number of the shard's next handle
    std::vector<OpenKey> keys;
};

bool SimRegistry::isHandle(Key key) {
    return key >= kFirstHandle && key % 4 == 0;
}

SimRegistry::Shard& SimRegistry::shardOf(Key key) const {
    return shards_[(key - kFirstHandle) / 4 % kShards];
}

std::unordered_set<const SimRegistry::Node*> SimRegistry::openNodes() const {
    std::unordered_set<const Node*> nodes;
    for (std::size_t i = 0; i < kShards; ++i) {
        const auto held = shards_[i].lock.hold();
        for (const OpenKey& open : shards_[i].keys) nodes.insert(open.node);
    }
    return nodes;
}

SimRegistry::SimRegistry(unsigned codePage)
    : codePage_(codePage),
      id_(nextRegistryId()),
      shards_(std::make_unique<Shard[]>(kShards)),
      retiredLock_(std::make_unique<Lock>()) {
    for (auto& root : roots_) root = Node::make({}, {}, true);
    for (unsigned byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        foldedUnits_[byte] = foldUnit(b < 0x80 ? b : toUnicode(codePage_, b));
    }
}

SimRegistry::~SimRegistry() = default;

std::u16string SimRegistry::wide(std::string_view text) const {
    return widen(codePage_, text);
}

std::string SimRegistry::narrow(std::u16string_view text) const {
    // Most names are ASCII, which every code page holds as it is.
    std::string ascii(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x80) return narrowUtf16(codePage_, text);
        ascii[i] = static_cast<char>(text[i]);
    }
    return ascii;
}

SimRegistry::Node* SimRegistry::addChild(Node& parent, std::u16string_view name) const {
    std::string narrowName = narrow(name);
    const bool exact = wide(narrowName) == name;
    return parent.addChild(name, narrowName, exact);
}

SimRegistry::Node* SimRegistry::walk(RootKey root, std::u16string_view path, bool create,
                                     int linkDepth) const {
    if (!create) return lookup(root, foldName(path), linkDepth);
    ++generation_;  // keys may be added
    if (linkDepth > kMaxLinkDepth || rootIndex(root) >= kRootCount) return nullptr;
    Node* node = roots_[rootIndex(root)].get();
    const bool reached = forEachComponent(path, [&](std::size_t at, std::size_t length) {
        const std::u16string_view name = path.substr(at, length);
        Node* next = node->child(name);
        if (!next) next = addChild(*node, name);
        if (const Node::Link* link = next->link()) {
            next = walk(link->root, link->path, true, linkDepth + 1);
        }
        node = next;
        return node != nullptr;
    });
    return reached ? node : nullptr;
}

SimRegistry::Node* SimRegistry::lookup(RootKey root, std::u16string_view folded,
                                       int linkDepth) const {
    if (linkDepth > kMaxLinkDepth || rootIndex(root) >= kRootCount) return nullptr;
    Node* node = roots_[rootIndex(root)].get();
    const bool reached = forEachComponent(folded, [&](std::size_t at, std::size_t length) {
        node = step(node, folded.substr(at, length), linkDepth);
        return node != nullptr;
    });
    return reached ? node : nullptr;
}

template <typename Name>
SimRegistry::Node* SimRegistry::step(Node* node, const Name& folded, int linkDepth) const {
    const Node::Found found = node->foldedChild(folded, hashFolded(folded));
    if (!found.isLink) return found.node;
    const Node::Link& link = *found.node->link();
    return lookup(link.root, link.folded, linkDepth + 1);
}

SimRegistry::Node* SimRegistry::find(RootKey root, std::string_view path) const {
    if (rootIndex(root) >= kRootCount) return nullptr;
    // Opens are the hot path of every device walk, which opens path after path that share all
    // but their last names. The walk resumes from the key that the longest shared run of whole
    // names led to last time, as long as no key has been added, deleted or linked since; only
    // the names after it are looked up, folded as they are compared.
    WalkMemo& memo = threadMemo();
    Node* node = roots_[rootIndex(root)].get();
    std::size_t from = 0, kept = 0;
    if (memo.generation == generation_ && memo.root == root) {
        for (std::size_t k = memo.steps.size(); k-- > 0;) {
            const auto [end, reached] = memo.steps[k];
            if (end <= path.size() && (end == path.size() || path[end] == '\\') &&
                path.compare(0, end, memo.path, 0, end) == 0) {
                node = reached;
                from = end;
                kept = k + 1;
                break;
            }
        }
    }
    memo.generation = generation_;
    memo.root = root;
    memo.path.assign(path);
    memo.steps.resize(kept);
    const std::string_view rest = path.substr(from);
    const bool reached = forEachComponent(rest, [&](std::size_t at, std::size_t length) {
        node = step(node, FoldingName{rest.substr(at, length), foldedUnits_}, 0);
        if (node) memo.steps.emplace_back(from + at + length, node);
        return node != nullptr;
    });
    return reached ? node : nullptr;
}

SimRegistry::Node* SimRegistry::create(RootKey root, std::string_view path) {
    Node* node = walk(root, wide(path), true, 0);
    if (!node) throw Error(kLinkLoop);
    return node;
}

bool SimRegistry::openDenied(RootKey root, const Node* node) const {
    if (deniedPaths_.empty()) return false;
    std::string prefix = std::to_string(rootIndex(root)) + "\\";
    for (const auto& entry : deniedPaths_) {
        if (entry.compare(0, prefix.size(), prefix) != 0) continue;
        // Looked up afresh, so that a denial reaches the key through links too.
        if (find(root, std::string_view(entry).substr(prefix.size())) == node) return true;
    }
    return false;
}

long SimRegistry::openKey(RootKey root, std::string_view path, KeyAccess access, Key& key) {
    key = 0;
    if (rootIndex(root) >= kRootCount) return status::kInvalidHandle;
    if (!path.empty() && path.front() == '\\') return kBadPathname;
    Node* node = find(root, path);
    if (!node) return status::kFileNotFound;
    if (openDenied(root, node)) return status::kAccessDenied;
    // RegOpenKeyEx with an empty path hands back the root itself, without an access check.
    if (!path.empty() && access == KeyAccess::AllAccess && denyAll_[rootIndex(root)]) {
        return status::kAccessDenied;
    }
    const std::size_t number = threadToken() % kShards;
    Shard& shard = shards_[number];
    {
        const auto held = shard.lock.hold();
        key = kFirstHandle + 4 * (number + kShards * shard.next++);
        shard.keys.push_back({key, node, threadToken()});
    }
    lastOpen() = {id_, key, node, foreignCloses_.load()};
    return status::kSuccess;
}

SimRegistry::LastOpen& SimRegistry::lastOpen() {
    thread_local LastOpen last;
    return last;
}

std::uint64_t SimRegistry::threadToken() {
    static std::atomic<std::uint64_t> next{1};
    thread_local const std::uint64_t token = next++;
    return token;
}

SimRegistry::Node* SimRegistry::openNode(Key key) const {
    const LastOpen& last = lastOpen();
    if (last.registry == id_ && last.key == key && last.foreignCloses == foreignCloses_.load()) {
        return last.node;
    }
    if (!isHandle(key)) return nullptr;
    const Shard& shard = shardOf(key);
    const auto held = shard.lock.hold();
    // Newest first: a walk reads the key it opened last.
    for (auto it = shard.keys.rbegin(); it != shard.keys.rend(); ++it) {
        if (it->key == key) return it->node;
    }
    return nullptr;
}

void SimRegistry::closeKey(Key key) {
    if (!isHandle(key)) return;
    const Node* closed = nullptr;
    {
        Shard& shard = shardOf(key);
        const auto held = shard.lock.hold();
        auto it = std::find_if(shard.keys.rbegin(), shard.keys.rend(),
                               [key](const OpenKey& open) { return open.key == key; });
        if (it == shard.keys.rend()) return;
        if (it->opener != threadToken()) ++foreignCloses_;
        closed = it->node;
        shard.keys.erase(std::next(it).base());
    }
    LastOpen& last = lastOpen();
    if (last.registry == id_ && last.key == key) last = {};
    // An open key that was deleted lies in a retired subtree: with none, the key is not read.
    if (!closed->deleted) return;
    const auto held = retiredLock_->hold();
    if (retired_.empty()) return;
    const std::unordered_set<const Node*> stillOpen = openNodes();
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                  [&stillOpen](const std::unique_ptr<Node>& subtree) {
                                      return !subtree->holdsAny(stillOpen);
                                  }),
                   retired_.end());
}

long SimRegistry::queryValue(Key key, std::string_view name, std::uint32_t& type,
                             std::vector<std::uint8_t>& data) {
    Node* node = openNode(key);
    if (!node) return status::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    // As RegQueryValueExA: the name is converted from the code page, then looked up.
    const FoldingName folded{name, foldedUnits_};
    const std::size_t at = node->values.find(folded);
    if (at == PackedValues::kNone) return status::kFileNotFound;
    type = node->values.type(at);
    const std::span<const std::uint8_t> bytes = node->values.data(at);
    data.assign(bytes.begin(), bytes.end());
    return status::kSuccess;
}

long SimRegistry::subkeyNames(Key key, std::vector<std::string>& names) {
    Node* node = openNode(key);
    if (!node) return status::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    // Into the strings `names` holds already, so that a caller listing key after key reuses them.
    const Node::Children& children = node->children;
    names.resize(children.size());
    for (std::size_t i = 0; i < children.size(); ++i)
        names[i].assign(children[i].node->narrowName());
    return status::kSuccess;
}

long SimRegistry::valueNames(Key key, std::vector<std::string>& names) {
    Node* node = openNode(key);
    if (!node) return status::kInvalidHandle;
    if (node->deleted) return kKeyDeleted;
    std::vector<std::string> result;
    const PackedValues& values = node->values;
    result.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) result.push_back(narrow(values.name(i)));
    names = std::move(result);
    return status::kSuccess;
}

void SimRegistry::importFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw RegFileError(file.string(), 0, "a .reg file that can be read");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw RegFileError(file.string(), 0, "a .reg file that can be read");
    importText(bytes, file.string());
}

void SimRegistry::importText(std::string_view bytes, std::string_view sourceName) {
    Importer importer(*this);
    parseRegFile(bytes, sourceName, codePage_, importer);
}

void SimRegistry::createKey(RootKey root, std::string_view path) {
    create(root, path);
}

void SimRegistry::setValue(RootKey root, std::string_view path, std::string_view name,
                           std::uint32_t type, std::vector<std::uint8_t> data) {
    create(root, path)->setValue(wide(name), type, data);
}

void SimRegistry::setString(RootKey root, std::string_view path, std::string_view name,
                            std::string_view text, std::uint32_t type) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    setValue(root, path, name, type, std::move(data));
}

void SimRegistry::setDword(RootKey root, std::string_view path, std::string_view name,
                           std::uint32_t value) {
    setValue(root, path, name, platform::regtype::kDword,
             {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void SimRegistry::deleteKey(RootKey root, std::string_view path) {
    removeKey(root, wide(path));
}

void SimRegistry::removeKey(RootKey root, std::u16string_view path) {
    ++generation_;
    if (rootIndex(root) >= kRootCount) return;
    auto parts = components(path);
    if (parts.empty()) {
        // A root cannot go; deleting it empties it.
        Node& top = *roots_[rootIndex(root)];
        for (auto& child : top.takeChildren()) retire(std::move(child));
        top.values.clear();
        return;
    }
    Node* parent = walk(root, joined(parts, parts.size() - 1), false, 0);
    if (!parent) return;
    // A link key itself goes here, not the key it shows.
    if (auto node = parent->detach(parts.back())) retire(std::move(node));
}

void SimRegistry::retire(std::unique_ptr<Node> node) {
    node->markDeleted();
    const auto held = retiredLock_->hold();
    if (node->holdsAny(openNodes())) retired_.push_back(std::move(node));
}

void SimRegistry::merge(Node& from, Node& into) {
    ++generation_;
    for (std::size_t i = 0; i < from.values.size(); ++i) {
        into.setValue(from.values.name(i), from.values.type(i), from.values.data(i));
    }
    from.values.clear();
    for (auto& child : from.takeChildren()) {
        Node* same = into.child(child->name());
        if (!same) {
            into.adopt(std::move(child));
            continue;
        }
        if (const Node::Link* link = same->link()) same = walk(link->root, link->path, false, 0);
        if (same && same != child.get()) merge(*child, *same);
        retire(std::move(child));
    }
}

void SimRegistry::linkKey(RootKey root, std::string_view linkPath, std::string_view targetPath) {
    ++generation_;
    std::u16string wideLink = wide(linkPath);
    auto parts = components(wideLink);
    if (parts.empty()) throw Error("A root key cannot be a link: " + std::string(linkPath));
    Node* parent = walk(root, joined(parts, parts.size() - 1), true, 0);
    if (!parent) throw Error(kLinkLoop);
    create(root, targetPath);  // NT's links always lead to a key that exists
    Node* link = parent->child(parts.back());
    if (!link) link = addChild(*parent, parts.back());

    std::unique_ptr<Node::Link> old = link->takeLink();
    const bool wasLink = old != nullptr;
    std::u16string wideTarget = wide(targetPath);
    std::u16string foldedTarget = foldName(wideTarget);
    parent->linkChild(*link, std::make_unique<Node::Link>(
                                 Node::Link{root, std::move(wideTarget), std::move(foldedTarget)}));
    Node* target = find(root, linkPath);
    if (!target) {
        parent->linkChild(*link, std::move(old));
        throw Error("The link " + std::string(linkPath) + " to " + std::string(targetPath) +
                    " would lead back into itself");
    }
    // Keys written under the link's name before it became one now live in the target.
    if (!wasLink) merge(*link, *target);
}

void SimRegistry::denyAllAccess(RootKey root, bool deny) {
    if (rootIndex(root) < kRootCount) denyAll_[rootIndex(root)] = deny;
}

void SimRegistry::denyOpen(RootKey root, std::string_view path) {
    std::u16string widePath = wide(path);
    auto parts = components(widePath);
    deniedPaths_.insert(std::to_string(rootIndex(root)) + "\\" +
                        toAsciiUpper(narrow(joined(parts, parts.size()))));
}

std::size_t SimRegistry::openKeyCount() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < kShards; ++i) {
        const auto held = shards_[i].lock.hold();
        count += shards_[i].keys.size();
    }
    return count;
}

}  // namespace tamux::sim
