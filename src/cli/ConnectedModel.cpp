#include "cli/ConnectedModel.h"

#include "protocol/Session.h"

namespace tavisto::cli {

int connectedModel(CliContext& context) {
    if (context.model >= 0)
        return context.model;
    // Wait for the display as the scan would, then ask which model it is.
    std::string message;
    int model = -1;
    if (LcdWaitReady(context.connection, message))
        model = LcdIdentifyModel(context.connection, message);
    if (model < 0)
        context.err << message << '\n';
    return model;
}

} // namespace tavisto::cli
