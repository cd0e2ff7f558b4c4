#pragma once

#include "link/Bytes.h"

#include <filesystem>
#include <string>

namespace tavisto {

// Makes `bytes` the whole content of the file at `path`, keeping what the user had:
//
// - A symbolic link is followed (link after link) to the file it names, which is the
//   one written; the link stays a link. A link to a file not there yet creates it.
// - An existing target that is not a regular file (a folder, a device, a named pipe)
//   is refused, and so is one the system does not let this process write (its mode,
//   a read-only mount), with the system's reason. Neither is touched.
// - Normally the bytes go to a new temporary file in the target's folder, are flushed
//   to the disk and the temporary file is renamed over the target, so the target is
//   either complete or as it was. The new file takes the old one's owner, group and
//   mode.
// - Where renaming would lose something the file in place keeps, the file is
//   overwritten in place as a plain save does: when the folder is not writable but the
//   file is, when the file has other hard links, and when its owner or group cannot be
//   given to a new file. The space is reserved first where the system allows, so a
//   full disk is found before the old content is touched.
//
// No temporary file is left behind. On failure `message` names `path` as the caller
// gave it and gives the reason; on success it is "OK".
bool SaveFile(const std::filesystem::path& path, const Bytes& bytes, std::string& message);

} // namespace tavisto
