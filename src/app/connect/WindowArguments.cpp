#include "app/connect/WindowArguments.h"

#include "protocol/Session.h"

namespace tavisto {

namespace {

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

std::string WindowVersionText() {
    return std::string(kWindowCaption) + "\n";
}

std::string WindowHelpText() {
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

bool SetSimulateModel(const std::optional<std::string>& name, TWindowArguments& out,
                      std::string& error) {
    if (!name) {
        error = "--simulate needs a model: " + modelList();
        return false;
    }
    const DisplayModel* model = FindModelByName(*name);
    if (!model) {
        error = "unknown model: " + *name + " (models: " + modelList() + ")";
        return false;
    }
    out.simulateModel = model->index;
    return true;
}

} // namespace tavisto
