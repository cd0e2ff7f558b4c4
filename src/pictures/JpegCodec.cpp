#include "pictures/JpegCodec.h"

#include "pictures/PictureError.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tavisto {
namespace {

// Progressive files can hold any number of scans, each of which makes the decoder
// pass over the whole picture again; a hostile file uses that to stall the program.
constexpr int kMaxScans = 1000;

// libjpeg reports errors by calling error_exit, which must not return. It jumps back
// to the setjmp in the function that called into the library. Those functions keep
// only trivially destructible locals, so the jump skips no C++ destructor; everything
// with a destructor lives in the caller, outside the jump.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 64];
    bool readingPixels;
};

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (errors->message[0] == '\0')
        (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void failWith(j_common_ptr cinfo, const char* text) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(errors->message, sizeof errors->message, "%s", text);
    errorExit(cinfo);
}

// Warnings are silent, except that running out of data while pixels are still
// missing is a damaged file: libjpeg would pad the picture with grey and carry on.
// The data runs out at the end of the file, or at a marker (an end-of-picture marker
// after a cut, say) met in the middle of the coded pixels.
void emitMessage(j_common_ptr cinfo, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0) {
        ++cinfo->err->num_warnings;
        if (!errors->readingPixels)
            return;
        if (cinfo->err->msg_code == JWRN_JPEG_EOF)
            failWith(cinfo, "the file is truncated.");
        if (cinfo->err->msg_code == JWRN_HIT_MARKER)
            failWith(cinfo, "its picture data ends before the picture is complete.");
    }
}

// A progressive file sends its picture in several scans over the whole picture. When
// it ends before a colour component's first scan, that component was never sent and
// would decode as flat grey. Only meaningful once all input has been read.
bool progressiveScansMissing(j_decompress_ptr cinfo) {
    if (!cinfo->progressive_mode || cinfo->coef_bits == nullptr)
        return false;
    for (int c = 0; c < cinfo->num_components; ++c)
        if (cinfo->coef_bits[c][0] < 0)
            return true;
    return false;
}

void outputMessage(j_common_ptr) {}

void progressMonitor(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        failWith(cinfo, "The JPEG file has too many scans.");
}

void installErrorManager(ErrorManager& errors) {
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    errors.pub.output_message = outputMessage;
    errors.message[0] = '\0';
    errors.readingPixels = false;
}

std::string jpegErrorText(const ErrorManager& errors) {
    return std::string("The JPEG file cannot be read: ") + errors.message;
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    bool created = false;
};

// Reads the header and chooses the output: RGB, or CMYK that decodePixels converts.
// Returns false after an error (the message is in errors).
bool readHeader(Decoder& d, const Bytes& file, int scaleDenominator) {
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.progress.progress_monitor = progressMonitor;
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(file.data()),
                 static_cast<unsigned long>(file.size()));
    d.errors.readingPixels = true; // a header cut short is a truncated file as well
    jpeg_read_header(&d.cinfo, TRUE);
    d.errors.readingPixels = false;
    d.cinfo.out_color_space =
        d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK ? JCS_CMYK
                                                                                     : JCS_RGB;
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = static_cast<unsigned>(scaleDenominator);
    d.cinfo.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&d.cinfo);
    return true;
}

// Decodes every row into `pixels` (out_color_components bytes per pixel, already
// sized by the caller). Returns false after an error.
bool decodePixels(Decoder& d, unsigned char* pixels, std::size_t rowBytes) {
    if (setjmp(d.errors.jump))
        return false;
    d.errors.readingPixels = true;
    jpeg_start_decompress(&d.cinfo);
    // Without buffered-image mode, starting reads every scan of a progressive file.
    if (progressiveScansMissing(&d.cinfo))
        failWith(reinterpret_cast<j_common_ptr>(&d.cinfo),
                 "its picture data ends before the picture is complete.");
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = pixels + d.cinfo.output_scanline * rowBytes;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    d.errors.readingPixels = false;
    // The pixels are complete; whatever follows them (the end marker included) does not
    // matter, so the rest of the file is not read.
    jpeg_abort_decompress(&d.cinfo);
    return true;
}

class DecoderGuard {
public:
    explicit DecoderGuard(Decoder& d) : d_(d) {}
    ~DecoderGuard() {
        if (d_.created)
            jpeg_destroy_decompress(&d_.cinfo);
    }
    DecoderGuard(const DecoderGuard&) = delete;
    DecoderGuard& operator=(const DecoderGuard&) = delete;

private:
    Decoder& d_;
};

void startDecoder(Decoder& d, const Bytes& file, int scaleDenominator) {
    CheckPictureNotEmpty(file.size(), "JPEG");
    std::memset(&d.cinfo, 0, sizeof d.cinfo);
    std::memset(&d.progress, 0, sizeof d.progress);
    installErrorManager(d.errors);
    d.cinfo.err = &d.errors.pub;
    if (!readHeader(d, file, scaleDenominator))
        throw PictureError(jpegErrorText(d.errors));
    CheckPictureSize(d.cinfo.image_width, d.cinfo.image_height, "JPEG");
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;
};

bool encodePixels(Encoder& e, const Bitmap& bitmap, int quality) {
    if (setjmp(e.errors.jump))
        return false;
    jpeg_create_compress(&e.cinfo);
    e.created = true;
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    e.cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        // libjpeg does not write through the row pointer.
        JSAMPROW row =
            const_cast<unsigned char*>(bitmap.row(static_cast<int>(e.cinfo.next_scanline)));
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

} // namespace

PictureSize ProbeJpeg(const Bytes& file) {
    Decoder d;
    DecoderGuard guard(d);
    startDecoder(d, file, 1);
    return PictureSize{static_cast<int>(d.cinfo.image_width),
                       static_cast<int>(d.cinfo.image_height)};
}

Bitmap DecodeJpeg(const Bytes& file, int scaleDenominator) {
    if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 &&
        scaleDenominator != 8)
        scaleDenominator = 1;
    Decoder d;
    DecoderGuard guard(d);
    startDecoder(d, file, scaleDenominator);

    const int width = static_cast<int>(d.cinfo.output_width);
    const int height = static_cast<int>(d.cinfo.output_height);
    const bool cmyk = d.cinfo.out_color_space == JCS_CMYK;
    Bitmap bitmap(width, height);
    std::vector<unsigned char> cmykPixels;
    unsigned char* pixels = bitmap.data().data();
    std::size_t rowBytes = bitmap.rowBytes();
    if (cmyk) {
        rowBytes = static_cast<std::size_t>(width) * 4;
        cmykPixels.resize(rowBytes * height);
        pixels = cmykPixels.data();
    }
    if (!decodePixels(d, pixels, rowBytes))
        throw PictureError(jpegErrorText(d.errors));

    if (cmyk) {
        // Files with an Adobe marker (practically all CMYK JPEGs) store the inks
        // inverted: 255 is no ink.
        const bool inverted = d.cinfo.saw_Adobe_marker;
        for (int y = 0; y < height; ++y) {
            const unsigned char* in = cmykPixels.data() + y * rowBytes;
            unsigned char* out = bitmap.row(y);
            for (int x = 0; x < width; ++x, in += 4, out += 3) {
                int c = in[0], m = in[1], yel = in[2], k = in[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yel = 255 - yel;
                    k = 255 - k;
                }
                out[0] = static_cast<unsigned char>((c * k + 127) / 255);
                out[1] = static_cast<unsigned char>((m * k + 127) / 255);
                out[2] = static_cast<unsigned char>((yel * k + 127) / 255);
            }
        }
    }
    return bitmap;
}

Bytes EncodeJpeg(const Bitmap& bitmap, int quality) {
    if (bitmap.empty())
        throw PictureError("An empty picture cannot be written as JPEG.");
    if (bitmap.width() > JPEG_MAX_DIMENSION || bitmap.height() > JPEG_MAX_DIMENSION)
        throw PictureError("The picture is too large for a JPEG file.");
    Encoder e;
    std::memset(&e.cinfo, 0, sizeof e.cinfo);
    installErrorManager(e.errors);
    e.cinfo.err = &e.errors.pub;
    const bool ok = encodePixels(e, bitmap, quality);
    Bytes result;
    if (ok)
        result.assign(reinterpret_cast<const char*>(e.buffer), e.size);
    if (e.created)
        jpeg_destroy_compress(&e.cinfo);
    std::free(e.buffer);
    if (!ok)
        throw PictureError(std::string("The JPEG file cannot be written: ") + e.errors.message);
    return result;
}

Bytes BitmapToJpeg(const Bitmap& bitmap, bool small) {
    return EncodeJpeg(bitmap, small ? 15 : 90);
}

} // namespace tavisto
