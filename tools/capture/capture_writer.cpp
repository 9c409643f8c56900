#include "tools/capture/capture_writer.h"

#include <cstdio>
#include <set>

#include <nlohmann/json.hpp>

#include "platform/keyboard.h"
#include "platform/sim/codepage.h"
#include "platform/sim/date_picture.h"
#include "platform/sim/sim_spooler.h"

namespace tamux::capture {

namespace {

using nlohmann::ordered_json;
namespace regtype = platform::regtype;

std::string hex(unsigned value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", width, value);
    return text;
}

std::string regQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// REG_SZ data that a quoted text gives back exactly: one terminating NUL, no other, and no line
// break that would end the line.
bool plainText(const std::vector<std::uint8_t>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
    }
    return true;
}

std::string hexData(std::string prefix, const std::vector<std::uint8_t>& data) {
    std::string line = std::move(prefix);
    std::size_t width = line.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::string byte = hex(data[i], 2);
        if (i + 1 < data.size()) byte += ',';
        if (width + byte.size() > 76) {
            line += "\\\r\n  ";
            width = 2;
        }
        line += byte;
        width += byte.size();
    }
    return line;
}

std::string fullPath(platform::RootKey root, const std::string& path) {
    return path.empty() ? platform::rootKeyName(root)
                        : std::string(platform::rootKeyName(root)) + "\\" + path;
}

std::string foldAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string registryFile(const Recording& recording) {
    std::string out = "REGEDIT4\r\n";
    std::set<std::pair<int, std::string>> written;
    for (const auto& [id, key] : recording.keys) {
        if (key.openStatus != platform::status::kSuccess) continue;
        std::string path = key.path;
        while (!path.empty() && path.back() == '\\') path.pop_back();
        out += "\r\n[" + fullPath(key.root, path) + "]\r\n";
        written.insert(id);
        for (const RecordedValue& value : key.values) out += regValueLine(value) + "\r\n";
    }
    // Subkeys the program listed but never opened: the replayed listing must name them.
    for (const auto& [id, key] : recording.keys) {
        if (!key.subkeyNames) continue;
        std::string path = key.path;
        while (!path.empty() && path.back() == '\\') path.pop_back();
        for (const std::string& name : *key.subkeyNames) {
            const std::string child = path.empty() ? name : path + "\\" + name;
            if (!written.insert({id.first, foldAscii(child)}).second) continue;
            if (recording.keys.count({id.first, foldAscii(child)})) continue;
            out += "\r\n[" + fullPath(key.root, child) + "]\r\n";
        }
    }
    return out;
}

std::string utf8(unsigned codePage, std::string_view text) {
    return sim::utf16ToUtf8(sim::widen(codePage, text));
}

ordered_json text(unsigned codePage, const std::optional<std::string>& value) {
    if (!value) return nullptr;
    return utf8(codePage, *value);
}

std::string timeText(const platform::SystemTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer;
}

ordered_json printerJson(unsigned codePage, const platform::PrinterInfo2& p, bool connection,
                         const Recording& recording, std::vector<std::string>& warnings) {
    ordered_json j;
    j["serverName"] = text(codePage, p.serverName);
    j["printerName"] = text(codePage, p.printerName);
    j["shareName"] = text(codePage, p.shareName);
    j["portName"] = text(codePage, p.portName);
    j["driverName"] = text(codePage, p.driverName);
    j["comment"] = text(codePage, p.comment);
    j["location"] = text(codePage, p.location);
    j["sepFile"] = text(codePage, p.sepFile);
    j["printProcessor"] = text(codePage, p.printProcessor);
    j["datatype"] = text(codePage, p.datatype);
    j["parameters"] = text(codePage, p.parameters);
    j["attributes"] = "0x" + hex(p.attributes, 1);
    j["priority"] = p.priority;
    j["defaultPriority"] = p.defaultPriority;
    j["startTime"] = p.startTime;
    j["untilTime"] = p.untilTime;
    j["status"] = "0x" + hex(p.status, 1);
    j["jobs"] = p.jobs;
    j["averagePPM"] = p.averagePpm;
    if (connection) j["connection"] = true;
    const auto caps = recording.printerCaps.find(p.printerName.value_or(""));
    if (caps == recording.printerCaps.end()) return j;
    if (caps->second.createDcFails) j["createDcFails"] = true;
    if (!caps->second.deviceCaps.empty()) {
        ordered_json table = ordered_json::object();
        for (const auto& [index, answer] : caps->second.deviceCaps) {
            const auto name = sim::deviceCapsName(index);
            if (!name) {
                warnings.push_back("GetDeviceCaps index " + std::to_string(index) + " of \"" +
                                   *p.printerName + "\" has no name in machine.json");
                continue;
            }
            table[std::string(*name)] = answer;
        }
        j["deviceCaps"] = table;
    }
    if (caps->second.paperNamesFail) {
        j["paperNames"] = nullptr;
    } else if (caps->second.paperNames) {
        ordered_json names = ordered_json::array();
        for (const std::string& name : *caps->second.paperNames) {
            names.push_back(utf8(codePage, name));
        }
        j["paperNames"] = names;
    }
    return j;
}

// The spooler's printers in the order the local listing gives them, then the connections it
// leaves out (an NT machine lists them apart).
ordered_json printersJson(unsigned codePage, Recording& recording) {
    ordered_json list = ordered_json::array();
    std::set<std::string> names;
    auto add = [&](const std::vector<platform::PrinterInfo2>& printers, bool connection) {
        for (const platform::PrinterInfo2& printer : printers) {
            if (!names.insert(printer.printerName.value_or("")).second) continue;
            list.push_back(
                printerJson(codePage, printer, connection, recording, recording.warnings));
        }
    };
    for (const auto& [flags, printers] : recording.printers) {
        if (flags & platform::kPrinterEnumLocal) add(printers, false);
    }
    for (const auto& [flags, printers] : recording.printers) {
        if (!(flags & platform::kPrinterEnumLocal)) add(printers, true);
    }
    return list;
}

void checkPictures(const Recording& recording, const ClockPictures& pictures,
                   std::vector<std::string>& warnings) {
    if (!recording.now) return;
    if (recording.shortDate &&
        sim::formatDatePicture(pictures.shortDate, *recording.now) != *recording.shortDate) {
        warnings.push_back("the short date picture \"" + pictures.shortDate + "\" gives \"" +
                           sim::formatDatePicture(pictures.shortDate, *recording.now) +
                           "\" on the simulated machine, the system gave \"" +
                           *recording.shortDate + "\"");
    }
    const std::string time =
        sim::formatTimePicture(pictures.longTime, *recording.now, pictures.am, pictures.pm);
    if (recording.longTime && time != *recording.longTime) {
        warnings.push_back("the time picture \"" + pictures.longTime + "\" gives \"" + time +
                           "\" on the simulated machine, the system gave \"" + *recording.longTime +
                           "\"");
    }
}

}  // namespace

std::string regValueLine(const RecordedValue& value) {
    std::string line = value.name.empty() ? "@=" : regQuoted(value.name) + "=";
    if (value.type == regtype::kSz && plainText(value.data)) {
        return line + regQuoted(std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                                 value.data.size() - 1));
    }
    if (value.type == regtype::kDword && value.data.size() == 4) {
        const std::uint32_t number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                     static_cast<std::uint32_t>(value.data[3]) << 24;
        return line + "dword:" + hex(number, 8);
    }
    if (value.type == regtype::kBinary) return hexData(line + "hex:", value.data);
    return hexData(line + "hex(" + hex(value.type, 1) + "):", value.data);
}

MachineFiles machineFiles(Recording& recording, const std::optional<ClockPictures>& pictures,
                          const std::string& description) {
    const unsigned codePage = recording.ansiCodePage.value_or(1252);
    ordered_json machine;
    machine["description"] = utf8(codePage, description);
    if (recording.version) {
        const platform::OsVersionInfo& v = *recording.version;
        std::string csd(v.csdVersion.data(), v.csdVersion.size());
        csd.resize(csd.find('\0') == std::string::npos ? csd.size() : csd.find('\0'));
        machine["version"] = {{"platformId", v.platformId},
                              {"major", v.majorVersion},
                              {"minor", v.minorVersion},
                              {"build", v.buildNumber},
                              {"csd", utf8(codePage, csd)}};
    } else if (recording.versionFails) {
        machine["version"] = {{"fails", true}};
    }
    if (recording.systemLanguage) {
        machine["systemLanguage"] = "0x" + hex(*recording.systemLanguage, 4);
    }
    machine["ansiCodePage"] = codePage;
    if (!recording.keyboardType.empty()) {
        int answers[3] = {4, 0, 12};
        for (const auto& [which, answer] : recording.keyboardType) {
            if (which >= 0 && which < 3) answers[which] = answer;
        }
        machine["keyboardType"] = {answers[0], answers[1], answers[2]};
    }
    if (recording.keyboardState) {
        const auto on = [&](std::uint8_t key) {
            return ((*recording.keyboardState)[key] & 1) != 0;
        };
        machine["lockKeys"] = {{"capsLock", on(platform::kVkCapital)},
                               {"numLock", on(platform::kVkNumLock)},
                               {"scrollLock", on(platform::kVkScroll)},
                               {"insert", on(platform::kVkInsert)}};
    }
    if (recording.screenDpi) machine["screenDpi"] = *recording.screenDpi;

    std::vector<std::string> denied;
    for (const auto& [id, key] : recording.keys) {
        if (key.openStatus == platform::status::kAccessDenied) {
            denied.push_back(utf8(codePage, fullPath(key.root, key.path)));
        } else if (key.openStatus != platform::status::kSuccess &&
                   key.openStatus != platform::status::kFileNotFound) {
            recording.warnings.push_back("opening " + fullPath(key.root, key.path) +
                                         " failed with " + std::to_string(key.openStatus) +
                                         "; the captured machine does not have the key");
        }
    }
    if (!denied.empty()) machine["registry"] = {{"deniedKeys", denied}};
    machine["printers"] = printersJson(codePage, recording);

    if (recording.now) {
        ordered_json clock;
        clock["now"] = timeText(*recording.now);
        if (pictures) {
            clock["shortDate"] = utf8(codePage, pictures->shortDate);
            clock["longTime"] = utf8(codePage, pictures->longTime);
            clock["am"] = utf8(codePage, pictures->am);
            clock["pm"] = utf8(codePage, pictures->pm);
            checkPictures(recording, *pictures, recording.warnings);
        }
        machine["clock"] = clock;
    }

    std::string json = machine.dump(2) + "\n";
    return {{"machine.json", std::move(json)}, {"registry/captured.reg", registryFile(recording)}};
}

}  // namespace tamux::capture
