// Real hardware ids for the benchmarks' large machine, drawn from Debian's hwdata lists: PCI
// devices with and without a subsystem, and USB keyboards and mice. The draw is fixed (a seeded
// shuffle), so every run builds the same machine.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamux::bench {

struct PciPick {
    std::string vendor, device;        // upper-case hex
    std::string subvendor, subdevice;  // upper-case hex; both empty for a device without one
};

struct InputPick {
    std::string vendor, product;  // upper-case hex
    bool keyboard = false;
};

// Up to `count` PCI devices of pci.ids in `hwdataDir`, each as Windows would list it and as lspci
// reads it alike (see the .cpp for the ids left out).
std::vector<PciPick> pickPciDevices(const std::filesystem::path& hwdataDir, int count);

// Up to `count` USB keyboards and mice of usb.ids, as the databases' generator tells them apart.
std::vector<InputPick> pickInputDevices(const std::filesystem::path& hwdataDir, int count);

// The PCI slot that device `index` has in lspciDump ("00:00.0").
std::string PciSlot(std::size_t index);

// A dump in the form `lspci -x` writes and `lspci -F` reads: one function per pick, with its
// vendor, device, revision, class (network controller) and subsystem ids.
std::string lspciDump(const std::vector<PciPick>& picks);

// The whole of a file.
std::string readEntireFile(const std::filesystem::path& path);

}  // namespace tamux::bench
