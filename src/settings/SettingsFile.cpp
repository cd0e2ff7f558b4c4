#include "settings/SettingsFile.h"

namespace tavisto {
namespace fs = std::filesystem;

fs::path SettingsFileName(const fs::path& chosen) {
    fs::path name = chosen;
    if (name.extension() != ".ini")
        name.replace_extension(".ini");
    return name;
}

} // namespace tavisto
