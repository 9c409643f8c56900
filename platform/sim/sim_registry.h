// The simulated machine's registry: a tree of keys loaded from real .reg exports, answering the
// Registry service exactly as the Win32 registry does (names compared without regard to case,
// subkeys and values in a stable order, the same failures), with failures that tests inject.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
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
    // RegFileError for a malformed line; keys and values before it stay loaded.
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
    Node* find(platform::RootKey root, std::string_view path) const;
    Node* create(platform::RootKey root, std::string_view path);

    unsigned codePage_;
    std::unique_ptr<Node> roots_[3];
    std::map<Key, Node*> open_;
    Key nextKey_ = 0x1000;
    bool denyAll_[3] = {false, false, false};
    std::set<std::string> deniedPaths_;  // "<root index>\<upper-cased path>"
};

}  // namespace tamux::sim
