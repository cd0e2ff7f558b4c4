#include "sim/screen/ScreenOptions.h"

#include <charconv>

namespace tavisto::sim {

namespace {

constexpr int kLongestPause = 60'000;

} // namespace

bool takeScreenOptions(std::vector<std::string>& args, ScreenOptions& out, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--screen" && arg != "--screen-every") {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--screen") {
            if (value.empty()) {
                error = "--screen needs a file name";
                return false;
            }
            out.file = value;
            continue;
        }
        int ms = 0;
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), ms);
        if (ec != std::errc() || end != value.data() + value.size() || ms < 1 ||
            ms > kLongestPause) {
            error = "invalid value for --screen-every: " + value + " (1 to 60000 ms)";
            return false;
        }
        out.everyMs = ms;
    }
    args = std::move(rest);
    return true;
}

std::string screenUsageText() {
    return "Screen:\n"
           "  --screen FILE.png     keep a picture of the display's screen in FILE.png,\n"
           "                        rewritten (atomically) whenever the screen changes\n"
           "  --screen-every MS     rewrite it at most every MS milliseconds (default 200)\n";
}

} // namespace tavisto::sim
