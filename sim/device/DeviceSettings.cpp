#include "sim/device/DeviceSettings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace tavisto::sim {

namespace {

void appendString(Bytes& out, const Bytes& value) {
    out += '"';
    for (unsigned char c : value) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

class TextWriter {
public:
    void number(const char* name, unsigned value) {
        open(name);
        text_ += std::to_string(value);
    }
    void string(const char* name, const Bytes& value) {
        open(name);
        appendString(text_, value);
    }
    Bytes finish() { return text_ + "\n}"; }

private:
    void open(const char* name) {
        text_ += text_.empty() ? "{" : ",\n";
        text_ += '"';
        text_ += name;
        text_ += "\":";
    }
    Bytes text_;
};

constexpr std::array<int, 5> kBaudRates = {9600, 19200, 38400, 57600, 115200};

constexpr std::array<int, 27> kCodePages = {0,   21, 23, 54, 2,  18, 9,  19, 3,
                                            4,   22, 5,  17, 15, 55, 1,  25, 129,
                                            146, 11, 14, 16, 47, 49, 24, 51, 52};

} // namespace

Bytes settingsText(const DeviceSettings& s) {
    TextWriter w;
    w.number("temp1", s.temp1);
    w.number("Baud_Rate", s.Baud_Rate);
    w.number("temp2", s.temp2);
    w.number("Char_No", s.Char_No);
    w.number("Expand_Char_No", s.Expand_Char_No);
    w.number("Comm_No", s.Comm_No);
    w.string("wel_mess1", s.wel_mess1);
    w.string("wel_mess2", s.wel_mess2);
    w.number("font_Foreground_color", s.font_Foreground_color);
    w.number("font_Background_color", s.font_Background_color);
    w.number("back_light", s.back_light);
    w.number("pic_reg", s.pic_reg);
    w.number("line_mode", s.line_mode);
    w.number("bm_back_rgb", s.bm_back_rgb);
    w.number("bm_font_rgb", s.bm_font_rgb);
    w.number("tp_back_rgb", s.tp_back_rgb);
    w.number("tp_font_rgb", s.tp_font_rgb);
    w.number("tp_mode", s.tp_mode);
    w.string("main_str", s.main_str);
    w.number("into_lun_bo", s.into_lun_bo);
    w.number("lun_time", s.lun_time);
    return w.finish();
}

std::uint16_t rgb565(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

int baudRateOfCode(int code) {
    if (code < 0 || code >= static_cast<int>(kBaudRates.size()))
        return -1;
    return kBaudRates[static_cast<std::size_t>(code)];
}

int codeOfBaudRate(int baudRate) {
    auto it = std::find(kBaudRates.begin(), kBaudRates.end(), baudRate);
    return it == kBaudRates.end() ? -1 : static_cast<int>(it - kBaudRates.begin());
}

std::uint8_t brightnessCodeOfStep(int step) {
    // 20 % is kept as 6, 40 % as 5, 60 % as 4 and 100 % as 3.
    return static_cast<std::uint8_t>(7 - step);
}

bool isKnownCodePage(int number) {
    return std::find(kCodePages.begin(), kCodePages.end(), number) != kCodePages.end();
}

bool isKnownInterChar(int number) {
    return (number >= 0 && number <= 18) || number == 255;
}

} // namespace tavisto::sim
