#include "app/storage/DownloadFile.h"

#include "files/Utf8Path.h"

namespace tavisto {

bool ReadDownloadFile(const std::string& fileName, Bytes& bytes, std::string& message) {
    Bytes read;
    if (!ReadFileBounded(PathFromUtf8(fileName), kDownloadFileLimit, read, message))
        return false;
    if (read.empty()) {
        message = "\"" + fileName + "\" is empty: there is nothing to send.";
        return false;
    }
    bytes = std::move(read);
    return true;
}

} // namespace tavisto
