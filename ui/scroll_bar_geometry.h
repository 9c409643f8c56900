// Where the thumb of a vertical scroll bar sits, and which offset a dragged thumb means. The
// section list draws its own scroll bar, since its width is a setting of each list.
#pragma once

namespace tamux {

struct ScrollThumb {
    int top = 0;
    int length = 0;  // 0: nothing to scroll, no thumb
};

struct ScrollBarGeometry {
    int trackLength = 0;    // pixels
    int contentLength = 0;  // pixels of content
    int viewportLength = 0;
    int minThumbLength = 8;

    int maxOffset() const;
    ScrollThumb thumb(int offset) const;
    // The offset that puts the thumb's top at `thumbTop` (clamped to the track).
    int offsetForThumbTop(int thumbTop) const;
};

}  // namespace tamux
