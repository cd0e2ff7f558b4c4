#pragma once

#include "cli/CliCommand.h"

namespace tavisto::cli {

// The model of the connected display: the one the scan found, or, when --baud skipped
// the scan, the display's answer to the model query once it is ready. -1 after writing
// why on the error stream.
int connectedModel(CliContext& context);

} // namespace tavisto::cli
