#pragma once

#include "link/Trace.h"

#include <fstream>
#include <memory>
#include <string>

namespace tavisto {

// Appends the readable trace lines (ReadableTraceLine) to a text file while it lives.
// Each line is flushed as it is written, so the file keeps what was traced even when
// the program is stopped part-way.
class TraceFile {
public:
    // Opens (or creates) the file for appending and starts taking `trace`'s lines.
    // Null when the file cannot be opened; `message` then names the file and says why.
    static std::unique_ptr<TraceFile> Open(const std::string& path, Trace& trace,
                                           std::string& message);

    // Stops taking lines and tells whether every line reached the file; when not,
    // `message` names the file and says why.
    bool Finish(std::string& message);

private:
    TraceFile(std::string path, std::ofstream stream);

    std::string path_;
    std::ofstream stream_;
    int writeError_ = 0; // errno of the first failed write, kept by the tracing thread
    Trace::Subscription subscription_;
};

} // namespace tavisto
