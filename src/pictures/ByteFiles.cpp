#include "pictures/ByteFiles.h"

#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "pictures/PictureError.h"

#include <sstream>

namespace tavisto {

Bytes FileToBytes(const std::string& fileName, const FileSizeLimit& limit) {
    Bytes bytes;
    std::string message;
    if (!ReadFileBounded(PathFromUtf8(fileName), limit, bytes, message))
        throw FileError(message);
    return bytes;
}

void SaveBytesToFile(const std::string& fileName, const Bytes& bytes) {
    std::string message;
    if (!SaveFile(PathFromUtf8(fileName), bytes, message))
        throw FileError(message);
}

Bytes StreamToBytes(std::istream& stream) {
    stream.clear();
    if (!stream.seekg(0, std::ios::beg))
        return {};
    std::ostringstream copy;
    if (stream.peek() == std::char_traits<char>::eof()) {
        stream.clear();
        return {};
    }
    copy << stream.rdbuf();
    if (stream.bad())
        return {};
    return copy.str();
}

bool BytesToStream(const Bytes& bytes, std::stringstream& stream) {
    stream.str(std::string());
    stream.clear();
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream)
        return false;
    stream.seekg(0);
    stream.seekp(0);
    return static_cast<bool>(stream);
}

std::string FileExtension(const std::string& fileName) {
#ifdef _WIN32
    const std::size_t separator = fileName.find_last_of("/\\:");
#else
    const std::size_t separator = fileName.find_last_of('/');
#endif
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return {};
    return fileName.substr(dot);
}

} // namespace tavisto
