#pragma once

#include "app/connect/WindowArguments.h"

#include <QStringList>
#include <optional>
#include <string>

namespace tavisto::ui {

// The text to print instead of starting the window: the help for "--help" or "-h",
// the version for "--version", whichever stands first, wherever it stands; nothing
// otherwise. Needs no QApplication, so that both answer without a display.
std::optional<std::string> WindowInfoText(const QStringList& args);

// Reads the arguments after the program name ("--simulate MODEL" or
// "--simulate=MODEL"), once Qt has taken its own options out. False with a message on
// an unknown option, a missing model or a model name that is not in the model table.
bool ParseWindowArguments(const QStringList& args, TWindowArguments& out, std::string& error);

} // namespace tavisto::ui
