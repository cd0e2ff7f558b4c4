#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tavisto {

// One traced line and the wall-clock time it was traced at.
struct TraceEntry {
    std::chrono::system_clock::time_point time;
    std::string line;
};

// Where protocol trace lines go ("----> 02071601", "<---- 4B54..."): one sink that
// gets the lines exactly as traced (standard error, say), and any number of
// observers that also get the time (the trace window, a trace file). Empty lines are
// dropped. Safe to call from the transfer worker threads: sink and observers are
// called one line at a time, in the order the lines were traced, from the thread
// that traced them.
class Trace {
public:
    using Sink = std::function<void(const std::string& line)>;
    using Observer = std::function<void(const TraceEntry& entry)>;

    // Keeps an observer registered while it lives. Once it is gone (or reset), the
    // observer is not called again and no call of it is still running. It must not
    // outlive the trace it came from.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept { *this = std::move(other); }
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription() { reset(); }
        void reset();

    private:
        friend class Trace;
        Subscription(Trace* trace, int id) : trace_(trace), id_(id) {}
        Trace* trace_ = nullptr;
        int id_ = 0;
    };

    void setSink(Sink sink);
    [[nodiscard]] Subscription subscribe(Observer observer);
    // Whether anyone reads the lines, so that long frames are spelt out only then.
    bool enabled() const;
    void TraceLine(const std::string& text);

    static Sink toStandardError();

private:
    void unsubscribe(int id);

    mutable std::mutex mutex_;
    Sink sink_;
    std::vector<std::pair<int, Observer>> observers_;
    int lastId_ = 0;
};

} // namespace tavisto
