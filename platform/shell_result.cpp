#include "platform/shell_result.h"

namespace tamux::platform {

std::uint32_t win32ErrorOfShellResult(std::intptr_t result) {
    switch (result) {
        case 0:  // out of memory or resources
        case 8:  // SE_ERR_OOM
            return 8;
        case 2:   // SE_ERR_FNF
        case 3:   // SE_ERR_PNF
        case 5:   // SE_ERR_ACCESSDENIED
        case 11:  // ERROR_BAD_FORMAT
            return static_cast<std::uint32_t>(result);
        case 26:  // SE_ERR_SHARE
            return 32;
        case 27:  // SE_ERR_ASSOCINCOMPLETE
        case 31:  // SE_ERR_NOASSOC
            return 1155;
        case 28:  // SE_ERR_DDETIMEOUT
        case 29:  // SE_ERR_DDEFAIL
        case 30:  // SE_ERR_DDEBUSY
            return 1156;
        case 32:  // SE_ERR_DLLNOTFOUND
            return 1157;
        default:
            return static_cast<std::uint32_t>(result);
    }
}

std::string shellResultText(std::intptr_t result) {
    switch (result) {
        case 0:
        case 8:
            return "There is not enough memory to complete the operation";
        case 2:
            return "The specified file was not found";
        case 3:
            return "The specified path was not found";
        case 5:
            return "Access to the specified file is denied";
        case 11:
            return "The file is not a valid program";
        case 26:
            return "The file is in use by another program";
        case 27:
            return "The file name association is incomplete or invalid";
        case 28:
            return "The DDE transaction could not be completed because the request timed out";
        case 29:
            return "The DDE transaction failed";
        case 30:
            return "The DDE transaction could not be completed because other DDE transactions "
                   "were being processed";
        case 31:
            return "There is no application associated with the given file name extension";
        case 32:
            return "The specified dynamic-link library was not found";
        default:
            return {};
    }
}

}  // namespace tamux::platform
