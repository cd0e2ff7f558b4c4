#pragma once

#include "link/Bytes.h"

#include <iosfwd>
#include <string>

namespace tavisto {

// The whole file as raw bytes. Throws FileError (naming the file) when it cannot be read.
Bytes FileToBytes(const std::string& fileName);

// Replaces `fileName` with `bytes` as one step: the bytes go to a temporary file in the
// same folder that is then renamed over the target, so a failed write (full disk,
// missing folder, no permission) leaves no half-written file and the old file intact.
// Throws FileError.
void WriteFileAtomically(const std::string& fileName, const Bytes& bytes);

// The whole contents of the stream from its start; empty if reading fails.
Bytes StreamToBytes(std::istream& stream);

// Empties the memory stream and writes the bytes from its start, leaving the read and
// write positions at the start. Returns false if writing fails.
bool BytesToStream(const Bytes& bytes, std::stringstream& stream);

// The extension of a file name as the dialog compares it: from the last "." of the
// last path component, dot included, case kept ("" when there is none).
std::string FileExtension(const std::string& fileName);

} // namespace tavisto
