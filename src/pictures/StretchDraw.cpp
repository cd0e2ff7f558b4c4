#include "pictures/StretchDraw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tavisto {
namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// The source pixels that make up one target pixel and their fixed-point weights,
// which add up to kWeightOne.
struct Taps {
    std::vector<int> first; // per target pixel: first source index
    std::vector<int> count; // per target pixel: number of source pixels
    std::vector<int> start; // per target pixel: offset of its weights in `weights`
    std::vector<int> weights;
};

void addTap(Taps& taps, const std::vector<double>& raw, int first) {
    // Fixed-point weights from the rounded running sum: they add up to exactly
    // kWeightOne and none goes negative, however many taps there are.
    taps.first.push_back(first);
    taps.count.push_back(static_cast<int>(raw.size()));
    taps.start.push_back(static_cast<int>(taps.weights.size()));
    double total = 0;
    long previous = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        total += raw[i];
        const long upTo = i + 1 == raw.size() ? kWeightOne : std::lround(total * kWeightOne);
        taps.weights.push_back(static_cast<int>(std::max(upTo, previous) - previous));
        previous = std::max(upTo, previous);
    }
}

// Taps for target positions [from, to) of a line of `targetLength` pixels that shows
// a line of `sourceLength` pixels.
Taps makeTaps(int sourceLength, int targetLength, int from, int to) {
    Taps taps;
    std::vector<double> raw;
    const double scale = static_cast<double>(sourceLength) / targetLength;
    for (int u = from; u < to; ++u) {
        raw.clear();
        if (sourceLength == targetLength) {
            raw.push_back(1.0);
            addTap(taps, raw, u);
        } else if (scale > 1.0) {
            // Area average over the source interval [u*scale, (u+1)*scale).
            const double begin = u * scale;
            const double end = std::min<double>((u + 1) * scale, sourceLength);
            const int first = static_cast<int>(std::floor(begin));
            const int last = std::min(sourceLength - 1, static_cast<int>(std::ceil(end)) - 1);
            for (int i = first; i <= last; ++i) {
                const double overlap = std::min<double>(end, i + 1) - std::max<double>(begin, i);
                raw.push_back(std::max(0.0, overlap) / (end - begin));
            }
            addTap(taps, raw, first);
        } else {
            // Linear interpolation between the two nearest source pixel centres.
            double centre = (u + 0.5) * scale - 0.5;
            centre = std::clamp(centre, 0.0, static_cast<double>(sourceLength - 1));
            const int first = std::min(static_cast<int>(std::floor(centre)), sourceLength - 1);
            const double fraction = centre - first;
            raw.push_back(1.0 - fraction);
            if (first + 1 < sourceLength)
                raw.push_back(fraction);
            addTap(taps, raw, first);
        }
    }
    return taps;
}

} // namespace

void StretchDraw(const Bitmap& source, Bitmap& target, PictureRect rect) {
    if (source.empty() || target.empty() || rect.width <= 0 || rect.height <= 0)
        return;
    // The target pixels the rectangle covers, in target coordinates.
    const int x0 = std::max(0, rect.left);
    const int x1 = static_cast<int>(
        std::min<std::int64_t>(target.width(), std::int64_t{rect.left} + rect.width));
    const int y0 = std::max(0, rect.top);
    const int y1 = static_cast<int>(
        std::min<std::int64_t>(target.height(), std::int64_t{rect.top} + rect.height));
    if (x0 >= x1 || y0 >= y1)
        return;

    const int outWidth = x1 - x0;
    if (source.width() == rect.width && source.height() == rect.height) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* from = source.row(y - rect.top) + (x0 - rect.left) * 3;
            std::copy(from, from + outWidth * 3, target.row(y) + x0 * 3);
        }
        return;
    }

    const Taps columns = makeTaps(source.width(), rect.width, x0 - rect.left, x1 - rect.left);
    const Taps rows = makeTaps(source.height(), rect.height, y0 - rect.top, y1 - rect.top);

    // Source rows resampled across, with 8 extra bits of precision, kept in a ring of
    // as many rows as one target row needs at most. Both ends of the source window only
    // move down from one target row to the next, so each source row is resampled once.
    const int ringRows = *std::max_element(rows.count.begin(), rows.count.end());
    const std::size_t lineValues = static_cast<std::size_t>(outWidth) * 3;
    std::vector<std::uint16_t> ring(static_cast<std::size_t>(ringRows) * lineValues);
    auto ringLine = [&](int sourceRow) {
        return &ring[(sourceRow % ringRows) * lineValues];
    };
    int nextRow = 0;

    auto resampleAcross = [&](int sourceRow) {
        const std::uint8_t* in = source.row(sourceRow);
        std::uint16_t* out = ringLine(sourceRow);
        constexpr int shift = kWeightBits - 8;
        for (int x = 0; x < outWidth; ++x) {
            const int* w = &columns.weights[columns.start[x]];
            const std::uint8_t* p = in + columns.first[x] * 3;
            std::uint32_t r = 0, g = 0, b = 0;
            for (int t = 0; t < columns.count[x]; ++t, p += 3) {
                r += static_cast<std::uint32_t>(w[t]) * p[0];
                g += static_cast<std::uint32_t>(w[t]) * p[1];
                b += static_cast<std::uint32_t>(w[t]) * p[2];
            }
            out[x * 3] = static_cast<std::uint16_t>((r + (1u << (shift - 1))) >> shift);
            out[x * 3 + 1] = static_cast<std::uint16_t>((g + (1u << (shift - 1))) >> shift);
            out[x * 3 + 2] = static_cast<std::uint16_t>((b + (1u << (shift - 1))) >> shift);
        }
    };

    std::vector<std::uint32_t> sums(lineValues);
    constexpr int shift = kWeightBits + 8;
    for (int y = y0; y < y1; ++y) {
        const int i = y - y0;
        const int first = rows.first[i];
        const int end = first + rows.count[i];
        for (int sy = std::max(nextRow, first); sy < end; ++sy)
            resampleAcross(sy);
        nextRow = std::max(nextRow, end);

        std::fill(sums.begin(), sums.end(), 0u);
        const int* w = &rows.weights[rows.start[i]];
        for (int t = 0; t < rows.count[i]; ++t) {
            const std::uint16_t* line = ringLine(first + t);
            const auto weight = static_cast<std::uint32_t>(w[t]);
            for (std::size_t c = 0; c < lineValues; ++c)
                sums[c] += weight * line[c];
        }
        std::uint8_t* out = target.row(y) + x0 * 3;
        for (std::size_t c = 0; c < lineValues; ++c)
            out[c] = static_cast<std::uint8_t>(
                std::min<std::uint32_t>(255, (sums[c] + (1u << (shift - 1))) >> shift));
    }
}

Bitmap Resized(const Bitmap& source, PictureSize size) {
    Bitmap result(size.width, size.height);
    StretchDraw(source, result, PictureRect{0, 0, size.width, size.height});
    return result;
}

} // namespace tavisto
