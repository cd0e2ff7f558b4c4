#include "cli/shell/OptionScan.h"

#include "cli/shell/CliCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace tavisto::cli {

namespace {

std::string needsValues(const std::string& name, int count) {
    return "option '" + name + "' needs " +
           (count == 1 ? std::string("a value") : std::to_string(count) + " values");
}

} // namespace

OptionScan scanOptions(const std::vector<std::string>& args,
                       const std::map<std::string, int>& optionValues,
                       const std::set<std::string>& repeatable) {
    CLI::App app;
    app.set_help_flag(); // each program answers --help itself
    app.allow_extras();  // what is not an option here is the caller's to judge
    std::map<std::string, CLI::Option*> declared;
    for (const auto& [name, count] : optionValues) {
        CLI::Option* option = count == 0 ? app.add_flag(name) : app.add_option(name);
        if (count > 0)
            option->expected(count);
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        declared.emplace(name, option);
    }
    // CLI11 takes "--name=" as "--name" with its value still to come; here it is an
    // empty value, so that "--port=" is an empty path and not the path that follows.
    // CLI11 counts an option's values, not how often it was given: that is counted here.
    std::vector<std::string> line;
    std::map<std::string, int> times;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        optionsEnded = optionsEnded || arg == "--";
        const std::string name = arg.substr(0, arg.find('='));
        if (!optionsEnded && declared.count(name) != 0)
            ++times[name];
        if (!optionsEnded && arg.ends_with('=') && declared.count(name) != 0) {
            line.push_back(name);
            line.emplace_back();
        } else {
            line.push_back(arg);
        }
    }
    std::reverse(line.begin(), line.end()); // CLI11 takes the arguments from the back
    try {
        app.parse(line);
    } catch (const CLI::ArgumentMismatch& error) {
        // "--name: 1 required TYPE missing": a value-taking option stood last or before
        // another option.
        const std::string what = error.what();
        for (const auto& [name, count] : optionValues) {
            if (what.starts_with(name + ":"))
                throw UsageError(needsValues(name, count));
        }
        throw UsageError(what);
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }

    OptionScan scan;
    for (const auto& [name, option] : declared) {
        if (option->count() == 0)
            continue;
        if (times[name] > 1 && repeatable.count(name) == 0)
            throw UsageError("option '" + name + "' given twice");
        const int count = optionValues.at(name);
        std::vector<std::string> values = option->results();
        if (count == 0) {
            // A flag's results say "true" for each time it was given; anything else was
            // written after an '='.
            if (std::any_of(values.begin(), values.end(),
                            [](const std::string& value) { return value != "true"; }))
                throw UsageError("option '" + name + "' takes no value");
            values.clear();
        } else if (values.size() != static_cast<std::size_t>(count)) {
            throw UsageError(needsValues(name, count));
        }
        scan.options.emplace(name, std::move(values));
    }
    scan.rest = app.remaining();
    return scan;
}

} // namespace tavisto::cli
