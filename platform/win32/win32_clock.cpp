#include "platform/win32/win32_clock.h"

#include <vector>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace {

SYSTEMTIME toSystemTime(const platform::SystemTime& time) {
    SYSTEMTIME st{};
    st.wYear = time.year;
    st.wMonth = time.month;
    st.wDayOfWeek = time.dayOfWeek;
    st.wDay = time.day;
    st.wHour = time.hour;
    st.wMinute = time.minute;
    st.wSecond = time.second;
    st.wMilliseconds = time.milliseconds;
    return st;
}

// GetDateFormatA and GetTimeFormatA share their shape: asked with no buffer they give the size.
template <typename Format>
std::string formatWith(Format format) {
    int needed = format(nullptr, 0);
    if (needed <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(needed));
    int length = format(buffer.data(), needed);
    if (length <= 0) return {};
    // The length counts the terminating NUL.
    return std::string(buffer.data(), static_cast<std::size_t>(length - 1));
}

}  // namespace

platform::SystemTime Win32Clock::localTime() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    platform::SystemTime time;
    time.year = st.wYear;
    time.month = st.wMonth;
    time.dayOfWeek = st.wDayOfWeek;
    time.day = st.wDay;
    time.hour = st.wHour;
    time.minute = st.wMinute;
    time.second = st.wSecond;
    time.milliseconds = st.wMilliseconds;
    return time;
}

std::string Win32Clock::formatShortDate(const platform::SystemTime& time) {
    const SYSTEMTIME st = toSystemTime(time);
    return formatWith([&st](char* buffer, int size) {
        return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, size);
    });
}

std::string Win32Clock::formatLongTime(const platform::SystemTime& time) {
    const SYSTEMTIME st = toSystemTime(time);
    return formatWith([&st](char* buffer, int size) {
        return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, size);
    });
}

}  // namespace tamux::win32
