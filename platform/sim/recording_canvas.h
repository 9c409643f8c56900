// A printer canvas that prints nothing and records everything: each document with its title and
// pages, and every text drawn with its position and the font size it was drawn in. The record
// outlives the canvas (the program destroys the canvas when it has printed), so a test reads it
// afterwards through the shared log. Calls out of order (text before a document was begun, a
// canvas destroyed in the middle of a document) are noted as mistakes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/print_canvas.h"

namespace tamux::sim {

struct PageSetup {
    // An A4 sheet at 600 dots per inch: 210 x 297 mm.
    int width = 4961;
    int height = 7016;
    int logPixelsX = 600;
    int logPixelsY = 600;
    int initialFontSize = 10;
    bool beginFails = false;  // StartDoc fails
};

struct PrintedText {
    int x = 0, y = 0;
    std::string text;
    int fontSize = 0;
};

struct PrintedPage {
    std::vector<PrintedText> texts;
};

struct PrintedDocument {
    std::string title;
    std::vector<PrintedPage> pages;
    bool ended = false;
};

struct PrintLog {
    std::vector<PrintedDocument> documents;
    std::vector<std::string> mistakes;
};

class RecordingCanvas : public platform::PrintCanvas {
  public:
    explicit RecordingCanvas(PageSetup setup = {},
                             std::shared_ptr<PrintLog> log = std::make_shared<PrintLog>());
    ~RecordingCanvas() override;

    // platform::PrintCanvas
    bool beginDocument(std::string_view title) override;
    void newPage() override;
    void endDocument() override;
    int pageWidth() override { return setup_.width; }
    int pageHeight() override { return setup_.height; }
    int logPixelsX() override { return setup_.logPixelsX; }
    int logPixelsY() override { return setup_.logPixelsY; }
    void setFontSize(int points) override { fontSize_ = points; }
    // The height of a line of the current font: points x dpi / 72, rounded.
    int textHeight(std::string_view text) override;
    // Every character half as wide as the line is high: points x dpi / 144 each, rounded.
    int textWidth(std::string_view text) override;
    void textOut(int x, int y, std::string_view text) override;

    int fontSize() const { return fontSize_; }
    const std::shared_ptr<PrintLog>& log() const { return log_; }

  private:
    bool inDocument() const;

    PageSetup setup_;
    std::shared_ptr<PrintLog> log_;
    int fontSize_;
};

}  // namespace tamux::sim
