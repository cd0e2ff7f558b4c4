#include "app/WindowArguments.h"

#include "protocol/Session.h"

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
