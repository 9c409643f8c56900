#include "tools/capture/recording_platform.h"

#include <algorithm>
#include <map>

#include "platform/print_canvas.h"

namespace tamux::capture {

namespace {

using platform::RootKey;
namespace status = platform::status;

// Key names compare without regard to case; ASCII folding is enough to keep the spellings of one
// key together, and two keys that differ only in other letters are merged again when loaded.
std::string fold(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

class RecordingRegistry : public platform::Registry {
  public:
    RecordingRegistry(platform::Registry& inner, Recording& recording)
        : inner_(inner), recording_(recording) {}

    long openKey(RootKey root, std::string_view path, platform::KeyAccess, Key& key) override {
        // Only ever for reading, whatever the caller asks: the capture changes nothing.
        const long result = inner_.openKey(root, path, platform::KeyAccess::Read, key);
        auto [entry, added] = recording_.keys.try_emplace(
            {static_cast<int>(root), fold(path)},
            RecordedKey{root, std::string(path), result, {}, std::nullopt});
        if (!added && result == status::kSuccess) entry->second.openStatus = result;
        if (result == status::kSuccess) open_[key] = &entry->second;
        return result;
    }

    void closeKey(Key key) override {
        open_.erase(key);
        inner_.closeKey(key);
    }

    long queryValue(Key key, std::string_view name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data) override {
        const long result = inner_.queryValue(key, name, type, data);
        if (result == status::kSuccess) note(key, name, type, data);
        return result;
    }

    long subkeyNames(Key key, std::vector<std::string>& names) override {
        const long result = inner_.subkeyNames(key, names);
        if (result == status::kSuccess) {
            if (RecordedKey* entry = find(key)) entry->subkeyNames = names;
        }
        return result;
    }

    long valueNames(Key key, std::vector<std::string>& names) override {
        const long result = inner_.valueNames(key, names);
        if (result != status::kSuccess) return result;
        // A listed value belongs to the capture even when the program reads only its name:
        // the replayed listing must name it too.
        for (const std::string& name : names) {
            std::uint32_t type = 0;
            std::vector<std::uint8_t> data;
            if (inner_.queryValue(key, name, type, data) == status::kSuccess) {
                note(key, name, type, data);
            }
        }
        return result;
    }

  private:
    RecordedKey* find(Key key) {
        const auto it = open_.find(key);
        return it == open_.end() ? nullptr : it->second;
    }

    void note(Key key, std::string_view name, std::uint32_t type,
              const std::vector<std::uint8_t>& data) {
        RecordedKey* entry = find(key);
        if (!entry) return;
        const std::string folded = fold(name);
        for (const RecordedValue& value : entry->values) {
            if (fold(value.name) == folded) return;
        }
        entry->values.push_back({std::string(name), type, data});
    }

    platform::Registry& inner_;
    Recording& recording_;
    std::map<Key, RecordedKey*> open_;
};

class RecordingSystem : public platform::System {
  public:
    RecordingSystem(platform::System& inner, Recording& recording)
        : inner_(inner), recording_(recording) {}

    bool getVersionEx(platform::OsVersionInfo& info) override {
        const bool ok = inner_.getVersionEx(info);
        if (ok) {
            recording_.version = info;
        } else {
            recording_.versionFails = true;
        }
        return ok;
    }
    std::uint32_t getVersion() override {
        // The sim derives GetVersion from the version record; the capture asks for that record.
        platform::OsVersionInfo info;
        getVersionEx(info);
        return inner_.getVersion();
    }
    std::uint16_t systemDefaultLangId() override {
        return *(recording_.systemLanguage = inner_.systemDefaultLangId());
    }
    int keyboardType(int which) override {
        return recording_.keyboardType[which] = inner_.keyboardType(which);
    }
    // The capture runs the program as tamux.exe beside it: the language module and the settings
    // file are named after the executable.
    std::string executablePath() override {
        std::string path = inner_.executablePath();
        path.erase(path.find_last_of("\\/:") + 1);
        return path + "tamux.exe";
    }
    std::string currentDirectory() override { return inner_.currentDirectory(); }
    int screenDpiX() override { return *(recording_.screenDpi = inner_.screenDpiX()); }
    int screenDpiY() override {
        const int dpi = inner_.screenDpiY();
        if (!recording_.screenDpi) recording_.screenDpi = dpi;
        return dpi;
    }
    unsigned ansiCodePage() override { return *(recording_.ansiCodePage = inner_.ansiCodePage()); }
    bool hasFunction(platform::OptionalFunction function) override {
        return inner_.hasFunction(function);
    }

  private:
    platform::System& inner_;
    Recording& recording_;
};

class RecordingKeyboard : public platform::Keyboard {
  public:
    RecordingKeyboard(platform::Keyboard& inner, Recording& recording)
        : inner_(inner), recording_(recording) {}

    bool getKeyboardState(platform::KeyboardStateBuffer& state) override {
        const bool ok = inner_.getKeyboardState(state);
        if (ok && !recording_.keyboardState) recording_.keyboardState = state;
        return ok;
    }
    // The user's keys stay as they are.
    bool setKeyboardState(const platform::KeyboardStateBuffer&) override { return false; }
    void keybdEvent(std::uint8_t, std::uint8_t, std::uint32_t, std::uintptr_t) override {}

  private:
    platform::Keyboard& inner_;
    Recording& recording_;
};

class RecordingSpooler : public platform::Spooler {
  public:
    RecordingSpooler(platform::Spooler& inner, Recording& recording)
        : inner_(inner), recording_(recording) {}

    bool enumPrinters(std::uint32_t flags, std::uint32_t bufferSize, std::uint32_t& needed,
                      std::vector<platform::PrinterInfo2>& printers) override {
        const bool ok = inner_.enumPrinters(flags, bufferSize, needed, printers);
        if (ok) recording_.printers[flags] = printers;
        return ok;
    }

    Dc createDC(std::string_view device) override {
        const Dc dc = inner_.createDC(device);
        RecordedPrinterCaps& caps = recording_.printerCaps[std::string(device)];
        caps.createDcFails = dc == 0;
        if (dc != 0) devices_[dc] = std::string(device);
        return dc;
    }

    int getDeviceCaps(Dc dc, int index) override {
        const int answer = inner_.getDeviceCaps(dc, index);
        const auto device = devices_.find(dc);
        if (device != devices_.end()) {
            recording_.printerCaps[device->second].deviceCaps[index] = answer;
        }
        return answer;
    }

    void deleteDC(Dc dc) override {
        devices_.erase(dc);
        inner_.deleteDC(dc);
    }

    int deviceCapabilities(std::string_view device, std::string_view port, std::uint16_t capability,
                           std::vector<char>* output) override {
        const int answer = inner_.deviceCapabilities(device, port, capability, output);
        if (capability != platform::kDcPaperNames) {
            recording_.warnings.push_back("DeviceCapabilities " + std::to_string(capability) +
                                          " of \"" + std::string(device) +
                                          "\" is not kept in a machine folder");
            return answer;
        }
        RecordedPrinterCaps& caps = recording_.printerCaps[std::string(device)];
        if (answer < 0) {
            caps.paperNamesFail = true;
            caps.paperNames.reset();
        } else if (output) {
            std::vector<std::string> names;
            const std::size_t slots =
                std::min<std::size_t>(answer, output->size() / platform::kPaperNameSlotSize);
            for (std::size_t i = 0; i < slots; ++i) {
                const char* slot = output->data() + i * platform::kPaperNameSlotSize;
                names.emplace_back(slot,
                                   std::find(slot, slot + platform::kPaperNameSlotSize, '\0'));
            }
            caps.paperNames = std::move(names);
        } else if (!caps.paperNames) {
            // The count alone: the names arrive with the next call.
            caps.paperNames.emplace();
        }
        return answer;
    }

  private:
    platform::Spooler& inner_;
    Recording& recording_;
    std::map<Dc, std::string> devices_;
};

class RecordingClock : public platform::Clock {
  public:
    RecordingClock(platform::Clock& inner, Recording& recording)
        : inner_(inner), recording_(recording) {}

    platform::SystemTime localTime() override {
        const platform::SystemTime now = inner_.localTime();
        if (!recording_.now) recording_.now = now;
        return now;
    }
    std::string formatShortDate(const platform::SystemTime& time) override {
        std::string text = inner_.formatShortDate(time);
        if (!recording_.shortDate) recording_.shortDate = text;
        return text;
    }
    std::string formatLongTime(const platform::SystemTime& time) override {
        std::string text = inner_.formatLongTime(time);
        if (!recording_.longTime) recording_.longTime = text;
        return text;
    }

  private:
    platform::Clock& inner_;
    Recording& recording_;
};

// Reads pass through; writes stay in memory and are read back from there.
class MemoryFiles : public platform::Files {
  public:
    explicit MemoryFiles(platform::Files& inner) : inner_(inner) {}

    bool fileExists(std::string_view path) override {
        return written_.count(fold(path)) != 0 || inner_.fileExists(path);
    }
    std::optional<std::string> readFile(std::string_view path) override {
        const auto it = written_.find(fold(path));
        if (it != written_.end()) return it->second;
        return inner_.readFile(path);
    }
    bool readFileFrom(std::string_view path, std::uint64_t from,
                      const std::function<bool(std::string_view)>& take) override {
        if (written_.count(fold(path)) != 0) return Files::readFileFrom(path, from, take);
        return inner_.readFileFrom(path, from, take);
    }
    std::optional<std::uint64_t> fileSize(std::string_view path) override {
        if (written_.count(fold(path)) != 0) return Files::fileSize(path);
        return inner_.fileSize(path);
    }
    void writeFile(std::string_view path, std::string_view content) override {
        written_[fold(path)] = std::string(content);
    }
    std::optional<std::uint64_t> lastWriteTime(std::string_view path) override {
        return inner_.lastWriteTime(path);
    }

    std::optional<std::string> written(std::string_view path) const {
        const auto it = written_.find(fold(path));
        if (it == written_.end()) return std::nullopt;
        return it->second;
    }

  private:
    platform::Files& inner_;
    std::map<std::string, std::string> written_;
};

class MemoryProfile : public platform::Profile {
  public:
    explicit MemoryProfile(platform::Profile& inner) : inner_(inner) {}

    std::string getString(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize) override {
        const auto it = written_.find(
            fold(std::string(file) + "\n" + std::string(section) + "\n" + std::string(key)));
        if (it == written_.end()) {
            return inner_.getString(file, section, key, defaultValue, bufferSize);
        }
        return it->second.substr(0, bufferSize > 0 ? bufferSize - 1 : 0);
    }
    bool writeString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override {
        written_[fold(std::string(file) + "\n" + std::string(section) + "\n" + std::string(key))] =
            std::string(value);
        return true;
    }

  private:
    platform::Profile& inner_;
    std::map<std::string, std::string> written_;
};

class InertShell : public platform::Shell {
  public:
    explicit InertShell(platform::Shell& inner) : inner_(inner) {}
    // ERROR_ACCESS_DENIED as ShellExecute reports a refusal: nothing is started.
    std::intptr_t shellExecute(std::string_view, std::string_view, std::string_view,
                               std::string_view, int) override {
        return 5;
    }
    std::uint32_t lastError() override { return 5; }
    std::string systemMessage(std::uint32_t code) override { return inner_.systemMessage(code); }

  private:
    platform::Shell& inner_;
};

class ScriptedDialogs : public platform::Dialogs {
  public:
    int messageBox(std::string_view text, std::string_view, std::uint32_t type) override {
        messages_.emplace_back(text);
        return (type & 0xF) == platform::mb::kYesNo ? platform::mb::kIdNo : platform::mb::kIdOk;
    }
    std::optional<std::string> saveFile(const platform::SaveDialogRequest&) override {
        return std::string(RecordingPlatform::kSavePath);
    }
    std::unique_ptr<platform::PrintCanvas> printDialog() override { return nullptr; }

    const std::vector<std::string>& messages() const { return messages_; }

  private:
    std::vector<std::string> messages_;
};

// The recording is made on one thread: work the program would do side by side runs one piece
// after the other, and its reads are recorded in the order a walk in order makes them.
class OneThread : public platform::Parallel {
  protected:
    bool startThread() override { return false; }
    void joinThread() override {}
    void raise(Signal) override {}
    void await(Signal) override {}
};

}  // namespace

struct RecordingPlatform::Services {
    Services(platform::Platform inner)
        : modules(inner.modules),
          registry(inner.registry, recording),
          system(inner.system, recording),
          keyboard(inner.keyboard, recording),
          spooler(inner.spooler, recording),
          clock(inner.clock, recording),
          files(inner.files),
          profile(inner.profile),
          shell(inner.shell) {}

    Recording recording;
    platform::ResourceModules& modules;
    RecordingRegistry registry;
    RecordingSystem system;
    RecordingKeyboard keyboard;
    RecordingSpooler spooler;
    RecordingClock clock;
    MemoryFiles files;
    MemoryProfile profile;
    InertShell shell;
    ScriptedDialogs dialogs;
    OneThread parallel;
};

RecordingPlatform::RecordingPlatform(platform::Platform inner)
    : services_(std::make_unique<Services>(inner)) {}

RecordingPlatform::~RecordingPlatform() = default;

platform::Platform RecordingPlatform::platform() {
    Services& s = *services_;
    return platform::Platform{s.registry, s.system,   s.files,   s.profile, s.modules, s.shell,
                              s.dialogs,  s.keyboard, s.spooler, s.clock,   s.parallel};
}

Recording& RecordingPlatform::recording() {
    return services_->recording;
}

std::optional<std::string> RecordingPlatform::savedReport() const {
    return services_->files.written(kSavePath);
}

const std::vector<std::string>& RecordingPlatform::messages() const {
    return services_->dialogs.messages();
}

}  // namespace tamux::capture
