// What a device section shows, line by line, before anything decides how it looks: the right
// pane draws it as markup, the report writes it as text, HTML or a printout. Every text here is
// plain (as the system or the language module gives it); whoever draws it escapes what needs
// escaping.
#pragma once

#include <string>
#include <vector>

#include "platform/lock_key.h"

namespace tamux {

enum class DeviceKind { Mouse, Keyboard, Printer };

// The pictures of device lines: indexes into the panes' device image list.
enum class LineIcon : int {
    None = -1,
    Mouse = 0,
    Keyboard = 1,
    Printer = 2,
    Information = 3,
    Present = 4,
    Absent = 5,
    Paper = 6,
};

// How strongly a line's label stands out; the driver and layout records are stronger than the
// settings around them.
enum class Emphasis { Normal, Strong };

enum class LineKind {
    Title,       // the device's own name, above everything else
    Group,       // a group heading
    Item,        // a label and its value, the value possibly followed by a unit
    State,       // a label and an on/off text of the language module
    Capability,  // a printer capability's name and whether the driver has it
    Paper,       // one paper form the printer driver offers
    Indicator,   // a lock key and whether it is on; clicking it toggles the key
    Gap,         // a separating line holding one blank
    Empty,       // a separating line holding nothing
};

struct SectionLine {
    LineKind kind = LineKind::Empty;
    LineIcon icon = LineIcon::None;
    Emphasis emphasis = Emphasis::Normal;
    // The title, the group heading, the item's label, the capability's or the paper's name.
    std::string label;
    // The item's value, the state's text, or the capability's "present"/"absent" text.
    std::string value;
    // Written right after the value, e.g. " ms".
    std::string unit;
    // Indicator lines only.
    LockKey key = LockKey::CapsLock;
    // Indicator lines: the key is on. Capability lines: the driver has it.
    bool on = false;
    // Group headings: the main heading of the section, larger than the others.
    bool major = false;

    bool operator==(const SectionLine&) const = default;
};

struct DeviceSection {
    DeviceKind kind = DeviceKind::Mouse;
    // The entry's text in the panes: the mouse or keyboard text, or the printer's name.
    std::string title;
    std::vector<SectionLine> lines;

    bool operator==(const DeviceSection&) const = default;
};

// Line makers, so that builders read as the section they build.
SectionLine titleLine(std::string text);
SectionLine groupLine(std::string text, bool major = false, LineIcon icon = LineIcon::None);
SectionLine itemLine(LineIcon icon, Emphasis emphasis, std::string label, std::string value,
                     std::string unit = {});
SectionLine stateLine(LineIcon icon, std::string label, std::string text);
SectionLine capabilityLine(std::string name, bool present, std::string text);
SectionLine paperLine(std::string name);
SectionLine lockIndicatorLine(LockKey key, bool on);
SectionLine gapLine();
SectionLine emptyLine();

// The key's name as its indicator shows it: "CAPS", "NUM", "SCROLL", "INS".
const char* lockKeyName(LockKey key);

}  // namespace tamux
