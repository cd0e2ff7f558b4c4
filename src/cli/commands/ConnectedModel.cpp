#include "cli/commands/ConnectedModel.h"

#include "app/connect/IdentifyDisplay.h"
#include "app/storage/DownloadLink.h"
#include "cli/shell/TerminalOperator.h"

namespace tavisto::cli {

namespace {

int askModel(CliContext& context, const char* notFoundPrefix) {
    if (context.model >= 0)
        return context.model;
    TTerminalOperator notes(context.err, context.err);
    TIdentifyRequest request;
    request.checkOpen = false;
    request.baudRate = context.connection.CurrentBaudRate;
    request.versionAttempts = 0;
    const TDisplayIdentity found = IdentifyDisplay(context.connection, notes, request);
    if (found.failure == TIdentifyFailure::NoAnswer) {
        context.err << notFoundPrefix << found.cause << '\n'
                    << "No answer on " << found.port << " at " << found.baudRate
                    << " baud: is the display connected, switched on and set to that speed?\n";
        return -1;
    }
    if (!found.found()) {
        context.err << found.cause << '\n';
        return -1;
    }
    return found.model->index;
}

} // namespace

int connectedModel(CliContext& context) {
    return askModel(context, "");
}

int downloadModel(CliContext& context) {
    return askModel(context, kDownloadNotFoundPrefix);
}

} // namespace tavisto::cli
