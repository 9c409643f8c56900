#include "platform/sim/machine_json.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "platform/sim/case_fold.h"
#include "platform/sim/codepage.h"

namespace tamux::sim {

using nlohmann::json;

namespace {

// Reads one JSON value, knowing where in the file it is for the error messages.
class Reader {
  public:
    Reader(const json& value, std::string member, const std::string& source, unsigned codePage)
        : value_(value), member_(std::move(member)), source_(source), codePage_(codePage) {}

    [[noreturn]] void fail(const std::string& reason) const {
        throw Error(source_ + ": member '" + member_ + "': " + reason);
    }

    const json& value() const { return value_; }
    bool isNull() const { return value_.is_null(); }

    Reader member(const std::string& name) const {
        return Reader(value_.at(name), member_.empty() ? name : member_ + "." + name, source_,
                      codePage_);
    }
    Reader element(std::size_t index) const {
        return Reader(value_.at(index), member_ + "[" + std::to_string(index) + "]", source_,
                      codePage_);
    }

    // Visits the members of an object that are present; refuses any name not in `known`.
    template <typename Visit>
    void object(std::initializer_list<std::string_view> known, Visit visit) const {
        if (!value_.is_object()) fail("expected an object");
        for (const auto& item : value_.items()) {
            bool found = false;
            for (std::string_view k : known) found = found || k == item.key();
            if (!found) {
                Reader(item.value(), member_.empty() ? item.key() : member_ + "." + item.key(),
                       source_, codePage_)
                    .fail("not a member of the machine description");
            }
        }
        for (std::string_view k : known) {
            if (value_.contains(std::string(k))) visit(std::string(k), member(std::string(k)));
        }
    }

    std::size_t arraySize() const {
        if (!value_.is_array()) fail("expected a list");
        return value_.size();
    }

    bool boolean() const {
        if (!value_.is_boolean()) fail("expected true or false");
        return value_.get<bool>();
    }

    // Text in the machine's code page.
    std::string text() const {
        if (!value_.is_string()) fail("expected a text");
        const std::u16string wide = utf8ToUtf16(value_.get<std::string>());
        std::string narrow = narrowUtf16(codePage_, wide);
        if (widen(codePage_, narrow) != wide) {
            fail("the text has characters that code page " + std::to_string(codePage_) +
                 " cannot hold");
        }
        return narrow;
    }

    std::optional<std::string> nullableText() const {
        if (isNull()) return std::nullopt;
        return text();
    }

    // A number, or a text holding a decimal or "0x" hexadecimal number, within [low, high].
    long long integer(long long low, long long high) const {
        long long result = 0;
        if (value_.is_number_integer()) {
            if (value_.is_number_unsigned() &&
                value_.get<unsigned long long>() >
                    static_cast<unsigned long long>(std::numeric_limits<long long>::max())) {
                fail("number out of range");
            }
            result = value_.get<long long>();
        } else if (value_.is_string()) {
            const std::string s = value_.get<std::string>();
            std::string_view digits = s;
            int base = 10;
            bool negative = false;
            if (!digits.empty() && digits.front() == '-') {
                negative = true;
                digits.remove_prefix(1);
            }
            if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
                base = 16;
                digits.remove_prefix(2);
            }
            unsigned long long magnitude = 0;
            const auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
            if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() ||
                magnitude >
                    static_cast<unsigned long long>(std::numeric_limits<long long>::max())) {
                fail("expected a number or a text such as \"0x0407\", got \"" + s + "\"");
            }
            result =
                negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
        } else {
            fail("expected a whole number");
        }
        if (result < low || result > high) {
            fail("number " + std::to_string(result) + " outside " + std::to_string(low) + ".." +
                 std::to_string(high));
        }
        return result;
    }

    std::uint32_t uint32() const {
        return static_cast<std::uint32_t>(integer(0, std::numeric_limits<std::uint32_t>::max()));
    }

    RegistryPath registryPath() const {
        const auto path = splitRegistryPath(text());
        if (!path)
            fail(
                "expected a key path beginning with HKEY_CURRENT_USER, "
                "HKEY_LOCAL_MACHINE or HKEY_DYN_DATA");
        return *path;
    }

    const std::string& name() const { return member_; }

  private:
    const json& value_;
    std::string member_;
    const std::string& source_;
    unsigned codePage_;
};

void readVersion(const Reader& r, SystemSettings& system) {
    auto& v = system.version;
    std::string csd(v.csdVersion.data());
    r.object({"platformId", "major", "minor", "build", "csd", "fails"},
             [&](const std::string& key, const Reader& m) {
                 if (key == "platformId")
                     v.platformId = static_cast<std::uint32_t>(m.integer(0, 2));
                 if (key == "major") v.majorVersion = m.uint32();
                 if (key == "minor") v.minorVersion = m.uint32();
                 if (key == "build") v.buildNumber = m.uint32();
                 if (key == "csd") {
                     csd = m.text();
                     if (csd.size() > 127) m.fail("longer than the 127 characters of the record");
                 }
                 if (key == "fails") system.versionFails = m.boolean();
             });
    v = makeVersion(v.platformId, v.majorVersion, v.minorVersion, v.buildNumber, csd);
}

void readLockKeys(const Reader& r, LockKeys& keys) {
    r.object({"capsLock", "numLock", "scrollLock", "insert"},
             [&](const std::string& key, const Reader& m) {
                 if (key == "capsLock") keys.capsLock = m.boolean();
                 if (key == "numLock") keys.numLock = m.boolean();
                 if (key == "scrollLock") keys.scrollLock = m.boolean();
                 if (key == "insert") keys.insert = m.boolean();
             });
}

bool isAbsoluteWindowsPath(std::string_view path) {
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

void readRegistry(const Reader& r, RegistrySettings& registry) {
    r.object({"from", "links", "limitedAccount", "deniedKeys"}, [&](const std::string& key,
                                                                    const Reader& m) {
        if (key == "from") {
            // Host folders: UTF-8 as written, not texts of the machine.
            for (std::size_t i = 0, n = m.arraySize(); i < n; ++i) {
                const Reader folder = m.element(i);
                if (!folder.value().is_string()) folder.fail("expected a folder name");
                registry.from.push_back(folder.value().get<std::string>());
            }
        }
        if (key == "links") {
            std::vector<RegistryLink> links;
            for (std::size_t i = 0, n = m.arraySize(); i < n; ++i) {
                const Reader pair = m.element(i);
                if (pair.arraySize() != 2) pair.fail("expected [link, target]");
                RegistryLink link{pair.element(0).registryPath(), pair.element(1).registryPath()};
                if (link.link.root != link.target.root) {
                    pair.fail("a link and its target must lie under the same root");
                }
                links.push_back(std::move(link));
            }
            registry.links = std::move(links);
        }
        if (key == "limitedAccount") registry.limitedAccount = m.boolean();
        if (key == "deniedKeys") {
            for (std::size_t i = 0, n = m.arraySize(); i < n; ++i) {
                registry.deniedKeys.push_back(m.element(i).registryPath());
            }
        }
    });
}

void readPrinter(const Reader& r, SimPrinter& printer) {
    auto& i = printer.info;
    const std::map<std::string_view, std::optional<std::string>*> texts = {
        {"serverName", &i.serverName},
        {"printerName", &i.printerName},
        {"shareName", &i.shareName},
        {"portName", &i.portName},
        {"driverName", &i.driverName},
        {"comment", &i.comment},
        {"location", &i.location},
        {"sepFile", &i.sepFile},
        {"printProcessor", &i.printProcessor},
        {"datatype", &i.datatype},
        {"parameters", &i.parameters}};
    const std::map<std::string_view, std::uint32_t*> numbers = {
        {"attributes", &i.attributes},
        {"priority", &i.priority},
        {"defaultPriority", &i.defaultPriority},
        {"startTime", &i.startTime},
        {"untilTime", &i.untilTime},
        {"status", &i.status},
        {"jobs", &i.jobs},
        {"averagePPM", &i.averagePpm}};
    r.object({"serverName", "printerName",   "shareName", "portName",        "driverName",
              "comment",    "location",      "sepFile",   "printProcessor",  "datatype",
              "parameters", "attributes",    "priority",  "defaultPriority", "startTime",
              "untilTime",  "status",        "jobs",      "averagePPM",      "deviceCaps",
              "paperNames", "createDcFails", "connection"},
             [&](const std::string& key, const Reader& m) {
                 if (auto t = texts.find(key); t != texts.end()) *t->second = m.nullableText();
                 if (auto n = numbers.find(key); n != numbers.end()) *n->second = m.uint32();
                 if (key == "createDcFails") printer.createDcFails = m.boolean();
                 if (key == "connection") printer.connection = m.boolean();
                 if (key == "paperNames") {
                     if (m.isNull()) {
                         printer.paperNames = std::nullopt;
                     } else {
                         std::vector<std::string> names;
                         for (std::size_t k = 0, n = m.arraySize(); k < n; ++k) {
                             const Reader name = m.element(k);
                             names.push_back(name.text());
                             if (names.back().size() > platform::kPaperNameSlotSize) {
                                 name.fail("longer than the 64 characters of a paper-name slot");
                             }
                         }
                         printer.paperNames = std::move(names);
                     }
                 }
                 if (key == "deviceCaps") {
                     if (!m.value().is_object()) m.fail("expected an object");
                     for (const auto& item : m.value().items()) {
                         const Reader cap = m.member(item.key());
                         const auto index = deviceCapsIndex(item.key());
                         if (!index) cap.fail("not a GetDeviceCaps index name");
                         printer.deviceCaps[*index] = static_cast<int>(
                             cap.integer(std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::uint32_t>::max()));
                     }
                 }
             });
}

platform::SystemTime parseNow(const Reader& r) {
    const std::string s = r.text();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    char tail = 0;
    if (std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &sec, &tail) !=
            6 ||
        y < 1601 || y > 30827 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || sec > 59 ||
        h < 0 || mi < 0 || sec < 0) {
        r.fail("expected \"YYYY-MM-DD hh:mm:ss\", got \"" + s + "\"");
    }
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[mo - 1] + (mo == 2 && leap ? 1 : 0)) r.fail("no such day: \"" + s + "\"");
    return makeTime(y, mo, d, h, mi, sec);
}

void readClock(const Reader& r, ClockSettings& clock) {
    r.object({"now", "shortDate", "longTime", "am", "pm"},
             [&](const std::string& key, const Reader& m) {
                 if (key == "now") clock.now = parseNow(m);
                 if (key == "shortDate") clock.shortDate = m.text();
                 if (key == "longTime") clock.longTime = m.text();
                 if (key == "am") clock.am = m.text();
                 if (key == "pm") clock.pm = m.text();
             });
}

}  // namespace

std::optional<RegistryPath> splitRegistryPath(std::string_view fullPath) {
    static const std::pair<std::string_view, platform::RootKey> kRoots[] = {
        {"HKEY_CURRENT_USER", platform::RootKey::CurrentUser},
        {"HKCU", platform::RootKey::CurrentUser},
        {"HKEY_LOCAL_MACHINE", platform::RootKey::LocalMachine},
        {"HKLM", platform::RootKey::LocalMachine},
        {"HKEY_DYN_DATA", platform::RootKey::DynData},
    };
    const auto slash = fullPath.find('\\');
    const std::string_view rootName = fullPath.substr(0, slash);
    for (const auto& [name, root] : kRoots) {
        if (equalsIgnoreCase(rootName, name, 1252)) {
            std::string rest = slash == std::string_view::npos
                                   ? std::string()
                                   : std::string(fullPath.substr(slash + 1));
            while (!rest.empty() && rest.back() == '\\') rest.pop_back();
            return RegistryPath{root, std::move(rest)};
        }
    }
    return std::nullopt;
}

std::vector<RegistryLink> defaultRegistryLinks(std::uint32_t platformId) {
    if (platformId != platform::platform_id::kNt) return {};
    return {{{platform::RootKey::LocalMachine, "SYSTEM\\CurrentControlSet"},
             {platform::RootKey::LocalMachine, "SYSTEM\\ControlSet001"}}};
}

MachineConfig parseMachineJson(std::string_view text, const std::string& sourceName) {
    json document;
    try {
        document = json::parse(text.begin(), text.end());
    } catch (const json::exception& e) {
        throw Error(sourceName + ": not valid JSON: " + e.what());
    }

    MachineConfig config;
    // The code page decides how every text is read, so it is read first.
    if (document.is_object() && document.contains("ansiCodePage")) {
        const Reader cp(document.at("ansiCodePage"), "ansiCodePage", sourceName, 1252);
        const auto value = static_cast<unsigned>(cp.integer(0, 65535));
        if (!isSupportedCodePage(value)) cp.fail("expected 1250, 1251 or 1252");
        config.system.ansiCodePage = value;
    }

    const Reader root(document, "", sourceName, config.system.ansiCodePage);
    if (!document.is_object()) root.fail("the file must hold one object");
    root.object(
        {"description", "version", "systemLanguage", "ansiCodePage", "keyboardType", "lockKeys",
         "screenDpi", "executable", "currentDirectory", "registry", "printers", "clock"},
        [&](const std::string& key, const Reader& m) {
            auto& system = config.system;
            if (key == "description") config.description = m.text();
            if (key == "version") readVersion(m, system);
            if (key == "systemLanguage") {
                system.systemLanguage = static_cast<std::uint16_t>(m.integer(0, 0xFFFF));
            }
            if (key == "keyboardType") {
                if (m.arraySize() != 3) m.fail("expected three numbers");
                for (std::size_t i = 0; i < 3; ++i) {
                    system.keyboardType[i] = static_cast<int>(m.element(i).integer(0, 0xFFFF));
                }
            }
            if (key == "lockKeys") readLockKeys(m, config.lockKeys);
            if (key == "screenDpi") system.screenDpi = static_cast<int>(m.integer(1, 10000));
            if (key == "executable") {
                system.executable = m.text();
                if (!isAbsoluteWindowsPath(system.executable)) {
                    m.fail("expected a full path such as \"C:\\\\Tamux\\\\tamux.exe\"");
                }
            }
            if (key == "currentDirectory") {
                system.currentDirectory = m.text();
                if (!isAbsoluteWindowsPath(system.currentDirectory)) {
                    m.fail("expected a full path such as \"C:\\\\Tamux\"");
                }
            }
            if (key == "registry") readRegistry(m, config.registry);
            if (key == "printers") {
                for (std::size_t i = 0, n = m.arraySize(); i < n; ++i) {
                    SimPrinter printer;
                    readPrinter(m.element(i), printer);
                    config.printers.push_back(std::move(printer));
                }
            }
            if (key == "clock") readClock(m, config.clock);
        });
    return config;
}

MachineConfig readMachineJson(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Error(file.string() + ": cannot be read");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseMachineJson(text, file.string());
}

}  // namespace tamux::sim
