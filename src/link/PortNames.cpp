#include "link/Connection.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace tavisto {

namespace {

namespace fs = std::filesystem;

constexpr const char* kListError = "Error opening registry key for serial port list";

std::string readAttribute(const fs::path& path) {
    std::ifstream in(path);
    std::string value;
    std::getline(in, value);
    return value;
}

// A tty is a serial port when a driver backs it. On-board 8250 UARTs are
// registered whether or not the hardware exists; their "type" is 0 when it does not.
bool isSerialDevice(const fs::path& ttyDir) {
    std::error_code ec;
    const fs::path driver = ttyDir / "device" / "driver";
    if (!fs::exists(driver, ec))
        return false;
    const std::string driverName = fs::read_symlink(driver, ec).filename().string();
    if (driverName == "serial8250" || driverName.starts_with("serial8250")) {
        const std::string type = readAttribute(ttyDir / "type");
        return !type.empty() && type != "0";
    }
    return true;
}

} // namespace

bool EnumPortsIn(const std::string& ttyClassFolder, std::vector<std::string>& list,
                 std::string& message) {
    // The error-code forms throughout: a listing that fails at the start or part-way
    // (a device unplugged while the folder is read) is a failed listing, not an
    // exception that would take the window down.
    std::error_code ec;
    std::vector<std::string> found;
    for (fs::directory_iterator it(ttyClassFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isSerialDevice(it->path()))
            found.push_back("/dev/" + it->path().filename().string());
    }
    if (ec) {
        message = kListError;
        return false;
    }
    return ListSortedPorts(std::move(found), list, message);
}

bool EnumPorts(std::vector<std::string>& list, std::string& message) {
    return EnumPortsIn("/sys/class/tty", list, message);
}

} // namespace tavisto
