#include "report/report_document.h"

#include "devices/keyboard/keyboard_section.h"
#include "devices/mouse/mouse_section.h"
#include "devices/printers/printer_section.h"
#include "ui/markup_text.h"

namespace tamux {

std::vector<ReportEntry> reportEntries(const ReportRequest& request, const ReportSources& sources) {
    std::vector<ReportEntry> entries;
    for (const SelectedItem& item : request.items) {
        // The report window's captions are the panes' markup.
        ReportEntry entry{decodeMarkupEntities(item.caption), decodeMarkupEntities(item.text), {}};
        if (item.section == kInputDevicesCategory) {
            if (item.subitem == kMouseEntry) {
                entry.sections.push_back(mouseSection(sources.mouse, sources.lang));
            }
            if (item.subitem == kKeyboardEntry) {
                entry.sections.push_back(
                    keyboardSection(sources.keyboard, sources.keys, sources.lang));
            }
        }
        // Printers are found by their entry text among the printers only, as the main window
        // does: a printer named like the mouse or the keyboard text must not add its lines to
        // that entry.
        if (item.section == kPrintersCategory) {
            for (int printer : printerIndicesForCaption(sources.printers, item.text)) {
                entry.sections.push_back(
                    printerSection(sources.printers, printer, sources.printerCaps, sources.lang));
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string createdText(const LangModule& lang, platform::Clock& clock) {
    const platform::SystemTime now = clock.localTime();
    return lang.getLangText(kCreatedOnText) + clock.formatShortDate(now) + "  " +
           clock.formatLongTime(now);
}

std::string valueColumnText(const SectionLine& line, const ReportDocument& document) {
    switch (line.kind) {
        case LineKind::Indicator:
            return line.on ? document.onText : document.offText;
        case LineKind::Item:
            return line.value + line.unit;
        default:
            return line.value;
    }
}

std::string onOneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

std::string footerText(const LangModule& lang, const std::string& applicationTitle) {
    return lang.getLangText(kCreatedByText) + applicationTitle;
}

}  // namespace tamux
