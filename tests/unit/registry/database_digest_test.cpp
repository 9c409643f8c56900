// other.txt deciphered beside the device table's walk: the names and the errors are those of the
// walk and the lookup done one after the other on one thread, for a machine with many device ids
// (the lines kept, read again once the ids are known) and for one with few (left to the lookup).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/sim/sim_parallel.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "tests/unit/registry/one_file.h"
#include "tools/dbgen/database_writer.h"

namespace tamux {
namespace {

using platform::RootKey;
using test::OneFile;
using test::withLineEnds;

constexpr int kLines = 27000;  // more than a megabyte of hex
constexpr const char* kMouseGuid = "{4D36E96F-E325-11CE-BFC1-08002BE10318}";

std::string deviceKey(int n) {
    return "DEVICE_" + std::to_string(100000 + n);
}

// A vendor every hundred lines, a key found twice, a subsystem's key, and devices.
std::vector<std::string> databaseLines() {
    std::vector<std::string> lines;
    for (int n = 0; n < kLines; ++n) {
        if (n % 100 == 0)
            lines.push_back("V" + std::to_string(n) + " .=Vendor " + std::to_string(n));
        if (n == kLines / 4 || n == 3 * kLines / 4) lines.push_back("TWICE=" + std::to_string(n));
        if (n == kLines / 3) {
            lines.push_back(dbgen::pciSubsystemKey("8086", "1234", "ABCD", "0001") + "=Subsystem");
        }
        lines.push_back(deviceKey(n) + "=Device " + std::to_string(n));
    }
    return lines;
}

// A Windows XP machine with `devices` mice, their ids spread over the file, and a few others.
class DigestBesideTheWalk : public ::testing::Test {
  protected:
    void machine(int devices) {
        system.setVersion(sim::makeVersion(2, 5, 1, 0, ""));
        const std::string classKey =
            std::string("SYSTEM\\CurrentControlSet\\Control\\Class\\") + kMouseGuid;
        registry.setString(RootKey::LocalMachine, classKey, "", "Mice");
        registry.setString(RootKey::LocalMachine, classKey, "Class", "Mouse");
        for (int n = 0; n < devices; ++n) {
            std::string id = "ROOT\\" + deviceKey(n * (kLines / devices));
            if (n == 1) id = "ACPI\\TWICE";
            if (n == 2) id = "PCI\\VEN_8086&DEV_1234&SUBSYS_0001ABCD&REV_01";
            if (n == 3) id = "NOWHERE\\TO_BE_FOUND";
            const std::string path =
                "SYSTEM\\CurrentControlSet\\Enum\\ROOT\\DEV_" + std::to_string(1000 + n) + "\\0";
            registry.setString(RootKey::LocalMachine, path, "DeviceDesc", "a device");
            registry.setString(RootKey::LocalMachine, path, "ClassGUID", kMouseGuid);
            std::vector<std::uint8_t> ids(id.begin(), id.end());
            ids.insert(ids.end(), {0, 0});
            registry.setValue(RootKey::LocalMachine, path, "HardwareID",
                              platform::regtype::kMultiSz, ids);
            registry.setDword(RootKey::LocalMachine, path + "\\Control", "ActiveService", 1);
        }
    }

    // The display names after the walk and the "Mouse" lookup, or the error it raises.
    std::vector<std::string> walkAndLookUp(OneFile& files, bool beside) {
        sim::SimParallel parallel;
        DeviceTable table;
        try {
            DeviceDatabaseLookups lookups(registry, system, files, {"Mouse"}, "",
                                          beside ? &parallel : nullptr);
            DeviceTableReading reading(registry, system, table);
            lookups.readBeside(reading);
            reading.finish();
            lookups.lookUp(table, "Mouse");
        } catch (const Error& e) {
            return {e.what()};
        }
        std::vector<std::string> names;
        for (const DeviceEntry& d : table) names.push_back(d.displayName);
        return names;
    }

    // The same either way, read in pieces of several sizes.
    std::vector<std::string> sameEitherWay(const std::string& text) {
        OneFile alone(text, 4096);
        const std::vector<std::string> expected = walkAndLookUp(alone, false);
        for (std::size_t pieceBytes : {1000, 65536}) {
            OneFile files(text, pieceBytes);
            EXPECT_EQ(walkAndLookUp(files, true), expected) << "pieces of " << pieceBytes;
        }
        return expected;
    }

    void namesAreThoseOfOneThread(int devices);

    sim::SimRegistry registry;
    sim::SimSystem system;
};

// The names on a machine of `devices` mice, whatever ends the lines.
void DigestBesideTheWalk::namesAreThoseOfOneThread(int devices) {
    const std::string crlf = dbgen::encipherDatabase(databaseLines());
    ASSERT_GT(crlf.size(), std::size_t{1} << 20);
    machine(devices);
    const std::vector<std::string> names = sameEitherWay(crlf);
    ASSERT_EQ(names.size(), static_cast<std::size_t>(devices));
    EXPECT_EQ(names[0], "Vendor 0 Device 0");
    EXPECT_EQ(names[1], "Vendor 6700 6750");  // the first of the two lines of its key
    EXPECT_EQ(names[2], "Vendor 9000 Subsystem");
    EXPECT_EQ(names[3], "");
    EXPECT_EQ(sameEitherWay(withLineEnds(crlf, "\n")), names);
    EXPECT_EQ(sameEitherWay(withLineEnds(crlf, "\r")), names);
}

TEST_F(DigestBesideTheWalk, ManyDevicesGetTheNamesOfOneThread) {
    namesAreThoseOfOneThread(300);  // other.txt deciphered beside the walk
}

TEST_F(DigestBesideTheWalk, FewDevicesGetTheNamesOfOneThread) {
    namesAreThoseOfOneThread(20);  // other.txt left to the lookup
}

TEST_F(DigestBesideTheWalk, ErrorsAreThoseOfOneThread) {
    machine(300);
    const std::string good = dbgen::encipherDatabase(databaseLines());
    const std::string notHex = "TCryptLib: decrypting error - not hexlook string";
    const std::string cannotOpen = "Cannot open file " + std::string(OneFile::kPath);
    for (const std::string& bad :
         {good.substr(0, good.size() * 3 / 4) + "\r\n00ZZ\r\n", "00ZZ\r\n" + good}) {
        EXPECT_EQ(sameEitherWay(bad).front(), notHex);
    }
    // A read that fails, and a file that shrank before its lines were read again.
    OneFile failing(good, 65536, good.size() * 3 / 4);
    EXPECT_EQ(walkAndLookUp(failing, true).front(), cannotOpen);
    OneFile shrinking(good, 65536);
    shrinking.changeAfterReads(4, good.substr(0, good.size() * 3 / 4));
    EXPECT_EQ(walkAndLookUp(shrinking, true).front(), cannotOpen);
}

}  // namespace
}  // namespace tamux
