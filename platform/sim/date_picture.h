// GetDateFormatA / GetTimeFormatA picture formatting with the English day and month names.
//
// Date pictures: d dd (day), ddd dddd (day name), M MM (month), MMM MMMM (month name), y yy
// (two-digit year, without or with a leading zero), yyyy (full year), gg (era). Time pictures:
// h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (first letter or whole of the AM/PM marker).
// Text in single quotes is copied ('' is a quote); any other character is copied as it stands,
// and so are the letters of the other kind (time letters in a date picture and the reverse).
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace tamux::sim {

std::string formatDatePicture(std::string_view picture, const platform::SystemTime& time);
std::string formatTimePicture(std::string_view picture, const platform::SystemTime& time,
                              std::string_view am = "AM", std::string_view pm = "PM");

// 0 = Sunday, as in SYSTEMTIME; for the Gregorian calendar.
int dayOfWeek(int year, int month, int day);

}  // namespace tamux::sim
