// The device database lookup on a simulated machine, with database files made from the input.
//
// Input: a first line of options, then three sections each ended by a line "==": the device
// records ("Class:HARDWARE ID" per line), the lines of the class file and those of "other.txt".
// The database lines are plain text, enciphered here as the database generator enciphers them,
// so that the fuzzer can reach the lookup's matching itself; with option 'r' the files hold the
// text as it is (hex or not). Other options: 'n' no class file, 'o' no "other.txt", 'm' look up
// class "Mouse" instead of "Keyboard", 'k' the class name in lower case, '9' a Windows 98
// machine, '4' NT 4, 'd' a folder given by the caller, 'l' LF and 'c' CR line ends (else CR LF).
//
// The result is compared with a plain scan of the deciphered lines from the first for each
// record: the first line whose key, upper-cased, occurs in the hardware id or whose 24-character
// key normalizes to the id's PCI key; the vendor of the nearest vendor line above. A file that
// does not decipher leaves the table as it was.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/ascii_case.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"
#include "registry/database_lines.h"
#include "registry/device_database.h"

namespace {

namespace fs = std::filesystem;
using tamux::DeviceTable;
using tamux::platform::RootKey;

struct Options {
    bool raw = false, noClassFile = false, noOther = false, mouse = false, lowerCase = false,
         win98 = false, nt4 = false, ownFolder = false;
    std::string lineEnd = "\r\n";
};

Options readOptions(std::string_view line) {
    Options o;
    for (char c : line) {
        if (c == 'r') o.raw = true;
        if (c == 'n') o.noClassFile = true;
        if (c == 'o') o.noOther = true;
        if (c == 'm') o.mouse = true;
        if (c == 'k') o.lowerCase = true;
        if (c == '9') o.win98 = true;
        if (c == '4') o.nt4 = true;
        if (c == 'd') o.ownFolder = true;
        if (c == 'l') o.lineEnd = "\n";
        if (c == 'c') o.lineEnd = "\r";
    }
    return o;
}

// One machine for the whole run, with a class key per looked-up class under both class roots.
tamux::sim::Machine& machine() {
    static const std::unique_ptr<tamux::sim::Machine> instance = [] {
        auto m = tamux::sim::Machine::blank(tamux::fuzz::scratchFolder() / "drive");
        auto& registry = m->registry();
        const std::string nt = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
        const std::string win9x = "System\\CurrentControlSet\\Services\\Class\\";
        registry.setString(RootKey::LocalMachine, nt + "{4D36E96B-E325-11CE-BFC1-08002BE10318}",
                           "Class", "Keyboard");
        registry.setString(RootKey::LocalMachine, nt + "{4D36E96B-E325-11CE-BFC1-08002BE10318}", "",
                           "Keyboards");
        registry.setString(RootKey::LocalMachine, nt + "{4D36E96F-E325-11CE-BFC1-08002BE10318}",
                           "Class", "Mouse");
        registry.setString(RootKey::LocalMachine, nt + "{4D36E96F-E325-11CE-BFC1-08002BE10318}", "",
                           "Mice and other pointing devices");
        registry.setString(RootKey::LocalMachine, win9x + "Keyboard", "Class", "Keyboard");
        registry.setString(RootKey::LocalMachine, win9x + "Keyboard", "", "Keyboard");
        registry.setString(RootKey::LocalMachine, win9x + "Mouse", "Class", "Mouse");
        registry.setString(RootKey::LocalMachine, win9x + "Mouse", "", "Mouse");
        return m;
    }();
    return *instance;
}

// The lines of a file as the lookup splits them: CR LF, LF or CR end a line, and a final line
// end adds no empty line.
std::vector<std::string> fileLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::string fileText(const std::vector<std::string_view>& lines, const Options& options) {
    tamux::CryptLib crypt;
    tamux::useDatabaseKeys(crypt);
    std::string text;
    for (std::string_view line : lines) {
        text += options.raw ? std::string(line) : crypt.encryptString(line);
        text += options.lineEnd;
    }
    return text;
}

// The first matching line for a hardware id, scanning from the first line.
std::optional<std::size_t> scan(const std::vector<std::string>& lines, std::string_view id) {
    const std::string pci = tamux::toAsciiUpper(tamux::pciKeyOf(id));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view key = tamux::lineKey(lines[i]);
        if (key.empty()) continue;
        if (id.find(tamux::toAsciiUpper(key)) != std::string_view::npos) return i;
        const auto normalized = tamux::normalizedKey(key);
        if (!normalized.empty() && normalized.view() == pci) return i;
    }
    return std::nullopt;
}

DeviceTable expectedTable(DeviceTable table, const std::vector<std::string>& lines,
                          std::string_view className) {
    auto& m = machine();
    for (tamux::DeviceEntry& record : table) {
        const bool unknown = tamux::equalsIgnoringCase(record.className, "UNKNOWN");
        if (record.hardwareID.empty() ||
            (!unknown && !tamux::equalsIgnoringCase(record.className, className))) {
            continue;
        }
        const auto match = scan(lines, record.hardwareID);
        if (!match) continue;
        tamux::VendorParts vendor;
        for (std::size_t above = *match; above-- > 0;) {
            if (tamux::isVendorLine(lines[above])) {
                vendor = tamux::parseVendorLine(lines[above]);
                break;
            }
        }
        const tamux::DeviceParts device = tamux::parseDeviceLine(lines[*match]);
        record.vendorName = vendor.name;
        record.DeviceName = device.name;
        record.displayName = vendor.name + " " + device.name;
        record.vendorExtra = vendor.extra;
        record.deviceExtra = device.extra;
        if (unknown) {
            record.className = std::string(className);
            record.classDesc = tamux::getClassDescription(m.registry(), m.system(), className);
        }
    }
    return table;
}

void placeFile(const fs::path& host, bool present, const std::string& text) {
    std::error_code ec;
    fs::remove(host, ec);
    if (present) tamux::fuzz::writeHostFile(host, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto all = tamux::fuzz::splitLines(tamux::fuzz::asText(data, size));
    if (all.empty()) return 0;
    const Options options = readOptions(all[0]);
    std::vector<std::string_view> sections[3];
    std::size_t section = 0;
    for (std::size_t i = 1; i < all.size() && section < 3; ++i) {
        if (all[i] == "==") {
            ++section;
        } else {
            sections[section].push_back(all[i]);
        }
    }

    DeviceTable table;
    for (std::string_view line : sections[0]) {
        tamux::DeviceEntry record;
        const std::size_t colon = line.find(':');
        record.className = colon == std::string_view::npos ? "Keyboard" : line.substr(0, colon);
        record.hardwareID =
            tamux::toAsciiUpper(colon == std::string_view::npos ? line : line.substr(colon + 1));
        record.description = "record " + std::to_string(table.size());
        table.push_back(std::move(record));
    }

    auto& m = machine();
    if (options.nt4) {
        m.system().setVersion(tamux::sim::makeVersion(2, 4, 0, 1381, "Service Pack 6"));
    } else if (options.win98) {
        m.system().setVersion(tamux::sim::makeVersion(1, 4, 10, 2222, " A "));
    } else {
        m.system().setVersion(tamux::sim::SystemSettings::defaultVersion());
    }
    const std::string className = options.mouse ? (options.lowerCase ? "mouse" : "Mouse")
                                                : (options.lowerCase ? "keyboard" : "Keyboard");
    const std::string folder = options.ownFolder ? "C:\\DB\\" : "..\\SHARED\\DATABASES\\";
    const std::string classText = fileText(sections[1], options);
    const std::string otherText = fileText(sections[2], options);
    placeFile(m.hostPath(folder + className + ".txt"), !options.noClassFile, classText);
    placeFile(m.hostPath(folder + "other.txt"), !options.noOther, otherText);

    // What the lookup should read, deciphered line by line; nullopt when a line does not.
    std::optional<std::vector<std::string>> lines = std::vector<std::string>();
    {
        tamux::CryptLib crypt;
        tamux::useDatabaseKeys(crypt);
        try {
            if (!options.noClassFile) {
                for (const std::string& line : fileLines(classText)) {
                    lines->push_back(crypt.decryptString(line));
                }
            }
            if (!options.noOther) {
                for (const std::string& line : fileLines(otherText)) {
                    lines->push_back(crypt.decryptString(line));
                }
            }
        } catch (const tamux::CryptError&) {
            lines.reset();
        }
    }

    DeviceTable looked = table;
    try {
        tamux::lookupDeviceDatabase(m.registry(), m.system(), m.files(), looked, className,
                                    options.ownFolder ? folder : std::string());
    } catch (const tamux::CryptError&) {
        TAMUX_FUZZ_CHECK(!options.nt4 && !lines, "only a line that is not hex is refused");
        TAMUX_FUZZ_CHECK(looked == table, "a refused database completes no record");
        return 0;
    }
    TAMUX_FUZZ_CHECK(options.nt4 || lines, "a line that is not hex is refused");
    if (options.nt4) {
        TAMUX_FUZZ_CHECK(looked == table, "nothing is looked up on NT 4");
        return 0;
    }
    TAMUX_FUZZ_CHECK(looked == expectedTable(table, *lines, className),
                     "every record gets the names of its first matching line");
    TAMUX_FUZZ_CHECK(m.registry().openKeyCount() == 0, "no registry key is left open");
    return 0;
}
