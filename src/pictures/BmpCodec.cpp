#include "pictures/BmpCodec.h"

#include "pictures/PictureError.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace tavisto {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderBytes = 14;

[[noreturn]] void fail(const std::string& reason) {
    throw PictureError("The BMP file cannot be read: " + reason);
}

class Reader {
public:
    explicit Reader(const Bytes& data) : data_(data) {}
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::uint8_t u8(std::size_t offset) const {
        need(offset, 1);
        return static_cast<std::uint8_t>(data_[offset]);
    }
    std::uint16_t u16(std::size_t offset) const {
        need(offset, 2);
        return static_cast<std::uint16_t>(u8(offset) | u8(offset + 1) << 8);
    }
    std::uint32_t u32(std::size_t offset) const {
        need(offset, 4);
        return static_cast<std::uint32_t>(u16(offset)) | static_cast<std::uint32_t>(u16(offset + 2))
                                                             << 16;
    }
    const std::uint8_t* at(std::size_t offset) const {
        return reinterpret_cast<const std::uint8_t*>(data_.data()) + offset;
    }

private:
    void need(std::size_t offset, std::size_t count) const {
        if (!has(offset, count))
            fail("the file is truncated.");
    }
    const Bytes& data_;
};

// One colour channel taken from a pixel value by its mask, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maximum = mask >> shift;
        }
    }
    std::uint8_t operator()(std::uint32_t value) const {
        if (maximum == 0)
            return 0;
        const std::uint64_t v = (value & mask) >> shift;
        return static_cast<std::uint8_t>((v * 255 + maximum / 2) / maximum);
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::array<Channel, 3> channels; // red, green, blue for 16 and 32 bits
    std::vector<Rgb> palette;
    std::size_t pixelOffset = 0;
    std::size_t stride = 0;
};

Layout readLayout(const Bytes& file) {
    CheckPictureNotEmpty(file.size(), "BMP");
    Reader in(file);
    if (!in.has(0, kFileHeaderBytes + 4) || file[0] != 'B' || file[1] != 'M')
        fail("it is not a BMP file.");
    Layout layout;
    layout.pixelOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(kFileHeaderBytes);
    const std::size_t h = kFileHeaderBytes;
    std::size_t paletteEntryBytes = 4;
    if (headerSize == 12) {
        layout.width = in.u16(h + 4);
        layout.height = in.u16(h + 6);
        layout.bitsPerPixel = in.u16(h + 10);
        paletteEntryBytes = 3;
    } else if (headerSize >= 40 && headerSize <= 1024) {
        layout.width = static_cast<std::int32_t>(in.u32(h + 4));
        layout.height = static_cast<std::int32_t>(in.u32(h + 8));
        layout.bitsPerPixel = in.u16(h + 14);
        layout.compression = in.u32(h + 16);
    } else {
        fail("the header is not one of the known kinds.");
    }
    if (layout.height < 0) {
        layout.topDown = true;
        layout.height = -layout.height;
    }
    CheckPictureSize(layout.width, layout.height, "BMP");

    const int bpp = layout.bitsPerPixel;
    const bool masked =
        layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields;
    if (layout.compression != kBiRgb && !masked)
        fail("compressed BMP files (compression " + std::to_string(layout.compression) +
             ") are not supported.");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        fail(std::to_string(bpp) + " bits per pixel is not a BMP pixel format.");
    if (masked && bpp != 16 && bpp != 32)
        fail("colour masks need 16 or 32 bits per pixel.");

    std::size_t afterHeader = h + headerSize;
    if (masked) {
        // Masks sit inside the larger headers, or follow the basic 40-byte one.
        const std::size_t masks = h + 40;
        layout.channels = {Channel(in.u32(masks)), Channel(in.u32(masks + 4)),
                           Channel(in.u32(masks + 8))};
        if (headerSize == 40)
            afterHeader += layout.compression == kBiAlphaBitfields ? 16 : 12;
    } else if (bpp == 16) {
        layout.channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
    } else if (bpp == 32) {
        layout.channels = {Channel(0x00FF0000), Channel(0x0000FF00), Channel(0x000000FF)};
    }

    // The pixels follow the headers, the colour masks and the palette; an offset into
    // them would decode header bytes as pixels.
    if (layout.pixelOffset < afterHeader)
        fail("the pixel data would start inside the header.");

    if (bpp <= 8) {
        std::size_t entries = std::size_t{1} << bpp;
        if (headerSize >= 40) {
            const std::uint32_t used = in.u32(h + 32);
            if (used != 0 && used < entries)
                entries = used;
        }
        layout.palette.reserve(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t e = afterHeader + i * paletteEntryBytes;
            if (!in.has(e, 3) || e + 3 > layout.pixelOffset)
                break; // a short palette: missing entries draw black
            layout.palette.push_back(Rgb{in.u8(e + 2), in.u8(e + 1), in.u8(e)});
        }
    }

    layout.stride = static_cast<std::size_t>((layout.width * bpp + 31) / 32 * 4);
    const auto needed =
        static_cast<std::uint64_t>(layout.stride) * static_cast<std::uint64_t>(layout.height);
    if (layout.pixelOffset > file.size() || needed > file.size() - layout.pixelOffset)
        fail("the file is truncated.");
    return layout;
}

void decodeRow(const Layout& layout, const std::uint8_t* in, std::uint8_t* out) {
    const int width = static_cast<int>(layout.width);
    const Rgb black{};
    auto paletted = [&](std::size_t index) {
        return index < layout.palette.size() ? layout.palette[index] : black;
    };
    for (int x = 0; x < width; ++x, out += 3) {
        Rgb c;
        switch (layout.bitsPerPixel) {
        case 1:
            c = paletted((in[x / 8] >> (7 - x % 8)) & 1);
            break;
        case 4:
            c = paletted((in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F);
            break;
        case 8:
            c = paletted(in[x]);
            break;
        case 16: {
            const std::uint32_t v = in[x * 2] | in[x * 2 + 1] << 8;
            c = Rgb{layout.channels[0](v), layout.channels[1](v), layout.channels[2](v)};
            break;
        }
        case 24:
            c = Rgb{in[x * 3 + 2], in[x * 3 + 1], in[x * 3]};
            break;
        default: {
            const std::uint32_t v = static_cast<std::uint32_t>(in[x * 4]) |
                                    static_cast<std::uint32_t>(in[x * 4 + 1]) << 8 |
                                    static_cast<std::uint32_t>(in[x * 4 + 2]) << 16 |
                                    static_cast<std::uint32_t>(in[x * 4 + 3]) << 24;
            c = Rgb{layout.channels[0](v), layout.channels[1](v), layout.channels[2](v)};
            break;
        }
        }
        out[0] = c.r;
        out[1] = c.g;
        out[2] = c.b;
    }
}

void putU16(Bytes& out, std::size_t offset, std::uint32_t value) {
    out[offset] = static_cast<char>(value & 0xFF);
    out[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void putU32(Bytes& out, std::size_t offset, std::uint32_t value) {
    putU16(out, offset, value & 0xFFFF);
    putU16(out, offset + 2, value >> 16);
}

} // namespace

PictureSize ProbeBmp(const Bytes& file) {
    const Layout layout = readLayout(file);
    return PictureSize{static_cast<int>(layout.width), static_cast<int>(layout.height)};
}

Bitmap DecodeBmp(const Bytes& file) {
    const Layout layout = readLayout(file);
    Bitmap bitmap(static_cast<int>(layout.width), static_cast<int>(layout.height));
    const Reader in(file);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::size_t stored = layout.topDown ? y : bitmap.height() - 1 - y;
        decodeRow(layout, in.at(layout.pixelOffset + stored * layout.stride), bitmap.row(y));
    }
    return bitmap;
}

Bytes EncodeBmp(const Bitmap& bitmap) {
    const std::size_t stride = (bitmap.rowBytes() + 3) / 4 * 4;
    const std::size_t imageBytes = stride * bitmap.height();
    constexpr std::size_t kHeaders = kFileHeaderBytes + 40;
    if (imageBytes > 0xFFFFFFFFu - kHeaders)
        throw PictureError("The picture is too large for a BMP file.");
    Bytes out(kHeaders + imageBytes, '\0');
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<std::uint32_t>(out.size()));
    putU32(out, 10, kHeaders);
    putU32(out, 14, 40);
    putU32(out, 18, static_cast<std::uint32_t>(bitmap.width()));
    putU32(out, 22, static_cast<std::uint32_t>(bitmap.height()));
    putU16(out, 26, 1);
    putU16(out, 28, 24);
    putU32(out, 30, kBiRgb);
    putU32(out, 34, static_cast<std::uint32_t>(imageBytes));
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = bitmap.row(bitmap.height() - 1 - y);
        char* row = out.data() + kHeaders + y * stride;
        for (int x = 0; x < bitmap.width(); ++x) {
            row[x * 3] = static_cast<char>(in[x * 3 + 2]);
            row[x * 3 + 1] = static_cast<char>(in[x * 3 + 1]);
            row[x * 3 + 2] = static_cast<char>(in[x * 3]);
        }
    }
    return out;
}

} // namespace tavisto
