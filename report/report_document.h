// The report as a document: the frame (the creation line and the footer) around one entry per
// ticked entry of the report window, each holding the sections of its devices. The writers of
// text, HTML and the printout all read this; nothing here knows how it looks.
#pragma once

#include <string>
#include <vector>

#include "devices/keyboard/key_state.h"
#include "devices/keyboard/keyboard_facts.h"
#include "devices/mouse/mouse_facts.h"
#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_module.h"
#include "platform/clock.h"
#include "report/report_request.h"
#include "ui/device_section.h"

namespace tamux {

// Text ids of the frame (before the creation date, before the program's title) and of a lock
// key's state.
inline constexpr TextId kCreatedOnText = 50201;
inline constexpr TextId kCreatedByText = 50202;
inline constexpr TextId kOnText = 7;
inline constexpr TextId kOffText = 8;

// The report's own title, the same in every language.
inline constexpr std::string_view kReportTitle = "Zorv Info Report";

// What the section builders read: the facts gathered at start, the lock keys, the printer list
// with the capability query, and the language module.
struct ReportSources {
    const MouseFacts& mouse;
    const KeyboardFacts& keyboard;
    KeyState& keys;
    const PrinterList& printers;
    PrinterCaps& printerCaps;
    const LangModule& lang;
};

struct ReportEntry {
    // The caption of the entry's category and the entry's own text, as the panes show them.
    std::string category;
    std::string text;
    // The mouse or the keyboard; for a printer entry every printer of that name.
    std::vector<DeviceSection> sections;

    bool operator==(const ReportEntry&) const = default;
};

struct ReportDocument {
    // The creation text, date and time.
    std::string created;
    std::vector<ReportEntry> entries;
    // The "created by" text and the program's title.
    std::string footer;
    // A lock key's state in words.
    std::string onText;
    std::string offText;
    // The ANSI code page every text is written in.
    unsigned codePage = 1252;
};

// The entries of the request, in order, with the sections of their devices.
std::vector<ReportEntry> reportEntries(const ReportRequest& request, const ReportSources& sources);

// The frame's texts: the date and time in the user's short date and long time formats.
std::string createdText(const LangModule& lang, platform::Clock& clock);
std::string footerText(const LangModule& lang, const std::string& applicationTitle);

// What the value column of a line says: the value and its unit, or a lock key's state in words.
std::string valueColumnText(const SectionLine& line, const ReportDocument& document);

// A text on one line: tabs and line breaks in it become blanks, so that a value cannot break a
// column, a row or a printed line.
std::string onOneLine(std::string_view text);

}  // namespace tamux
