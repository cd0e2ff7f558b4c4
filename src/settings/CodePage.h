#pragma once

#include "link/Bytes.h"

#include <string>

namespace tavisto {

// Conversions between UTF-8 text and the numbered code pages of the CodePages table
// (its CodePageName column: 437 ... 1258 and 28597), with the Windows tables of those
// numbers. A number outside that set gives an empty result.

// Characters the code page cannot represent become "?" (the code page's default
// character); broken UTF-8 sequences are taken as U+FFFD and become "?" as well.
Bytes TextToCodePage(const std::string& utf8Text, int codePageName);

// Bytes that have no character in the code page, and broken double-byte sequences,
// become U+FFFD REPLACEMENT CHARACTER.
std::string CodePageToText(const Bytes& bytes, int codePageName);

} // namespace tavisto
