// What a failed ShellExecuteA means. Its result is the only report it promises: the thread's last
// error is not always set (Windows 95 and some handlers leave it as it was, often 0), so the
// program reads the failure from the result.
#pragma once

#include <cstdint>
#include <string>

namespace tamux::platform {

// The Win32 error code that stands for a failure result of 32 or less (SE_ERR_...): 0 and
// SE_ERR_OOM are "not enough memory", SE_ERR_SHARE a sharing violation, the association and DDE
// failures their ERROR_NO_ASSOCIATION / ERROR_DDE_FAIL, SE_ERR_DLLNOTFOUND ERROR_DLL_NOT_FOUND;
// the file, path, access and format failures are their own codes.
std::uint32_t win32ErrorOfShellResult(std::intptr_t result);

// An English text for a failure result, for a system that has no text of its own for the error
// code above; "" for a value that is not a failure result.
std::string shellResultText(std::intptr_t result);

}  // namespace tamux::platform
