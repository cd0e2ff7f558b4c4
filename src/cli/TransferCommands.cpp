#include "app/DownFiles.h"
#include "app/PictureSlots.h"
#include "app/transfer/SingleDownload.h"
#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "cli/ConnectedModel.h"
#include "cli/TransferQueue.h"
#include "pictures/ByteFiles.h"
#include "pictures/PictureError.h"
#include "resources/EmbeddedResources.h"

namespace tavisto::cli {
namespace {

constexpr std::string_view kDownloadHelp = R"(usage: tavisto-cli [OPTIONS] download ITEM FILE

Sends FILE to the display as one item of the download list, as the window's
Download File tab does: the link is switched to 115200 baud for the transfer
and back to the display's speed afterwards. ITEM is an item name (CP437,
mini_WCP1252, USA, big52gbk, firmware, ...; any letter case) or its position
1 to 93 in the list. The picture slots (positions 77 to 90) are sent from slot
pictures, not from files, and are refused here. Items a model does not take
are logged as not supported.

The file is read before the port is opened. Prints the log line and the
summary; on a terminal, standard error shows the progress (blocks, bytes per
second, time left). Exits with 0 only when the item was stored.
)";

// An item of the download list by name (any letter case) or position 1..93.
int parseItem(const std::string& text) {
    const int position = parseNumberOrName(
        text, "ITEM", 1, kDownFileCount, DownFiles, [](const TDownFiles& row) { return row.Name; },
        [](const TDownFiles&, int index) { return index + 1; }, "item");
    if (PictureSlotOfPosition(position) != 0)
        throw UsageError(std::string(DownFileAt(position).Name) +
                         " is a picture slot: slot pictures are sent from pictures, not with "
                         "download");
    return position;
}

CliAction download(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 2, 2);
    const int position = parseItem(parsed.positional[0]);
    const std::string file = parsed.positional[1];
    auto load = [file](CliContext& context) {
        try {
            if (FileToBytes(file).empty()) {
                context.err << "\"" << file << "\" is empty: there is nothing to send.\n";
                return kExitFailed;
            }
        } catch (const FileError& error) {
            context.err << error.what() << '\n';
            return kExitFailed;
        }
        return kExitOk;
    };
    auto send = [position, file](CliContext& context) {
        const int model = connectedModel(context);
        if (model < 0)
            return kExitFailed;
        TJobSources sources;
        sources.resource = [](const std::string& name) {
            return EmbeddedResourceBytes(name);
        };
        return RunTransferQueue(context, sources, 1,
                                [&](TTerminalOperator& op, TTransferRunner& runner) {
                                    return btn_CharacterSetDownSingleClick(
                                        context.connection, op, model, runner, position, file);
                                });
    };
    return CliAction(load, send);
}

} // namespace

std::vector<CliCommand> TransferCommands() {
    return {
        {"download", "send a font, table or firmware file as one download item", kDownloadHelp,
         CliNeeds::Display, download},
    };
}

} // namespace tavisto::cli
