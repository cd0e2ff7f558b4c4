#include "app/storage/DownloadFile.h"
#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/commands/ConnectedModel.h"
#include "cli/commands/TransferQueue.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "resources/EmbeddedResources.h"

#include <memory>

namespace tavisto::cli {
namespace {

constexpr std::string_view kDownloadHelp =
    R"(usage: tavisto-cli [OPTIONS] download ITEM FILE [--yes]

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

A firmware file (ITEM firmware) is sent only after a yes/no question naming
the file, its size and the model. A file whose size is not the one the item
has on the display's model (a font image of the other resolution, another
file) is sent only after a yes/no question naming the item, its size and the
file's. --yes answers them without asking; without --yes and without a
terminal to ask on, nothing is sent and the exit status is 3.
)";

constexpr std::string_view kDownloadFontsHelp = R"(usage: tavisto-cli [OPTIONS] download-fonts

Sends every font image the program carries (the 76 font items) and the Big5/GBK
conversion table, in the sizes of the display's resolution, as the window's
"Font Download" does. KT350--MKA, KT350--MKB, KT350-MKC and KT750--MK take 74
of them: CP437_40x40, CP936_GBK and big52gbk are logged as not supported.
Prints a log line per font and the summary; exits with 0 only when the queue
ran to its end and nothing failed.
)";

constexpr std::string_view kFirmwareUpdateHelp =
    R"(usage: tavisto-cli [OPTIONS] firmware-update [--yes]

Sends the firmware image this program carries for the display's model, as the
window's "Update" does; a display below version 12 first gets the Big5/GBK
conversion table. Asks first; --yes answers Yes. A program built without a
firmware image (the usual case: see the README) says so and sends nothing;
send a firmware file with "download firmware FILE" instead.
)";

constexpr std::string_view kFormatHelp = R"(usage: tavisto-cli [OPTIONS] format [--yes]

Formats the display's storage: stored pictures, fonts and files are erased.
Asks first ("Are you sure you want to format the storage?"); --yes answers Yes.
Without --yes and without a terminal to ask on, nothing is sent and the exit
status is 3.
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

// The resources of the program: font images, the conversion table, firmware.
TJobSources resourceSources() {
    TJobSources sources;
    sources.resource = [](const std::string& name) {
        return EmbeddedResourceBytes(name);
    };
    return sources;
}

// Runs the workflow `start(op, model, runner)` of the window as a queue of its own on
// the connected display.
template <typename Start> int runQueue(CliContext& context, bool yes, Start start) {
    const int model = downloadModel(context);
    if (model < 0)
        return kExitFailed;
    return RunTransferQueue(
        context, resourceSources(), kAnyJobCount,
        [&start, model](TTerminalOperator& op, TTransferRunner& runner) {
            return start(op, model, runner);
        },
        yes);
}

CliAction download(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--yes", 0}}, 2, 2);
    const int position = parseItem(parsed.positional[0]);
    const std::string file = parsed.positional[1];
    const bool yes = parsed.has("--yes");
    auto contents = std::make_shared<Bytes>();
    auto load = [file, contents](CliContext& context) {
        std::string message;
        if (ReadDownloadFile(file, *contents, message))
            return kExitOk;
        context.err << message << '\n';
        return kExitFailed;
    };
    auto send = [position, file, contents, yes](CliContext& context) {
        return runQueue(context, yes,
                        [&context, position, &file, &contents](TOperator& op, int model,
                                                               TTransferRunner& runner) {
                            return btn_CharacterSetDownSingleClick(context.connection, op,
                                                                   FindModel(model), runner,
                                                                   position, file, *contents);
                        });
    };
    return CliAction(load, send);
}

CliAction downloadFonts(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        return runQueue(context, false,
                        [&context](TOperator& op, int model, TTransferRunner& runner) {
                            return btn_CharacterSetDownAllClick(context.connection, op,
                                                                FindModel(model), runner);
                        });
    };
}

CliAction firmwareUpdate(const std::vector<std::string>& args) {
    const bool yes = parseArgs(args, {{"--yes", 0}}, 0, 0).has("--yes");
    return [yes](CliContext& context) {
        return runQueue(
            context, yes, [&context](TOperator& op, int model, TTransferRunner& runner) {
                return btn_updateClick(context.connection, op, FindModel(model), runner);
            });
    };
}

CliAction format(const std::vector<std::string>& args) {
    const bool yes = parseArgs(args, {{"--yes", 0}}, 0, 0).has("--yes");
    return [yes](CliContext& context) {
        TTerminalOperator op = QueueOperator(context, yes);
        if (btn_FormatClick(context.connection, op)) {
            context.out << "OK\n";
            return kExitOk;
        }
        return StoppedExitCode(op);
    };
}

} // namespace

std::vector<CliCommand> StorageCommands() {
    return {
        {"download", "send a font, table or firmware file as one download item", kDownloadHelp,
         CliNeeds::Display, download},
        {"download-fonts", "send every built-in font image and the conversion table",
         kDownloadFontsHelp, CliNeeds::Display, downloadFonts},
        {"firmware-update", "send the built-in firmware image", kFirmwareUpdateHelp,
         CliNeeds::Display, firmwareUpdate},
        {"format", "format the display's storage (asks first)", kFormatHelp, CliNeeds::Display,
         format},
    };
}

} // namespace tavisto::cli
