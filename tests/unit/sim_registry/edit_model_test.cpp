// Long runs of random edits of one key, checked after each against a plain model of what the key
// must hold: the values as writes, overwrites and deletions leave them (order, spelling of names,
// types, data of every length), and the subkeys as they come and go, well past the counts at
// which the registry changes how it holds and finds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/sim/sim_registry.h"

namespace tamux::sim {
namespace {

using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
namespace status = platform::status;

constexpr RootKey kLocal = RootKey::LocalMachine;

// Name `i` of a set: mostly "Name<i>", some with letters of code page 1252's upper half, which
// convert to UTF-16 units above 0xFF ("\x8A", U+0160) and below it ("\xE9"); neither folds, so
// "caf\xE9" and "CAF\xC9" are two names.
std::string nameOf(int i) {
    const char* stem = i % 5 == 0 ? "caf\xE9" : i % 5 == 1 ? "\x8Aipka" : "Name";
    return stem + std::to_string(i);
}

// One of the first `count` names, in a random letter case.
std::string randomName(std::mt19937& random, int count) {
    std::string name = nameOf(std::uniform_int_distribution<int>(0, count - 1)(random));
    for (char& c : name) {
        if (random() % 2 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

struct ModelValue {
    std::string name;  // as first written
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

TEST(EditModel, ValuesKeepOrderSpellingAndDataThroughWritesAndDeletions) {
    SimRegistry registry;
    std::vector<ModelValue> model;
    std::mt19937 random(1234);
    auto place = [&model](const std::string& name) {
        return std::find_if(model.begin(), model.end(), [&name](const ModelValue& v) {
            return toAsciiUpper(v.name) == toAsciiUpper(name);
        });
    };

    for (int step = 0; step < 3000; ++step) {
        // By turns mostly writes, so that the key grows to dozens of values, and mostly
        // deletions, so that it empties.
        const std::string name = randomName(random, 48);
        const bool shrinking = (step / 300) % 2 == 1;
        const bool remove = random() % 100 < (shrinking ? 95 : 10);
        if (remove) {
            registry.importText("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Key]\r\n\"" + name + "\"=-\r\n",
                                "delete.reg");
            if (auto it = place(name); it != model.end()) model.erase(it);
        } else {
            std::vector<std::uint8_t> data(random() % 70);
            for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
            const std::uint32_t type = random() % 12;
            registry.setValue(kLocal, "Key", name, type, data);
            if (auto it = place(name); it != model.end()) {
                it->type = type;
                it->data = data;
            } else {
                model.push_back({name, type, data});
            }
        }

        Registry::Key key = 0;
        ASSERT_EQ(registry.openKey(kLocal, "Key", KeyAccess::Read, key), status::kSuccess);
        std::vector<std::string> names;
        ASSERT_EQ(registry.valueNames(key, names), status::kSuccess);
        std::vector<std::string> expected;
        for (const ModelValue& v : model) expected.push_back(v.name);
        ASSERT_EQ(names, expected) << "after step " << step;
        for (const ModelValue& v : model) {
            std::uint32_t type = 0;
            std::vector<std::uint8_t> data;
            ASSERT_EQ(registry.queryValue(key, toAsciiUpper(v.name), type, data), status::kSuccess)
                << v.name << " after step " << step;
            ASSERT_EQ(type, v.type) << v.name << " after step " << step;
            ASSERT_EQ(data, v.data) << v.name << " after step " << step;
        }
        if (remove) {
            std::uint32_t type = 77;
            std::vector<std::uint8_t> data{1};
            EXPECT_EQ(registry.queryValue(key, name, type, data), status::kFileNotFound) << name;
            EXPECT_EQ(type, 77u);
        }
        registry.closeKey(key);
    }
}

TEST(EditModel, SubkeysComeAndGoAndEachOpensItself) {
    SimRegistry registry;
    std::map<std::string, std::string> model;  // upper-case name -> name as first created
    std::mt19937 random(99);

    for (int step = 0; step < 1500; ++step) {
        const std::string name = randomName(random, 40);
        const std::string path = "Parent\\" + name;
        // By turns the key grows to a few dozen subkeys and shrinks to a handful or none.
        const bool shrinking = (step / 300) % 2 == 1;
        if (random() % 100 < (shrinking ? 85 : 25)) {
            registry.deleteKey(kLocal, path);
            model.erase(toAsciiUpper(name));
        } else {
            registry.setString(kLocal, path, "Name", toAsciiUpper(name));
            model.try_emplace(toAsciiUpper(name), name);
        }

        Registry::Key parent = 0;
        ASSERT_EQ(registry.openKey(kLocal, "Parent", KeyAccess::Read, parent), status::kSuccess);
        std::vector<std::string> names;
        ASSERT_EQ(registry.subkeyNames(parent, names), status::kSuccess);
        registry.closeKey(parent);
        std::vector<std::string> expected;
        for (const auto& [upper, spelling] : model) expected.push_back(spelling);
        ASSERT_EQ(names, expected) << "after step " << step;

        // Every name there could be, in upper case: each present one opens the key of that
        // name, each absent one opens nothing.
        for (int i = 0; i < 40; ++i) {
            const std::string probe = toAsciiUpper(nameOf(i));
            Registry::Key key = 0;
            const long result = registry.openKey(kLocal, "parent\\" + probe, KeyAccess::Read, key);
            const auto it = model.find(probe);
            ASSERT_EQ(result, it == model.end() ? status::kFileNotFound : status::kSuccess)
                << probe << " after step " << step;
            if (result != status::kSuccess) continue;
            std::uint32_t type = 0;
            std::vector<std::uint8_t> data;
            const long query = registry.queryValue(key, "Name", type, data);
            registry.closeKey(key);
            ASSERT_EQ(query, status::kSuccess) << probe;
            EXPECT_EQ(std::string(data.begin(), data.end() - 1), probe);
        }
    }
}

}  // namespace
}  // namespace tamux::sim
