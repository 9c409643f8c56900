#include "tools/regimport/registry_copier.h"

#include <vector>

namespace tamux::regimport {

namespace {

using platform::Registry;
namespace status = platform::status;

class Copier {
  public:
    Copier(Registry& source, platform::RootKey root) : source_(source), root_(root) {}

    // Copies the key at `path` of the source into `destination` (already open).
    bool copy(const std::string& path, HKEY destination) {
        Registry::Key key = 0;
        long opened = source_.openKey(root_, path, platform::KeyAccess::Read, key);
        if (opened != status::kSuccess) return fail(opened, path);
        bool ok = copyOpen(key, path, destination);
        source_.closeKey(key);
        return ok;
    }

    CopyResult result;

  private:
    bool fail(long error, const std::string& path) {
        result.error = error;
        result.failedAt = path;
        return false;
    }

    bool copyOpen(Registry::Key key, const std::string& path, HKEY destination) {
        std::vector<std::string> names;
        long listed = source_.valueNames(key, names);
        if (listed != status::kSuccess) return fail(listed, path);
        for (const std::string& name : names) {
            std::uint32_t type = 0;
            std::vector<std::uint8_t> data;
            long read = source_.queryValue(key, name, type, data);
            if (read != status::kSuccess) return fail(read, path + " '" + name + "'");
            LONG written = RegSetValueExA(destination, name.c_str(), 0, type,
                                          data.empty() ? nullptr : data.data(),
                                          static_cast<DWORD>(data.size()));
            if (written != ERROR_SUCCESS) return fail(written, path + " '" + name + "'");
            ++result.values;
        }
        listed = source_.subkeyNames(key, names);
        if (listed != status::kSuccess) return fail(listed, path);
        for (const std::string& name : names) {
            const std::string childPath = path.empty() ? name : path + "\\" + name;
            HKEY child = nullptr;
            LONG created = RegCreateKeyExA(destination, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &child, nullptr);
            if (created != ERROR_SUCCESS) return fail(created, childPath);
            ++result.keys;
            bool ok = copy(childPath, child);
            RegCloseKey(child);
            if (!ok) return false;
        }
        return true;
    }

    Registry& source_;
    platform::RootKey root_;
};

}  // namespace

CopyResult copyTree(platform::Registry& source, platform::RootKey root, HKEY destination) {
    Copier copier(source, root);
    copier.copy("", destination);
    return copier.result;
}

}  // namespace tamux::regimport
