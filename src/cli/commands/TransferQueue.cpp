#include "cli/commands/TransferQueue.h"

#include "app/transfer/ProgressText.h"
#include "app/transfer/QueueRun.h"
#include "cli/shell/Console.h"
#include "cli/shell/InterruptSignals.h"

#include <iostream>
#include <optional>

namespace tavisto::cli {

namespace {

// ", 12.3 KB/s, 1:05 left" for the progress line, as the window's status bar says it.
std::string rateText(const TTransferStatus& status) {
    const std::string text = RateAndProgressText(status);
    return text.empty() ? "" : ", " + text;
}

// The progress line on a terminal, rewritten in place once a second.
void showProgress(std::ostream& err, const TTransferStatus& status) {
    if (!status.running || status.blocksTotal == 0)
        return;
    err << "\r" << status.item << ": block " << status.blocksDone << " of " << status.blocksTotal
        << rateText(status) << "\x1b[K" << std::flush;
}

} // namespace

TTerminalOperator QueueOperator(CliContext& context, bool assumeYes) {
    TTerminalOptions options;
    options.assumeYes = assumeYes;
    options.interactive = &context.out == &std::cout && StdinIsTerminal();
    return TTerminalOperator(context.out, context.err, std::cin, options);
}

int StoppedExitCode(const TTerminalOperator& op) {
    return op.declined() ? kExitNotConfirmed : kExitFailed;
}

int RunTransferQueue(CliContext& context, TJobSources sources, int expected,
                     const QueueStart& start, bool assumeYes) {
    TTerminalOperator op = QueueOperator(context, assumeYes);
    std::optional<BlockingOwnerLoop> ownerLoop;
    if (context.transferThreads)
        ownerLoop.emplace(context.connection.clock());
    else
        ownerLoop.emplace();
    BlockingOwnerLoop& loop = *ownerLoop;
    TTransferEngine* running = nullptr;
    const std::unique_ptr<TTransferThreads> threads =
        context.transferThreads
            ? context.transferThreads(context.connection, loop,
                                      [&running]() -> TTransferEngine& { return *running; })
            : nullptr;
    TTransferRunner runner(context.connection, op, loop, std::move(sources), threads.get());
    TTransferEngine& engine = runner.engine();
    running = &engine;
    const bool terminal = StderrRedrawsLines() && &context.err == &std::cerr;
    TQueueWatch watch;
    if (terminal)
        watch.observer = [&context](const TTransferStatus& status) {
            showProgress(context.err, status);
        };
    const InterruptSignals signals;
    InterruptSignals::clear();
    watch.stopRequested = [] {
        return InterruptSignals::received() != 0;
    };
    watch.stopDeferred = [&context] {
        context.err << "\nInterrupted: the display gets the rest of the current file first; "
                       "part-way through it, it would take the next command as data.\n";
    };
    bool started = false;
    const TQueueOutcome outcome = RunQueue(
        loop, engine, expected, [&] { return started = start(op, runner); }, watch);
    if (terminal && started)
        context.err << "\r\x1b[K" << std::flush;
    switch (outcome) {
    case TQueueOutcome::Stored:
        return kExitOk;
    case TQueueOutcome::Interrupted:
        context.err << "Interrupted: the transfer stopped and the display is back at "
                    << context.connection.CurrentBaudRate << " baud.\n";
        return kExitInterrupted;
    case TQueueOutcome::Failed:
        break;
    }
    return started ? kExitFailed : StoppedExitCode(op);
}

} // namespace tavisto::cli
