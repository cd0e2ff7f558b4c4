#pragma once

#include "link/Connection.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace tavisto {

// The file transfer operations on the open session port, which they leave open.
// Each returns true on success, or false with the operator text of the failure.
// Every wait goes through the connection's clock.

// Addressed transfer: writes 02 10 + address + length (8 hex digits each, traced)
// and waits for the display to echo the ten bytes: 200 ms, then a read every 100 ms
// for up to 4.32 s. A read that finds nothing fails at once ("Failed to read data").
bool LcdTransferSetup(TConnection& c, const std::string& addressHex, const std::string& lengthHex,
                      std::string& message);

// The download start 02 07 27 27 27; not traced, no port check.
bool LcdSendStart(TConnection& c, std::string& message);

// One block frame (traced): the block-number bytes as the display sent them and
// the block's 256 data bytes.
bool LcdSendBlock(TConnection& c, const Bytes& blockNumberBytes, const Bytes& data,
                  std::string& message);

// Firmware start: writes 07 07 07 07 (not traced) until the display answers "A",
// dropping other bytes, for up to 8.64 s.
bool LcdFirmwareHandshake(TConnection& c, std::string& message);

// The firmware announce with the file's length and CRC; not traced, no port check.
bool LcdSendFirmwareAnnounce(TConnection& c, std::uint32_t length, std::uint16_t fileCrc,
                             std::string& message);

// Named transfer: announces the file (traced) and waits up to 0.864 s for a reply
// of more than two bytes beginning "OK". Purges the receive queue afterwards.
bool LcdMakeFile(TConnection& c, const Bytes& fileName, std::uint32_t length, std::uint16_t crc,
                 std::string& message);

// Writes the file in 256-byte pieces, no header, no pause, not traced. `onPiece`
// gets the number of each piece written (1 for the first). Stops at the first write
// that fails, or before the next piece once `cancel` is set (message "Cancelled").
bool LcdSendRaw(TConnection& c, const Bytes& data, std::string& message,
                const std::function<void(int piece)>& onPiece = {},
                const std::atomic<bool>* cancel = nullptr);

// Waits for the display's CRC text ending in a line feed (every 100 ms for up to
// 259.2 ms) and compares it with `crcText`. A read that finds nothing fails at once.
bool LcdWaitFileCrc(TConnection& c, const std::string& crcText, std::string& message);

} // namespace tavisto
