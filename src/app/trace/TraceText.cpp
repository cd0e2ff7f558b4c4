#include "app/trace/TraceText.h"

#include "protocol/Hex.h"

#include <cstdio>
#include <ctime>

namespace tavisto {

namespace {

std::string timeOfDay(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(
        time_point_cast<system_clock::duration>(floor<std::chrono::seconds>(time)));
    const auto millis = duration_cast<milliseconds>(time - floor<std::chrono::seconds>(time));
    std::tm local{};
#ifdef _WIN32
    ::localtime_s(&local, &seconds);
#else
    ::localtime_r(&seconds, &local);
#endif
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(millis.count()));
    return text;
}

// The bytes of a frame line, or false when the text after the direction is not hex.
bool frameBytes(const std::string& hex, Bytes& bytes) {
    if (hex.size() % 2 != 0)
        return false;
    try {
        bytes = HexToBytes(hex);
    } catch (const HexError&) {
        return false;
    }
    return true;
}

std::string spacedHex(const Bytes& bytes) {
    const std::string hex = BytesToHex(bytes);
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        if (i > 0)
            text += ' ';
        text.append(hex, i, 2);
    }
    return text;
}

std::string printable(const Bytes& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (unsigned char byte : bytes)
        text += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
    return text;
}

} // namespace

std::string ReadableTraceLine(const TraceEntry& entry) {
    static constexpr std::string_view kSent = "----> ";
    static constexpr std::string_view kReceived = "<---- ";
    const std::string time = timeOfDay(entry.time);
    const std::string_view line = entry.line;
    const bool sent = line.starts_with(kSent);
    Bytes bytes;
    if ((sent || line.starts_with(kReceived)) &&
        frameBytes(std::string(line.substr(kSent.size())), bytes)) {
        return time + (sent ? "  sent      " : "  received  ") + spacedHex(bytes) + "  |" +
               printable(bytes) + '|';
    }
    return time + "  " + entry.line;
}

} // namespace tavisto
