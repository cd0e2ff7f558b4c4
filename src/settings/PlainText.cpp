#include "settings/PlainText.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tavisto {

std::string LowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::optional<int> ReadWholeNumber(const std::string& text, const std::string& what, int low,
                                   int high, std::string& error) {
    const std::string range =
        what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high);
    long long value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        begin += 2;
        base = 16;
    }
    const auto [stop, problem] = std::from_chars(begin, end, value, base);
    if (text.empty() || problem != std::errc() || stop != end) {
        error = range + ", not '" + text + "'";
        return std::nullopt;
    }
    if (value < low || value > high) {
        error = range + ", not " + text;
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace tavisto
