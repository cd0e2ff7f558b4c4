#pragma once

#include "settings/DisplayInfo.h"

#include <string>

namespace tavisto {

// The settings text: one JSON object whose members are named after the fields of
// TDisplayInfo. It is the built-in default, the settings file and the display's
// configuration reply. Texts here are UTF-8; the three string members carry the
// record's display-code-page bytes, each byte as the host code page character of
// the same number (see HostCodePage.h).

// Operator messages of the reader.
inline constexpr const char* kSettingsEmptyMessage = "Get Settings Error!";
inline constexpr const char* kSettingsParseMessage = "Parsing failed!";

// The 21 members in their fixed order, pretty-printed with four spaces per level and
// one member per line. Colours are written from the RGB565 fields; back_light_set,
// pic_reg_lo, pic_reg_hi and the 24-bit colours are not written.
std::string WriteSettingsText(const TDisplayInfo& info);

// Reads a settings text into `info`. The text is trimmed of leading and trailing
// whitespace and control characters (so the display's closing NUL goes) and parsed.
// Members may come in any order; names are trimmed and compared case-sensitively;
// a later member overwrites an earlier one of the same name; unknown names are
// skipped; members absent from the text leave their fields alone. Integers are kept
// at the field's width (low byte, low 16 bits for pic_reg, the whole 32 bits for
// colours).
//
// Fails with "Get Settings Error!" for an empty text, "Parsing failed!" for text that
// is not JSON, or a message naming the problem when the root is not an object or a
// member has the wrong type (an integer member that is not an integral number, a
// string member that is not a string). On failure `info` is left exactly as it was.
bool ReadSettingsText(const std::string& text, TDisplayInfo& info, std::string& message);

} // namespace tavisto
