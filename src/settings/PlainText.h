#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavisto {

// `text` with its ASCII letters in lower case: names typed in any letter case (code
// pages, download items, models) compared with the tables' names.
std::string LowerCase(std::string_view text);

// A whole number from `low` to `high`, written in decimal or as 0x... hex. Nothing
// when it is no such number; `error` then says so, naming the value as `what`:
// "the slot must be a number from 73 to 86, not '7x'".
std::optional<int> ReadWholeNumber(const std::string& text, const std::string& what, int low,
                                   int high, std::string& error);

} // namespace tavisto
