#pragma once

#include "link/Bytes.h"

#include <cstdint>
#include <map>
#include <string>

namespace tavisto::sim {

// The display's flash: images stored by address (addressed models), files stored by
// name (named models) and the last firmware image taken in.
struct Storage {
    std::map<std::uint32_t, Bytes> flash;
    std::map<std::string, Bytes> files;
    Bytes firmware;
    // Counts the changes, so that a keeper of copies can tell when to look.
    std::uint64_t revision = 0;

    void format() {
        flash.clear();
        files.clear();
        ++revision;
    }
};

} // namespace tavisto::sim
