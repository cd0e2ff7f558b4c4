#pragma once

#include "files/FileRead.h"
#include "link/Bytes.h"

#include <iosfwd>
#include <string>

namespace tavisto {

// The largest picture file that is read: far above any picture a display can show,
// far below what would exhaust memory.
inline constexpr FileSizeLimit kPictureFileLimit{256u * 1024 * 1024,
                                                 "a picture file (256 MB at most)"};

// The whole file as raw bytes, read as ReadFileBounded does: only a regular file of at
// most `limit` bytes. Throws FileError (naming the file) when it cannot be read.
Bytes FileToBytes(const std::string& fileName, const FileSizeLimit& limit = kPictureFileLimit);

// Saves `bytes` as the whole content of `fileName` as SaveFile does: complete or not at
// all, through symbolic links, keeping owner, group and mode. Throws FileError.
void SaveBytesToFile(const std::string& fileName, const Bytes& bytes);

// The whole contents of the stream from its start; empty if reading fails.
Bytes StreamToBytes(std::istream& stream);

// Empties the memory stream and writes the bytes from its start, leaving the read and
// write positions at the start. Returns false if writing fails.
bool BytesToStream(const Bytes& bytes, std::stringstream& stream);

// The extension of a file name as the dialog compares it: from the last "." of the
// last path component, dot included, case kept ("" when there is none).
std::string FileExtension(const std::string& fileName);

} // namespace tavisto
