#include "tests/wine/registry_sides.h"

#include "platform/sim/codepage.h"
#include "platform/win32/windows_support.h"
#include "tests/wine/lane_environment.h"

namespace tamux::wine_test {

unsigned hostCodePage() {
    unsigned codePage = GetACP();
    return sim::isSupportedCodePage(codePage) ? codePage : 1252;
}

namespace {

std::string accessPath(std::string_view name) {
    return std::string(kAccessKey) + "\\" + std::string(name);
}

// Gives `key` a DACL: empty (nobody may do anything) or one entry that lets everyone read.
bool setDacl(HKEY key, bool allowReading) {
    alignas(DWORD) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<PACL>(aclBuffer);
    if (!InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION)) return false;
    if (allowReading) {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                      &everyone)) {
            return false;
        }
        BOOL added = AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
        FreeSid(everyone);
        if (!added) return false;
    }
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) return false;
    if (!SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) return false;
    return RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

// Lifts any DACL from the key so that it can be deleted.
void clearDacl(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
        return;
    }
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key);
}

}  // namespace

bool Win32RegistrySide::hasData() {
    return prefixPrepared();
}

Win32RegistrySide::~Win32RegistrySide() {
    if (!madeAccessKeys_) return;
    for (const char* name : {"Denied", "ReadOnly"}) {
        std::string path = accessPath(name);
        clearDacl(path);
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, std::string(kAccessKey).c_str());
}

void Win32RegistrySide::restrict(std::string_view name, bool allowReading) {
    madeAccessKeys_ = true;
    const std::string path = accessPath(name);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create " << path;
        return;
    }
    if (!setDacl(key, allowReading)) ADD_FAILURE() << "cannot restrict " << path;
    RegCloseKey(key);
}

void Win32RegistrySide::denyEveryAccess(std::string_view name) {
    restrict(name, false);
}

void Win32RegistrySide::allowOnlyReading(std::string_view name) {
    restrict(name, true);
}

SimRegistrySide::SimRegistrySide() : registry_(hostCodePage()) {
    registry_.importFile(dataDir() / "conformance.reg");
    registry_.importFile(dataDir() / "dyn-data-9x.reg");
}

void SimRegistrySide::denyEveryAccess(std::string_view name) {
    const std::string path = accessPath(name);
    registry_.createKey(platform::RootKey::CurrentUser, path);
    registry_.denyOpen(platform::RootKey::CurrentUser, path);
}

void SimRegistrySide::allowOnlyReading(std::string_view name) {
    // The simulated machine limits all access per root, as on a limited account.
    registry_.createKey(platform::RootKey::CurrentUser, accessPath(name));
    registry_.denyAllAccess(platform::RootKey::CurrentUser);
}

}  // namespace tamux::wine_test
