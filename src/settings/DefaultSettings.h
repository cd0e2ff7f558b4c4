#pragma once

#include <string>

namespace tavisto {

// The built-in default settings text: one JSON object, "{" directly followed by the
// first member, one member per line with no spaces around the colons, lines separated
// by a single line feed and "}" alone on the last line.
std::string DefaultSettingsText();

} // namespace tavisto
