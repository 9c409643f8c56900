// The start-up work on the device table -- EnumDevices and the "Keyboard" and "Mouse" database
// lookups, deciphering every line of the shipped databases -- on a large simulated Windows XP,
// side by side with lspci resolving the same PCI ids from the same pci.ids. Prints the times,
// the ratio, peak memory, whether the two name every PCI device alike, and whether any
// deciphered database line is left in memory after the lookups.
//
//   bench_startup [--pci N] [--input N] [--other N] [--iterations N] [--lspci PATH]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "tools/dbgen/database_writer.h"
#include "tools/dbgen/id_lists.h"

namespace {

namespace fs = std::filesystem;
using namespace tamux;
using platform::RootKey;
using Clock = std::chrono::steady_clock;

struct Options {
    int pci = 4000;
    int input = 600;
    int other = 1400;
    int iterations = 7;
    std::string lspci = "lspci";
};

// One read of the whole file, as ReadFile into a buffer of the file's size would do.
std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(fs::file_size(path), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The databases folder of the build, seen from the program's current directory.
class DatabaseFiles : public platform::Files {
  public:
    explicit DatabaseFiles(fs::path dir) : dir_(std::move(dir)) {}
    bool fileExists(std::string_view path) override { return fs::is_regular_file(host(path)); }
    std::optional<std::string> readFile(std::string_view path) override {
        fs::path file = host(path);
        if (!fs::is_regular_file(file)) return std::nullopt;
        return readText(file);
    }
    void writeFile(std::string_view, std::string_view) override {}
    std::optional<std::uint64_t> lastWriteTime(std::string_view) override { return {}; }

  private:
    fs::path host(std::string_view path) const {
        return dir_ / std::string(path.substr(path.rfind('\\') + 1));
    }
    fs::path dir_;
};

struct PciPick {
    std::string vendor, device, subvendor, subdevice;  // upper-case hex; no subsystem: empty
    std::string vendorName, deviceName;                // the names a lookup should give
};

struct InputPick {
    std::string vendor, product;
    bool keyboard;
};

std::vector<std::uint8_t> multiString(const std::vector<std::string>& items) {
    std::vector<std::uint8_t> data;
    for (const std::string& item : items) {
        data.insert(data.end(), item.begin(), item.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

std::string hex4(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

const std::string kEnum = "SYSTEM\\CurrentControlSet\\Enum\\";
const std::string kClass = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
const std::string kUnknownGuid = "{4D36E97E-E325-11CE-BFC1-08002BE10318}";
const std::string kKeyboardGuid = "{4D36E96B-E325-11CE-BFC1-08002BE10318}";
const std::string kMouseGuid = "{4D36E96F-E325-11CE-BFC1-08002BE10318}";
const std::string kUsbGuid = "{36FC9E60-C465-11CF-8056-444553540000}";

void instance(sim::SimRegistry& r, const std::string& path, const std::string& desc,
              const std::string& guid, int driver, const std::vector<std::string>& ids) {
    r.setString(RootKey::LocalMachine, path, "DeviceDesc", desc);
    r.setString(RootKey::LocalMachine, path, "ClassGUID", guid);
    r.setString(RootKey::LocalMachine, path, "Driver", guid + "\\" + hex4(driver));
    r.setValue(RootKey::LocalMachine, path, "HardwareID", platform::regtype::kMultiSz,
               multiString(ids));
    r.setDword(RootKey::LocalMachine, path, "ConfigFlags", 0);
    r.setString(RootKey::LocalMachine, path + "\\Control", "ActiveService", "svc");
}

void buildMachine(sim::SimRegistry& r, const std::vector<PciPick>& pci,
                  const std::vector<InputPick>& input, int other) {
    for (auto [guid, name, desc] :
         {std::tuple{kUnknownGuid, "Unknown", "Other devices"},
          std::tuple{kKeyboardGuid, "Keyboard", "Keyboards"},
          std::tuple{kMouseGuid, "Mouse", "Mice and other pointing devices"},
          std::tuple{kUsbGuid, "USB", "Universal Serial Bus controllers"}}) {
        r.setString(RootKey::LocalMachine, kClass + guid, "", desc);
        r.setString(RootKey::LocalMachine, kClass + guid, "Class", name);
    }
    for (std::size_t i = 0; i < pci.size(); ++i) {
        const PciPick& p = pci[i];
        const std::string base = "VEN_" + p.vendor + "&DEV_" + p.device;
        const std::string subsys = p.subvendor.empty() ? "00000000" : p.subdevice + p.subvendor;
        const std::string id = base + "&SUBSYS_" + subsys + "&REV_01";
        instance(r, kEnum + "PCI\\" + id + "\\3&61aaa01&0&" + hex4(static_cast<unsigned>(i)),
                 "PCI device", kUnknownGuid, static_cast<int>(i),
                 {"PCI\\" + id, "PCI\\" + base + "&SUBSYS_" + subsys, "PCI\\" + base + "&CC_020000",
                  "PCI\\" + base + "&CC_0200"});
    }
    for (std::size_t i = 0; i < input.size(); ++i) {
        const InputPick& p = input[i];
        const std::string id = "VID_" + p.vendor + "&PID_" + p.product;
        const std::string kind = p.keyboard ? "KEYBOARD" : "MOUSE";
        instance(r, kEnum + "HID\\" + id + "\\7&2a1c3f&0&" + hex4(static_cast<unsigned>(i)),
                 p.keyboard ? "HID Keyboard Device" : "HID-compliant mouse",
                 p.keyboard ? kKeyboardGuid : kMouseGuid, static_cast<int>(i),
                 {"HID\\" + id + "&REV_0100", "HID\\" + id, "HID_DEVICE_SYSTEM_" + kind,
                  "HID_DEVICE_UP:0001_U:0006", "HID_DEVICE"});
    }
    for (int i = 0; i < other; ++i) {
        instance(r, kEnum + "USB\\VID_0781&PID_5567\\SN" + hex4(static_cast<unsigned>(i)),
                 "USB Mass Storage Device", kUsbGuid, i,
                 {"USB\\VID_0781&PID_5567&REV_0100", "USB\\VID_0781&PID_5567"});
    }
}

// The lspci -x dump of the PCI picks, one function per slot.
std::string lspciDump(const std::vector<PciPick>& pci) {
    std::string dump;
    for (std::size_t i = 0; i < pci.size(); ++i) {
        unsigned char config[64] = {};
        auto put16 = [&](int at, const std::string& hex) {
            const unsigned value = hex.empty() ? 0 : std::stoul(hex, nullptr, 16);
            config[at] = static_cast<unsigned char>(value);
            config[at + 1] = static_cast<unsigned char>(value >> 8);
        };
        put16(0, pci[i].vendor);
        put16(2, pci[i].device);
        config[8] = 1;     // revision
        config[0x0B] = 2;  // network controller
        put16(0x2C, pci[i].subvendor);
        put16(0x2E, pci[i].subdevice);
        char line[128];
        std::snprintf(line, sizeof line, "%02zx:%02zx.%zu Device\n", i / 256, (i / 8) % 32, i % 8);
        dump += line;
        for (int row = 0; row < 64; row += 16) {
            std::snprintf(line, sizeof line, "%02x:", row);
            dump += line;
            for (int k = 0; k < 16; ++k) {
                std::snprintf(line, sizeof line, " %02x", config[row + k]);
                dump += line;
            }
            dump += "\n";
        }
        dump += "\n";
    }
    return dump;
}

struct ChildRun {
    double ms = 0;
    std::string output;
};

// Runs a program with its output into a file; its wall time.
ChildRun runChild(const std::vector<std::string>& argv, const fs::path& outputFile) {
    ChildRun run;
    const auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("lspci failed; is pciutils installed?");
    }
    run.output = readText(outputFile);
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long peakRssKb() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// How many times `needle` occurs in the process's writable memory, apart from the needle itself.
int occurrencesInMemory(const std::string& needle) {
    std::ifstream maps("/proc/self/maps");
    int mem = open("/proc/self/mem", O_RDONLY);
    int found = 0;
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms;
        fields >> range >> perms;
        if (perms.size() < 2 || perms[0] != 'r' || perms[1] != 'w') continue;
        const auto dash = range.find('-');
        const auto from = std::stoull(range.substr(0, dash), nullptr, 16);
        const auto to = std::stoull(range.substr(dash + 1), nullptr, 16);
        std::vector<char> data(to - from);
        const ssize_t got = pread(mem, data.data(), data.size(), static_cast<off_t>(from));
        if (got <= 0) continue;
        for (auto it = data.begin(); (it = std::search(it, data.begin() + got, needle.begin(),
                                                       needle.end())) != data.begin() + got;
             ++it) {
            const auto address = from + static_cast<std::uint64_t>(it - data.begin());
            if (address != reinterpret_cast<std::uint64_t>(needle.data())) ++found;
        }
    }
    close(mem);
    return found;
}

std::map<std::string, std::string> nextBlock(std::istringstream& in) {
    std::map<std::string, std::string> block;
    std::string line;
    while (std::getline(in, line) && !line.empty()) {
        const auto tab = line.find(":\t");
        if (tab != std::string::npos) block[line.substr(0, tab)] = line.substr(tab + 2);
    }
    return block;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--pci") options.pci = std::stoi(value);
        if (name == "--input") options.input = std::stoi(value);
        if (name == "--other") options.other = std::stoi(value);
        if (name == "--iterations") options.iterations = std::max(1, std::stoi(value));
        if (name == "--lspci") options.lspci = value;
    }
    const fs::path pciIds = fs::path(TAMUX_HWDATA_DIR) / "pci.ids";
    std::mt19937 random(1996);

    // Real ids: every PCI device and subsystem of pci.ids, and the USB keyboards and mice.
    std::vector<PciPick> allPci;
    for (const dbgen::IdVendor& v : dbgen::ParseIdList(dbgen::Utf8ToCp1252(readText(pciIds)))) {
        for (const dbgen::IdDevice& d : v.devices) {
            // Windows writes SUBSYS_00000000 for a device without a subsystem; where pci.ids
            // names that subsystem too, lspci (which reads zero as none) and the database
            // (which knows the key) rightly differ, so such devices are not picked bare.
            const bool zeroNamed = std::any_of(
                d.subsystems.begin(), d.subsystems.end(), [](const dbgen::IdSubsystem& s) {
                    return s.subvendor == "0000" && s.subdevice == "0000";
                });
            if (!zeroNamed) allPci.push_back({v.id, d.id, "", "", v.name, d.name});
            for (const dbgen::IdSubsystem& s : d.subsystems) {
                // lspci reads a zero subsystem id as none at all.
                if (s.subvendor == "0000" || s.subdevice == "0000") continue;
                allPci.push_back({v.id, d.id, s.subvendor, s.subdevice, v.name, s.name});
            }
        }
    }
    std::vector<InputPick> allInput;
    for (const dbgen::IdVendor& v : dbgen::ParseIdList(
             dbgen::Utf8ToCp1252(readText(fs::path(TAMUX_HWDATA_DIR) / "usb.ids")))) {
        for (const dbgen::IdDevice& d : v.devices) {
            if (dbgen::IsKeyboardName(d.name))
                allInput.push_back({v.id, d.id, true});
            else if (dbgen::IsMouseName(d.name))
                allInput.push_back({v.id, d.id, false});
        }
    }
    std::shuffle(allPci.begin(), allPci.end(), random);
    std::shuffle(allInput.begin(), allInput.end(), random);
    allPci.resize(std::min<std::size_t>(allPci.size(), static_cast<std::size_t>(options.pci)));
    allInput.resize(
        std::min<std::size_t>(allInput.size(), static_cast<std::size_t>(options.input)));

    sim::SimRegistry registry;
    sim::SimSystem system;  // Windows XP SP2
    buildMachine(registry, allPci, allInput, options.other);
    DatabaseFiles files(TAMUX_DATABASE_DIR);

    const fs::path work = fs::temp_directory_path() / ("tamux-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    { std::ofstream(work / "dump.txt") << lspciDump(allPci); }

    std::cout << "machine: " << allPci.size() << " PCI, " << allInput.size()
              << " HID keyboards and mice, " << options.other << " other device instances\n"
              << "databases: " << TAMUX_DATABASE_DIR << "\n";

    const long rssBefore = peakRssKb();
    std::vector<double> ours, enumMs, lookupMs, theirs;
    DeviceTable table;
    ChildRun lspci;
    for (int round = 0; round < options.iterations; ++round) {
        const auto start = Clock::now();
        EnumDevices(registry, system, table);
        const auto enumerated = Clock::now();
        LookupDeviceDatabase(registry, system, files, table, "Keyboard");
        LookupDeviceDatabase(registry, system, files, table, "Mouse");
        const auto done = Clock::now();
        ours.push_back(std::chrono::duration<double, std::milli>(done - start).count());
        enumMs.push_back(std::chrono::duration<double, std::milli>(enumerated - start).count());
        lookupMs.push_back(std::chrono::duration<double, std::milli>(done - enumerated).count());

        lspci = runChild(
            {options.lspci, "-F", (work / "dump.txt").string(), "-i", pciIds.string(), "-vmm"},
            work / "lspci.txt");
        theirs.push_back(lspci.ms);
    }
    const long rssAfter = peakRssKb();

    // Both must name every PCI device alike: our records in walk order are the PCI instances
    // first (the enumerator keys come in name order: HID, PCI, USB).
    std::size_t pciResolved = 0, agree = 0, compared = 0;
    std::vector<const devices*> pciRecords;
    for (const devices& d : table) {
        if (d.KeyPath.find("\\Enum\\PCI\\") != std::string::npos) pciRecords.push_back(&d);
    }
    std::istringstream listing(dbgen::Utf8ToCp1252(lspci.output));
    std::map<std::string, std::map<std::string, std::string>> bySlot;
    for (auto block = nextBlock(listing); !block.empty(); block = nextBlock(listing)) {
        bySlot[block["Slot"]] = block;
    }
    std::map<std::string, const devices*> byInstance;
    for (const devices* d : pciRecords) byInstance[d->KeyPath.substr(d->KeyPath.size() - 4)] = d;
    for (std::size_t i = 0; i < allPci.size(); ++i) {
        char slot[32];
        std::snprintf(slot, sizeof slot, "%02zx:%02zx.%zu", i / 256, (i / 8) % 32, i % 8);
        auto record = byInstance.find(hex4(static_cast<unsigned>(i)));
        if (record == byInstance.end()) continue;
        const devices& d = *record->second;
        if (!d.DisplayName.empty()) ++pciResolved;
        auto& block = bySlot[slot];
        const std::string device = allPci[i].subvendor.empty() ? block["Device"] : block["SDevice"];
        ++compared;
        std::string expected = dbgen::DeviceLine("", device).substr(1);
        std::string vendor = dbgen::VendorLine("", "", block["Vendor"]);
        vendor = vendor.substr(vendor.find(".=") + 2);
        if (d.DeviceName == expected && d.VendorName == vendor) {
            ++agree;
        } else if (compared - agree <= 5) {
            std::cout << "differs: " << d.HardwareID.substr(0, 40) << " ours \"" << d.VendorName
                      << "\" \"" << d.DeviceName << "\", lspci \"" << vendor << "\" \"" << expected
                      << "\"\n";
        }
    }

    // No deciphered line may be left in memory: look for one in its "key=name" form.
    const PciPick& sample = allPci.front();
    const std::string needle =
        (sample.subvendor.empty()
             ? "VEN_" + sample.vendor + "&DEV_" + sample.device
             : sample.vendor + sample.device + " SUBSYS " + sample.subdevice + sample.subvendor) +
        "=";
    const int leftovers = occurrencesInMemory(needle);

    const double oursMs = median(ours), theirsMs = median(theirs);
    std::cout << "EnumDevices + 2 lookups: " << oursMs << " ms median of " << ours.size()
              << " (EnumDevices " << median(enumMs) << " ms, lookups " << median(lookupMs)
              << " ms)\n"
              << "lspci -F -i pci.ids -vmm: " << theirsMs << " ms median (whole process)\n"
              << "ratio lspci / ours: " << theirsMs / oursMs << " (above 1: we are faster)\n"
              << "PCI ids resolved: ours " << pciResolved << " of " << allPci.size()
              << ", names equal to lspci's for " << agree << " of " << compared << "\n"
              << "peak memory: bench process " << rssAfter / 1024 << " MiB, " << rssBefore / 1024
              << " MiB of it before the start-up work (the simulated registry and the id lists)"
              << "; lspci: run it under /usr/bin/time -v (a forked child's peak counts the"
              << " parent's pages)\n"
              << "deciphered lines left in memory: " << leftovers << "\n";
    fs::remove_all(work);
    return leftovers == 0 && agree == compared ? 0 : 1;
}
