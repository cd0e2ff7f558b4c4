#pragma once

#include "sim/device/Frame.h"
#include "sim/device/Time.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace tavisto::sim {

// Splits the byte stream from the host into frames, as the display's firmware does:
// byte by byte, whatever pieces the bytes arrive in. Frames whose end is not marked
// (main text, digits, text runs) end when the line goes idle. A byte that cannot
// continue the frame in progress ends it as rejected; if that byte can begin a frame
// it is examined again as the start of the next one.
class FrameParser {
public:
    using Sink = std::function<void(Frame&&)>;

    static constexpr Millis kIdleGap{20};       // ends frames without an end mark
    static constexpr Millis kFrameTimeout{200}; // drops an unfinished frame
    static constexpr Millis kDataTimeout{2000}; // drops unfinished data
    static constexpr std::size_t kMaxTextRun = 256;
    static constexpr std::size_t kMaxTerminatedText = 256;
    static constexpr std::size_t kMainTextLength = 80;

    // Takes one byte received at the given time; complete frames go to the sink,
    // which may change the mode (expectData, setTransferFrames) before the next byte.
    void feed(unsigned char byte, SteadyTime at, const Sink& sink);

    // Ends or drops the frame in progress when the line has been idle long enough.
    void idle(SteadyTime now, const Sink& sink);

    // When idle() has something to do next, if anything is pending.
    std::optional<SteadyTime> deadline() const;

    // The next count bytes are data, handed over as one RawData frame.
    void expectData(std::size_t count);

    // Whether frames beginning "ACT=" are expected (during a block transfer).
    void setTransferFrames(bool on) { transferFrames_ = on; }

    // Forgets the frame in progress and any expected data.
    void reset();

    bool busy() const { return !pending_.empty() || dataLeft_ > 0; }

private:
    enum class Verdict { NeedMore, Complete, CompleteAtIdle, CompleteBefore, Malformed };
    struct Judgement {
        Verdict verdict;
        FrameType type = FrameType::Rejected;
        const char* reason = "";
    };

    Judgement judge() const;
    Judgement judgeVendor() const;
    Judgement judgePos() const;
    Judgement judgeSession() const;
    Judgement judgeTransfer() const;
    void deliver(FrameType type, std::size_t length, const Sink& sink);
    void reject(std::size_t length, const char* reason, const Sink& sink);
    void feedData(unsigned char byte, SteadyTime at, const Sink& sink);

    Bytes pending_;
    SteadyTime last_{};
    bool transferFrames_ = false;
    std::size_t dataLeft_ = 0;
    Bytes data_;
};

} // namespace tavisto::sim
