// The keyboard section's indicator lines, on (green) and off (black), spelt out here rather
// than taken from the builder, so that the builder's own constants are checked.
#pragma once

#include <string>

namespace tamux::test {

inline const std::string kCapsOn = "<FONT color=\"clgreen\" size=\"10\"> CAPS </FONT>";
inline const std::string kCapsOff = "<FONT color=\"clblack\" size=\"10\"> CAPS </FONT>";
inline const std::string kNumOn = "<FONT color=\"clgreen\" size=\"10\"> NUM </FONT>";
inline const std::string kNumOff = "<FONT color=\"clblack\" size=\"10\"> NUM </FONT>";
inline const std::string kScrollOn = "<FONT color=\"clgreen\" size=\"10\"> SCROLL </FONT>";
inline const std::string kScrollOff = "<FONT color=\"clblack\" size=\"10\"> SCROLL </FONT>";
inline const std::string kInsOn = "<FONT color=\"clgreen\" size=\"10\"> INS </FONT>";
inline const std::string kInsOff = "<FONT color=\"clblack\" size=\"10\"> INS </FONT>";

}  // namespace tamux::test
