#include "cli/ConnectedModel.h"

#include "app/storage/DownloadLink.h"
#include "protocol/Session.h"

namespace tavisto::cli {

namespace {

int askModel(CliContext& context, const char* notFoundPrefix) {
    if (context.model >= 0)
        return context.model;
    // Wait for the display as the scan would, then ask which model it is.
    std::string message;
    if (!LcdWaitReady(context.connection, message)) {
        const TConnection& c = context.connection;
        context.err << notFoundPrefix << message << '\n'
                    << "No answer on " << c.CurrentPortName << " at " << c.CurrentBaudRate
                    << " baud: is the display connected, switched on and set to that speed?\n";
        return -1;
    }
    const int model = LcdIdentifyModel(context.connection, message);
    if (model < 0)
        context.err << message << '\n';
    return model;
}

} // namespace

int connectedModel(CliContext& context) {
    return askModel(context, "");
}

int downloadModel(CliContext& context) {
    return askModel(context, kDownloadNotFoundPrefix);
}

} // namespace tavisto::cli
