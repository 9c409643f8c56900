#include "bench/id_picks.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include "tools/dbgen/database_writer.h"
#include "tools/dbgen/id_lists.h"

namespace tamux::bench {

namespace {

constexpr unsigned kSeed = 1996;

template <typename T>
void shuffleAndCut(std::vector<T>& items, int count) {
    std::mt19937 random(kSeed);
    std::shuffle(items.begin(), items.end(), random);
    items.resize(std::min(items.size(), static_cast<std::size_t>(std::max(count, 0))));
}

std::vector<dbgen::IdVendor> idList(const std::filesystem::path& file) {
    return dbgen::parseIdList(dbgen::utf8ToCp1252(readEntireFile(file)));
}

}  // namespace

std::string readEntireFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::string text(std::filesystem::file_size(path), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::vector<PciPick> pickPciDevices(const std::filesystem::path& hwdataDir, int count) {
    std::vector<PciPick> picks;
    for (const dbgen::IdVendor& v : idList(hwdataDir / "pci.ids")) {
        for (const dbgen::IdDevice& d : v.devices) {
            // Windows writes SUBSYS_00000000 for a device without a subsystem; where pci.ids
            // names that subsystem too, lspci (which reads zero as none) and the database (which
            // knows the key) rightly differ, so such devices are not picked bare.
            const bool zeroNamed = std::any_of(
                d.subsystems.begin(), d.subsystems.end(), [](const dbgen::IdSubsystem& s) {
                    return s.subvendor == "0000" && s.subdevice == "0000";
                });
            if (!zeroNamed) picks.push_back({v.id, d.id, "", ""});
            for (const dbgen::IdSubsystem& s : d.subsystems) {
                // lspci reads a zero subsystem id as none at all.
                if (s.subvendor == "0000" || s.subdevice == "0000") continue;
                picks.push_back({v.id, d.id, s.subvendor, s.subdevice});
            }
        }
    }
    shuffleAndCut(picks, count);
    return picks;
}

std::vector<InputPick> pickInputDevices(const std::filesystem::path& hwdataDir, int count) {
    std::vector<InputPick> picks;
    for (const dbgen::IdVendor& v : idList(hwdataDir / "usb.ids")) {
        for (const dbgen::IdDevice& d : v.devices) {
            if (dbgen::isKeyboardName(d.name)) {
                picks.push_back({v.id, d.id, true});
            } else if (dbgen::isMouseName(d.name)) {
                picks.push_back({v.id, d.id, false});
            }
        }
    }
    shuffleAndCut(picks, count);
    return picks;
}

std::string PciSlot(std::size_t index) {
    char slot[32];
    std::snprintf(slot, sizeof slot, "%02zx:%02zx.%zu", index / 256, (index / 8) % 32, index % 8);
    return slot;
}

std::string lspciDump(const std::vector<PciPick>& picks) {
    std::string dump;
    for (std::size_t i = 0; i < picks.size(); ++i) {
        unsigned char config[64] = {};
        auto put16 = [&](int at, const std::string& hex) {
            const unsigned long value = hex.empty() ? 0 : std::stoul(hex, nullptr, 16);
            config[at] = static_cast<unsigned char>(value);
            config[at + 1] = static_cast<unsigned char>(value >> 8);
        };
        put16(0, picks[i].vendor);
        put16(2, picks[i].device);
        config[8] = 1;     // revision
        config[0x0B] = 2;  // network controller
        put16(0x2C, picks[i].subvendor);
        put16(0x2E, picks[i].subdevice);
        dump += PciSlot(i) + " Device\n";
        char text[16];
        for (int row = 0; row < 64; row += 16) {
            std::snprintf(text, sizeof text, "%02x:", row);
            dump += text;
            for (int k = 0; k < 16; ++k) {
                std::snprintf(text, sizeof text, " %02x", config[row + k]);
                dump += text;
            }
            dump += "\n";
        }
        dump += "\n";
    }
    return dump;
}

}  // namespace tamux::bench
