// Completing device records with vendor and device names from the suite's device database
// files: one enciphered file per class plus "other.txt", matched against hardware ids.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/parallel.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "registry/devices.h"
#include "registry/enum_devices.h"

namespace tamux {

// Where the databases are, relative to the current directory, when the caller names no folder.
constexpr std::string_view kDefaultDatabaseDirectory = "..\\SHARED\\DATABASES\\";

// Replaces every line by its deciphered text (the database keys). Raises CryptError for a line
// that is not hex; the lines before it are deciphered by then.
void decipherDatabase(std::vector<std::string>& lines);

// The description of the registry device class whose "Class" value is `className` (ignoring
// case): the default value of its class key, under the NT class root on NT and the 9x one on
// 9x; "" when no class key matches or the root cannot be opened.
std::string getClassDescription(platform::Registry& registry, platform::System& system,
                                std::string_view className);

// Completes the records of class `className` and those of class "Unknown" from
// `directory` + `className` + ".txt" and then `directory` + "other.txt" (either may be
// missing). An empty directory or " " means kDefaultDatabaseDirectory; any other must end with
// its separator. Nothing happens on NT 4. A matched record gets VendorName, DeviceName and
// DisplayName (vendor, blank, device); an "Unknown" one also becomes of class `className`, with
// that class's description. Raises CryptError for a database line that is not hex, before any
// record is completed. Every deciphered line is overwritten before it is released, on errors too.
void lookupDeviceDatabase(platform::Registry& registry, platform::System& system,
                          platform::Files& files, DeviceTable& table, std::string_view className,
                          std::string_view directory = {});

// The lookups of the start-up, one class after another, sharing what they have in common:
// "other.txt", which every lookup reads after its class's file, is read, deciphered and indexed
// once, for the records of all the classes named at construction, and kept until this object is
// destroyed, which overwrites every deciphered line. Each lookUp behaves as lookupDeviceDatabase
// would at that point: the same names, the same errors, raised before any record of that lookup
// is completed. A lookup that fails keeps nothing, so the next one reads and deciphers again.
// With `parallel`, other.txt is read and deciphered on two threads.
class DeviceDatabaseLookups {
  public:
    DeviceDatabaseLookups(platform::Registry& registry, platform::System& system,
                          platform::Files& files, std::vector<std::string> classNames,
                          std::string_view directory = {}, platform::Parallel* parallel = nullptr);
    ~DeviceDatabaseLookups();
    DeviceDatabaseLookups(const DeviceDatabaseLookups&) = delete;
    DeviceDatabaseLookups& operator=(const DeviceDatabaseLookups&) = delete;

    // lookupDeviceDatabase(registry, system, files, table, className, directory).
    void lookUp(DeviceTable& table, std::string_view className);

    // Shares `reading` (of the device table the lookups are for) between this thread and another,
    // which also deciphers other.txt for the lookups to come when it is large and the machine has
    // many device ids: each thread helps with the other's work once its own is done. Without a
    // Parallel, `reading` is done on this thread alone. What reading other.txt raises is raised
    // by the lookups, as if they had read it themselves.
    void readBeside(DeviceTableReading& reading);

  private:
    struct Shared;
    platform::Registry& registry_;
    platform::System& system_;
    platform::Files& files_;
    platform::Parallel* parallel_;
    std::vector<std::string> classNames_;
    std::string folder_;
    std::unique_ptr<Shared> shared_;
};

}  // namespace tamux
