#pragma once

#include "sim/screen/Framebuffer.h"

namespace tavisto::sim {

// Where the display puts things on its panel (sim/SCREEN.md draws it).
struct ScreenLayout {
    int width = 0;
    int height = 0;
    bool large = false; // the 800 x 480 panel
    Rect header;        // welcome line 1, or the header logo and header picture
    Rect headerLogo;
    Rect headerPicture;
    Rect main;         // the main text, the customer-display text area, QR codes
    Rect footer;       // welcome line 2
    int cellWidth = 0; // a character of the normal font
    int cellHeight = 0;
    int miniWidth = 0; // a character of the small font
    int miniHeight = 0;
    Rect screen() const { return {0, 0, width, height}; }
};

// The layout of a model's panel (model index 0 and 1: 480 x 272, the rest 800 x 480).
ScreenLayout layoutOf(int model);

} // namespace tavisto::sim
