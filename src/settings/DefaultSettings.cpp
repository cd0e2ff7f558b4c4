#include "settings/DefaultSettings.h"

namespace tavisto {

std::string DefaultSettingsText() {
    // Colours are RGB565: 2047 cyan, 65535 white, 31 blue.
    return "{\"temp1\":0,\n"
           "\"Baud_Rate\":0,\n"
           "\"temp2\":0,\n"
           "\"Char_No\":0,\n"
           "\"Expand_Char_No\":0,\n"
           "\"Comm_No\":255,\n"
           "\"wel_mess1\":\"*** TFT DISPLAY *** \",\n"
           "\"wel_mess2\":\"**HAVE A NICE DAY AND THANK YOU**\",\n"
           "\"font_Foreground_color\":2047,\n"
           "\"font_Background_color\":0,\n"
           "\"back_light\":5,\n"
           "\"pic_reg\":0,\n"
           "\"line_mode\":1,\n"
           "\"bm_back_rgb\":65535,\n"
           "\"bm_font_rgb\":31,\n"
           "\"tp_back_rgb\":31,\n"
           "\"tp_font_rgb\":65535,\n"
           "\"tp_mode\":10,\n"
           "\"main_str\":\"*** TFT DISPLAY  ***"
           "  HAVE A NICE DAY!  "
           "*** TFT DISPLAY  ***"
           "  HAVE A NICE DAY!  \",\n"
           "\"into_lun_bo\":0,\n"
           "\"lun_time\":1\n"
           "}";
}

} // namespace tavisto
