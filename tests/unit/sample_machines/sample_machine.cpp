#include "tests/unit/sample_machines/sample_machine.h"

#include <algorithm>

namespace tamux::test {

namespace fs = std::filesystem;
using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;

fs::path samplesDir() {
    return sourceDir() / "samples" / "machines";
}

std::vector<std::string> sampleMachineNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(samplesDir())) {
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string joinKey(std::string_view a, std::string_view b) {
    std::string path(a);
    path += '\\';
    path += b;
    return path;
}

SampleMachine::SampleMachine(const std::string& name)
    : machine_(sim::Machine::load(samplesDir() / name, drive_.path())) {}

Registry& SampleMachine::registry() {
    return machine_->platform().registry;
}

namespace {

// An open key that closes itself.
class OpenKey {
  public:
    OpenKey(Registry& registry, RootKey root, std::string_view path) : registry_(registry) {
        if (registry_.openKey(root, path, KeyAccess::Read, key_) != platform::status::kSuccess) {
            key_ = 0;
        }
    }
    ~OpenKey() { registry_.closeKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return key_ != 0; }
    Registry::Key get() const { return key_; }

  private:
    Registry& registry_;
    Registry::Key key_ = 0;
};

}  // namespace

bool SampleMachine::keyExists(RootKey root, std::string_view path) {
    return static_cast<bool>(OpenKey(registry(), root, path));
}

std::vector<std::string> SampleMachine::subkeys(RootKey root, std::string_view path) {
    std::vector<std::string> names;
    OpenKey key(registry(), root, path);
    if (key) registry().subkeyNames(key.get(), names);
    return names;
}

std::vector<std::string> SampleMachine::valueNames(RootKey root, std::string_view path) {
    std::vector<std::string> names;
    OpenKey key(registry(), root, path);
    if (key) registry().valueNames(key.get(), names);
    return names;
}

std::string SampleMachine::Value::text() const {
    std::string s(data.begin(), data.end());
    return s.substr(0, s.find('\0'));
}

std::optional<SampleMachine::Value> SampleMachine::value(RootKey root, std::string_view path,
                                                         std::string_view name) {
    OpenKey key(registry(), root, path);
    if (!key) return std::nullopt;
    Value v{};
    if (registry().queryValue(key.get(), name, v.type, v.data) != platform::status::kSuccess) {
        return std::nullopt;
    }
    return v;
}

std::optional<std::string> SampleMachine::text(RootKey root, std::string_view path,
                                               std::string_view name) {
    auto v = value(root, path, name);
    if (!v || (v->type != platform::regtype::kSz && v->type != platform::regtype::kExpandSz)) {
        return std::nullopt;
    }
    return v->text();
}

}  // namespace tamux::test
