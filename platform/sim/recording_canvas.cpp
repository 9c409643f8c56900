#include "platform/sim/recording_canvas.h"

#include <cstdlib>

namespace tamux::sim {

RecordingCanvas::RecordingCanvas(PageSetup setup, std::shared_ptr<PrintLog> log)
    : setup_(setup), log_(std::move(log)), fontSize_(setup.initialFontSize) {}

RecordingCanvas::~RecordingCanvas() {
    if (inDocument()) log_->mistakes.push_back("canvas destroyed before endDocument");
}

bool RecordingCanvas::inDocument() const {
    return !log_->documents.empty() && !log_->documents.back().ended;
}

bool RecordingCanvas::beginDocument(std::string_view title) {
    if (setup_.beginFails) return false;
    if (inDocument()) log_->mistakes.push_back("beginDocument inside a document");
    PrintedDocument document;
    document.title = std::string(title);
    document.pages.emplace_back();
    log_->documents.push_back(std::move(document));
    return true;
}

void RecordingCanvas::newPage() {
    if (!inDocument()) {
        log_->mistakes.push_back("newPage outside a document");
        return;
    }
    log_->documents.back().pages.emplace_back();
}

void RecordingCanvas::endDocument() {
    if (!inDocument()) {
        log_->mistakes.push_back("endDocument outside a document");
        return;
    }
    log_->documents.back().ended = true;
}

int RecordingCanvas::textHeight(std::string_view) {
    const long dots = static_cast<long>(std::abs(fontSize_)) * setup_.logPixelsY;
    return static_cast<int>((dots + 36) / 72);
}

int RecordingCanvas::textWidth(std::string_view text) {
    const long dots =
        static_cast<long>(std::abs(fontSize_)) * setup_.logPixelsX * static_cast<long>(text.size());
    return static_cast<int>((dots + 72) / 144);
}

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
    if (!inDocument()) {
        log_->mistakes.push_back("textOut outside a document: " + std::string(text));
        return;
    }
    log_->documents.back().pages.back().texts.push_back({x, y, std::string(text), fontSize_});
}

}  // namespace tamux::sim
