#pragma once

#include "link/Bytes.h"

#include <cstdint>

namespace tavisto::sim {

// The user settings a display keeps, named as in the configuration text it returns.
// Colours are RGB565; texts are bytes in the display's code page.
struct DeviceSettings {
    std::uint8_t temp1 = 0;
    std::uint8_t Baud_Rate = 0;
    std::uint8_t temp2 = 0;
    std::uint8_t Char_No = 0;
    std::uint8_t Expand_Char_No = 0;
    std::uint8_t Comm_No = 255;
    Bytes wel_mess1 = "*** TFT DISPLAY *** ";
    Bytes wel_mess2 = "**HAVE A NICE DAY AND THANK YOU**";
    std::uint16_t font_Foreground_color = 2047;
    std::uint16_t font_Background_color = 0;
    std::uint8_t back_light = 5;
    std::uint16_t pic_reg = 0;
    std::uint8_t line_mode = 1;
    std::uint16_t bm_back_rgb = 65535;
    std::uint16_t bm_font_rgb = 31;
    std::uint16_t tp_back_rgb = 31;
    std::uint16_t tp_font_rgb = 65535;
    std::uint8_t tp_mode = 10;
    Bytes main_str =
        "*** TFT DISPLAY  ***  HAVE A NICE DAY!  *** TFT DISPLAY  ***  HAVE A NICE DAY!  ";
    std::uint8_t into_lun_bo = 0;
    std::uint8_t lun_time = 1;

    bool operator==(const DeviceSettings&) const = default;
};

// The configuration text: a JSON object with one member per line, "{" directly
// followed by the first member and "}" alone on the last line. Strings carry their
// bytes unchanged (8-bit text); quotes, backslashes and control bytes are escaped so
// that the text never holds a 00 byte of its own.
Bytes settingsText(const DeviceSettings& settings);

// Packs red, green and blue into RGB565 (red in the top five bits).
std::uint16_t rgb565(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Line speeds by baud-rate code (0 = 9600 ... 4 = 115200); -1 for an unknown code.
int baudRateOfCode(int code);
// The code of a line speed, or -1 when the speed has none.
int codeOfBaudRate(int baudRate);

// The brightness code kept in the settings for a brightness step 1..4.
std::uint8_t brightnessCodeOfStep(int step);

// Whether a number is a code page or international character set the display knows.
bool isKnownCodePage(int number);
bool isKnownInterChar(int number);

} // namespace tavisto::sim
