#include "registry/enum_devices.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/reg_key.h"
#include "registry/join_reg_strings.h"
#include "registry/win_version.h"

namespace tamux {

namespace {

using platform::KeyAccess;
using platform::RootKey;

constexpr std::string_view kNtEnum = "SYSTEM\\CurrentControlSet\\Enum";
constexpr std::string_view kNtRootEnum = "SYSTEM\\CurrentControlSet\\Enum\\Root";
constexpr std::string_view kNtClass = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
constexpr std::string_view kNtServices = "SYSTEM\\CurrentControlSet\\Services";
constexpr std::string_view k9xConfigManager = "Config Manager\\Enum";
constexpr std::string_view k9xClass = "System\\CurrentControlSet\\Services\\Class\\";

std::string join(std::string_view a, std::string_view b) {
    std::string path(a);
    path += '\\';
    path += b;
    return path;
}

// "friendlyname" when the key has it, else "DeviceDesc", which the caller read already to learn
// that it exists: each value is queried once.
std::string description(RegKey& key, RegKey::Value deviceDesc) {
    if (std::optional<RegKey::Value> friendly = key.readValue("friendlyname")) {
        return RegKey::stringOf(std::move(*friendly), "friendlyname");
    }
    return RegKey::stringOf(std::move(deviceDesc), "DeviceDesc");
}

// The table grows while a record is filled only through this index, so a reference taken from
// it stays valid for one instance.
DeviceEntry& appendRecord(DeviceTable& table) {
    table.emplace_back();
    return table.back();
}

// ---- NT 5.x: SYSTEM\CurrentControlSet\Enum\<enumerator>\<device id>\<instance> ----

enum class Nt5Walk { Win2000, WinXP };

// The description and name of each class key, read once per walk: many instances share a class,
// and the registry does not change while it is walked.
class Nt5Classes {
  public:
    struct Class {
        bool opened = false;
        std::string description;
        std::string name;
    };

    const Class& find(RegKey& key, const std::string& guid) {
        // Instances of one device id come one after the other and share their class.
        if (last_ != nullptr && (lastGuid_ == guid || equalsIgnoringCase(lastGuid_, guid))) {
            return *last_;
        }
        auto [it, added] = classes_.try_emplace(toAsciiUpper(guid));
        if (added && key.openKey(std::string(kNtClass) + guid)) {
            it->second.opened = true;
            it->second.description = key.readString("");
            it->second.name = key.readString("Class");
        }
        lastGuid_ = guid;
        last_ = &it->second;
        return it->second;
    }

  private:
    std::map<std::string, Class> classes_;
    std::string lastGuid_;
    const Class* last_ = nullptr;  // map entries stay where they are
};

// The paths of one walk, built in buffers that are kept: a walk opens two or three paths for
// each of thousands of instances.
struct Nt5Paths {
    std::string device;     // SYSTEM\CurrentControlSet\Enum\<enumerator>\<device id>
    std::string instance;   // device + "\<instance>"
    std::string control;    // instance + "\Control"
    std::string classGuid;  // the instance's, until its class is found
};

void readNt5Instance(RegKey& key, Nt5Paths& paths, Nt5Walk walk, Nt5Classes& classes,
                     DeviceEntry& record) {
    if (!key.openKey(paths.control)) return;
    if (walk == Nt5Walk::Win2000 && !key.valueExists("DeviceReference")) return;

    const std::string& path = paths.instance;
    key.openKey(path);
    // The class GUID is kept aside: most records hold their class's description in its place, a
    // short one without a copy of the GUID on the heap.
    paths.classGuid.clear();
    if (std::optional<RegKey::Value> deviceDesc = key.readValue("DeviceDesc")) {
        // A missing value reads as empty, which is what each field holds before: no separate
        // test for it is needed.
        record.hardwareID = joinRegStrings(key.readBinaryView("HardwareID"));
        for (char& c : record.hardwareID) c = toAsciiUpper(c);
        record.keyPath = path;
        record.description = description(key, std::move(*deviceDesc));
        paths.classGuid.assign(key.readStringView("Classguid"));
        record.hwFlag = key.valueExists("CompatibleIDs");
        // Also without a "Driver" value: the driver key is then the class root itself.
        const std::string_view driver = key.readStringView("Driver");
        record.driverKey.reserve(kNtClass.size() + driver.size());
        record.driverKey.assign(kNtClass).append(driver);
    }
    // A class key that cannot be opened leaves the GUID in ClassDesc.
    const Nt5Classes::Class& found = classes.find(key, paths.classGuid);
    if (found.opened) {
        record.classDesc = found.description;
        record.className = found.name;
    } else {
        record.classDesc = paths.classGuid;
    }
}

// The device ids of every enumerator, in the walk's order, their names in one text.
struct Nt5Devices {
    std::vector<std::string> enumerators;  // SYSTEM\CurrentControlSet\Enum\<enumerator>
    struct Device {
        std::uint32_t enumerator = 0;
        std::uint32_t at = 0, size = 0;  // the id, in ids
    };
    std::vector<Device> devices;
    std::string ids;

    std::string_view id(const Device& device) const {
        return std::string_view(ids).substr(device.at, device.size);
    }
};

Nt5Devices listNt5Devices(platform::Registry& registry) {
    RegKey key(registry, RootKey::LocalMachine, KeyAccess::Read);
    Nt5Devices list;
    if (!key.openKey(kNtEnum)) return list;
    std::vector<std::string> ids;
    for (const std::string& enumerator : key.subkeyNames()) {
        std::string path = join(kNtEnum, enumerator);
        if (!key.openKey(path) || key.valueExists("DeviceDesc")) continue;
        key.subkeyNames(ids);
        for (const std::string& id : ids) {
            list.devices.push_back({static_cast<std::uint32_t>(list.enumerators.size()),
                                    static_cast<std::uint32_t>(list.ids.size()),
                                    static_cast<std::uint32_t>(id.size())});
            list.ids += id;
        }
        list.enumerators.push_back(std::move(path));
    }
    return list;
}

// Walks NT 5.x device ids block after block, with a key, class cache and path buffers of its own.
class Nt5Walker {
  public:
    Nt5Walker(platform::Registry& registry, Nt5Walk walk)
        : key_(registry, RootKey::LocalMachine, KeyAccess::Read), walk_(walk) {}

    // The instances of devices [from, to) of `list`, appended to `table` as a walk in order
    // makes them.
    void walk(const Nt5Devices& list, std::size_t from, std::size_t to, DeviceTable& table) {
        for (std::size_t d = from; d < to; ++d) {
            const Nt5Devices::Device& device = list.devices[d];
            paths_.device.assign(list.enumerators[device.enumerator])
                .append(1, '\\')
                .append(list.id(device));
            if (!key_.openKey(paths_.device) || key_.valueExists("DeviceDesc")) continue;
            key_.subkeyNames(instances_);
            for (const std::string& instance : instances_) {
                // The record comes first, so an instance that fails the tests below still leaves
                // an empty record behind.
                DeviceEntry& record = appendRecord(table);
                paths_.instance.assign(paths_.device).append(1, '\\').append(instance);
                paths_.control.assign(paths_.instance).append("\\Control");
                readNt5Instance(key_, paths_, walk_, classes_, record);
            }
        }
    }

  private:
    RegKey key_;
    Nt5Walk walk_;
    Nt5Classes classes_;
    Nt5Paths paths_;
    std::vector<std::string> instances_;  // kept from one device to the next, its strings reused
};

// Machines with this many device ids share their walk between two threads, where they can.
constexpr std::size_t kWalkSharedFrom = 256;

// ---- 9x: HKEY_DYN_DATA\Config Manager\Enum\<n> -> HKEY_LOCAL_MACHINE\ENUM\<hardware key> ----

enum class Win9xWalk { ByClassGuid, ByClassName };

void read9xDevice(RegKey& local, const std::string& hardwareKey, Win9xWalk walk,
                  DeviceEntry& record) {
    if (local.valueExists("HardwareID")) record.hardwareID = toAsciiUpper(hardwareKey);
    if (std::optional<RegKey::Value> deviceDesc = local.readValue("DeviceDesc")) {
        record.driverKey = local.readString("driver");
        record.description = description(local, std::move(*deviceDesc));
        record.classDesc = local.readString(walk == Win9xWalk::ByClassGuid ? "Classguid" : "Class");
        record.keyPath = "ENUM\\" + hardwareKey;
        const std::string upperPath = toAsciiUpper(record.keyPath);
        record.hwFlag = upperPath.find("NETWORK") == std::string::npos &&
                        upperPath.find("SW") == std::string::npos;
        record.driverKey = std::string(k9xClass) + record.driverKey;
    }
    // A class key that cannot be opened makes the reads below empty.
    local.openKey(std::string(k9xClass) + record.classDesc);
    if (walk == Win9xWalk::ByClassGuid) {
        record.classDesc = local.readString("link");
        record.className = local.readString("Class");
        local.openKey(std::string(k9xClass) + record.classDesc);
        record.classDesc = local.readString("");
    } else {
        record.className = record.classDesc;
        record.classDesc = local.readString("");
    }
}

void walk9x(platform::Registry& registry, DeviceTable& table, Win9xWalk walk) {
    RegKey dyn(registry, RootKey::DynData, KeyAccess::Read);
    RegKey local(registry, RootKey::LocalMachine, KeyAccess::Read);
    if (!dyn.openKey(k9xConfigManager)) return;
    for (const std::string& node : dyn.subkeyNames()) {
        if (!dyn.openKey(join(k9xConfigManager, node)) || !dyn.valueExists("HardWareKey")) {
            continue;
        }
        const std::string hardwareKey = dyn.readString("HardWareKey");
        if (!local.openKey("ENUM\\" + hardwareKey)) continue;
        read9xDevice(local, hardwareKey, walk, appendRecord(table));
        dyn.closeKey();
        local.closeKey();
    }
}

// ---- NT 4: SYSTEM\CurrentControlSet\Enum\Root\<id>\<instance> ----

// The services of the machine, listed once per walk, and the search for the one whose enum key
// names an instance.
class ServiceFinder {
  public:
    explicit ServiceFinder(platform::Registry& registry)
        : key_(registry, RootKey::LocalMachine, KeyAccess::Read) {}

    // The first service whose "enum" key's "0" value names `instance` (ignoring case). A service
    // without that value is passed over.
    std::optional<std::string> find(const std::string& instance) {
        if (!services_) {
            services_.emplace();
            if (key_.openKey(kNtServices)) *services_ = key_.subkeyNames();
        }
        const std::string wanted = toAsciiUpper(instance);
        for (const std::string& service : *services_) {
            if (!key_.openKey(join(join(kNtServices, service), "enum"))) continue;
            if (!key_.valueExists("0")) continue;
            if (toAsciiUpper(key_.readString("0")) == wanted) return service;
        }
        return std::nullopt;
    }

    // The adapter string of the service's first device, or "" when it has none.
    std::string adapterString(const std::string& service) {
        key_.openKey(join(join(kNtServices, service), "Device0"));
        if (!key_.valueExists("HardwareInformation.AdapterString")) return {};
        return joinRegStrings(key_.readBinaryData("HardwareInformation.AdapterString"));
    }

  private:
    RegKey key_;
    std::optional<std::vector<std::string>> services_;
};

constexpr std::uint32_t kStatusPresent = 8;

void walkNt4(platform::Registry& registry, DeviceTable& table) {
    RegKey key(registry, RootKey::LocalMachine, KeyAccess::Read);
    ServiceFinder services(registry);
    if (!key.openKey(kNtRootEnum)) return;
    for (const std::string& rootId : key.subkeyNames()) {
        const std::string idPath = join(kNtRootEnum, rootId);
        if (!key.openKey(idPath) || key.valueExists("DeviceDesc")) continue;
        for (const std::string& instance : key.subkeyNames()) {
            const std::string path = join(idPath, instance);
            if (!key.openKey(path)) continue;
            // An instance without a status is not present; it is never judged by the status
            // of the instance read before it.
            const std::uint32_t status =
                key.valueExists("StatusFlags") ? key.readInteger("StatusFlags") : 0;
            if (status != kStatusPresent) continue;

            DeviceEntry& record = appendRecord(table);
            if (auto service = services.find("Root\\" + rootId + "\\" + instance)) {
                record.displayName = services.adapterString(*service);
            }
            record.keyPath = path;
            if (auto deviceDesc = key.readValue("DeviceDesc")) {
                record.description = description(key, std::move(*deviceDesc));
            }
            record.hwFlag = key.valueExists("ConfigFlags");
            record.className = key.readString("Class");
            record.classDesc = key.readString("ClassGuid");

            key.openKey(path);
            record.driverKey = std::string(kNtClass) + key.readString("driver");
            key.openKey(std::string(kNtClass) + record.classDesc);
            record.classDesc = key.readString("");
        }
    }
}

}  // namespace

// The NT 5.x walk shared: its device ids, listed by the first thread to come, in blocks; the
// front's records go straight into the table, each block from the back into a table of its own,
// until the two meet.
struct DeviceTableReading::Nt5 {
    static constexpr std::size_t kBlockDevices = 32;

    Nt5Walk walk;
    bool listing = false;             // begun by the thread that lists
    std::atomic<bool> listed{false};  // done: the list and the blocks are there
    Nt5Devices list;
    std::size_t blockDevices = kBlockDevices;
    std::size_t room = 0;     // records made room for, in each table
    platform::Pieces blocks;  // none until listed
    // The back's records, block after block from the last one, and where each block's are.
    DeviceTable back;
    std::vector<std::pair<std::size_t, std::size_t>> backBlocks;  // by block: [first, end)
    std::exception_ptr frontError, backError;
    std::size_t backFailed = 0;  // the block of backError

    explicit Nt5(Nt5Walk kind) : walk(kind) {}

    void listOnce(platform::Registry& registry, DeviceTable& table) {
        if (listing) return;
        listing = true;
        // Published however the listing ends, so that no thread waits for it for ever.
        struct Published {
            std::atomic<bool>& listed;
            ~Published() { listed.store(true, std::memory_order_release); }
        } published{listed};
        list = listNt5Devices(registry);
        const std::size_t count = list.devices.size();
        // Each device id has one instance or more, some of them many: room for twice as many
        // records as device ids is made at once, so that the table is not moved while it grows
        // (room not filled is only reserved, never touched).
        room = 2 * count;
        table.reserve(room);
        blockDevices = std::max(kBlockDevices,
                                (count + platform::Pieces::kMost - 1) / platform::Pieces::kMost);
        const std::size_t blockCount = (count + blockDevices - 1) / blockDevices;
        backBlocks.assign(blockCount, {0, 0});
        // Last: a thread that takes a block from here on finds the list made.
        blocks.reset(static_cast<std::uint32_t>(blockCount));
    }
    // The device ids of block `block`: [first, second).
    std::pair<std::size_t, std::size_t> devicesOf(std::size_t block) const {
        const std::size_t from = block * blockDevices;
        return {from, std::min(from + blockDevices, list.devices.size())};
    }
};

DeviceTableReading::DeviceTableReading(platform::Registry& registry, platform::System& system,
                                       DeviceTable& table)
    : registry_(registry), system_(system), table_(table) {
    table_.clear();
    if (isWin2000(system)) nt5_ = std::make_unique<Nt5>(Nt5Walk::Win2000);
    if (isWinXP(system)) nt5_ = std::make_unique<Nt5>(Nt5Walk::WinXP);
}

DeviceTableReading::~DeviceTableReading() = default;

std::size_t DeviceTableReading::deviceIds() {
    if (!nt5_) return 0;
    nt5_->listOnce(registry_, table_);
    return nt5_->list.devices.size();
}

std::size_t DeviceTableReading::deviceIdsOnceListed() const {
    if (!nt5_) return 0;
    while (!nt5_->listed.load(std::memory_order_acquire)) platform::waitingBusily();
    return nt5_->list.devices.size();
}

void DeviceTableReading::workFromFront() {
    if (!nt5_) {
        try {
            if (isWin9x(system_)) walk9x(registry_, table_, Win9xWalk::ByClassGuid);
            if (isWin95(system_)) walk9x(registry_, table_, Win9xWalk::ByClassName);
            if (getWinVersion(system_) == WinVersion::WinNt4) walkNt4(registry_, table_);
        } catch (...) {
            error_ = std::current_exception();
        }
        return;
    }
    Nt5& shared = *nt5_;
    shared.listOnce(registry_, table_);
    Nt5Walker walker(registry_, shared.walk);
    while (const std::optional<std::uint32_t> block = shared.blocks.takeFront()) {
        const auto [from, to] = shared.devicesOf(*block);
        try {
            walker.walk(shared.list, from, to, table_);
        } catch (...) {
            shared.frontError = std::current_exception();
            return;
        }
    }
}

void DeviceTableReading::workFromBack() {
    if (!nt5_) return;
    Nt5& shared = *nt5_;
    Nt5Walker walker(registry_, shared.walk);
    while (const std::optional<std::uint32_t> block = shared.blocks.takeBack()) {
        const auto [from, to] = shared.devicesOf(*block);
        // Room as the front's table has it, only reserved until it is filled.
        if (shared.back.capacity() == 0) shared.back.reserve(shared.room);
        auto& records = shared.backBlocks[*block];
        records.first = shared.back.size();
        try {
            walker.walk(shared.list, from, to, shared.back);
        } catch (...) {
            records.second = shared.back.size();
            shared.backError = std::current_exception();
            shared.backFailed = *block;
            return;
        }
        records.second = shared.back.size();
    }
}

void DeviceTableReading::finish() {
    const std::unique_ptr<Nt5> shared = std::move(nt5_);
    if (error_) std::rethrow_exception(error_);
    if (!shared) return;
    // An error ends the table where one walk in order would have ended it: the front's blocks all
    // come before the back's, and the back stopped at the first of its blocks to fail.
    if (shared->frontError) std::rethrow_exception(shared->frontError);
    DeviceTable& back = shared->back;
    for (std::size_t block = 0; block < shared->backBlocks.size(); ++block) {
        const auto [first, end] = shared->backBlocks[block];
        table_.insert(table_.end(), std::make_move_iterator(back.begin() + first),
                      std::make_move_iterator(back.begin() + end));
        if (shared->backError && block == shared->backFailed) {
            std::rethrow_exception(shared->backError);
        }
    }
}

void readDeviceTable(platform::Registry& registry, platform::System& system, DeviceTable& table,
                     platform::Parallel* parallel) {
    DeviceTableReading reading(registry, system, table);
    if (parallel != nullptr && reading.deviceIds() >= kWalkSharedFrom) {
        parallel->share(reading);
    } else {
        reading.workFromFront();
        reading.workFromBack();
    }
    reading.finish();
}

}  // namespace tamux
