// regimport <file.reg>...: writes the keys and values of .reg files into the real registry through
// the registry API. Wine's regedit refuses HKEY_DYN_DATA, which the API accepts (for as long as
// the wineserver runs), so Windows 9x registry data reaches a Wine prefix this way. The files are
// read with the simulated registry's loader, the same that the tests compare the prefix with.
#include <cstdio>
#include <exception>

#include "platform/sim/codepage.h"
#include "platform/sim/sim_registry.h"
#include "platform/win32/win32_registry.h"
#include "tools/regimport/registry_copier.h"

int main(int argc, char** argv) {
    using tamux::platform::RootKey;
    if (argc < 2) {
        std::fprintf(stderr, "usage: regimport <file.reg>...\n");
        return 2;
    }
    // Strings go through RegSetValueExA, which reads them in the system's code page.
    unsigned codePage = GetACP();
    if (!tamux::sim::isSupportedCodePage(codePage)) codePage = 1252;
    tamux::sim::SimRegistry loaded(codePage);
    try {
        for (int i = 1; i < argc; ++i) loaded.importFile(argv[i]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "regimport: %s\n", error.what());
        return 1;
    }
    int keys = 0, values = 0;
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::DynData}) {
        tamux::regimport::CopyResult result =
            tamux::regimport::copyTree(loaded, root, tamux::win32::rootKeyHandle(root));
        keys += result.keys;
        values += result.values;
        if (result.error != 0) {
            std::fprintf(stderr, "regimport: error %ld writing %s\n", result.error,
                         result.failedAt.c_str());
            return 1;
        }
    }
    std::printf("regimport: %d keys, %d values\n", keys, values);
    return 0;
}
