#include "ui/scroll_bar_geometry.h"

#include <algorithm>

namespace tamux {

int ScrollBarGeometry::maxOffset() const {
    return std::max(0, contentLength - viewportLength);
}

ScrollThumb ScrollBarGeometry::thumb(int offset) const {
    ScrollThumb result;
    if (maxOffset() == 0 || trackLength <= 0) return result;
    long long length = static_cast<long long>(trackLength) * viewportLength / contentLength;
    result.length = static_cast<int>(
        std::clamp<long long>(length, std::min(minThumbLength, trackLength), trackLength));
    int travel = trackLength - result.length;
    int clamped = std::clamp(offset, 0, maxOffset());
    result.top = static_cast<int>(static_cast<long long>(travel) * clamped / maxOffset());
    return result;
}

int ScrollBarGeometry::offsetForThumbTop(int thumbTop) const {
    ScrollThumb shape = thumb(0);
    int travel = trackLength - shape.length;
    if (shape.length == 0 || travel <= 0) return 0;
    int top = std::clamp(thumbTop, 0, travel);
    // Rounded, so that dragging the thumb back to where it was gives back the same offset.
    return static_cast<int>((static_cast<long long>(top) * maxOffset() + travel / 2) / travel);
}

}  // namespace tamux
