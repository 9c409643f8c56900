// The only header that includes <windows.h> and the other Win32 SDK headers. Lean, without the
// min/max macros (both set by the build); the program calls the ...A functions by name.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <winspool.h>
// clang-format on

#include <utility>

namespace tamux::win32 {

// Owns one Win32 handle and releases it with Traits::close when it goes out of scope.
template <typename Traits>
class ScopedHandle {
  public:
    using Handle = typename Traits::Handle;
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Traits::close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_{};
};

struct RegKeyTraits {
    using Handle = HKEY;
    static void close(HKEY key) { RegCloseKey(key); }
};
struct DcTraits {
    using Handle = HDC;
    static void close(HDC dc) { DeleteDC(dc); }
};
struct PrinterTraits {
    using Handle = HANDLE;
    static void close(HANDLE printer) { ClosePrinter(printer); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static void close(HMODULE module) { FreeLibrary(module); }
};

// A file handle; callers turn INVALID_HANDLE_VALUE into null before handing it over.
struct FileTraits {
    using Handle = HANDLE;
    static void close(HANDLE file) { CloseHandle(file); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static void close(HGDIOBJ object) { DeleteObject(object); }
};

using ScopedRegKey = ScopedHandle<RegKeyTraits>;
using ScopedDc = ScopedHandle<DcTraits>;
using ScopedPrinter = ScopedHandle<PrinterTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedFile = ScopedHandle<FileTraits>;
using ScopedGdiObject = ScopedHandle<GdiObjectTraits>;

}  // namespace tamux::win32
