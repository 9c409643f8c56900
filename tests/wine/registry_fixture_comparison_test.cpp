// Every key of every registry fixture, read through the real registry of the prefix (imported by
// the lane script with regedit, or with regimport for HKEY_DYN_DATA) and through the simulated
// registry loaded from the same files: the same subkeys in the same order, the same values with
// the same types and data.
//
// The shared fixtures are imported under HKCU\Software\Tamux Fixtures\<root name>\ rather than
// where they were exported from: a running Wine rewrites its own device and display keys, which
// would otherwise mix with the exported ones.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"
#include "tests/wine/reg_file_keys.h"
#include "tests/wine/registry_sides.h"

namespace tamux::wine_test {
namespace {

namespace fs = std::filesystem;
using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
namespace status = platform::status;

struct RegSource {
    const char* name;  // for the test name
    bool shared;       // in the shared fixtures, imported under kRelocated (else the lane's data)
    const char* file;
};

// Where the lane script imports the shared fixtures (keep in step with run-wine-lane.sh).
constexpr const char* kRelocated = "Software\\Tamux Fixtures\\";

// In the order the lane script imports them; the simulated registry loads them in the same order.
const RegSource kSources[] = {
    {"WineControlPanel", true, "wine-8.0/hkcu-control-panel.reg"},
    {"WineKeyboardLayout", true, "wine-8.0/hkcu-keyboard-layout.reg"},
    {"WineControlClass", true, "wine-8.0/hklm-control-class.reg"},
    {"WineEnum", true, "wine-8.0/hklm-enum.reg"},
    {"XpUsb", true, "real-xp/xppro1-USB.reg"},
    {"XpUsbPrint", true, "real-xp/xppro1-USBPRINT.reg"},
    {"LaneConformance", false, "conformance.reg"},
    {"LaneDynData", false, "dyn-data-9x.reg"},
};

fs::path sourcePath(const RegSource& source) {
    return (source.shared ? fixturesDir() : dataDir()) / source.file;
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += "'" + name + "' ";
    return out;
}

// Opens one key on one side and closes it with the object.
class OpenKey {
  public:
    OpenKey(Registry& registry, RootKey root, const std::string& path) : registry_(registry) {
        result_ = registry.openKey(root, path, KeyAccess::Read, key_);
    }
    ~OpenKey() { registry_.closeKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    long result() const { return result_; }
    Registry::Key key() const { return key_; }

  private:
    Registry& registry_;
    Registry::Key key_ = 0;
    long result_ = 0;
};

struct Tally {
    int keys = 0, values = 0, valueOrderDiffers = 0, unreadableKeys = 0, terminatorsAdded = 0;
};

bool isStringType(std::uint32_t type) {
    return type == platform::regtype::kSz || type == platform::regtype::kExpandSz ||
           type == platform::regtype::kMultiSz;
}

// Wine's regedit ends string-typed data that lacks its terminating NUL with one; the loaders are
// both right about the file, so this is counted, not failed.
bool onlyATerminatorAdded(std::uint32_t type, const std::vector<std::uint8_t>& real,
                          const std::vector<std::uint8_t>& simulated) {
    return isStringType(type) && real.size() == simulated.size() + 1 && real.back() == 0 &&
           std::equal(simulated.begin(), simulated.end(), real.begin());
}

// Compares one key; every difference is a test failure naming the key.
void compareKey(Registry& real, Registry& simulated, const RegFileKey& where, bool relocated,
                Tally& tally) {
    const std::string label = std::string(platform::rootKeyName(where.root)) + "\\" + where.path;
    const RootKey realRoot = relocated ? RootKey::CurrentUser : where.root;
    const std::string realPath =
        relocated ? kRelocated + std::string(platform::rootKeyName(where.root)) + "\\" + where.path
                  : where.path;
    OpenKey realKey(real, realRoot, realPath);
    OpenKey simKey(simulated, where.root, where.path);
    ASSERT_EQ(realKey.result(), simKey.result())
        << label << ": opening gives " << realKey.result() << " on Win32, " << simKey.result()
        << " on the sim";
    if (realKey.result() != status::kSuccess) {
        // A name with characters outside the 8-bit code page reaches the ANSI functions as "?"
        // and cannot be opened by that name, on either side.
        EXPECT_NE(where.path.find('?'), std::string::npos) << label << ": missing on both sides";
        ++tally.unreadableKeys;
        return;
    }
    ++tally.keys;

    std::vector<std::string> realSubkeys, simSubkeys;
    ASSERT_EQ(real.subkeyNames(realKey.key(), realSubkeys), status::kSuccess) << label;
    ASSERT_EQ(simulated.subkeyNames(simKey.key(), simSubkeys), status::kSuccess) << label;
    EXPECT_EQ(realSubkeys, simSubkeys) << label << ": subkeys\n  Win32: " << joinNames(realSubkeys)
                                       << "\n  sim:   " << joinNames(simSubkeys);

    std::vector<std::string> realValues, simValues;
    ASSERT_EQ(real.valueNames(realKey.key(), realValues), status::kSuccess) << label;
    ASSERT_EQ(simulated.valueNames(simKey.key(), simValues), status::kSuccess) << label;
    std::multiset<std::string> realSet(realValues.begin(), realValues.end());
    std::multiset<std::string> simSet(simValues.begin(), simValues.end());
    EXPECT_EQ(realSet, simSet) << label << ": value names\n  Win32: " << joinNames(realValues)
                               << "\n  sim:   " << joinNames(simValues);
    if (realSet == simSet && realValues != simValues) ++tally.valueOrderDiffers;

    for (const std::string& name : realValues) {
        if (!simSet.count(name)) continue;
        ++tally.values;
        std::uint32_t realType = 0, simType = 0;
        std::vector<std::uint8_t> realData, simData;
        ASSERT_EQ(real.queryValue(realKey.key(), name, realType, realData), status::kSuccess)
            << label << " '" << name << "'";
        ASSERT_EQ(simulated.queryValue(simKey.key(), name, simType, simData), status::kSuccess)
            << label << " '" << name << "'";
        EXPECT_EQ(realType, simType) << label << " '" << name << "': type " << realType
                                     << " on Win32, " << simType << " on the sim";
        if (realType == simType && onlyATerminatorAdded(realType, realData, simData)) {
            ++tally.terminatorsAdded;
            continue;
        }
        EXPECT_EQ(realData, simData)
            << label << " '" << name << "': data\n  Win32: " << describe(realData)
            << "\n  sim:   " << describe(simData);
    }
}

class RegistryFixtureComparison : public ::testing::TestWithParam<RegSource> {
  protected:
    static void SetUpTestSuite() {
        if (!prefixPrepared() || fixturesDir().empty()) return;
        simulated_ = std::make_unique<sim::SimRegistry>(hostCodePage());
        for (const RegSource& source : kSources) simulated_->importFile(sourcePath(source));
    }
    static void TearDownTestSuite() { simulated_.reset(); }

    static std::unique_ptr<sim::SimRegistry> simulated_;
    win32::Win32Registry real_;
};

std::unique_ptr<sim::SimRegistry> RegistryFixtureComparison::simulated_;

TEST_P(RegistryFixtureComparison, EveryKeyReadsTheSameOnBothSides) {
    TAMUX_REQUIRE_PREPARED_PREFIX();
    ASSERT_TRUE(simulated_);
    const fs::path file = sourcePath(GetParam());
    const std::vector<RegFileKey> keys = regFileKeys(file, hostCodePage());
    ASSERT_FALSE(keys.empty()) << file.string() << " names no keys";
    Tally tally;
    for (const RegFileKey& key : keys) {
        compareKey(real_, *simulated_, key, GetParam().shared, tally);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(tally.keys, 0);
    // Windows keeps values in the order they were created, as the sim does; Wine's server keeps
    // them sorted by name. The program never relies on value order, so this is reported only.
    RecordProperty("keys", tally.keys);
    RecordProperty("values", tally.values);
    RecordProperty("value_order_differs", tally.valueOrderDiffers);
    RecordProperty("terminators_added", tally.terminatorsAdded);
    RecordProperty("unreadable_keys", tally.unreadableKeys);
    std::printf(
        "[ compared ] %s: %d keys, %d values; value order differs in %d keys, regedit "
        "added %d terminators, %d keys unreadable by 8-bit name\n",
        GetParam().file, tally.keys, tally.values, tally.valueOrderDiffers, tally.terminatorsAdded,
        tally.unreadableKeys);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RegistryFixtureComparison, ::testing::ValuesIn(kSources),
                         [](const ::testing::TestParamInfo<RegSource>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tamux::wine_test
