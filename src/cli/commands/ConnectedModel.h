#pragma once

#include "cli/shell/CliCommand.h"

namespace tavisto::cli {

// The model of the connected display: the one the scan found, or, when --baud skipped
// the scan, the display's answer to the model query once it is ready. -1 after writing
// why on the error stream.
int connectedModel(CliContext& context);

// The same for the download workflows, which report a display that does not answer
// as the window's downloads do: "Not found the devies!" and the reason.
int downloadModel(CliContext& context);

} // namespace tavisto::cli
