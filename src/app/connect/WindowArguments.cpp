#include "app/connect/WindowArguments.h"

#include "protocol/Session.h"

#include <optional>

namespace tavisto {

namespace {

int modelIndexOf(const std::string& name) {
    const DisplayModel* model = FindModelByName(name);
    return model ? model->index : -1;
}

std::string modelList() {
    std::string list;
    for (const DisplayModel& model : DisplayModels)
        list += (list.empty() ? "" : ", ") + std::string(model.name);
    return list;
}

} // namespace

std::string WindowUsageLine() {
    return "usage: tavisto [--simulate MODEL] [--help] [--version]";
}

std::optional<std::string> WindowInfoText(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--version")
            return std::string(kWindowCaption) + "\n";
        if (arg == "--help" || arg == "-h")
            return WindowUsageLine() +
                   "\n\n"
                   "Configures serial-attached TFT customer displays in a window.\n\n"
                   "  --simulate MODEL  start a virtual display of MODEL inside the window and\n"
                   "                    list its device first among the serial ports; it\n"
                   "                    moves bytes as fast as a real line at its speed\n"
                   "  --help, -h        show this text and exit\n"
                   "  --version         show the version and exit\n\n"
                   "MODEL is one of:\n  " +
                   modelList() +
                   "\n\n"
                   "Qt's own options (-platform NAME, -style NAME, ...) are accepted too.\n"
                   "The captions are Chinese in a zh_CN locale and English otherwise.\n";
    }
    return std::nullopt;
}

bool ParseWindowArguments(const std::vector<std::string>& args, TWindowArguments& out,
                          std::string& error) {
    out = {};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--simulate") {
            error = "unknown option: " + arg;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = "--simulate needs a model: " + modelList();
            return false;
        }
        const int model = modelIndexOf(args[++i]);
        if (model < 0) {
            error = "unknown model: " + args[i] + " (models: " + modelList() + ")";
            return false;
        }
        out.simulateModel = model;
    }
    return true;
}

} // namespace tavisto
