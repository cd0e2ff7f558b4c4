#include "pictures/PictureGeometry.h"

#include <stdexcept>

namespace tavisto {

std::int64_t RoundHalfEvenDiv(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t quotient = numerator / denominator;
    const std::int64_t twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator)
        return quotient + 1;
    if (twiceRemainder == denominator)
        return quotient + (quotient & 1);
    return quotient;
}

namespace {

// The rounded view height after shrinking the width by k pixels:
// H - k*H/W = H*(W - k)/W, rounded half to even. Exact in integers.
std::int64_t shrunkHeight(std::int64_t w, std::int64_t h, std::int64_t k) {
    return RoundHalfEvenDiv(h * (w - k), w);
}

void requirePositive(PictureSize picture, PictureSize target) {
    if (picture.width <= 0 || picture.height <= 0 || target.width <= 0 || target.height <= 0)
        throw std::invalid_argument("picture and target sizes must be positive");
}

} // namespace

PictureView ViewForPicture(PictureSize picture, PictureSize target) {
    requirePositive(picture, target);
    if (picture.width <= target.width && picture.height <= target.height)
        return PictureView{target, false};

    const std::int64_t w = picture.width;
    const std::int64_t h = picture.height;
    // The width condition first holds at kWidth; the height condition is monotonic in k
    // (the rounded height never grows as k grows), so the first k where it holds is
    // found by bisection below kWidth. The loop stops at the smaller of the two.
    const std::int64_t kWidth = w > target.width ? w - target.width : 0;
    std::int64_t low = 0;
    std::int64_t high = kWidth; // the answer lies in [low, high]
    while (low < high) {
        const std::int64_t mid = low + (high - low) / 2;
        if (shrunkHeight(w, h, mid) <= target.height)
            high = mid;
        else
            low = mid + 1;
    }
    return PictureView{
        PictureSize{static_cast<int>(w - low), static_cast<int>(shrunkHeight(w, h, low))}, true};
}

int CentreOffset(int outer, int inner) {
    return (outer - inner) / 2;
}

PictureRect CentredRect(PictureSize panel, PictureSize size) {
    return PictureRect{CentreOffset(panel.width, size.width),
                       CentreOffset(panel.height, size.height), size.width, size.height};
}

PictureRect ClampSelection(PictureRect frame, PictureRect picture) {
    if (frame.bottom() >= picture.bottom())
        frame.top = picture.bottom() - frame.height;
    if (picture.top >= frame.top)
        frame.top = picture.top;
    if (frame.right() >= picture.right())
        frame.left = picture.right() - frame.width;
    if (picture.left >= frame.left)
        frame.left = picture.left;
    return frame;
}

PictureRect ResultRect(PictureRect view, PictureRect frame) {
    return PictureRect{view.left - frame.left, view.top - frame.top, view.width, view.height};
}

int ReducedDecodeDenominator(PictureSize picture, PictureSize view) {
    for (int d : {8, 4, 2}) {
        const int reducedWidth = (picture.width + d - 1) / d;
        const int reducedHeight = (picture.height + d - 1) / d;
        if (reducedWidth >= view.width && reducedHeight >= view.height)
            return d;
    }
    return 1;
}

} // namespace tavisto
