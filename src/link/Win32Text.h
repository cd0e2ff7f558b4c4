#pragma once

#include <string>

namespace tavisto::win32 {

// UTF-8 operator text to the UTF-16 the wide Windows calls take, and back. A broken
// UTF-8 sequence becomes U+FFFD; an unpaired surrogate becomes U+FFFD in UTF-8.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// The system's own text for a Windows error number, in UTF-8, without the line break
// it ends in ("The system cannot find the file specified."). When the system has no
// text for the number: "Error <number>".
std::string SystemMessage(unsigned long error);

} // namespace tavisto::win32
