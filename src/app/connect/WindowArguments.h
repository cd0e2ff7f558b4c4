#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavisto {

// The window's name and version: its caption, and what --version prints.
inline constexpr const char* kWindowCaption = "Tavisto v3.2";

// The main window's command line.
struct TWindowArguments {
    // --simulate MODEL: run a virtual display of that model (index 0..6) and list
    // its device first among the ports.
    std::optional<int> simulateModel;
};

// Reads the arguments after the program name. False with a message on an unknown
// option, a missing model or a model name that is not in the model table.
bool ParseWindowArguments(const std::vector<std::string>& args, TWindowArguments& out,
                          std::string& error);

// The text to print instead of starting the window: the help for "--help" or "-h",
// the version for "--version", wherever they stand; nothing otherwise. Looked at
// before the toolkit starts, so both work without a display.
std::optional<std::string> WindowInfoText(const std::vector<std::string>& args);

// The one-line usage that follows a command-line error.
std::string WindowUsageLine();

} // namespace tavisto
