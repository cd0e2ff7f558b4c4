#include "sim/device/Transfer.h"

#include "sim/device/Checksum.h"

#include <charconv>

namespace tavisto::sim {

namespace {

std::uint32_t bigEndian32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint16_t bigEndian16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[at]) << 8) |
                                      static_cast<unsigned char>(bytes[at + 1]));
}

void appendBigEndian(Bytes& out, std::uint32_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

// A display frame: the 12-byte header with a four-byte payload.
Bytes displayFrame(char kind, std::uint32_t payload) {
    Bytes frame = "ACT=";
    frame += kind;
    frame += ",L=004,";
    appendBigEndian(frame, payload, 4);
    return frame;
}

bool parseDecimal(std::string_view text, std::uint32_t& value) {
    if (text.empty() || text.size() > 10)
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

bool BlockTransfer::setUp(std::uint32_t address, std::uint32_t length) {
    if (length > kMaxLength) {
        state_ = State::Idle;
        return false;
    }
    state_ = State::SetUp;
    firmware_ = false;
    address_ = address;
    length_ = length;
    return true;
}

void BlockTransfer::start(SteadyTime now, const Faults& faults, std::vector<Reply>& out) {
    begin(now, faults, out);
}

void BlockTransfer::begin(SteadyTime now, const Faults& faults, std::vector<Reply>& out) {
    state_ = State::Receiving;
    next_ = 0;
    repeats_ = 0;
    blocksTaken_ = 0;
    dropDone_ = false;
    repeatDone_ = false;
    corruptDone_ = false;
    data_.clear();
    data_.reserve(length_);
    if (blockCount() == 0)
        finish(faults, out);
    else
        request(now, faults, out);
}

std::uint32_t BlockTransfer::blockCount() const {
    return static_cast<std::uint32_t>((length_ + kBlockSize - 1) / kBlockSize);
}

void BlockTransfer::request(SteadyTime now, const Faults& faults, std::vector<Reply>& out) {
    requestedAt_ = now;
    Bytes frame = faults.transferGarbage + displayFrame('0', next_);
    if (static_cast<int>(next_) == faults.repeatRequest && !repeatDone_) {
        repeatDone_ = true;
        frame += frame;
    }
    out.push_back({std::move(frame), ReplyKind::Transfer});
}

void BlockTransfer::finish(const Faults& faults, std::vector<Reply>& out) {
    std::uint16_t crc = crc16(data_);
    if (firmware_) {
        if (crc != announcedCrc_)
            journal_.add(LogKind::Note, {}, "firmware CRC differs from the announced one");
        storage_.firmware = data_;
        journal_.add(LogKind::Note, {}, "firmware stored, " + std::to_string(length_) + " bytes");
    } else {
        storage_.flash[address_] = data_;
        journal_.add(
            LogKind::Note, {},
            "stored " + std::to_string(length_) + " bytes at 0x" +
                hexOf(Bytes{static_cast<char>(address_ >> 24), static_cast<char>(address_ >> 16),
                            static_cast<char>(address_ >> 8), static_cast<char>(address_)}));
    }
    ++storage_.revision;
    if (faults.wrongFileCrc)
        crc = static_cast<std::uint16_t>(crc + 1);
    out.push_back({faults.transferGarbage + displayFrame('9', crc), ReplyKind::Transfer});
    state_ = State::Idle;
    data_.clear();
    data_.shrink_to_fit();
}

void BlockTransfer::onFrame(const Frame& frame, SteadyTime now, const Faults& faults,
                            std::vector<Reply>& out) {
    if (frame.bytes[4] == '1' && state_ == State::AwaitingAnnounce)
        onAnnounce(frame, now, faults, out);
    else if (frame.bytes[4] == '0' && state_ == State::Receiving)
        onBlock(frame, now, faults, out);
    else
        journal_.add(LogKind::Rejected, frame.bytes, "transfer frame out of turn");
}

void BlockTransfer::onAnnounce(const Frame& frame, SteadyTime now, const Faults& faults,
                               std::vector<Reply>& out) {
    const Bytes& f = frame.bytes;
    if (f.compare(0, 12, "ACT=1,L=002,") != 0 ||
        crc16(std::string_view(f).substr(0, 18)) != bigEndian16(f, 18)) {
        journal_.add(LogKind::Rejected, f, "firmware announce with a bad header or CRC");
        return;
    }
    const std::uint32_t length = bigEndian32(f, 12);
    if (length > kMaxLength) {
        journal_.add(LogKind::Rejected, f, "firmware announce too long");
        return;
    }
    journal_.add(LogKind::Received, f, "firmware announce, " + std::to_string(length) + " bytes");
    firmware_ = true;
    address_ = 0;
    length_ = length;
    announcedCrc_ = bigEndian16(f, 16);
    begin(now, faults, out);
    firmware_ = true;
}

void BlockTransfer::onBlock(const Frame& frame, SteadyTime now, const Faults& faults,
                            std::vector<Reply>& out) {
    const std::uint32_t number = bigEndian32(frame.bytes, 12);
    Bytes damaged;
    if (static_cast<int>(number) == faults.corruptBlock && !corruptDone_) {
        // Noise on the line: one data bit flipped, for the block's CRC to catch.
        corruptDone_ = true;
        damaged = frame.bytes;
        damaged[16] = static_cast<char>(damaged[16] ^ 0x04);
        journal_.add(LogKind::Note, {}, "block " + std::to_string(number) + " damaged (fault)");
    }
    const Bytes& f = damaged.empty() ? frame.bytes : damaged;
    if (f.compare(0, 12, "ACT=0,L=100,") != 0) {
        journal_.add(LogKind::Rejected, f, "block with a bad header");
        request(now, faults, out);
        return;
    }
    if (crc16(std::string_view(f).substr(0, 272)) != bigEndian16(f, 272)) {
        journal_.add(LogKind::Rejected, f, "block " + std::to_string(number) + " with a bad CRC");
        request(now, faults, out);
        return;
    }
    if (number + 1 == next_ && blocksTaken_ > 0) {
        // The answer to a request repeated while the first answer was on its way.
        journal_.add(LogKind::Dropped, f, "block " + std::to_string(number) + " again, kept once");
        return;
    }
    if (number != next_) {
        journal_.add(LogKind::Rejected, f,
                     "block " + std::to_string(number) + " while block " + std::to_string(next_) +
                         " was asked for");
        request(now, faults, out);
        return;
    }
    if (static_cast<int>(number) == faults.dropBlock && !dropDone_) {
        dropDone_ = true;
        journal_.add(LogKind::Dropped, f, "block " + std::to_string(number) + " lost (fault)");
        return;
    }
    journal_.add(LogKind::Received, f, "block " + std::to_string(number));
    const std::size_t take = std::min<std::size_t>(kBlockSize, length_ - data_.size());
    data_.append(f, 16, take);
    ++blocksTaken_;
    repeats_ = 0;
    if (static_cast<int>(number) == faults.silentAfterBlock) {
        abort("display went silent after block " + std::to_string(number) + " (fault)");
        silenced_ = true;
        return;
    }
    if (faults.hangUpAfterBlocks >= 0 && blocksTaken_ >= faults.hangUpAfterBlocks) {
        abort("display hung up after " + std::to_string(blocksTaken_) + " blocks (fault)");
        return;
    }
    if (++next_ == blockCount())
        finish(faults, out);
    else
        request(now, faults, out);
}

void BlockTransfer::tick(SteadyTime now, const Faults& faults, std::vector<Reply>& out) {
    if (state_ != State::Receiving || now - requestedAt_ < kRepeatAfter)
        return;
    if (++repeats_ > kMaxRepeats) {
        abort("no block " + std::to_string(next_) + " after " + std::to_string(kMaxRepeats) +
              " repeated requests");
        return;
    }
    journal_.add(LogKind::Note, {}, "asking again for block " + std::to_string(next_));
    request(now, faults, out);
}

std::optional<SteadyTime> BlockTransfer::deadline() const {
    if (state_ != State::Receiving)
        return std::nullopt;
    return requestedAt_ + kRepeatAfter;
}

void BlockTransfer::abort(const std::string& why) {
    if (state_ != State::Idle)
        journal_.add(LogKind::Note, {}, "transfer abandoned: " + why);
    state_ = State::Idle;
    data_.clear();
    data_.shrink_to_fit();
}

std::optional<std::uint32_t> NamedTransfer::onMakeFile(const Frame& frame, const Faults& faults,
                                                       std::vector<Reply>& out) {
    if (faults.refuseMakeFile) {
        journal_.add(LogKind::Rejected, frame.bytes, "make file refused (fault)");
        out.push_back({"ERR\r\n", ReplyKind::Transfer});
        return std::nullopt;
    }
    // name "," decimal length "," decimal CRC
    const std::string_view announcement = frame.text;
    const auto second = announcement.rfind(',');
    const auto first = second == std::string_view::npos || second == 0
                           ? std::string_view::npos
                           : announcement.rfind(',', second - 1);
    std::uint32_t length = 0;
    std::uint32_t crc = 0;
    if (first == std::string_view::npos || first == 0 ||
        !parseDecimal(announcement.substr(first + 1, second - first - 1), length) ||
        !parseDecimal(announcement.substr(second + 1), crc) || crc > 0xFFFF ||
        length > BlockTransfer::kMaxLength) {
        journal_.add(LogKind::Rejected, frame.bytes, "make file with a malformed announcement");
        return std::nullopt;
    }
    name_ = std::string(announcement.substr(0, first));
    announcedCrc_ = static_cast<std::uint16_t>(crc);
    active_ = true;
    journal_.add(LogKind::Received, frame.bytes,
                 "make file " + name_ + ", " + std::to_string(length) + " bytes");
    out.push_back({"OK\r\n", ReplyKind::Transfer});
    return length;
}

void NamedTransfer::onData(Bytes data, const Faults& faults, std::vector<Reply>& out) {
    active_ = false;
    std::uint16_t crc = crc16(data);
    journal_.add(LogKind::Received, data.substr(0, 64),
                 "file " + name_ + ", " + std::to_string(data.size()) + " bytes");
    if (crc != announcedCrc_)
        journal_.add(LogKind::Note, {}, "file CRC differs from the announced one");
    if (name_ == "firmware.bin")
        storage_.firmware = data;
    storage_.files[name_] = std::move(data);
    ++storage_.revision;
    if (faults.wrongFileCrc)
        crc = static_cast<std::uint16_t>(crc + 1);
    out.push_back({std::to_string(crc) + "\n", ReplyKind::Transfer});
}

} // namespace tavisto::sim
