// Arbitrary bytes from the host into the virtual display's frame parser. The first
// byte sets the mode (transfer frames expected or not, how fast the bytes come);
// frames that announce data make the parser expect some, as the display does. Every
// frame must be well-formed, and a long silence must leave the parser idle.
#include "sim/device/FrameParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace tavisto::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    FrameParser parser;
    parser.setTransferFrames((data[0] & 1) != 0);
    // Milliseconds between bytes: 0 (one burst), 1, 5 or 25 (idle gap after every byte).
    constexpr int kGaps[] = {0, 1, 5, 25};
    const Millis gap{kGaps[(data[0] >> 1) & 3]};

    SteadyTime now{};
    const FrameParser::Sink sink = [&](Frame&& frame) {
        if (frame.type == FrameType::Rejected && frame.reason.empty())
            std::abort();
        if (frame.type != FrameType::RawData && frame.type != FrameType::Rejected &&
            frame.bytes.empty())
            std::abort();
        switch (frame.type) {
        case FrameType::MakeFile:
        case FrameType::TransferSetup:
        case FrameType::QrImageStart:
        case FrameType::TransferFrame:
            parser.expectData(frame.bytes.size() % 40);
            break;
        default:
            break;
        }
    };

    for (std::size_t i = 1; i < size; ++i) {
        parser.feed(data[i], now, sink);
        now += gap;
        if (const auto deadline = parser.deadline(); deadline && *deadline <= now)
            parser.idle(now, sink);
    }

    // Silence: whatever is pending ends or is dropped.
    for (int round = 0; round < 4 && parser.busy(); ++round) {
        now += FrameParser::kDataTimeout;
        parser.idle(now, sink);
    }
    if (parser.busy())
        std::abort();
    return 0;
}
