#include "protocol/TransferFrames.h"

#include "protocol/Crc16.h"
#include "protocol/Hex.h"

#include <algorithm>

namespace tavisto {

namespace {

Bytes bigEndian32(std::uint32_t value) {
    return Bytes{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                 static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::uint32_t readBigEndian32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Kind digit at the fifth byte, three hex digits at bytes 9 to 11.
bool hasKnownHeader(const Bytes& buffer) {
    const char kind = buffer[4];
    return (kind == '0' || kind == '9') && isHexDigit(buffer[8]) && isHexDigit(buffer[9]) &&
           isHexDigit(buffer[10]);
}

} // namespace

Bytes TransferSetupFrame(const std::string& addressHex, const std::string& lengthHex) {
    return Bytes("\x02\x10", 2) + HexToBytes(addressHex) + HexToBytes(lengthHex);
}

Bytes BlockData(const Bytes& file, std::uint32_t block) {
    const std::size_t start = static_cast<std::size_t>(block) * kBlockSize;
    Bytes data = start < file.size() ? file.substr(start, kBlockSize) : Bytes();
    data.resize(kBlockSize, '\0');
    return data;
}

Bytes BlockFrame(const Bytes& blockNumberBytes, const Bytes& data) {
    Bytes frame = "ACT=0,L=100," + blockNumberBytes + data;
    return frame + Crc16Bytes(Crc16(frame));
}

Bytes FirmwareAnnounceFrame(std::uint32_t length, std::uint16_t fileCrc) {
    Bytes frame = "ACT=1,L=002," + bigEndian32(length) + Crc16Bytes(fileCrc);
    return frame + Crc16Bytes(Crc16(frame));
}

Bytes MakeFileFrame(const Bytes& fileName, std::uint32_t length, std::uint16_t crc) {
    return Bytes("\x02\x07\x05\x01", 4) + fileName + "," + std::to_string(length) + "," +
           std::to_string(crc) + "\n";
}

std::optional<TDisplayFrame> TakeDisplayFrame(Bytes& buffer) {
    while (buffer.size() >= kDisplayFrameLength) {
        if (buffer.compare(0, 3, "ACT") != 0 || !hasKnownHeader(buffer)) {
            // Drop up to the next "ACT" (or to the last two bytes, which may begin one).
            const std::size_t next = buffer.find("ACT", 1);
            buffer.erase(0,
                         next == Bytes::npos ? std::max<std::size_t>(buffer.size(), 2) - 2 : next);
            continue;
        }
        TDisplayFrame frame;
        frame.kind = buffer[4] - '0';
        frame.bytes = buffer.substr(0, kDisplayFrameLength);
        frame.number = readBigEndian32(frame.bytes, 12);
        buffer.erase(0, kDisplayFrameLength);
        return frame;
    }
    return std::nullopt;
}

std::uint16_t FinishedFrameCrc(const TDisplayFrame& frame) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(frame.bytes[14]) << 8) |
                                      static_cast<unsigned char>(frame.bytes[15]));
}

} // namespace tavisto
