// A printer page surface: what the report printout needs of a printer device context.
#pragma once

#include <string>
#include <string_view>

namespace tamux::platform {

class PrintCanvas {
  public:
    virtual ~PrintCanvas() = default;

    // StartDoc / StartPage. Returns false when the job cannot be started.
    virtual bool beginDocument(std::string_view title) = 0;
    // EndPage / StartPage.
    virtual void newPage() = 0;
    // EndPage / EndDoc.
    virtual void endDocument() = 0;

    // Printable page size in device units (HORZRES, VERTRES).
    virtual int pageWidth() = 0;
    virtual int pageHeight() = 0;
    // GetDeviceCaps LOGPIXELSX and LOGPIXELSY.
    virtual int logPixelsX() = 0;
    virtual int logPixelsY() = 0;

    // Changes only the size of the current font, in points.
    virtual void setFontSize(int points) = 0;
    // Height of `text` in the current font, in device units.
    virtual int textHeight(std::string_view text) = 0;
    // Width of `text` in the current font, in device units.
    virtual int textWidth(std::string_view text) = 0;
    // Draws `text` with its top-left corner at (x, y).
    virtual void textOut(int x, int y, std::string_view text) = 0;
};

}  // namespace tamux::platform
