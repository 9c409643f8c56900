// The simulated machine's registry: a tree of keys loaded from real .reg exports, answering the
// Registry service exactly as the Win32 registry does (names compared without regard to case,
// subkeys and values in a stable order, the same failures), with failures that tests inject.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/registry.h"

namespace tamux::sim {

// A .reg file that cannot be read: names the file, the line and what was expected there.
class RegFileError : public Error {
  public:
    RegFileError(std::string file, int line, const std::string& expected);
    const std::string& file() const { return file_; }
    int line() const { return line_; }

  private:
    std::string file_;
    int line_;
};

class SimRegistry : public platform::Registry {
  public:
    // String values are delivered in this 8-bit code page (1250, 1251 or 1252).
    explicit SimRegistry(unsigned codePage = 1252);
    ~SimRegistry() override;

    // platform::Registry
    long openKey(platform::RootKey root, std::string_view path, platform::KeyAccess access,
                 Key& key) override;
    void closeKey(Key key) override;
    long queryValue(Key key, std::string_view name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data) override;
    long subkeyNames(Key key, std::vector<std::string>& names) override;
    long valueNames(Key key, std::vector<std::string>& names) override;

    // Loads a .reg export: "REGEDIT4" or "Windows Registry Editor Version 5.00", UTF-16LE with a
    // BOM or 8-bit (in this registry's code page), CRLF or LF, with every value form of the
    // export formats. Keys are created as needed; "[-key]" and "name"=- delete. Raises
    // RegFileError for a malformed line; keys and values before it stay loaded. A file with a
    // UTF-8 BOM (written by a text editor) is read as UTF-8. Keys under HKEY_CLASSES_ROOT,
    // HKEY_USERS and HKEY_CURRENT_CONFIG are accepted and dropped: the program never reads them.
    void importFile(const std::filesystem::path& file);
    void importText(std::string_view bytes, std::string_view sourceName);

    // Direct edits for tests. Paths are full paths under the root; keys are created as needed.
    // String-typed data is given in this registry's 8-bit code page, terminating NULs included.
    void createKey(platform::RootKey root, std::string_view path);
    void setValue(platform::RootKey root, std::string_view path, std::string_view name,
                  std::uint32_t type, std::vector<std::uint8_t> data);
    void setString(platform::RootKey root, std::string_view path, std::string_view name,
                   std::string_view text, std::uint32_t type = platform::regtype::kSz);
    void setDword(platform::RootKey root, std::string_view path, std::string_view name,
                  std::uint32_t value);
    void deleteKey(platform::RootKey root, std::string_view path);

    // Makes the key at `linkPath` a link to `targetPath` (both full paths under `root`), as NT's
    // HKLM\SYSTEM\CurrentControlSet links to ControlSet001: opening, reading and importing through
    // either path reach the same key. The target is created when missing; whatever the link path
    // held before is merged into the target. Raises tamux::Error for a root link path or a link
    // that would lead back into itself.
    void linkKey(platform::RootKey root, std::string_view linkPath, std::string_view targetPath);

    // Failure injection. With denyAllAccess(root), opening any key under `root` with
    // KeyAccess::AllAccess fails with kAccessDenied while reading opens still succeed (a limited
    // account). denyOpen makes every open of that exact key fail with kAccessDenied.
    void denyAllAccess(platform::RootKey root, bool deny = true);
    void denyOpen(platform::RootKey root, std::string_view path);

    // Keys that are open now (tests check that nothing is leaked).
    std::size_t openKeyCount() const;

    unsigned codePage() const { return codePage_; }

  private:
    struct Node;
    class Importer;
    Node* find(platform::RootKey root, std::string_view path) const;
    Node* create(platform::RootKey root, std::string_view path);
    // Names are kept in UTF-16, as NT keeps them; the 8-bit names of the interface are converted
    // with the code page on the way in and out.
    std::u16string wide(std::string_view text) const;
    std::string narrow(std::u16string_view text) const;
    // A new subkey of `parent`, with its name in both forms.
    Node* addChild(Node& parent, std::u16string_view name) const;
    // Follows `path` from the root, through links; creates missing keys when `create` is set.
    // Null when a key is missing or the links loop.
    Node* walk(platform::RootKey root, std::u16string_view path, bool create, int linkDepth) const;
    // walk without creating, for a path already folded to the form names are compared in.
    Node* lookup(platform::RootKey root, std::u16string_view folded, int linkDepth) const;
    // The subkey of `node` named `folded` (folded UTF-16, or 8-bit text folded as it is read),
    // through a link; null when missing.
    template <typename Name>
    Node* step(Node* node, const Name& folded, int linkDepth) const;
    void removeKey(platform::RootKey root, std::u16string_view path);
    // Takes a deleted subtree out of reach; open keys into it answer "key deleted".
    void retire(std::unique_ptr<Node> node);
    bool openDenied(platform::RootKey root, const Node* node) const;
    // Moves the values and subkeys of `from` into `into`; same-named subkeys merge.
    void merge(Node& from, Node& into);

    unsigned codePage_;
    // Each byte of the code page as the UTF-16 unit it converts to, folded: a name converts and
    // folds byte by byte.
    char16_t foldedUnits_[256];
    std::unique_ptr<Node> roots_[3];
    // Keys may be opened, read and closed by two threads at once, as the Win32 registry allows
    // (a device walk in two halves); the keys themselves do not change meanwhile. Each thread
    // has its own memo of the last path it walked, and keeps the keys it opens in a shard of
    // the open keys that another thread seldom touches: a handle names its shard.
    std::uint64_t id_;
    struct OpenKey {
        Key key;
        Node* node;
        std::uint64_t opener;  // the thread that opened it (threadToken)
    };
    struct Lock;
    // A lock, the next handle's number and the open keys (oldest first: few at a time, opened
    // and closed thousands of times by a walk), on cache lines of their own.
    struct Shard;
    static constexpr std::size_t kShards = 8;
    std::unique_ptr<Shard[]> shards_;
    Shard& shardOf(Key key) const;  // key: a handle the registry gave out
    static bool isHandle(Key key);
    // The nodes of every open key.
    std::unordered_set<const Node*> openNodes() const;
    // Keys closed by another thread than the one that opened them, which makes every thread's
    // LastOpen doubtful.
    std::atomic<std::uint64_t> foreignCloses_{0};
    // A thread's last opened key, which a walk queries several times in a row: read without a
    // lock while this thread has not closed it and no foreign close has happened since.
    struct LastOpen {
        std::uint64_t registry = 0;
        Key key = 0;
        Node* node = nullptr;
        std::uint64_t foreignCloses = 0;
    };
    static LastOpen& lastOpen();
    static std::uint64_t threadToken();
    // The key an open handle stands for, or null.
    Node* openNode(Key key) const;
    // Guards retired_ where two threads close keys of deleted subtrees at once.
    std::unique_ptr<Lock> retiredLock_;
    bool denyAll_[3] = {false, false, false};
    std::set<std::string> deniedPaths_;           // "<root index>\<upper-cased path>"
    std::vector<std::unique_ptr<Node>> retired_;  // deleted subtrees that open keys still hold

    // Counts the changes to which keys exist and where links lead.
    mutable std::uint64_t generation_ = 0;
    // The last path looked up from a root, as it was given: the end of each of its names that
    // was found, and the key it led to. Valid while `generation` is the registry's.
    struct WalkMemo {
        std::uint64_t registry = 0;  // the id of the registry it belongs to
        std::uint64_t generation = ~std::uint64_t{0};
        platform::RootKey root = platform::RootKey::LocalMachine;
        std::string path;
        std::vector<std::pair<std::size_t, Node*>> steps;
    };
#if !defined(_GLIBCXX_HAS_GTHREADS)
    mutable WalkMemo memo_;  // the only one where the library has no threads
#endif
    WalkMemo& threadMemo() const;
};

}  // namespace tamux::sim
