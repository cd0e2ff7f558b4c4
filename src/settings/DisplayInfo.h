#pragma once

#include "link/Bytes.h"

#include <cstdint>

namespace tavisto {

// A 24-bit colour 0x00BBGGRR (red in the low byte), or an RGB565 value kept in the
// same 32-bit slot.
using TColor = std::uint32_t;

// The display's user settings as the tool mirrors them. The window (or the CLI) owns
// the one instance; a value-initialised record is all zero with empty byte strings.
// Byte strings hold text already in a display code page, with no terminator.
struct TDisplayInfo {
    std::uint8_t temp1 = 0;               // reserved; 0 whenever the form is collected
    std::uint8_t Baud_Rate = 0;           // BaudRateNo of SetBaudRates
    std::uint8_t temp2 = 0;               // bit 0/1 set: welcome line 1/2 does not scroll
    std::uint8_t Char_No = 0;             // InterCharNo of InterChars
    std::uint8_t Expand_Char_No = 0;      // CodePageNoNew of CodePages
    std::uint8_t Comm_No = 0;             // CommandNo of CommandModes
    Bytes wel_mess1;                      // welcome line 1 (20 characters when collected)
    Bytes wel_mess2;                      // welcome line 2 (60 characters when collected)
    TColor font_Foreground_color_565 = 0; // main text colour, RGB565
    TColor font_Background_color_565 = 0; // main text background, RGB565
    TColor font_Foreground_color_888 = 0; // main text colour, 0x00BBGGRR
    TColor font_Background_color_888 = 0; // main text background, 0x00BBGGRR
    std::uint8_t back_light = 0;          // brightness code as the display stores it
    std::uint8_t back_light_set = 0;      // brightness step 1..4 that the command sends
    std::uint16_t pic_reg = 0;            // bit i: picture slot i+1 takes part in idle play
    std::uint8_t pic_reg_lo = 0;          // low byte of pic_reg
    std::uint8_t pic_reg_hi = 0;          // high byte of pic_reg
    std::uint8_t line_mode = 0;           // 1 = two main-text lines, 2 = four
    TColor bm_back_rgb_565 = 0;           // footer background, RGB565
    TColor bm_font_rgb_565 = 0;           // footer text, RGB565
    TColor tp_back_rgb_565 = 0;           // header background, RGB565
    TColor tp_font_rgb_565 = 0;           // header text, RGB565
    TColor bm_back_rgb_888 = 0;           // footer background, 0x00BBGGRR
    TColor bm_font_rgb_888 = 0;           // footer text, 0x00BBGGRR
    TColor tp_back_rgb_888 = 0;           // header background, 0x00BBGGRR
    TColor tp_font_rgb_888 = 0;           // header text, 0x00BBGGRR
    std::uint8_t tp_mode = 0;             // header: 10 = text, 9 = picture
    Bytes main_str;                       // four main-text lines of 20, joined
    std::uint8_t into_lun_bo = 0;         // standby seconds before idle play, 0 = none
    std::uint8_t lun_time = 0;            // seconds between idle-play pictures, 1..10
};

} // namespace tavisto
