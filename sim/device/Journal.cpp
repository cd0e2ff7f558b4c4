#include "sim/device/Journal.h"

#include <cstdio>

namespace tavisto::sim {

void Journal::add(LogKind kind, Bytes bytes, std::string text) {
    if (entries_.size() == kCapacity)
        entries_.pop_front();
    entries_.push_back({std::chrono::steady_clock::now(), kind, std::move(bytes), std::move(text)});
    ++counts_[static_cast<std::size_t>(kind)];
    if (sink_)
        sink_(entries_.back());
}

void Journal::clear() {
    entries_.clear();
    counts_.fill(0);
}

std::vector<Bytes> Journal::bytesOf(LogKind kind) const {
    std::vector<Bytes> out;
    for (const LogEntry& e : entries_) {
        if (e.kind == kind)
            out.push_back(e.bytes);
    }
    return out;
}

std::string hexOf(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 0x0F];
    }
    return out;
}

std::string formatEntry(const LogEntry& entry, SteadyTime start) {
    static constexpr const char* kTags[] = {"recv", "bad ", "send", "drop", "note"};
    const auto ms = std::chrono::duration_cast<Millis>(entry.time - start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8lld.%03lld ", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000));
    std::string line = stamp;
    line += kTags[static_cast<std::size_t>(entry.kind)];
    line += ' ';
    if (!entry.bytes.empty()) {
        constexpr std::size_t kShown = 64;
        line += hexOf(entry.bytes.substr(0, kShown));
        if (entry.bytes.size() > kShown)
            line += "... (" + std::to_string(entry.bytes.size()) + " bytes)";
        line += "  ";
    }
    line += entry.text;
    return line;
}

} // namespace tavisto::sim
