#include "platform/reg_key.h"

#include <utility>

namespace tamux {

using platform::Registry;
namespace status = platform::status;
namespace regtype = platform::regtype;

RegistryError invalidDataType(std::string_view name) {
    return RegistryError("Invalid data type for '" + std::string(name) + "'");
}

RegistryError failedToGetData(std::string_view name) {
    return RegistryError("Failed to get data for '" + std::string(name) + "'");
}

RegKey::RegKey(Registry& registry, platform::RootKey root, platform::KeyAccess access)
    : registry_(registry), root_(root), access_(access) {}

RegKey::~RegKey() {
    closeKey();
}

bool RegKey::openKey(std::string_view path) {
    closeKey();
    Registry::Key key = 0;
    if (registry_.openKey(root_, path, access_, key) != status::kSuccess || key == 0) return false;
    key_ = key;
    path_.assign(path.data(), path.size());
    return true;
}

void RegKey::closeKey() {
    if (key_ != 0) registry_.closeKey(key_);
    key_ = 0;
    path_.clear();
}

long RegKey::query(std::string_view name, std::uint32_t& type) {
    long result = registry_.queryValue(key_, name, type, data_);
    if (result != status::kSuccess && result != status::kFileNotFound) throw failedToGetData(name);
    return result;
}

bool RegKey::valueExists(std::string_view name) {
    return valueType(name).has_value();
}

std::optional<std::uint32_t> RegKey::valueType(std::string_view name) {
    if (key_ == 0) return std::nullopt;
    std::uint32_t type = 0;
    if (registry_.queryValue(key_, name, type, data_) != status::kSuccess) return std::nullopt;
    return type;
}

namespace {

// A string value's text, cut at its first NUL; only the string types are strings.
std::string_view stringText(std::uint32_t type, std::string_view data, std::string_view name) {
    if (type != regtype::kSz && type != regtype::kExpandSz) throw invalidDataType(name);
    return data.substr(0, data.find('\0'));
}

}  // namespace

std::string RegKey::readString(std::string_view name) {
    return std::string(readStringView(name));
}

std::string_view RegKey::readStringView(std::string_view name) {
    if (key_ == 0) return {};
    std::uint32_t type = 0;
    if (query(name, type) == status::kFileNotFound) return {};
    return stringText(
        type, std::string_view(reinterpret_cast<const char*>(data_.data()), data_.size()), name);
}

std::optional<RegKey::Value> RegKey::readValue(std::string_view name) {
    const std::optional<std::uint32_t> type = valueType(name);
    if (!type) return std::nullopt;
    return Value{*type, std::string(data_.begin(), data_.end())};
}

std::string RegKey::stringOf(Value value, std::string_view name) {
    value.data.resize(stringText(value.type, value.data, name).size());
    return std::move(value.data);
}

std::uint32_t RegKey::readInteger(std::string_view name) {
    if (key_ == 0) throw failedToGetData(name);
    std::uint32_t type = 0;
    if (query(name, type) == status::kFileNotFound) throw failedToGetData(name);
    if (type != regtype::kDword) throw invalidDataType(name);
    if (data_.size() != 4) throw failedToGetData(name);
    return static_cast<std::uint32_t>(data_[0]) | (static_cast<std::uint32_t>(data_[1]) << 8) |
           (static_cast<std::uint32_t>(data_[2]) << 16) |
           (static_cast<std::uint32_t>(data_[3]) << 24);
}

std::vector<std::uint8_t> RegKey::readBinaryData(std::string_view name) {
    const std::span<const std::uint8_t> data = readBinaryView(name);
    return {data.begin(), data.end()};
}

std::span<const std::uint8_t> RegKey::readBinaryView(std::string_view name) {
    if (key_ == 0) return {};
    std::uint32_t type = 0;
    if (query(name, type) == status::kFileNotFound) return {};
    if (type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kDword) {
        throw invalidDataType(name);
    }
    return data_;
}

std::vector<std::string> RegKey::valueNames() {
    std::vector<std::string> names;
    if (key_ != 0) registry_.valueNames(key_, names);
    return names;
}

std::vector<std::string> RegKey::subkeyNames() {
    std::vector<std::string> names;
    subkeyNames(names);
    return names;
}

void RegKey::subkeyNames(std::vector<std::string>& names) {
    if (key_ == 0 || registry_.subkeyNames(key_, names) != status::kSuccess) names.clear();
}

}  // namespace tamux
