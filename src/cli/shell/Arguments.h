#pragma once

#include "cli/shell/CliCommand.h"
#include "protocol/DisplayCommands.h"
#include "settings/PlainText.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavisto::cli {

// A command's arguments split into positional values and options. Options are
// "--name" followed by a fixed number of values, or "--name=VALUE" for one value; "--"
// ends the options, so a text may begin with "-".
struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>> options;

    bool has(const std::string& option) const { return options.count(option) != 0; }
};

// `optionValues` maps each allowed option (with its dashes) to its number of values.
// Throws UsageError on an unknown option, a missing value or a wrong number of
// positional values (between minPositional and maxPositional).
ParsedArgs parseArgs(const std::vector<std::string>& args,
                     const std::map<std::string, int>& optionValues, std::size_t minPositional,
                     std::size_t maxPositional);

// A whole number from `low` to `high`, written in decimal or as 0x... hex.
int parseNumber(const std::string& text, const std::string& what, int low, int high);

// The same in decimal digits only, for numbers a person counts (picture numbers),
// where "0x0A" is more likely a slip than picture 10.
int parseDecimal(const std::string& text, const std::string& what, int low, int high);

// Six hex digits RRGGBB (a leading '#' is allowed) as the colour value 0x00BBGGRR.
std::uint32_t parseColor(const std::string& text);

// `text` when it is well-formed UTF-8; otherwise throws UsageError naming the first bad
// byte, so that a text is never sent with "?" in place of what was typed.
const std::string& utf8Text(const std::string& text);

// header | main | footer
TArea parseArea(const std::string& text);

// left | center | right, as the alignment byte 1, 2, 3.
int parseAlign(const std::string& text);

// A code page by its display name (CP437, WCP1252, ...; any letter case): the
// CodePageName number that text is converted with.
int parseCodePageName(const std::string& text);

// Bytes written as hex, two digits per byte; spaces and colons between bytes are allowed.
Bytes parseHexBytes(const std::string& text);

// The core's LowerCase, under the name the commands use.
inline std::string lowerCase(std::string_view text) {
    return LowerCase(text);
}
bool startsWithDigit(std::string_view text);

// A value given either as a number from `low` to `high`, or by the name of one of
// `rows` (any letter case; the first row of that name): nameOf(row) gives a row's
// name, valueOf(row, index) its value. Throws UsageError("unknown <kind> '...'").
template <typename Rows, typename NameOf, typename ValueOf>
int parseNumberOrName(const std::string& text, const std::string& what, int low, int high,
                      const Rows& rows, NameOf nameOf, ValueOf valueOf, const std::string& kind) {
    if (startsWithDigit(text))
        return parseNumber(text, what, low, high);
    const std::string wanted = lowerCase(text);
    int index = 0;
    for (const auto& row : rows) {
        if (lowerCase(nameOf(row)) == wanted)
            return valueOf(row, index);
        ++index;
    }
    throw UsageError("unknown " + kind + " '" + text + "'");
}

// The names for the help texts.
std::string codePageNames();

// Help texts fit 80 columns.
inline constexpr std::size_t kHelpColumns = 80;

// `text` broken into lines of at most kHelpColumns at its spaces, each ending in a
// line feed (a word longer than a line stays whole).
std::string wrapText(std::string_view text);

} // namespace tavisto::cli
