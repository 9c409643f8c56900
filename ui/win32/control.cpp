#include "ui/win32/control.h"

#include <set>
#include <vector>

#include "platform/win32/optional_function.h"
#include "ui/win32/gdi.h"

namespace tamux::win32 {

Control::~Control() {
    if (handle_) {
        HWND window = handle_;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        handle_ = nullptr;
        DestroyWindow(window);
    }
}

bool Control::create(const char* className, const Placement& placement, DWORD style, DWORD exStyle,
                     HCURSOR cursor) {
    static std::set<std::string> registered;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (registered.insert(className).second) {
        WNDCLASSA windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor =
            cursor ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
    }
    HWND window = CreateWindowExA(exStyle, className, "", style | WS_CHILD, placement.x,
                                  placement.y, placement.width, placement.height, placement.parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)),
                                  instance, this);
    return window != nullptr;
}

LRESULT CALLBACK Control::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* control = static_cast<Control*>(create->lpCreateParams);
        control->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        control->handle_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return control->handleMessage(message, wParam, lParam);
}

LRESULT Control::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(message, wParam, lParam);
}

LRESULT Control::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(handle_, message, wParam, lParam);
}

bool Control::handlePaint(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle_, &ps);
            {
                RECT client;
                GetClientRect(handle_, &client);
                BufferedPaint buffer(dc, client);
                paintClient(buffer.dc());
            }
            EndPaint(handle_, &ps);
            return true;
        }
        case WM_PRINTCLIENT:
            paintClient(reinterpret_cast<HDC>(wParam));
            return true;
    }
    return false;
}

void Control::setVisible(bool visible) {
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::setEnabled(bool enabled) {
    if (handle_) {
        EnableWindow(handle_, enabled ? TRUE : FALSE);
        invalidate();
    }
}

bool Control::enabled() const {
    return handle_ && IsWindowEnabled(handle_);
}

void Control::invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

std::string Control::text() const {
    if (!handle_) return {};
    int length = GetWindowTextLengthA(handle_);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    GetWindowTextA(handle_, buffer.data(), length + 1);
    return std::string(buffer.data());
}

void paintParentBackground(HWND child, HDC dc) {
    HWND parent = GetParent(child);
    if (!parent) return;
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);

    POINT previous;
    OffsetWindowOrgEx(dc, area.left, area.top, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);

    // Then the visible siblings below it that it overlaps, lowest first (a label over a band).
    std::vector<HWND> below;
    for (HWND sibling = GetWindow(child, GW_HWNDNEXT); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        RECT place, overlap;
        GetWindowRect(sibling, &place);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
        if (IsWindowVisible(sibling) && IntersectRect(&overlap, &place, &area)) {
            below.push_back(sibling);
        }
    }
    for (auto sibling = below.rbegin(); sibling != below.rend(); ++sibling) {
        RECT place;
        GetWindowRect(*sibling, &place);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
        OffsetWindowOrgEx(dc, area.left - place.left, area.top - place.top, &previous);
        SendMessageA(*sibling, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
        SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
    }
}

int mouseX(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}

int mouseY(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

namespace {

// Windows 95 without a later Internet Explorer cannot report the leave: a timer looks where the
// pointer is and posts WM_MOUSELEAVE itself once it is over some other window.
constexpr UINT_PTR kLeavePollTimer = 0x4C56;
constexpr UINT kLeavePollInterval = 100;  // milliseconds

void CALLBACK pollMouseLeave(HWND window, UINT, UINT_PTR timer, DWORD) {
    POINT cursor{};
    if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == window) return;
    KillTimer(window, timer);
    PostMessageA(window, WM_MOUSELEAVE, 0, 0);
}

}  // namespace

void trackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    using TrackFunction = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    for (platform::OptionalFunction way : {platform::OptionalFunction::TrackMouseEvent,
                                           platform::OptionalFunction::ComctlTrackMouseEvent}) {
        TrackFunction trackFunction = optionalFunctionAs<TrackFunction>(way);
        if (trackFunction && trackFunction(&track)) return;
    }
    // A second call while the timer runs restarts it; the timer ends with the window.
    SetTimer(window, kLeavePollTimer, kLeavePollInterval, pollMouseLeave);
}

}  // namespace tamux::win32
