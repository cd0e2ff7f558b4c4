#pragma once

#include "link/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavisto {

// The frames of the file transfer as pure functions: bytes in, bytes out.

inline constexpr std::size_t kBlockSize = 256;
// Display frames (block request, download finished) are 16 bytes long.
inline constexpr std::size_t kDisplayFrameLength = 16;

// 02 10, the 4-byte address and the 4-byte length, each given as 8 hex digits.
Bytes TransferSetupFrame(const std::string& addressHex, const std::string& lengthHex);

// Bytes block*256 .. block*256+255 of the file, padded with 00 to 256 bytes (all
// zero past the end of the file).
Bytes BlockData(const Bytes& file, std::uint32_t block);

// "ACT=0,L=100," + the four block-number bytes as the display sent them + the
// 256 data bytes + the CRC-16 of those 272 bytes, high byte first.
Bytes BlockFrame(const Bytes& blockNumberBytes, const Bytes& data);

// "ACT=1,L=002," + file length (4 bytes) + file CRC (2 bytes) + CRC-16 of the 18 bytes.
Bytes FirmwareAnnounceFrame(std::uint32_t length, std::uint16_t fileCrc);

// 02 07 05 01 + name + "," + decimal length + "," + decimal CRC + 0A.
Bytes MakeFileFrame(const Bytes& fileName, std::uint32_t length, std::uint16_t crc);

// A display frame cut from the receive buffer.
struct TDisplayFrame {
    int kind = 0;             // 0 block request, 9 download finished
    std::uint32_t number = 0; // kind 0: the block asked for
    Bytes bytes;              // the whole 16-byte frame
};

// Cuts the first complete display frame from the front of `buffer`. Bytes that do
// not begin "ACT" are dropped one at a time, so the buffer resynchronises on the
// next "ACT". A frame whose kind is not 0 or 9, or whose L= field is not three hex
// digits, is dropped the same way instead of blocking the buffer. Returns nothing
// (leaving a partial frame in place) when no complete frame is there.
std::optional<TDisplayFrame> TakeDisplayFrame(Bytes& buffer);

// Bytes 15 and 16 of a download-finished frame: the CRC the display computed.
std::uint16_t FinishedFrameCrc(const TDisplayFrame& frame);

} // namespace tavisto
