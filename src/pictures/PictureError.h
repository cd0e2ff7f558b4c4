#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tavisto {

// A picture that cannot be decoded or encoded: a corrupt, truncated, unsupported or
// oversized file. The message is meant for the operator.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or written. The message names the file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pictures above this many pixels are refused before their pixels are decoded, so a
// hostile header cannot make the program allocate gigabytes.
inline constexpr std::int64_t kMaxPicturePixels = 100'000'000;

// Throws PictureError unless width x height is a usable picture size: both sides at
// least one pixel and at most kMaxPicturePixels in all. `format` names the file kind
// in the message ("PNG", "JPEG", "BMP").
void CheckPictureSize(std::int64_t width, std::int64_t height, const std::string& format);

// Throws PictureError for a file of no bytes, before a decoder sees it: the decoders'
// own words for it ("invalid argument", "Empty input file") do not say what is wrong.
void CheckPictureNotEmpty(std::size_t fileBytes, const std::string& format);

} // namespace tavisto
