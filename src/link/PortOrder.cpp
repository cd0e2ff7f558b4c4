#include "link/Connection.h"

#include <algorithm>
#include <cctype>

namespace tavisto {

// Port lists are shown in one order on every system: by name, ignoring case.
void SortPortNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    });
}

bool ListSortedPorts(std::vector<std::string> found, std::vector<std::string>& list,
                     std::string& message) {
    SortPortNames(found);
    list = std::move(found);
    message = "OK";
    return true;
}

} // namespace tavisto
