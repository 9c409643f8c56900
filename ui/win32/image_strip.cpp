#include "ui/win32/image_strip.h"

#include <cstring>

#include "platform/win32/optional_function.h"

namespace tamux::win32 {

namespace {

using AlphaBlendFunction = decltype(&::AlphaBlend);

AlphaBlendFunction alphaBlend() {
    return optionalFunctionAs<AlphaBlendFunction>(platform::OptionalFunction::AlphaBlend);
}

}  // namespace

std::unique_ptr<ImageStrip> ImageStrip::fromResource(HINSTANCE module, const char* name,
                                                     int imageWidth) {
    HRSRC resource = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!resource) return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return nullptr;
    std::optional<BgraImage> image =
        readDib(static_cast<const std::uint8_t*>(data), SizeofResource(module, resource));
    if (!image) return nullptr;
    return fromImage(*image, imageWidth);
}

std::unique_ptr<ImageStrip> ImageStrip::fromImage(const BgraImage& image, int imageWidth) {
    if (imageWidth <= 0 || image.width < imageWidth) return nullptr;
    std::unique_ptr<ImageStrip> strip(new ImageStrip());
    strip->count_ = image.width / imageWidth;
    strip->width_ = imageWidth;
    strip->height_ = image.height;
    strip->bitmap_ = makeBitmap(image);

    // The disabled look: grey by luminance, at half the opacity.
    BgraImage grey = image;
    for (std::uint32_t& pixel : grey.pixels) {
        std::uint32_t a = pixel >> 24, r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF,
                      b = pixel & 0xFF;
        std::uint32_t y = (r * 30 + g * 59 + b * 11) / 100;
        pixel = a << 24 | y << 16 | y << 8 | y;
    }
    if (!alphaBlend()) {
        // Masked before the opacity is halved, which would leave nothing at least half opaque.
        if (!strip->masked_.make(image) || !strip->maskedDisabled_.make(grey)) return nullptr;
    }
    for (std::uint32_t& pixel : grey.pixels) pixel = pixel >> 1 & 0x7F7F7F7Fu;
    strip->disabled_ = makeBitmap(grey);
    if (!strip->bitmap_ || !strip->disabled_) return nullptr;
    return strip;
}

ScopedGdiObject ImageStrip::makeBitmap(const BgraImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first, as the pixels are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return ScopedGdiObject();
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
    return ScopedGdiObject(bitmap);
}

bool ImageStrip::Masked::make(const BgraImage& image) {
    const MaskedImage masked = toMaskedImage(image);
    colours = makeBitmap(masked.colours);
    mask = makeBitmap(masked.mask);
    return colours && mask;
}

void ImageStrip::Masked::draw(HDC dc, HDC source, int x, int y, int width, int height, int left,
                              int top, int sourceWidth, int sourceHeight) const {
    // The mask clears where the image shows and keeps the rest; the colours, black elsewhere,
    // are then added in.
    SelectInDc selectMask(source, mask.get());
    StretchBlt(dc, x, y, width, height, source, left, top, sourceWidth, sourceHeight, SRCAND);
    SelectObject(source, colours.get());
    StretchBlt(dc, x, y, width, height, source, left, top, sourceWidth, sourceHeight, SRCPAINT);
}

void ImageStrip::draw(HDC dc, int index, int x, int y, int width, int height, bool disabled) const {
    if (index < 0 || index >= count_) return;
    ScopedMemoryDc source(CreateCompatibleDC(dc));
    if (AlphaBlendFunction blendFunction = alphaBlend()) {
        SelectInDc select(source.get(), disabled ? disabled_.get() : bitmap_.get());
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        blendFunction(dc, x, y, width, height, source.get(), index * width_, 0, width_, height_,
                      blend);
        return;
    }
    (disabled ? maskedDisabled_ : masked_)
        .draw(dc, source.get(), x, y, width, height, index * width_, 0, width_, height_);
}

}  // namespace tamux::win32
