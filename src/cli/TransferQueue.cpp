#include "cli/TransferQueue.h"

#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/ProgressText.h"
#include "cli/Console.h"
#include "cli/InterruptSignals.h"

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
    if (terminal)
        engine.setStatusObserver(
            [&context](const TTransferStatus& status) { showProgress(context.err, status); });
    const InterruptSignals signals;
    InterruptSignals::clear();
    engine.setStopRequest([] { return InterruptSignals::received() != 0; });
    if (!start(op, runner))
        return StoppedExitCode(op);
    // The loop wakes at least once a second (the engine's seconds counter), so an
    // interrupt is seen within a second.
    bool stopAsked = false;
    for (;;) {
        loop.runUntil([&engine, &stopAsked] {
            return !engine.Running() || (!stopAsked && InterruptSignals::received() != 0);
        });
        if (!engine.Running())
            break;
        stopAsked = true;
        if (!engine.Interrupt())
            context.err << "\nInterrupted: the display gets the rest of the current file first; "
                           "part-way through it, it would take the next command as data.\n";
    }
    if (terminal)
        context.err << "\r\x1b[K" << std::flush;
    if (engine.Interrupted()) {
        context.err << "Interrupted: the transfer stopped and the display is back at "
                    << context.connection.CurrentBaudRate << " baud.\n";
        return kExitInterrupted;
    }
    const bool stored =
        expected == kAnyJobCount ? engine.Succeeded() > 0 : engine.Succeeded() == expected;
    return engine.Completed() && stored && engine.Failed() == 0 ? kExitOk : kExitFailed;
}

} // namespace tavisto::cli
