#include "settings/SettingsFile.h"

#include "files/Utf8Path.h"

namespace tavisto {
namespace fs = std::filesystem;

fs::path SettingsFileName(const fs::path& chosen) {
    fs::path name = chosen;
    if (name.extension() != ".ini")
        name.replace_extension(".ini");
    return name;
}

bool HasFileNamePart(const fs::path& chosen, std::string& message) {
    const fs::path name = chosen.filename();
    if (!name.empty() && name != "." && name != "..")
        return true;
    message = "Cannot save \"" + Utf8FromPath(chosen) + "\": the name has no file part.";
    return false;
}

} // namespace tavisto
