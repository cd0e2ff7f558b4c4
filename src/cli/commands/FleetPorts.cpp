#include "cli/commands/FleetPorts.h"

#include <set>
#include <sstream>

namespace tavisto::cli {

std::vector<std::string> ParsePortList(const std::string& text) {
    std::vector<std::string> ports;
    std::set<std::string> seen;
    std::istringstream list(text);
    std::string port;
    while (std::getline(list, port, ',')) {
        if (port.empty())
            throw UsageError("the port list '" + text + "' has an empty entry");
        if (!seen.insert(port).second)
            throw UsageError("port " + port + " is given twice");
        ports.push_back(port);
    }
    if (ports.empty() || text.back() == ',')
        throw UsageError("the port list '" + text + "' has an empty entry");
    return ports;
}

bool ChosenPorts(CliContext& context, const PortChoice& choice, std::vector<std::string>& ports) {
    if (!choice.all) {
        ports = choice.listed;
        return true;
    }
    std::string message;
    if (!context.enumPorts(ports, message)) {
        context.err << message << '\n';
        return false;
    }
    if (ports.empty()) {
        context.err << "No serial port found; name the ports with --ports P1,P2,...\n";
        return false;
    }
    return true;
}

} // namespace tavisto::cli
