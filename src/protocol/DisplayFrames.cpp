#include "protocol/DisplayFrames.h"

#include <algorithm>
#include <string>

namespace tavisto {

namespace {

// The most text bytes one one-shot text frame carries.
constexpr std::size_t kTextLimit = 40;

// 02 07, the start of most session frames.
Bytes prefix() {
    return Bytes("\x02\x07", 2);
}

Bytes byte(int value) {
    return Bytes(1, static_cast<char>(value & 0xFF));
}

Bytes bigEndian(std::uint32_t value, int byteCount) {
    Bytes bytes;
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    return bytes;
}

Bytes rgb(std::uint32_t color) {
    return byte(static_cast<int>(color)) + byte(static_cast<int>(color >> 8)) +
           byte(static_cast<int>(color >> 16));
}

Bytes limitText(const Bytes& text) {
    return text.substr(0, kTextLimit);
}

// A text parameter that the display reads up to a 00 byte. A 00 inside the text
// would end it early on the display and make the rest read as further commands,
// so the text is cut there: the display shows what it would have shown anyway.
Bytes terminated(const Bytes& text) {
    return text.substr(0, text.find('\0')) + byte(0);
}

int textColorCode(TArea area) {
    switch (area) {
    case TArea::Header:
        return 0x0B;
    case TArea::Main:
        return 0x0E;
    case TArea::Footer:
        return 0x10;
    }
    return 0x0E;
}

int backgroundColorCode(TArea area) {
    switch (area) {
    case TArea::Header:
        return 0x0C;
    case TArea::Main:
        return 0x0F;
    case TArea::Footer:
        return 0x11;
    }
    return 0x0F;
}

} // namespace

Bytes RestartDisplayFrame() {
    return Bytes("\x02\x1D\xAA\x55", 4);
}

Bytes FactoryResetFrame() {
    return Bytes("\x02\x07\x15\x27\x27", 5);
}

Bytes TextFrame(const Bytes& text) {
    return limitText(text);
}

Bytes TextAtFrame(int column, int row, const Bytes& text) {
    return Bytes("\x1F\x24", 2) + byte(column) + byte(row) + limitText(text);
}

Bytes ClearDisplayFrame() {
    return Bytes(1, '\x0C');
}

Bytes BrightnessFrame(int step) {
    return Bytes("\x1F\x58", 2) + byte(std::clamp(step, 1, 4));
}

Bytes CodePageFrame(int codePageNo, int mode) {
    const Bytes prefix = mode == kDisplayCommandForm ? Bytes("\x02\x06", 2) : Bytes("\x1B\x74", 2);
    return prefix + byte(codePageNo);
}

Bytes InterCharFrame(int interCharNo, int mode) {
    const Bytes prefix = mode == kDisplayCommandForm ? Bytes("\x02\x05", 2) : Bytes("\x1B\x52", 2);
    return prefix + byte(interCharNo);
}

Bytes TextColorFrame(TArea area, std::uint32_t color) {
    return prefix() + byte(textColorCode(area)) + rgb(color);
}

Bytes BackgroundColorFrame(TArea area, std::uint32_t color) {
    return prefix() + byte(backgroundColorCode(area)) + rgb(color);
}

Bytes HeaderModeFrame(int tpMode) {
    return prefix() + byte(tpMode);
}

Bytes MainTextLinesFrame(int lineMode) {
    return prefix() + byte(0x14) + byte(lineMode);
}

Bytes LinkBaudRateFrame(int baudRate) {
    return prefix() + byte(0x04) + bigEndian(static_cast<std::uint32_t>(baudRate), 4);
}

Bytes ShowPictureFrame(int picture) {
    return prefix() + byte(0x1A) + byte(picture);
}

Bytes MainTextFrame(const Bytes& text) {
    return prefix() + byte(0x18) + text;
}

Bytes PictureSelectionFrame(std::uint16_t picReg) {
    return prefix() + byte(0x28) + bigEndian(picReg, 2);
}

Bytes StandbyTimeFrame(int seconds) {
    return prefix() + byte(0x1C) + byte(seconds);
}

Bytes PlayIntervalFrame(int seconds) {
    return prefix() + byte(0x1B) + byte(seconds);
}

Bytes QrCodeFrame(int align, const Bytes& text) {
    return prefix() + byte(0x1D) + byte(align) + byte(0) + terminated(text);
}

Bytes QrCodeAtFrame(int align, int picture, const Bytes& text) {
    return prefix() + byte(0x1E) + byte(align) + byte(picture) + terminated(text);
}

Bytes FormatStorageFrame() {
    return prefix() + Bytes("\x05\x00", 2);
}

Bytes CommandModeFrame(int index) {
    return Bytes("\x02\x43", 2) + std::to_string(index);
}

Bytes BaudRateFrame(int baudRateCode) {
    return Bytes("\x02\x42", 2) + std::to_string(baudRateCode);
}

Bytes WelcomeLine1Frame(const Bytes& text) {
    return prefix() + Bytes("\x16\x06", 2) + terminated(text);
}

Bytes WelcomeLine2Frame(const Bytes& text) {
    return prefix() + Bytes("\x16\x07", 2) + terminated(text);
}

Bytes Line2ScrollFrame(int flags) {
    return prefix() + Bytes("\x16\x09", 2) + byte(flags);
}

Bytes QrImageHeaderFrame(int align, int third) {
    return prefix() + byte(0x19) + byte(align) + byte(third);
}

Bytes QrImageEndFrame() {
    return prefix() + Bytes("\x19\x00", 2);
}

Bytes ModelQueryFrame() {
    return Bytes("\x02\x07\x16\x01", 4);
}

Bytes VersionQueryFrame() {
    return Bytes("\x02\x07\x16\x02", 4);
}

Bytes ConfigurationQueryFrame() {
    return Bytes("\x02\x07\x16\x05", 4);
}

} // namespace tavisto
