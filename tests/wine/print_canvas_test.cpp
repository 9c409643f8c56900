// Win32PrintCanvas over a memory device context with a bitmap: font sizes, text heights, where
// text is drawn. A memory context is no printer, so a print job cannot start on it.
#include <gtest/gtest.h>

#include "platform/win32/win32_print_canvas.h"
#include "platform/win32/win32_spooler.h"

namespace tamux::win32 {
namespace {

constexpr int kWidth = 400, kHeight = 200;

class PrintCanvasOnBitmap : public ::testing::Test {
  protected:
    void SetUp() override {
        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap_, nullptr);
        pixels_ = static_cast<std::uint32_t*>(bits);
        std::fill(pixels_, pixels_ + kWidth * kHeight, 0x00FFFFFFu);
        SelectObject(dc, bitmap_);
        canvas_ = std::make_unique<Win32PrintCanvas>(dc);
    }
    void TearDown() override {
        canvas_.reset();
        if (bitmap_) DeleteObject(bitmap_);
    }

    // The bounding box of the non-white pixels; empty when there are none.
    RECT inked() {
        GdiFlush();
        RECT box{kWidth, kHeight, -1, -1};
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if ((pixels_[y * kWidth + x] & 0x00FFFFFFu) == 0x00FFFFFFu) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
        }
        return box;
    }

    HBITMAP bitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    std::unique_ptr<Win32PrintCanvas> canvas_;
};

TEST_F(PrintCanvasOnBitmap, TextHeightFollowsTheFontSize) {
    const int dpi = canvas_->logPixelsY();
    ASSERT_GT(dpi, 0);
    canvas_->setFontSize(8);
    const int small = canvas_->textHeight("X");
    canvas_->setFontSize(10);
    const int medium = canvas_->textHeight("X");
    canvas_->setFontSize(20);
    const int large = canvas_->textHeight("X");
    EXPECT_LT(small, medium);
    EXPECT_LT(medium, large);
    EXPECT_NEAR(large, 2 * medium, 3) << "10 points: " << medium << ", 20 points: " << large;
    // A 72-point line is an inch of type plus its leading.
    canvas_->setFontSize(72);
    const int inch = canvas_->textHeight("X");
    EXPECT_GE(inch, dpi);
    EXPECT_LE(inch, dpi * 3 / 2);
}

TEST_F(PrintCanvasOnBitmap, OnlyTheSizeOfTheFontChanges) {
    char before[LF_FACESIZE] = {};
    GetTextFaceA(canvas_->dc(), LF_FACESIZE, before);
    canvas_->setFontSize(14);
    char after[LF_FACESIZE] = {};
    GetTextFaceA(canvas_->dc(), LF_FACESIZE, after);
    EXPECT_STREQ(before, after);
    EXPECT_STRNE(after, "") << "no font is selected";
}

TEST_F(PrintCanvasOnBitmap, TextIsDrawnBelowAndRightOfItsTopLeftCorner) {
    canvas_->setFontSize(20);
    const int height = canvas_->textHeight("X");
    canvas_->textOut(50, 40, "XXX");
    const RECT box = inked();
    ASSERT_GE(box.right, box.left) << "nothing was drawn";
    EXPECT_GE(box.left, 50);
    EXPECT_GE(box.top, 40);
    EXPECT_LT(box.bottom, 40 + height);
    EXPECT_LT(box.left, 50 + height) << "the text starts far from its corner";
}

TEST_F(PrintCanvasOnBitmap, APrintJobCannotStartOnAMemoryContext) {
    EXPECT_FALSE(canvas_->beginDocument("Zorv Info Report"));
    // Without a job, page and document ends do nothing.
    canvas_->newPage();
    canvas_->endDocument();
    EXPECT_GT(canvas_->pageWidth(), 0);
    EXPECT_GT(canvas_->pageHeight(), 0);
}

// The first printer the spooler lists, or "" when there is none.
std::string firstPrinter() {
    Win32Spooler spooler;
    std::uint32_t needed = 0;
    std::vector<platform::PrinterInfo2> printers;
    if (!spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, printers)) {
        spooler.enumPrinters(platform::kPrinterEnumLocal, needed, needed, printers);
    }
    return printers.empty() ? std::string() : printers.front().printerName.value_or("");
}

TEST(PrintCanvasOnPrinter, AJobRunsThroughItsPagesInTheChosenSize) {
    const std::string printer = firstPrinter();
    if (printer.empty()) GTEST_SKIP() << "no printer (the lane sets one up through CUPS)";
    HDC dc = CreateDCA(nullptr, printer.c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr) << printer;
    Win32PrintCanvas canvas(dc);
    EXPECT_EQ(canvas.logPixelsY(), GetDeviceCaps(dc, LOGPIXELSY));
    EXPECT_EQ(canvas.pageWidth(), GetDeviceCaps(dc, HORZRES));
    EXPECT_EQ(canvas.pageHeight(), GetDeviceCaps(dc, VERTRES));
    EXPECT_GT(canvas.pageHeight(), canvas.pageWidth()) << "a portrait sheet";

    canvas.setFontSize(10);
    const int ten = canvas.textHeight("X");
    canvas.setFontSize(20);
    const int twenty = canvas.textHeight("X");
    EXPECT_NEAR(twenty, 2 * ten, 3);

    ASSERT_TRUE(canvas.beginDocument("Tamux conformance"));
    EXPECT_EQ(canvas.textHeight("X"), twenty) << "starting the job lost the font";
    canvas.textOut(100, 100, "first page");
    canvas.newPage();
    EXPECT_EQ(canvas.textHeight("X"), twenty) << "a new page lost the font";
    canvas.textOut(100, 100, "second page");
    canvas.endDocument();
    EXPECT_TRUE(canvas.beginDocument("Tamux conformance, again")) << "a second job on the context";
    canvas.endDocument();
}

}  // namespace
}  // namespace tamux::win32
