#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavisto::cli {

// A command line with the known options taken out.
struct OptionScan {
    // Each known option given, with its values.
    std::map<std::string, std::vector<std::string>> options;
    // Everything else, in its order: values, unknown options, a "--" and what follows it.
    std::vector<std::string> rest;
};

// Takes the options of `optionValues` (each with its dashes, mapped to its number of
// values) out of `args`, as "--name VALUE..." or "--name=VALUE"; nothing after a "--" is
// an option. Throws UsageError when an option is given twice (unless it is a flag named
// in `repeatable`), lacks a value or is a flag given one.
OptionScan scanOptions(const std::vector<std::string>& args,
                       const std::map<std::string, int>& optionValues,
                       const std::set<std::string>& repeatable = {});

} // namespace tavisto::cli
