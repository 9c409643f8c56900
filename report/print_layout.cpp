#include "report/print_layout.h"

#include <algorithm>

#include "platform/errors.h"
#include "ui/line_style.h"

namespace tamux {

namespace {

constexpr int kFooterFontSize = 8;
constexpr std::string_view kMeasuredText = "X";

class PageWriter {
  public:
    explicit PageWriter(platform::PrintCanvas& canvas)
        : canvas_(canvas),
          width_(canvas.pageWidth()),
          height_(canvas.pageHeight()),
          margin_(width_ / 20),
          gap_(canvas.logPixelsY() / 10),
          dotsPerInch_(canvas.logPixelsX()) {}

    void write(const TextLine& line) {
        const int size = line.points;
        canvas_.setFontSize(size);
        const std::string& text = line.text;
        const int height = canvas_.textHeight(kMeasuredText);
        const int top = y_ + height + gap_;
        // The whole line must stay above the bottom margin, where the footer goes; a line
        // that does not fit even on an empty page is printed there all the same.
        if (top + height > height_ - margin_ && pageHoldsText_) {
            endPage();
            canvas_.newPage();
            ++page_;
            canvas_.setFontSize(size);
            y_ = height + gap_;
        } else {
            y_ = top;
        }
        const int x = margin_ + dots(line.indent);
        canvas_.textOut(x, y_, text);
        if (line.value && !line.value->empty()) {
            // The value at its tab stop, or a blank after a label that reaches past it.
            const int labelEnd = x + canvas_.textWidth(text) + canvas_.textWidth(" ");
            canvas_.textOut(std::max(margin_ + dots(line.tabStop), labelEnd), y_, *line.value);
        }
        pageHoldsText_ = true;
    }

    // The footer of the page being printed.
    void endPage() {
        canvas_.setFontSize(kFooterFontSize);
        const int height = canvas_.textHeight(kMeasuredText);
        canvas_.textOut(width_ / 2, height_ - height - gap_, pageFooter(page_));
    }

  private:
    // The panes' pixels on this printer.
    int dots(int panePixels) const {
        return static_cast<int>(static_cast<long long>(panePixels) * dotsPerInch_ /
                                kPanePixelsPerInch);
    }

    platform::PrintCanvas& canvas_;
    const int width_;
    const int height_;
    const int margin_;
    const int gap_;
    const int dotsPerInch_;
    int y_ = 0;
    int page_ = 1;
    bool pageHoldsText_ = false;
};

}  // namespace

TextLine printTitleLine() {
    return plainLine(14, std::string(32, ' ') + "ZorvInfo Report");
}

std::string pageFooter(int page) {
    std::string footer = "-";
    footer += std::to_string(page);
    footer += ".-";
    return footer;
}

void printReport(const std::vector<TextLine>& lines, platform::PrintCanvas& canvas) {
    if (!canvas.beginDocument(kReportDocumentName)) {
        throw Error("The printer cannot start the print job");
    }
    PageWriter writer(canvas);
    writer.write(printTitleLine());
    for (const TextLine& line : lines) writer.write(line);
    writer.endPage();
    canvas.endDocument();
}

}  // namespace tamux
