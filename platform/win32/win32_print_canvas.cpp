#include "platform/win32/win32_print_canvas.h"

#include <cstring>

namespace tamux::win32 {

namespace {

constexpr int kInitialPoints = 10;

}  // namespace

Win32PrintCanvas::Win32PrintCanvas(HDC dc) : dc_(dc) {
    font_.lfCharSet = DEFAULT_CHARSET;
    font_.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font_.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font_.lfQuality = DEFAULT_QUALITY;
    font_.lfWeight = FW_NORMAL;
    std::strcpy(font_.lfFaceName, "Arial");
    setFontSize(kInitialPoints);
}

Win32PrintCanvas::~Win32PrintCanvas() {
    if (!dc_) return;
    if (inDocument_) AbortDoc(dc_.get());
    // A font must not be deleted while a device context still holds it.
    if (originalFont_) SelectObject(dc_.get(), originalFont_);
}

void Win32PrintCanvas::applyFont() {
    if (!dc_) return;
    HFONT created = CreateFontIndirectA(&font_);
    if (!created) return;
    HGDIOBJ previous = SelectObject(dc_.get(), created);
    if (!originalFont_) originalFont_ = previous;
    fontObject_.reset(created);
}

void Win32PrintCanvas::startPage() {
    StartPage(dc_.get());
    // Some drivers (the 9x ones) reset the context at every page; select the font again.
    if (fontObject_) SelectObject(dc_.get(), fontObject_.get());
}

bool Win32PrintCanvas::beginDocument(std::string_view title) {
    if (!dc_ || inDocument_) return false;
    const std::string name(title);
    DOCINFOA info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = name.c_str();
    if (StartDocA(dc_.get(), &info) <= 0) return false;
    if (StartPage(dc_.get()) <= 0) {
        AbortDoc(dc_.get());
        return false;
    }
    if (fontObject_) SelectObject(dc_.get(), fontObject_.get());
    inDocument_ = true;
    return true;
}

void Win32PrintCanvas::newPage() {
    if (!inDocument_) return;
    EndPage(dc_.get());
    startPage();
}

void Win32PrintCanvas::endDocument() {
    if (!inDocument_) return;
    EndPage(dc_.get());
    EndDoc(dc_.get());
    inDocument_ = false;
}

int Win32PrintCanvas::pageWidth() {
    return dc_ ? GetDeviceCaps(dc_.get(), HORZRES) : 0;
}

int Win32PrintCanvas::pageHeight() {
    return dc_ ? GetDeviceCaps(dc_.get(), VERTRES) : 0;
}

int Win32PrintCanvas::logPixelsX() {
    return dc_ ? GetDeviceCaps(dc_.get(), LOGPIXELSX) : 0;
}

int Win32PrintCanvas::logPixelsY() {
    return dc_ ? GetDeviceCaps(dc_.get(), LOGPIXELSY) : 0;
}

SIZE Win32PrintCanvas::textExtent(std::string_view text) {
    SIZE size{};
    if (!dc_ ||
        !GetTextExtentPoint32A(dc_.get(), text.data(), static_cast<int>(text.size()), &size)) {
        return SIZE{};
    }
    return size;
}

int Win32PrintCanvas::textWidth(std::string_view text) {
    return textExtent(text).cx;
}

void Win32PrintCanvas::setFontSize(int points) {
    // A negative height asks for the character height (the size in points), not the cell.
    font_.lfHeight = -MulDiv(points, logPixelsY(), 72);
    applyFont();
}

int Win32PrintCanvas::textHeight(std::string_view text) {
    return textExtent(text).cy;
}

void Win32PrintCanvas::textOut(int x, int y, std::string_view text) {
    if (!dc_) return;
    TextOutA(dc_.get(), x, y, text.data(), static_cast<int>(text.size()));
}

}  // namespace tamux::win32
