#include "link/Connection.h"

#include <windows.h>

namespace tavisto {

// The system's default language; only Chinese (PRC) selects the Chinese texts.
std::uint16_t SystemDefaultLangId() {
    return GetSystemDefaultLangID() == kLangChinese ? kLangChinese : kLangEnglish;
}

} // namespace tavisto
