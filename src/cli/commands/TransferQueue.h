#pragma once

#include "app/transfer/JobSources.h"
#include "app/transfer/QueueRun.h"
#include "app/transfer/TransferRunner.h"
#include "cli/shell/CliCommand.h"
#include "cli/shell/TerminalOperator.h"

#include <functional>

namespace tavisto::cli {

// The operator of a transfer command: its questions are answered by --yes
// (`assumeYes`), or asked when standard input and output are a terminal.
TTerminalOperator QueueOperator(CliContext& context, bool assumeYes);

// The exit code of a workflow that returned false: kExitNotConfirmed when it stopped
// at a question not answered Yes, kExitFailed otherwise.
int StoppedExitCode(const TTerminalOperator& op);

// Starts a download queue on a runner: true when the engine took it.
using QueueStart = std::function<bool(TTerminalOperator& op, TTransferRunner& runner)>;

// Runs a download queue of the transfer engine on the terminal, as the window runs
// it: log lines and the "Done!" summary from the engine, and on a terminal a
// progress line on the error stream (blocks, bytes per second, time left). Exits
// with kExitOk only when the queue ran to its end, stored `expected` jobs (at least
// one for kAnyJobCount) and failed none; with kExitNotConfirmed when the workflow
// stopped at a question not answered Yes.
int RunTransferQueue(CliContext& context, TJobSources sources, int expected,
                     const QueueStart& start, bool assumeYes = false);

} // namespace tavisto::cli
