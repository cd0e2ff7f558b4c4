#pragma once

#include "sim/device/Display.h"
#include "sim/device/Storage.h"
#include "sim/device/Time.h"
#include "sim/screen/Framebuffer.h"
#include "sim/screen/ScreenFonts.h"
#include "sim/screen/StoredPictures.h"

#include <optional>

namespace tavisto::sim {

// The times that move the screen without a command: the welcome lines scroll from the
// display's start, idle play begins a standby time after the last command.
struct ScreenTimes {
    Millis sinceStart{0};
    Millis sinceCommand{0};
};

ScreenTimes screenTimesAt(const DisplayState& state, SteadyTime now);

// Draws what a display shows from its state and storage (the layout is in
// sim/SCREEN.md). Keeps the decoded stored pictures between drawings.
class ScreenRenderer {
public:
    static constexpr Millis kScrollStep{400}; // a scrolling line moves one character

    explicit ScreenRenderer(FontFallback fallback = {});

    // Draws the whole panel into `out`, which takes the model's size.
    void draw(const DisplayState& state, const Storage& storage, ScreenTimes times,
              Framebuffer& out);

    // How soon the picture can change with time alone (a scrolling line, idle play
    // waiting or running); nothing when only a command can change it.
    static std::optional<Millis> changesWithin(const DisplayState& state, ScreenTimes times);

private:
    struct Context;
    void drawHeader(Context& c);
    void drawFooter(Context& c);
    void drawMain(Context& c);
    void drawPicture(Context& c, int number, Rect area);
    void drawLine(Context& c, const Bytes& text, Rect area, bool mini, bool scrolls,
                  std::uint16_t ink);
    void drawRows(Context& c, const std::vector<Bytes>& rows, bool spread);

    FontFallback fallback_;
    StoredPictures pictures_;
};

// The picture idle play shows at these times (1 to 10), or 0 when it is not playing.
int idlePicture(const DeviceSettings& settings, ScreenTimes times);

} // namespace tavisto::sim
