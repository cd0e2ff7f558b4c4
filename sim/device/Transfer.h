#pragma once

#include "sim/device/Faults.h"
#include "sim/device/Frame.h"
#include "sim/device/Journal.h"
#include "sim/device/Storage.h"
#include "sim/device/Time.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tavisto::sim {

// The display's side of the block transfer: after a setup frame and the download
// start (or a firmware wake-up and announce) the display asks for 256-byte blocks by
// number, checks each block's CRC, asks again for a block that does not come or comes
// damaged, and ends with a finished frame carrying the CRC of what it stored.
class BlockTransfer {
public:
    static constexpr Millis kRepeatAfter{1000};
    static constexpr int kMaxRepeats = 3;
    static constexpr std::uint32_t kMaxLength = 32u * 1024 * 1024;
    static constexpr std::size_t kBlockSize = 256;

    BlockTransfer(Journal& journal, Storage& storage) : journal_(journal), storage_(storage) {}

    // A setup frame: the next file goes to this address. False when refused.
    bool setUp(std::uint32_t address, std::uint32_t length);
    bool isSetUp() const { return state_ == State::SetUp; }

    // The download start: begins asking for the blocks of the file set up.
    void start(SteadyTime now, const Faults& faults, std::vector<Reply>& out);

    // The firmware wake-up: from now on a firmware announce is expected.
    void awaitAnnounce() { state_ = State::AwaitingAnnounce; }

    // A frame beginning "ACT=": an announce or a block.
    void onFrame(const Frame& frame, SteadyTime now, const Faults& faults, std::vector<Reply>& out);

    // Asks again for a block that did not come.
    void tick(SteadyTime now, const Faults& faults, std::vector<Reply>& out);
    std::optional<SteadyTime> deadline() const;

    // Whether frames beginning "ACT=" are expected.
    bool expectsFrames() const {
        return state_ == State::Receiving || state_ == State::AwaitingAnnounce;
    }

    void abort(const std::string& why);

    // Whether the display has gone silent by a fault since the last call.
    bool takeSilenced() { return std::exchange(silenced_, false); }

private:
    enum class State { Idle, SetUp, AwaitingAnnounce, Receiving };

    void begin(SteadyTime now, const Faults& faults, std::vector<Reply>& out);
    void onAnnounce(const Frame& frame, SteadyTime now, const Faults& faults,
                    std::vector<Reply>& out);
    void onBlock(const Frame& frame, SteadyTime now, const Faults& faults, std::vector<Reply>& out);
    void request(SteadyTime now, const Faults& faults, std::vector<Reply>& out);
    void finish(const Faults& faults, std::vector<Reply>& out);
    std::uint32_t blockCount() const;

    Journal& journal_;
    Storage& storage_;
    State state_ = State::Idle;
    bool firmware_ = false;
    std::uint32_t address_ = 0;
    std::uint32_t length_ = 0;
    std::uint16_t announcedCrc_ = 0;
    std::uint32_t next_ = 0;
    int repeats_ = 0;
    int blocksTaken_ = 0;
    bool dropDone_ = false;
    bool repeatDone_ = false;
    bool corruptDone_ = false;
    bool silenced_ = false;
    SteadyTime requestedAt_{};
    Bytes data_;
};

// The display's side of the named transfer: a make-file frame announces name,
// length and CRC; the display answers "OK\r\n", takes that many raw bytes and
// answers the CRC it computed as decimal text and a line feed.
class NamedTransfer {
public:
    NamedTransfer(Journal& journal, Storage& storage) : journal_(journal), storage_(storage) {}

    // A make-file frame. Returns the number of data bytes to take when accepted.
    std::optional<std::uint32_t> onMakeFile(const Frame& frame, const Faults& faults,
                                            std::vector<Reply>& out);
    // The file's bytes.
    void onData(Bytes data, const Faults& faults, std::vector<Reply>& out);
    bool expectsData() const { return active_; }
    void abort() { active_ = false; }

private:
    Journal& journal_;
    Storage& storage_;
    bool active_ = false;
    std::string name_;
    std::uint16_t announcedCrc_ = 0;
};

} // namespace tavisto::sim
