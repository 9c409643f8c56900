#include "platform/sim/date_picture.h"

#include <array>
#include <cstdio>

namespace tamux::sim {

namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kDayAbbreviations = {"Sun", "Mon", "Tue", "Wed",
                                                               "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string number(int value, int minDigits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", minDigits, value);
    return buffer;
}

template <std::size_t N>
std::string_view name(const std::array<std::string_view, N>& names, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
    return names[static_cast<std::size_t>(index)];
}

enum class Kind { Date, Time };

std::string format(Kind kind, std::string_view picture, const platform::SystemTime& t,
                   std::string_view am, std::string_view pm) {
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            for (++i; i < picture.size(); ++i) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out.push_back('\'');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                out.push_back(picture[i]);
            }
            continue;
        }
        std::size_t count = 1;
        while (i + count < picture.size() && picture[i + count] == c) ++count;
        const int n = static_cast<int>(count);
        bool handled = true;
        if (kind == Kind::Date) {
            switch (c) {
                case 'd':
                    if (n >= 4) {
                        out += name(kDayNames, dayOfWeek(t.year, t.month, t.day));
                    } else if (n == 3) {
                        out += name(kDayAbbreviations, dayOfWeek(t.year, t.month, t.day));
                    } else {
                        out += number(t.day, n);
                    }
                    break;
                case 'M':
                    if (n >= 4) {
                        out += name(kMonthNames, t.month - 1);
                    } else if (n == 3) {
                        out += name(kMonthAbbreviations, t.month - 1);
                    } else {
                        out += number(t.month, n);
                    }
                    break;
                case 'y':
                    out += n >= 4 ? number(t.year, 4) : number(t.year % 100, n > 2 ? 2 : n);
                    break;
                case 'g':
                    out += n == 2 ? "A.D." : "g";
                    break;
                default:
                    handled = false;
            }
        } else {
            const int digits = n > 2 ? 2 : n;
            switch (c) {
                case 'h':
                    out += number(t.hour % 12 == 0 ? 12 : t.hour % 12, digits);
                    break;
                case 'H':
                    out += number(t.hour, digits);
                    break;
                case 'm':
                    out += number(t.minute, digits);
                    break;
                case 's':
                    out += number(t.second, digits);
                    break;
                case 't': {
                    const std::string_view marker = t.hour < 12 ? am : pm;
                    out += n == 1 ? marker.substr(0, 1) : marker;
                    break;
                }
                default:
                    handled = false;
            }
        }
        if (handled) {
            i += count;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

}  // namespace

int dayOfWeek(int year, int month, int day) {
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 0;
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

std::string formatDatePicture(std::string_view picture, const platform::SystemTime& time) {
    return format(Kind::Date, picture, time, {}, {});
}

std::string formatTimePicture(std::string_view picture, const platform::SystemTime& time,
                              std::string_view am, std::string_view pm) {
    return format(Kind::Time, picture, time, am, pm);
}

}  // namespace tamux::sim
