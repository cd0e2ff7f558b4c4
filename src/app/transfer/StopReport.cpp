#include "app/transfer/StopReport.h"

#include "protocol/DownloadTable.h"

#include <cstddef>
#include <vector>

namespace tavisto {

namespace {

// The items named in full before "and N more".
constexpr std::size_t kNamedUnsent = 3;

std::string unsentText(const std::vector<int>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size() && i < kNamedUnsent; ++i) {
        if (i > 0)
            text += ", ";
        text += DownFileAt(rows[i]).Name;
    }
    if (rows.size() > kNamedUnsent)
        text += " and " + std::to_string(rows.size() - kNamedUnsent) + " more";
    return text;
}

} // namespace

std::string StoppedQueueText(const TTransferEngine& engine, int baudRate) {
    const int done = engine.Succeeded() + engine.Failed();
    std::string text = "Stopped: the display is back at " + std::to_string(baudRate) +
                       " baud.\nDone: " + std::to_string(done) + " of " +
                       std::to_string(engine.GetDownListTrueTotal()) + " items [Succeed " +
                       std::to_string(engine.Succeeded()) + " / Failed " +
                       std::to_string(engine.Failed()) + "]";
    const std::vector<int> unsent = engine.Unsent();
    if (!unsent.empty())
        text += "\nNot sent: " + unsentText(unsent);
    return text;
}

} // namespace tavisto
