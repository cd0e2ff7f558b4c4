#pragma once

#include "link/Bytes.h"
#include "sim/device/Time.h"

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tavisto::sim {

enum class LogKind {
    Received, // a frame the display understood
    Rejected, // a frame it could not understand or does not accept
    Answered, // bytes it put on the line
    Dropped,  // bytes lost: line speeds differ, nobody listening, or withheld by a fault
    Note,     // anything else worth knowing (speed changes, restarts, transfers)
};
inline constexpr std::size_t kLogKindCount = 5;

struct LogEntry {
    SteadyTime time;
    LogKind kind;
    Bytes bytes;      // the frame or reply (data frames only in part)
    std::string text; // what it was, or why it was rejected or dropped
};

// Everything the display received and answered. Not synchronised: the virtual
// display guards it with its own lock.
class Journal {
public:
    using Sink = std::function<void(const LogEntry&)>;

    static constexpr std::size_t kCapacity = 100000;

    void add(LogKind kind, Bytes bytes, std::string text);
    void clear();
    void setSink(Sink sink) { sink_ = std::move(sink); }

    const std::deque<LogEntry>& entries() const { return entries_; }
    std::vector<Bytes> bytesOf(LogKind kind) const;
    // Entries of a kind since the last clear (also those that no longer fit).
    std::size_t count(LogKind kind) const { return counts_[static_cast<std::size_t>(kind)]; }

private:
    std::deque<LogEntry> entries_;
    std::array<std::size_t, kLogKindCount> counts_{};
    Sink sink_;
};

// Upper-case hex, no separators.
std::string hexOf(const Bytes& bytes);

// One line of the verbose log: time since start, direction, hex and text.
std::string formatEntry(const LogEntry& entry, SteadyTime start);

} // namespace tavisto::sim
