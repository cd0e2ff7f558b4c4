#include "sim/device/FrameParser.h"

#include "sim/emulation/PosSequences.h"

#include <cctype>

namespace tavisto::sim {

namespace {

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(unsigned char c) {
    return std::isxdigit(c) != 0;
}

// Control bytes that begin a frame of their own: after a broken frame they are read
// again as the start of the next one instead of being thrown away with it.
bool startsFrame(unsigned char c) {
    switch (c) {
    case 0x02:
    case 0x07:
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x18:
    case 0x1B:
    case 0x1F:
        return true;
    default:
        return false;
    }
}

// Where the text parameter of a frame starts and whether a terminator ends it.
struct TextLayout {
    std::size_t start;
    bool terminated;
};

std::optional<TextLayout> textLayout(FrameType type) {
    switch (type) {
    case FrameType::Text:
        return TextLayout{0, false};
    case FrameType::CommandMode:
    case FrameType::BaudCode:
        return TextLayout{2, false};
    case FrameType::MainText:
        return TextLayout{3, false};
    case FrameType::WelcomeLine1:
    case FrameType::WelcomeLine2:
    case FrameType::MakeFile:
        return TextLayout{4, true};
    case FrameType::QrCode:
    case FrameType::QrCodeAt:
        return TextLayout{5, true};
    default:
        return std::nullopt;
    }
}

} // namespace

void FrameParser::feed(unsigned char byte, SteadyTime at, const Sink& sink) {
    last_ = at;
    if (dataLeft_ > 0) {
        feedData(byte, at, sink);
        return;
    }
    pending_.push_back(static_cast<char>(byte));
    for (;;) {
        Judgement j = judge();
        switch (j.verdict) {
        case Verdict::NeedMore:
        case Verdict::CompleteAtIdle:
            return;
        case Verdict::Complete:
            deliver(j.type, pending_.size(), sink);
            return;
        case Verdict::CompleteBefore:
            deliver(j.type, pending_.size() - 1, sink);
            break;
        case Verdict::Malformed:
            if (pending_.size() > 1 && startsFrame(static_cast<unsigned char>(pending_.back()))) {
                reject(pending_.size() - 1, j.reason, sink);
                break;
            }
            reject(pending_.size(), j.reason, sink);
            return;
        }
        // The last byte is examined again, unless the frame just handled switched
        // the parser to data.
        if (dataLeft_ > 0) {
            Bytes rest;
            rest.swap(pending_);
            for (unsigned char c : rest)
                feedData(c, at, sink);
            return;
        }
    }
}

void FrameParser::feedData(unsigned char byte, SteadyTime, const Sink& sink) {
    data_.push_back(static_cast<char>(byte));
    if (--dataLeft_ == 0) {
        Frame frame;
        frame.type = FrameType::RawData;
        frame.text.swap(data_);
        sink(std::move(frame));
    }
}

void FrameParser::idle(SteadyTime now, const Sink& sink) {
    const auto quiet = now - last_;
    if (dataLeft_ > 0) {
        if (quiet >= kDataTimeout) {
            Frame frame;
            frame.type = FrameType::Rejected;
            frame.reason = "data stopped after " + std::to_string(data_.size()) + " of " +
                           std::to_string(data_.size() + dataLeft_) + " bytes";
            frame.bytes = data_.substr(0, 64);
            data_.clear();
            dataLeft_ = 0;
            sink(std::move(frame));
        }
        return;
    }
    if (pending_.empty())
        return;
    if (quiet >= kIdleGap) {
        Judgement j = judge();
        if (j.verdict == Verdict::CompleteAtIdle) {
            deliver(j.type, pending_.size(), sink);
            return;
        }
    }
    if (quiet >= kFrameTimeout)
        reject(pending_.size(), "incomplete frame", sink);
}

std::optional<SteadyTime> FrameParser::deadline() const {
    if (dataLeft_ > 0)
        return last_ + kDataTimeout;
    if (pending_.empty())
        return std::nullopt;
    return last_ + (judge().verdict == Verdict::CompleteAtIdle ? kIdleGap : kFrameTimeout);
}

void FrameParser::expectData(std::size_t count) {
    dataLeft_ = count;
    data_.clear();
    data_.reserve(count);
}

void FrameParser::reset() {
    pending_.clear();
    data_.clear();
    dataLeft_ = 0;
    transferFrames_ = false;
}

void FrameParser::deliver(FrameType type, std::size_t length, const Sink& sink) {
    Frame frame;
    frame.type = type;
    frame.bytes = pending_.substr(0, length);
    pending_.erase(0, length);
    if (auto layout = textLayout(type)) {
        std::size_t end = frame.bytes.size() - (layout->terminated ? 1 : 0);
        frame.text = frame.bytes.substr(layout->start, end - layout->start);
    }
    sink(std::move(frame));
}

void FrameParser::reject(std::size_t length, const char* reason, const Sink& sink) {
    Frame frame;
    frame.type = FrameType::Rejected;
    frame.bytes = pending_.substr(0, length);
    frame.reason = reason;
    pending_.erase(0, length);
    sink(std::move(frame));
}

// Judges the bytes in progress. Every byte but the last has passed before, so only
// the last one needs checking.
FrameParser::Judgement FrameParser::judge() const {
    const std::size_t n = pending_.size();
    const auto first = static_cast<unsigned char>(pending_[0]);
    const auto last = static_cast<unsigned char>(pending_.back());
    auto fixed = [n](std::size_t total, FrameType type) {
        return n < total ? Judgement{Verdict::NeedMore} : Judgement{Verdict::Complete, type};
    };

    if (first == 'A' && transferFrames_)
        return judgeTransfer();
    if (first >= 0x20) {
        if (last < 0x20)
            return {Verdict::CompleteBefore, FrameType::Text};
        if (n >= kMaxTextRun)
            return {Verdict::Complete, FrameType::Text};
        return {Verdict::CompleteAtIdle, FrameType::Text};
    }
    switch (first) {
    case 0x02:
        return judgeVendor();
    case 0x0C:
        return {Verdict::Complete, FrameType::ClearDisplay};
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0D:
        return {Verdict::Complete, FrameType::Control};
    case 0x07:
        if (last != 0x07)
            return {Verdict::Malformed, FrameType::Rejected, "broken wake-up"};
        return fixed(4, FrameType::FirmwareWakeUp);
    case 0x1F:
        if (n == 1)
            return {Verdict::NeedMore};
        if (pending_[1] == 0x24)
            return fixed(4, FrameType::CursorTo);
        if (pending_[1] == 0x58)
            return fixed(3, FrameType::Brightness);
        return judgePos();
    case 0x1B:
        if (n == 1)
            return {Verdict::NeedMore};
        if (pending_[1] == 0x74)
            return fixed(3, FrameType::EscCodePage);
        if (pending_[1] == 0x52)
            return fixed(3, FrameType::EscInterChar);
        return judgePos();
    case 0x18:
        return judgePos();
    default:
        return {Verdict::Malformed, FrameType::Rejected, "unknown control byte"};
    }
}

// The sequences of the emulated command sets; which mode takes them is the display's
// business.
FrameParser::Judgement FrameParser::judgePos() const {
    const PosSequence s = judgePosSequence(pending_);
    switch (s.verdict) {
    case PosSequence::Verdict::NeedMore:
        return {Verdict::NeedMore};
    case PosSequence::Verdict::Complete:
        return {Verdict::Complete, FrameType::PosCommand};
    case PosSequence::Verdict::Malformed:
        break;
    }
    return {Verdict::Malformed, FrameType::Rejected, s.name};
}

FrameParser::Judgement FrameParser::judgeVendor() const {
    const std::size_t n = pending_.size();
    const auto last = static_cast<unsigned char>(pending_.back());
    if (n == 1)
        return {Verdict::NeedMore};
    switch (static_cast<unsigned char>(pending_[1])) {
    case 0x07:
        return judgeSession();
    case 0x05:
        return n < 3 ? Judgement{Verdict::NeedMore}
                     : Judgement{Verdict::Complete, FrameType::InterChar};
    case 0x06:
        return n < 3 ? Judgement{Verdict::NeedMore}
                     : Judgement{Verdict::Complete, FrameType::CodePage};
    case 0x10:
        return n < 10 ? Judgement{Verdict::NeedMore}
                      : Judgement{Verdict::Complete, FrameType::TransferSetup};
    case 0x1D: {
        static constexpr unsigned char kRestart[] = {0x02, 0x1D, 0xAA, 0x55};
        if (last != kRestart[n - 1])
            return {Verdict::Malformed, FrameType::Rejected, "broken restart"};
        return n < 4 ? Judgement{Verdict::NeedMore}
                     : Judgement{Verdict::Complete, FrameType::Restart};
    }
    case 0x43:
    case 0x42: {
        const FrameType type = pending_[1] == 0x43 ? FrameType::CommandMode : FrameType::BaudCode;
        if (n == 2)
            return {Verdict::NeedMore};
        if (!isDigit(last)) {
            if (n == 3)
                return {Verdict::Malformed, FrameType::Rejected, "number without digits"};
            return {Verdict::CompleteBefore, type};
        }
        return n == 5 ? Judgement{Verdict::Complete, type}
                      : Judgement{Verdict::CompleteAtIdle, type};
    }
    default:
        return {Verdict::Malformed, FrameType::Rejected, "unknown 02 sequence"};
    }
}

FrameParser::Judgement FrameParser::judgeSession() const {
    const std::size_t n = pending_.size();
    const auto last = static_cast<unsigned char>(pending_.back());
    if (n == 2)
        return {Verdict::NeedMore};
    auto fixed = [n](std::size_t total, FrameType type) {
        return n < total ? Judgement{Verdict::NeedMore} : Judgement{Verdict::Complete, type};
    };
    auto terminated = [n, last](std::size_t start, unsigned char end, FrameType type) {
        if (n > start && last == end)
            return Judgement{Verdict::Complete, type};
        if (n > start + kMaxTerminatedText)
            return Judgement{Verdict::Malformed, FrameType::Rejected, "text without terminator"};
        return Judgement{Verdict::NeedMore};
    };
    auto pattern = [n, last](unsigned char expected, std::size_t total, FrameType type,
                             const char* reason) {
        if (last != expected)
            return Judgement{Verdict::Malformed, FrameType::Rejected, reason};
        return n < total ? Judgement{Verdict::NeedMore} : Judgement{Verdict::Complete, type};
    };

    const auto code = static_cast<unsigned char>(pending_[2]);
    switch (code) {
    case 0x04:
        return fixed(7, FrameType::LinkBaudRate);
    case 0x05:
        if (n == 3)
            return {Verdict::NeedMore};
        if (pending_[3] == 0x00)
            return {Verdict::Complete, FrameType::FormatStorage};
        if (pending_[3] == 0x01)
            return terminated(4, 0x0A, FrameType::MakeFile);
        return {Verdict::Malformed, FrameType::Rejected, "unknown storage command"};
    case 0x09:
    case 0x0A:
        return {Verdict::Complete, FrameType::HeaderMode};
    case 0x0B:
    case 0x0E:
    case 0x10:
        return fixed(6, FrameType::TextColor);
    case 0x0C:
    case 0x0F:
    case 0x11:
        return fixed(6, FrameType::BackgroundColor);
    case 0x14:
        return fixed(4, FrameType::MainTextLines);
    case 0x15:
        return n == 3 ? Judgement{Verdict::NeedMore}
                      : pattern(0x27, 5, FrameType::FactoryReset, "broken factory reset");
    case 0x16:
        if (n == 3)
            return {Verdict::NeedMore};
        switch (static_cast<unsigned char>(pending_[3])) {
        case 0x01:
            return {Verdict::Complete, FrameType::ModelQuery};
        case 0x02:
            return {Verdict::Complete, FrameType::VersionQuery};
        case 0x05:
            return {Verdict::Complete, FrameType::ConfigQuery};
        case 0x06:
            return terminated(4, 0x00, FrameType::WelcomeLine1);
        case 0x07:
            return terminated(4, 0x00, FrameType::WelcomeLine2);
        case 0x09:
            return fixed(5, FrameType::ScrollFlags);
        default:
            return {Verdict::Malformed, FrameType::Rejected, "unknown 02 07 16 command"};
        }
    case 0x18:
        if (n == 3 + kMainTextLength)
            return {Verdict::Complete, FrameType::MainText};
        return {Verdict::CompleteAtIdle, FrameType::MainText};
    case 0x19:
        if (n == 3)
            return {Verdict::NeedMore};
        if (pending_[3] == 0x00)
            return {Verdict::Complete, FrameType::QrImageEnd};
        return fixed(5, FrameType::QrImageStart);
    case 0x1A:
        return fixed(4, FrameType::ShowPicture);
    case 0x1B:
        return fixed(4, FrameType::PlayInterval);
    case 0x1C:
        return fixed(4, FrameType::StandbyTime);
    case 0x1D:
        return terminated(5, 0x00, FrameType::QrCode);
    case 0x1E:
        return terminated(5, 0x00, FrameType::QrCodeAt);
    case 0x27:
        return pattern(0x27, 5, FrameType::DownloadStart, "broken download start");
    case 0x28:
        return fixed(5, FrameType::PictureSelection);
    default:
        return {Verdict::Malformed, FrameType::Rejected, "unknown 02 07 command"};
    }
}

// "ACT=" kind "," "L=" three hex digits "," and the rest of the frame: 274 bytes for a
// block (kind 0), 20 for a firmware announce (kind 1).
FrameParser::Judgement FrameParser::judgeTransfer() const {
    static constexpr char kShape[] = "ACT=#,L=hhh,";
    const std::size_t n = pending_.size();
    const auto last = static_cast<unsigned char>(pending_.back());
    if (n <= 12) {
        const char want = kShape[n - 1];
        bool ok = want == '#'   ? (last == '0' || last == '1')
                  : want == 'h' ? isHexDigit(last)
                                : last == static_cast<unsigned char>(want);
        if (!ok)
            return {Verdict::Malformed, FrameType::Rejected, "broken transfer frame header"};
        return {Verdict::NeedMore};
    }
    const std::size_t total = pending_[4] == '0' ? 274 : 20;
    return n < total ? Judgement{Verdict::NeedMore}
                     : Judgement{Verdict::Complete, FrameType::TransferFrame};
}

const char* frameName(FrameType type) {
    switch (type) {
    case FrameType::Text:
        return "text";
    case FrameType::Control:
        return "cursor control";
    case FrameType::ClearDisplay:
        return "clear display";
    case FrameType::CursorTo:
        return "cursor position";
    case FrameType::Brightness:
        return "brightness";
    case FrameType::EscCodePage:
        return "code page (ESC t)";
    case FrameType::EscInterChar:
        return "character set (ESC R)";
    case FrameType::PosCommand:
        return "POS command";
    case FrameType::InterChar:
        return "character set";
    case FrameType::CodePage:
        return "code page";
    case FrameType::Restart:
        return "restart";
    case FrameType::CommandMode:
        return "command mode";
    case FrameType::BaudCode:
        return "baud rate code";
    case FrameType::TransferSetup:
        return "transfer setup";
    case FrameType::LinkBaudRate:
        return "link baud rate";
    case FrameType::FormatStorage:
        return "format storage";
    case FrameType::MakeFile:
        return "make file";
    case FrameType::HeaderMode:
        return "header mode";
    case FrameType::TextColor:
        return "text colour";
    case FrameType::BackgroundColor:
        return "background colour";
    case FrameType::MainTextLines:
        return "main text lines";
    case FrameType::FactoryReset:
        return "factory reset";
    case FrameType::ModelQuery:
        return "model query";
    case FrameType::VersionQuery:
        return "version query";
    case FrameType::ConfigQuery:
        return "configuration query";
    case FrameType::WelcomeLine1:
        return "welcome line 1";
    case FrameType::WelcomeLine2:
        return "welcome line 2";
    case FrameType::ScrollFlags:
        return "scroll flags";
    case FrameType::MainText:
        return "main text";
    case FrameType::QrImageStart:
        return "QR picture start";
    case FrameType::QrImageEnd:
        return "QR picture end";
    case FrameType::ShowPicture:
        return "show picture";
    case FrameType::PlayInterval:
        return "play interval";
    case FrameType::StandbyTime:
        return "standby time";
    case FrameType::QrCode:
        return "QR code";
    case FrameType::QrCodeAt:
        return "QR code on picture";
    case FrameType::DownloadStart:
        return "download start";
    case FrameType::PictureSelection:
        return "picture selection";
    case FrameType::FirmwareWakeUp:
        return "firmware wake-up";
    case FrameType::TransferFrame:
        return "transfer frame";
    case FrameType::RawData:
        return "data";
    case FrameType::Rejected:
        return "rejected";
    }
    return "?";
}

} // namespace tavisto::sim
