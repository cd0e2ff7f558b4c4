#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace tavisto::ui {

// The texts of the Provision dialog in both interface languages, looked up by their
// English text; the language follows the window's (Chinese for language id 2052).
// A text the table does not hold is shown as it is, in English.
QString ProvisionText(const char* english, std::uint16_t langId);

// A step or result word of a provisioning run ("identify", "failed", ...) for a row.
QString ProvisionWord(const std::string& word, std::uint16_t langId);

} // namespace tavisto::ui
