#include "lang/lang_module.h"

#include <exception>
#include <utility>

#include "lang/settings_file.h"

namespace tamux {

namespace {

// Real module handles lie above 32; smaller values are error codes of old Windows, never a
// module that could be released.
constexpr platform::ResourceModules::Module kLowestModuleHandle = 33;

std::string missingModuleMessage(std::string_view code) {
    const std::size_t at = kMissingModuleMessage.find("%s");
    std::string message(kMissingModuleMessage.substr(0, at));
    message += code;
    message += kMissingModuleMessage.substr(at + 2);
    return message;
}

// A code that names a folder or a drive would make the program load a library from elsewhere
// than its own folder; such a code is treated as a language without a module.
bool staysInProgramFolder(std::string_view code) {
    return code.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace

std::string defaultLangCode(platform::System& system) {
    switch (system.systemDefaultLangId() & 0x3FF) {
        case 0x05:
            return "CSY";
        case 0x07:
            return "DE";
        case 0x0A:
            return "ES";
        case 0x0C:
            return "FR";
        case 0x10:
            return "IT";
        case 0x19:
            return "RUS";
        default:  // English (0x09) and every language without a module of its own
            return std::string(kFallbackLangCode);
    }
}

std::string langModuleFileName(std::string_view executablePath, std::string_view code) {
    return pathWithoutExtension(executablePath) + std::string(code) + ".dll";
}

std::string langModulePath(const platform::Platform& platform) {
    const std::string executable = platform.system.executablePath();
    const std::string settings = settingsFilePath(executable);

    std::string code;
    if (!readIniValue(platform.profile, settings, kOptionsSection, kLanguageKey, code)) {
        code = defaultLangCode(platform.system);
        writeIniValue(platform.profile, settings, kOptionsSection, kLanguageKey, code);
    }

    std::string modulePath = langModuleFileName(executable, code);
    if (!staysInProgramFolder(code) || !platform.files.fileExists(modulePath)) {
        platform.dialogs.messageBox(missingModuleMessage(code), kMissingModuleCaption,
                                    platform::mb::kOk | platform::mb::kIconError);
        code = std::string(kFallbackLangCode);
        modulePath = langModuleFileName(executable, code);
        writeIniValue(platform.profile, settings, kOptionsSection, kLanguageKey, code);
    }

    writeIniValue(platform.profile, settings, kOptionsSection, kRunLangKey, code);
    return modulePath;
}

std::string loadModuleString(platform::ResourceModules& modules,
                             platform::ResourceModules::Module module, TextId id) {
    // LoadStringA with no module would read the executable's own string table.
    if (module == 0) return std::string(kNoLoadMessage);
    std::string text;
    try {
        if (modules.loadString(module, id, text, kLangTextBufferSize) <= 0) {
            return std::string(kNoLoadMessage);
        }
    } catch (const std::exception&) {
        return std::string(kNoLoadMessage);
    }
    if (text.size() > kLangTextBufferSize - 1) text.resize(kLangTextBufferSize - 1);
    return text;
}

bool LangModule::loadLangModule() {
    if (handle_ >= kLowestModuleHandle) platform_.modules.freeLibrary(handle_);
    handle_ = 0;
    const std::string path = langModulePath(platform_);
    handle_ = platform_.modules.loadLibrary(path);
    return true;
}

void LangModule::getLangText(TextId id, std::string& text) const {
    std::string found = loadModuleString(platform_.modules, handle_, id);
    if (std::size_t nul = found.find('\0'); nul != std::string::npos) found.resize(nul);
    // A text that begins with a NUL would leave an empty caption or label behind.
    text = found.empty() ? std::string(kNoLoadMessage) : std::move(found);
}

std::string LangModule::getLangText(TextId id) const {
    std::string text;
    getLangText(id, text);
    return text;
}

}  // namespace tamux
