#pragma once

#include <cstdint>
#include <string>

namespace tavisto {

// The texts this program shows beyond the displays' original tool (the cause lines
// under a failed transfer, the time left and "not answering", the refusals and
// questions it adds) in the interface's language. Each line of `text` that is one of
// them is given in Chinese when `langId` selects Chinese; every other line, the
// original tool's own messages included, stays as it is, so those read in English in
// both languages as they always did.
std::string InInterfaceLanguage(const std::string& text, std::uint16_t langId);

} // namespace tavisto
