// A PrintCanvas over a real device context, normally a printer's from the print dialog.
#pragma once

#include <string>

#include "platform/print_canvas.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

class Win32PrintCanvas final : public platform::PrintCanvas {
  public:
    // Takes over `dc` and deletes it with the canvas. The canvas starts with a 10-point Arial,
    // a scalable face, so that every size that setFontSize asks for prints at that size.
    explicit Win32PrintCanvas(HDC dc);
    ~Win32PrintCanvas() override;
    Win32PrintCanvas(const Win32PrintCanvas&) = delete;
    Win32PrintCanvas& operator=(const Win32PrintCanvas&) = delete;

    bool beginDocument(std::string_view title) override;
    void newPage() override;
    void endDocument() override;
    int pageWidth() override;
    int pageHeight() override;
    int logPixelsX() override;
    int logPixelsY() override;
    void setFontSize(int points) override;
    int textHeight(std::string_view text) override;
    int textWidth(std::string_view text) override;
    void textOut(int x, int y, std::string_view text) override;

    HDC dc() const { return dc_.get(); }

  private:
    // Creates the font of font_ and selects it; the one it replaces is deleted.
    void applyFont();
    void startPage();
    // The size of `text` in the current font; nothing without a device context.
    SIZE textExtent(std::string_view text);

    ScopedDc dc_;
    LOGFONTA font_{};
    ScopedGdiObject fontObject_;
    HGDIOBJ originalFont_ = nullptr;
    bool inDocument_ = false;
};

}  // namespace tamux::win32
