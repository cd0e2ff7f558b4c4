#include "cli/shell/Arguments.h"

#include "cli/shell/CliCommand.h"
#include "cli/shell/OptionScan.h"
#include "protocol/Hex.h"
#include "settings/PlainText.h"
#include "settings/Utf8Text.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cctype>

namespace tavisto::cli {

bool startsWithDigit(std::string_view text) {
    return !text.empty() && std::isdigit(static_cast<unsigned char>(text[0]));
}

namespace {

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool isDecimalDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string countText(std::size_t count) {
    return count == 1 ? "1 argument" : std::to_string(count) + " arguments";
}

} // namespace

ParsedArgs parseArgs(const std::vector<std::string>& args,
                     const std::map<std::string, int>& optionValues, std::size_t minPositional,
                     std::size_t maxPositional) {
    OptionScan scan = scanOptions(args, optionValues);
    ParsedArgs parsed;
    parsed.options = std::move(scan.options);
    bool optionsEnded = false;
    for (const std::string& arg : scan.rest) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        // A lone "-" and negative numbers are values.
        if (!optionsEnded && arg.size() >= 2 && arg[0] == '-' &&
            !std::isdigit(static_cast<unsigned char>(arg[1])))
            throw UsageError("unknown option '" + arg + "'");
        parsed.positional.push_back(arg);
    }
    const std::size_t count = parsed.positional.size();
    if (count < minPositional || count > maxPositional) {
        if (minPositional == maxPositional)
            throw UsageError("expected " + countText(minPositional) + ", got " +
                             std::to_string(count));
        if (count < minPositional)
            throw UsageError("expected at least " + countText(minPositional) + ", got " +
                             std::to_string(count));
        throw UsageError("expected at most " + countText(maxPositional) + ", got " +
                         std::to_string(count));
    }
    return parsed;
}

int parseNumber(const std::string& text, const std::string& what, int low, int high) {
    std::string error;
    if (const auto value = ReadWholeNumber(text, what, low, high, error))
        return *value;
    throw UsageError(error);
}

const std::string& utf8Text(const std::string& text) {
    if (const auto at = FirstInvalidUtf8Byte(text))
        throw UsageError("the text is not valid UTF-8 (byte " + std::to_string(*at + 1) +
                         "); give it in UTF-8, as the terminal types it");
    return text;
}

int parseDecimal(const std::string& text, const std::string& what, int low, int high) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDecimalDigit))
        throw UsageError(what + " must be a decimal number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return parseNumber(text, what, low, high);
}

std::uint32_t parseColor(const std::string& text) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6 || !std::all_of(digits.begin(), digits.end(), isHexDigit))
        throw UsageError("a colour is six hex digits RRGGBB, not '" + text + "'");
    const std::uint32_t rgb = HexToValue(digits);
    const std::uint32_t red = (rgb >> 16) & 0xFF;
    const std::uint32_t green = (rgb >> 8) & 0xFF;
    const std::uint32_t blue = rgb & 0xFF;
    return red | (green << 8) | (blue << 16);
}

TArea parseArea(const std::string& text) {
    const std::string area = lowerCase(text);
    if (area == "header")
        return TArea::Header;
    if (area == "main")
        return TArea::Main;
    if (area == "footer")
        return TArea::Footer;
    throw UsageError("the area is header, main or footer, not '" + text + "'");
}

int parseAlign(const std::string& text) {
    const std::string align = lowerCase(text);
    if (align == "left")
        return 1;
    if (align == "center" || align == "centre")
        return 2;
    if (align == "right")
        return 3;
    throw UsageError("the alignment is left, center or right, not '" + text + "'");
}

int parseCodePageName(const std::string& text) {
    const std::string wanted = lowerCase(text);
    for (const auto& row : CodePages) {
        if (lowerCase(std::string(row.DisplayName)) == wanted)
            return row.CodePageName;
    }
    throw UsageError("unknown code page '" + text + "'; the code pages are " + codePageNames());
}

Bytes parseHexBytes(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == ':' || c == '\t')
            continue;
        if (!isHexDigit(c))
            throw UsageError(HexError().what());
        digits.push_back(c);
    }
    if (digits.empty())
        throw UsageError("no bytes given");
    if (digits.size() % 2 != 0)
        throw UsageError("each byte needs two hex digits: '" + text + "'");
    return HexToBytes(digits);
}

std::string codePageNames() {
    std::string names;
    for (const auto& row : CodePages) {
        if (!names.empty())
            names += ", ";
        names += row.DisplayName;
    }
    return names;
}

std::string wrapText(std::string_view text) {
    std::string wrapped;
    std::size_t lineStart = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t wordStart = text.find_first_not_of(' ', position);
        if (wordStart == std::string_view::npos)
            break;
        std::size_t wordEnd = text.find(' ', wordStart);
        if (wordEnd == std::string_view::npos)
            wordEnd = text.size();
        const std::string_view word = text.substr(wordStart, wordEnd - wordStart);
        if (wrapped.size() > lineStart) {
            if (wrapped.size() - lineStart + 1 + word.size() > kHelpColumns) {
                wrapped += '\n';
                lineStart = wrapped.size();
            } else {
                wrapped += ' ';
            }
        }
        wrapped += word;
        position = wordEnd;
    }
    return wrapped + '\n';
}

} // namespace tavisto::cli
