// How the main window's left pane lays out the devices, which the report window copies: the two
// categories, and the entries of the input devices.
#pragma once

namespace tamux {

inline constexpr int kInputDevicesCategory = 0;
inline constexpr int kPrintersCategory = 1;

// The input devices are always the mouse, then the keyboard; the printers follow the spooler.
inline constexpr int kMouseEntry = 0;
inline constexpr int kKeyboardEntry = 1;

}  // namespace tamux
