// An image list: a strip of equally wide images with an alpha channel, drawn blended onto
// whatever lies below. Loaded from a BITMAP resource holding a 32-bit strip. Where the system
// cannot blend (no AlphaBlend before Windows 98 and 2000) the images are drawn through a mask:
// the half-transparent edges then show in full or not at all.
#pragma once

#include <memory>

#include "ui/dib_image.h"
#include "ui/win32/gdi.h"

namespace tamux::win32 {

class ImageStrip {
  public:
    // nullptr when the resource is missing or not a strip of `imageWidth`-wide images.
    static std::unique_ptr<ImageStrip> fromResource(HINSTANCE module, const char* name,
                                                    int imageWidth);
    static std::unique_ptr<ImageStrip> fromImage(const BgraImage& image, int imageWidth);

    int count() const { return count_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Draws image `index` into the rectangle (stretched when the size differs); an index
    // outside the strip draws nothing. Disabled: the image in faded grey.
    void draw(HDC dc, int index, int x, int y, int width, int height, bool disabled = false) const;
    void draw(HDC dc, int index, int x, int y) const { draw(dc, index, x, y, width_, height_); }

  private:
    ImageStrip() = default;
    static ScopedGdiObject makeBitmap(const BgraImage& image);

    // The images for drawing through a mask.
    struct Masked {
        ScopedGdiObject colours;
        ScopedGdiObject mask;
        bool make(const BgraImage& image);
        void draw(HDC dc, HDC source, int x, int y, int width, int height, int left, int top,
                  int sourceWidth, int sourceHeight) const;
    };

    int count_ = 0;
    int width_ = 0;
    int height_ = 0;
    ScopedGdiObject bitmap_;
    ScopedGdiObject disabled_;
    Masked masked_;          // only where the system cannot blend
    Masked maskedDisabled_;  // only where the system cannot blend
};

// One picture of a strip, for controls that show a single image.
struct Picture {
    const ImageStrip* strip = nullptr;
    int index = -1;
    bool valid() const { return strip && index >= 0 && index < strip->count(); }
};

}  // namespace tamux::win32
