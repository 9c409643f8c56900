// dbgen: writes the suite's device databases (Keyboard.txt, Mouse.txt, other.txt), enciphered,
// from Debian's hwdata id lists and the standard Plug and Play input device ids.
//
//   dbgen --pci pci.ids --usb usb.ids --pnp-vendors pnp.ids --pnp-devices pnp_input_devices.txt
//         --out <folder>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "tools/dbgen/database_writer.h"
#include "tools/dbgen/id_lists.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    // Written beside and renamed, so that an interrupted run leaves no half file that looks done.
    fs::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) throw std::runtime_error("cannot write " + partial.string());
    }
    fs::rename(partial, path);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tamux::dbgen;
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
    for (const char* required : {"--pci", "--usb", "--pnp-vendors", "--pnp-devices", "--out"}) {
        if (!options.count(required)) {
            std::cerr << "dbgen: missing " << required << "\n"
                      << "usage: dbgen --pci pci.ids --usb usb.ids --pnp-vendors pnp.ids "
                         "--pnp-devices list.txt --out folder\n";
            return 2;
        }
    }
    try {
        auto pci = parseIdList(utf8ToCp1252(readFile(options["--pci"])));
        auto usb = parseIdList(utf8ToCp1252(readFile(options["--usb"])));
        auto pnp = parsePnpList(readFile(options["--pnp-devices"]));
        std::string pnpVendor =
            pnpVendorName(utf8ToCp1252(readFile(options["--pnp-vendors"])), "PNP");
        if (pci.empty() || usb.empty() || pnp.empty() || pnpVendor.empty()) {
            std::cerr << "dbgen: an id list is empty or lacks the PNP vendor\n";
            return 1;
        }
        DatabaseSet set = buildDatabases(pci, usb, pnp, pnpVendor);
        const fs::path out = options["--out"];
        fs::create_directories(out);
        writeFile(out / "Keyboard.txt", encipherDatabase(set.keyboard));
        writeFile(out / "Mouse.txt", encipherDatabase(set.mouse));
        writeFile(out / "other.txt", encipherDatabase(set.other));
        std::cout << "dbgen: Keyboard.txt " << set.keyboard.size() << " lines, Mouse.txt "
                  << set.mouse.size() << " lines, other.txt " << set.other.size() << " lines\n";
    } catch (const std::exception& error) {
        std::cerr << "dbgen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
