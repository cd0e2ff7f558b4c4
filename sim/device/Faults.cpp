#include "sim/device/Faults.h"

namespace tavisto::sim {

std::vector<ReplyPiece> shapeReply(const Bytes& reply, const Faults& faults) {
    Bytes whole = faults.garbage + reply + faults.trailer;
    if (faults.splitAt == 0 || faults.splitAt >= whole.size())
        return {ReplyPiece{std::move(whole), faults.replyDelay}};
    return {ReplyPiece{whole.substr(0, faults.splitAt), faults.replyDelay},
            ReplyPiece{whole.substr(faults.splitAt), faults.splitPause}};
}

Bytes distortEcho(Bytes echo, const Faults& faults) {
    if (echo.empty())
        return echo;
    const bool named = !faults.wrongEchoTo.empty() && echo.starts_with(faults.wrongEchoTo);
    if (faults.wrongEcho || named)
        echo.back() = static_cast<char>(echo.back() ^ 0x01);
    if (faults.shortEcho)
        echo.pop_back();
    return echo;
}

} // namespace tavisto::sim
