#include "ui/win32/image_strip.h"

#include <cstring>

namespace tamux::win32 {

std::unique_ptr<ImageStrip> ImageStrip::fromResource(HINSTANCE module, const char* name,
                                                     int imageWidth) {
    HRSRC resource = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!resource) return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return nullptr;
    std::optional<BgraImage> image =
        ReadDib(static_cast<const std::uint8_t*>(data), SizeofResource(module, resource));
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
        a /= 2;
        y /= 2;
        pixel = a << 24 | y << 16 | y << 8 | y;
    }
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

void ImageStrip::draw(HDC dc, int index, int x, int y, int width, int height, bool disabled) const {
    if (index < 0 || index >= count_) return;
    ScopedMemoryDc source(CreateCompatibleDC(dc));
    SelectInDc select(source.get(), disabled ? disabled_.get() : bitmap_.get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, source.get(), index * width_, 0, width_, height_, blend);
}

}  // namespace tamux::win32
