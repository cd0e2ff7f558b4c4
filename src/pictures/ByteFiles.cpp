#include "pictures/ByteFiles.h"

#include "pictures/PictureError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <system_error>

namespace tavisto {
namespace {

std::string describeErrno(int error) {
    return error != 0 ? std::string(std::strerror(error)) : std::string("input/output error");
}

// A short hidden name in the target's folder, so the final rename stays within one
// file system and a long target name cannot make the temporary name too long.
std::string temporaryNameBeside(const std::string& fileName) {
    std::random_device device;
    std::ostringstream name;
    name << ".tavisto-" << std::hex << device() << device() << ".tmp";
    return (std::filesystem::path(fileName).parent_path() / name.str()).string();
}

} // namespace

Bytes FileToBytes(const std::string& fileName) {
    errno = 0;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw FileError("Cannot open \"" + fileName + "\": " + describeErrno(errno) + ".");
    std::error_code ignored;
    if (std::filesystem::is_directory(fileName, ignored))
        throw FileError("Cannot read \"" + fileName + "\": it is a folder.");
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw FileError("Cannot read \"" + fileName + "\": " + describeErrno(errno) + ".");
    return bytes;
}

void WriteFileAtomically(const std::string& fileName, const Bytes& bytes) {
    const std::string temporary = temporaryNameBeside(fileName);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw FileError("Cannot write \"" + fileName + "\": " + describeErrno(errno) + ".");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        const int error = errno;
        out.close();
        if (out.fail()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw FileError("Cannot write \"" + fileName + "\": " + describeErrno(error) + ".");
        }
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, fileName, renameError);
    if (renameError) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw FileError("Cannot write \"" + fileName + "\": " + renameError.message() + ".");
    }
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
