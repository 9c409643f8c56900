// Building the device table from the registry's device tree. Which trees are walked depends on
// the Windows family: the NT 5.x device tree, the 9x configuration manager (HKEY_DYN_DATA), or
// the NT 4 root devices. Keys are opened for reading only.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>

#include "platform/parallel.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "registry/devices.h"

namespace tamux {

// Empties `table` and appends one record per device instance, walk by walk: the two NT 5.x
// walks (Windows 2000, XP), the configuration manager walk by class GUID (9x) and by class name
// (Windows 95 only, so Windows 95 lists each device twice), the NT 4 walk. On NT 6 and later no
// walk runs. A registry error (RegistryError) ends the enumeration where it occurs and
// propagates; the records appended so far, the one being filled included, stay in the table.
// With `parallel`, the NT 5.x walk of a machine with many devices is shared between two threads,
// with the same records and errors; `registry` must then answer two threads at once.
void readDeviceTable(platform::Registry& registry, platform::System& system, DeviceTable& table,
                     platform::Parallel* parallel = nullptr);

// readDeviceTable as work that two threads can share, for a caller that has other work for them
// too: made, then worked at from the front and from the back (by two threads at once, or in
// turn), then finished. The NT 5.x walk lists the device ids (the front does, first), then goes
// through them in blocks, one thread from the first on, the other from the last on; the other
// walks are done from the front alone.
class DeviceTableReading : public platform::SharedWork {
  public:
    // Empties `table`.
    DeviceTableReading(platform::Registry& registry, platform::System& system, DeviceTable& table);
    ~DeviceTableReading() override;
    DeviceTableReading(const DeviceTableReading&) = delete;
    DeviceTableReading& operator=(const DeviceTableReading&) = delete;

    void workFromFront() override;
    void workFromBack() override;
    // Once both ends were worked at: the table as one walk in order makes it, and that walk's
    // error raised, if any.
    void finish();

    // The NT 5.x device ids there are to walk, listed now if they were not yet.
    std::size_t deviceIds();
    // The same, for another thread than the one that lists: it waits until they are listed,
    // which deviceIds or workFromFront is doing or has done on that thread.
    std::size_t deviceIdsOnceListed() const;

  private:
    struct Nt5;
    platform::Registry& registry_;
    platform::System& system_;
    DeviceTable& table_;
    std::unique_ptr<Nt5> nt5_;
    std::exception_ptr error_;  // of a walk other than NT 5.x's
};

}  // namespace tamux
