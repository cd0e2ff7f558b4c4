#pragma once

#include "link/Bytes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavisto {

// The most a file of some kind may hold, and what to call that kind when a file holds
// more: the message then reads `The file "<path>" is too large for <kind>.`
struct FileSizeLimit {
    std::size_t bytes;
    std::string_view kind;
};

// Reads the whole of a regular file of at most `limit.bytes` bytes. Anything else is
// refused before a byte of it is read: a folder, a named pipe or a device (which could
// block for ever or never end), a file that cannot be opened, one above the limit (so
// a sparse file of gigabytes is not read into memory). A symbolic link counts as the
// file it points to. On failure `bytes` is left as it was and `message` says what
// went wrong, naming `path` as the caller gave it.
bool ReadFileBounded(const std::filesystem::path& path, const FileSizeLimit& limit, Bytes& bytes,
                     std::string& message);

} // namespace tavisto
