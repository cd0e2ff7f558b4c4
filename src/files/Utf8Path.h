#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavisto {

// File names travel through the program as UTF-8 text (command-line arguments, the
// window's file dialogs, profiles, messages). These two make a path of such a name
// and a name of a path; every std::string that becomes a path, and every path that
// becomes text, goes through them.
//
// On POSIX a path is its bytes, so both keep them as they are. On Windows a path is
// UTF-16, and std::filesystem::path(std::string) would read the text in the ANSI code
// page, which cannot spell every name ("收银台.png" becomes "???.png"); here the text
// is read as UTF-8. A broken UTF-8 sequence, or a name with an unpaired surrogate,
// gets U+FFFD instead of an exception.
std::filesystem::path PathFromUtf8(std::string_view name);
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace tavisto
