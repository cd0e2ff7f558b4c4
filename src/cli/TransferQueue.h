#pragma once

#include "app/transfer/JobSources.h"
#include "app/transfer/TransferRunner.h"
#include "cli/CliCommand.h"
#include "cli/TerminalOperator.h"

#include <functional>

namespace tavisto::cli {

// Starts a download queue on a runner: true when the engine took it.
using QueueStart = std::function<bool(TTerminalOperator& op, TTransferRunner& runner)>;

// Runs a download queue of the transfer engine on the terminal, as the window runs
// it: log lines and the "Done!" summary from the engine, and on a terminal a
// progress line on the error stream (blocks, bytes per second, time left). Exits
// with kExitOk only when `expected` jobs were stored and none failed.
int RunTransferQueue(CliContext& context, TJobSources sources, int expected,
                     const QueueStart& start);

} // namespace tavisto::cli
