#pragma once

#include "files/FileRead.h"
#include "link/Bytes.h"

#include <string>

namespace tavisto {

// The largest file the operator may give for one download item (a font image, the
// Big5/GBK conversion table, firmware): the largest built-in item is about 4.8 MB,
// and the display's storage takes nothing near this size.
inline constexpr FileSizeLimit kDownloadFileLimit{16u * 1024 * 1024,
                                                  "a download file (16 MB at most)"};

// Reads the whole of a download file the operator gave, as ReadFileBounded does within
// kDownloadFileLimit. An empty file is refused too: there would be nothing to send. On
// failure `message` says why, naming the file.
bool ReadDownloadFile(const std::string& fileName, Bytes& bytes, std::string& message);

} // namespace tavisto
