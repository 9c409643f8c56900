// What the program read of a machine, service by service, as the recording services below saw it
// pass: the material of a captured machine folder.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/system.h"

namespace tamux::capture {

struct RecordedValue {
    std::string name;  // as the program asked for it (or as the listing gave it)
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct RecordedKey {
    platform::RootKey root = platform::RootKey::LocalMachine;
    std::string path;  // as the program first opened it
    long openStatus = platform::status::kSuccess;
    std::vector<RecordedValue> values;  // the values found, in the order first read or listed
    std::optional<std::vector<std::string>> subkeyNames;
};

struct RecordedPrinterCaps {
    bool createDcFails = false;
    std::map<int, int> deviceCaps;  // GetDeviceCaps answers by index
    // DeviceCapabilities(DC_PAPERNAMES): nullopt when never asked; the names fetched, or
    // `paperNamesFail` when the driver answered -1.
    std::optional<std::vector<std::string>> paperNames;
    bool paperNamesFail = false;
};

struct Recording {
    // Keys by root and case-folded path, so that one key opened in two spellings is one key.
    std::map<std::pair<int, std::string>, RecordedKey> keys;

    std::optional<platform::OsVersionInfo> version;
    bool versionFails = false;
    std::optional<std::uint16_t> systemLanguage;
    std::map<int, int> keyboardType;  // GetKeyboardType answers by `which`
    std::optional<int> screenDpi;
    std::optional<unsigned> ansiCodePage;

    std::optional<platform::KeyboardStateBuffer> keyboardState;

    // EnumPrintersA's complete answers by flags.
    std::map<std::uint32_t, std::vector<platform::PrinterInfo2>> printers;
    std::map<std::string, RecordedPrinterCaps> printerCaps;  // by printer name

    std::optional<platform::SystemTime> now;
    std::optional<std::string> shortDate, longTime;  // the formatted `now`

    // What the capture cannot hold (a failure a machine folder has no way to state), for the
    // user to read.
    std::vector<std::string> warnings;
};

}  // namespace tamux::capture
