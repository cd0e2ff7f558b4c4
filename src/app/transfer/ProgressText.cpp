#include "app/transfer/ProgressText.h"

#include <array>
#include <charconv>

namespace tavisto {

namespace {

// One decimal, always with a point: the text must not follow the process locale.
std::string oneDecimal(double value) {
    std::array<char, 32> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 1);
    return std::string(text.data(), result.ptr);
}

bool rateKnown(const TTransferStatus& status) {
    return status.running && status.bytesPerSecond > 0;
}

} // namespace

std::string RateText(const TTransferStatus& status) {
    if (!rateKnown(status))
        return {};
    constexpr double kKilo = 1024;
    const double rate = status.bytesPerSecond;
    if (rate < kKilo)
        return std::to_string(static_cast<int>(rate)) + " B/s";
    if (rate < kKilo * kKilo)
        return oneDecimal(rate / kKilo) + " KB/s";
    return oneDecimal(rate / (kKilo * kKilo)) + " MB/s";
}

std::string TimeLeftText(const TTransferStatus& status) {
    const int left = status.queueSecondsLeft >= 0 ? status.queueSecondsLeft : status.secondsLeft;
    if (!rateKnown(status) || left < 0 || status.notAnswering)
        return {};
    const int seconds = left % 60;
    return std::to_string(left / 60) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds) +
           " left";
}

} // namespace tavisto

namespace tavisto {

std::string NotAnsweringText(const TTransferStatus& status) {
    if (!status.running || !status.notAnswering)
        return {};
    return "the display is not answering (" + std::to_string(status.quietSeconds) + " s)";
}

std::string RateAndProgressText(const TTransferStatus& status) {
    std::string text = RateText(status);
    for (const std::string& part : {TimeLeftText(status), NotAnsweringText(status)})
        if (!part.empty())
            text += (text.empty() ? "" : ", ") + part;
    return text;
}

} // namespace tavisto
