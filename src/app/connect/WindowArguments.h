#pragma once

#include <optional>
#include <string>

namespace tavisto {

// The window's name and version: its caption, and what --version prints.
inline constexpr const char* kWindowCaption = "Tavisto v3.2";

// The main window's command line.
struct TWindowArguments {
    // --simulate MODEL: run a virtual display of that model (index 0..6) and list
    // its device first among the ports.
    std::optional<int> simulateModel;
};

// Takes the model --simulate names (nullopt: the option had no value). False with a
// message listing the models when there is none or the name is not in the model table.
bool SetSimulateModel(const std::optional<std::string>& name, TWindowArguments& out,
                      std::string& error);

// What --help prints.
std::string WindowHelpText();

// What --version prints.
std::string WindowVersionText();

// The one-line usage that follows a command-line error.
std::string WindowUsageLine();

} // namespace tavisto
