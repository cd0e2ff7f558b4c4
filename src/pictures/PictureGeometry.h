#pragma once

#include <cstdint>

namespace tavisto {

// The arithmetic of the image conversion dialog, kept free of widgets so that the
// dialog, the command line and the tests share one version of it. Rectangles are in
// the coordinates of the preview panel `Panel1`.

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

struct PictureRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// The size of the preview panel in which the view and the frame are centred.
inline constexpr PictureSize kPreviewPanelSize{884, 662};

// How the view `Image1` presents an opened picture.
struct PictureView {
    PictureSize size;       // the size of Image1
    bool stretched = false; // true: the picture is stretched to `size`; false: it fits the
                            // target and is shown centred at its own size
    friend bool operator==(const PictureView&, const PictureView&) = default;
};

// Round half to even of numerator / denominator (denominator > 0, numerator >= 0).
std::int64_t RoundHalfEvenDiv(std::int64_t numerator, std::int64_t denominator);

// The view for a picture of `picture` pixels and the target size. A picture larger
// than the target in at least one direction is shrunk one pixel of width at a time,
// k = 0, 1, ...: w = W - k, h = round-half-even(H - k*H/W), stopping at the first k
// where w <= target width or h <= target height; the view is then w x h, stretched.
// A picture that fits in both directions gets a target-sized view that centres it.
// Sizes must be positive.
PictureView ViewForPicture(PictureSize picture, PictureSize target);

// Offset that centres `inner` in `outer`: (outer - inner) div 2, rounding toward zero.
int CentreOffset(int outer, int inner);

// `size` centred in `panel`.
PictureRect CentredRect(PictureSize panel, PictureSize size);

// Moves the frame back over the picture, in this order: bottom, top, right, left. Where
// the frame is larger than the picture its top or left edge lands on the picture's.
PictureRect ClampSelection(PictureRect frame, PictureRect picture);

// The view's rectangle relative to the frame's top-left corner: where the picture
// is drawn in a result bitmap of the frame's size.
PictureRect ResultRect(PictureRect view, PictureRect frame);

// The libjpeg scale denominator (1, 2, 4 or 8) for decoding a picture whose view is
// `view`: the largest one whose reduced picture, ceil(W/d) x ceil(H/d), still has at
// least the view's pixels in both directions, so the picture is only ever shrunk.
int ReducedDecodeDenominator(PictureSize picture, PictureSize view);

} // namespace tavisto
