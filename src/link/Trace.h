#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace tavisto {

// Where protocol trace lines go ("----> 02071601", "<---- 4B54...").
// Empty lines are dropped. Safe to call from the transfer worker threads.
class Trace {
public:
    using Sink = std::function<void(const std::string& line)>;

    void setSink(Sink sink);
    bool enabled() const;
    void TraceLine(const std::string& text);

    // Sinks for the usual destinations.
    static Sink toStandardError();
    static Sink toFile(const std::string& path);

private:
    mutable std::mutex mutex_;
    Sink sink_;
};

} // namespace tavisto
