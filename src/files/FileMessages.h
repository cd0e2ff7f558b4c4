#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavisto {

// What a path names when it is not a regular file.
enum class OtherFileKind { Folder, NamedPipe, Device, Socket, Unknown };

// `Cannot <action> file "<path>". <reason>`: the form of every file error.
std::string FileErrorMessage(std::string_view action, const std::filesystem::path& path,
                             std::string_view reason);

// The reason given for refusing a path that is not a regular file.
std::string NotRegularFileReason(OtherFileKind kind);

// `The file "<path>" is too large for <kind>.`
std::string FileTooLargeMessage(const std::filesystem::path& path, std::string_view kind);

} // namespace tavisto
