#include "link/Connection.h"

#include <cstdlib>
#include <string_view>

namespace tavisto {

// The first of LC_ALL, LC_MESSAGES and LANG that is set decides, as the C library
// does for messages. Only Simplified Chinese (PRC) selects the Chinese texts.
std::uint16_t SystemDefaultLangId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0')
            continue;
        std::string_view locale(value);
        return locale.starts_with("zh_CN") ? kLangChinese : kLangEnglish;
    }
    return kLangEnglish;
}

} // namespace tavisto
