#include "sim/screen/ScreenRenderer.h"

#include "sim/screen/ScreenLayout.h"
#include "sim/screen/ScreenQr.h"

#include <algorithm>

namespace tavisto::sim {

namespace {

constexpr std::uint16_t kBlack = 0x0000;
constexpr std::uint16_t kNoticeInk = 0xF800; // red: something the display cannot draw
constexpr std::size_t kMainColumns = 20;
constexpr int kSelectablePictures = 10;
constexpr const char* kScrollGap = "    ";

bool welcomeScrolls(const DeviceSettings& s, int line) {
    // A set bit stops the line's scrolling.
    return (s.temp2 & (line == 1 ? 0x01 : 0x02)) == 0;
}

Millis standbyOf(const DeviceSettings& s) {
    return Millis(1000LL * s.into_lun_bo);
}

Millis intervalOf(const DeviceSettings& s) {
    return Millis(1000LL * std::max<int>(1, s.lun_time));
}

bool hasIdlePlay(const DeviceSettings& s) {
    return s.into_lun_bo > 0 && (s.pic_reg & 0x3FF) != 0;
}

} // namespace

struct ScreenRenderer::Context {
    const DisplayState& state;
    const Storage& storage;
    ScreenTimes times;
    Framebuffer& frame;
    ScreenLayout layout;
    ScreenFonts fonts;
};

ScreenTimes screenTimesAt(const DisplayState& state, SteadyTime now) {
    ScreenTimes t;
    t.sinceStart = std::max(Millis(0), std::chrono::duration_cast<Millis>(now - state.started));
    t.sinceCommand =
        std::max(Millis(0), std::chrono::duration_cast<Millis>(now - state.lastCommand));
    return t;
}

int idlePicture(const DeviceSettings& s, ScreenTimes times) {
    if (!hasIdlePlay(s) || times.sinceCommand < standbyOf(s))
        return 0;
    std::vector<int> chosen;
    for (int k = 0; k < kSelectablePictures; ++k)
        if (s.pic_reg & (1u << k))
            chosen.push_back(k + 1);
    const auto turn = (times.sinceCommand - standbyOf(s)) / intervalOf(s);
    return chosen[static_cast<std::size_t>(turn) % chosen.size()];
}

std::optional<Millis> ScreenRenderer::changesWithin(const DisplayState& state, ScreenTimes times) {
    const DeviceSettings& s = state.settings;
    std::optional<Millis> soonest;
    auto consider = [&soonest](Millis m) {
        if (!soonest || m < *soonest)
            soonest = m;
    };
    const bool fullPicture = idlePicture(s, times) != 0 || state.content == MainContent::Picture ||
                             (state.content == MainContent::QrCode && !state.qrCodes.empty() &&
                              state.qrCodes.back().picture != 0);
    if (!fullPicture && (welcomeScrolls(s, 1) || welcomeScrolls(s, 2)))
        consider(kScrollStep - times.sinceStart % kScrollStep);
    if (hasIdlePlay(s)) {
        if (times.sinceCommand < standbyOf(s))
            consider(standbyOf(s) - times.sinceCommand);
        else
            consider(intervalOf(s) - (times.sinceCommand - standbyOf(s)) % intervalOf(s));
    }
    return soonest;
}

ScreenRenderer::ScreenRenderer(FontFallback fallback) : fallback_(std::move(fallback)) {}

void ScreenRenderer::draw(const DisplayState& state, const Storage& storage, ScreenTimes times,
                          Framebuffer& out) {
    const ScreenLayout layout = layoutOf(state.model);
    if (out.width() != layout.width || out.height() != layout.height)
        out = Framebuffer(layout.width, layout.height);
    Context c{state, storage, times, out, layout, ScreenFonts(storage, state.model, fallback_)};

    if (int playing = idlePicture(state.settings, times)) {
        drawPicture(c, playing, layout.screen());
        return;
    }
    if (state.content == MainContent::Picture) {
        drawPicture(c, state.shownPicture, layout.screen());
        return;
    }
    if (state.content == MainContent::QrCode && !state.qrCodes.empty() &&
        state.qrCodes.back().picture != 0) {
        const QrRequest& qr = state.qrCodes.back();
        drawPicture(c, qr.picture, layout.screen());
        drawQrText(out, qr.text, qr.alignment, layout.screen());
        return;
    }
    drawHeader(c);
    drawMain(c);
    drawFooter(c);
}

void ScreenRenderer::drawPicture(Context& c, int number, Rect area) {
    const std::string item = "Picture_" + std::to_string(number);
    const std::string_view pixels =
        pictures_.find(c.storage, c.state.model, item, c.layout.width, c.layout.height);
    c.frame.fill(area, kBlack);
    if (pixels.empty()) {
        drawNotice(c.frame, c.fonts, area, "no picture " + std::to_string(number) + " stored",
                   kNoticeInk);
        return;
    }
    c.frame.blitRgb565(0, 0, c.layout.width, c.layout.height,
                       reinterpret_cast<const unsigned char*>(pixels.data()), area);
}

void ScreenRenderer::drawLine(Context& c, const Bytes& text, Rect area, bool mini, bool scrolls,
                              std::uint16_t ink) {
    const DeviceSettings& s = c.state.settings;
    const TextFont font = TextFont::of(c.fonts, s.Expand_Char_No, s.Char_No, mini, c.layout);
    if (!font.codePage) {
        drawNotice(c.frame, c.fonts, area, "no font " + font.missing, kNoticeInk);
        return;
    }
    const std::size_t visible = static_cast<std::size_t>(area.width / font.cellWidth);
    std::string shown;
    if (scrolls && !text.empty()) {
        // The line runs in from the right and round again, a gap between the rounds.
        const std::string round = text + kScrollGap;
        const auto step = static_cast<std::size_t>(c.times.sinceStart / kScrollStep);
        for (std::size_t i = 0; i < visible; ++i)
            shown += round[(step + i) % round.size()];
    } else {
        shown = text.substr(0, visible);
    }
    const int y = area.y + (area.height - font.cellHeight) / 2;
    font.draw(c.frame, shown, area.x, y, ink, area);
}

void ScreenRenderer::drawHeader(Context& c) {
    const DeviceSettings& s = c.state.settings;
    c.frame.fill(c.layout.header, s.tp_back_rgb);
    if (s.tp_mode == 9) {
        const struct {
            const char* item;
            Rect area;
        } parts[] = {{"logo_Head", c.layout.headerLogo}, {"Pic_Head", c.layout.headerPicture}};
        for (const auto& part : parts) {
            const std::string_view pixels = pictures_.find(c.storage, c.state.model, part.item,
                                                           part.area.width, part.area.height);
            if (pixels.empty())
                drawNotice(c.frame, c.fonts, part.area, std::string("no ") + part.item,
                           s.tp_font_rgb);
            else
                c.frame.blitRgb565(part.area.x, part.area.y, part.area.width, part.area.height,
                                   reinterpret_cast<const unsigned char*>(pixels.data()),
                                   part.area);
        }
        return;
    }
    drawLine(c, s.wel_mess1, c.layout.header, !c.layout.large, welcomeScrolls(s, 1), s.tp_font_rgb);
}

void ScreenRenderer::drawFooter(Context& c) {
    const DeviceSettings& s = c.state.settings;
    c.frame.fill(c.layout.footer, s.bm_back_rgb);
    drawLine(c, s.wel_mess2, c.layout.footer, true, welcomeScrolls(s, 2), s.bm_font_rgb);
}

// Rows of the main area in the normal font: four rows one under the other in the
// middle of the area, or (spread) two rows each in the middle of its half.
void ScreenRenderer::drawRows(Context& c, const std::vector<Bytes>& rows, bool spread) {
    const DeviceSettings& s = c.state.settings;
    const Rect area = c.layout.main;
    const TextFont font = TextFont::of(c.fonts, s.Expand_Char_No, s.Char_No, false, c.layout);
    if (!font.codePage) {
        drawNotice(c.frame, c.fonts, area, "no font " + font.missing, kNoticeInk);
        return;
    }
    const int left = area.x + (area.width - static_cast<int>(kMainColumns) * font.cellWidth) / 2;
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r) {
        const int y = spread
                          ? area.y + r * area.height / n + (area.height / n - font.cellHeight) / 2
                          : area.y + (area.height - n * font.cellHeight) / 2 + r * font.cellHeight;
        font.draw(c.frame, rows[static_cast<std::size_t>(r)], left, y, s.font_Foreground_color,
                  area);
    }
}

void ScreenRenderer::drawMain(Context& c) {
    const DeviceSettings& s = c.state.settings;
    c.frame.fill(c.layout.main, s.font_Background_color);
    switch (c.state.content) {
    case MainContent::MainText: {
        const int lines = s.line_mode == 2 ? 4 : 2;
        std::vector<Bytes> rows;
        for (int i = 0; i < lines; ++i) {
            const std::size_t at = static_cast<std::size_t>(i) * kMainColumns;
            rows.push_back(at < s.main_str.size() ? s.main_str.substr(at, kMainColumns) : Bytes{});
        }
        drawRows(c, rows, lines == 2);
        return;
    }
    case MainContent::TextArea: {
        drawRows(c, {c.state.screen.begin(), c.state.screen.end()}, false);
        const int column = c.state.cursorColumn;
        if (c.state.cursorShown && column >= 1 && column <= static_cast<int>(kMainColumns)) {
            // A bar along the bottom of the cursor's cell.
            const int w = c.layout.cellWidth;
            const int h = c.layout.cellHeight;
            const Rect area = c.layout.main;
            const int left = area.x + (area.width - static_cast<int>(kMainColumns) * w) / 2;
            const int top = area.y + (area.height - DisplayState::kRows * h) / 2;
            const int bar = std::max(2, h / 16);
            c.frame.fill({left + (column - 1) * w, top + c.state.cursorRow * h - bar, w, bar},
                         s.font_Foreground_color);
        }
        return;
    }
    case MainContent::QrCode: {
        if (c.state.qrCodes.empty())
            return;
        const QrRequest& qr = c.state.qrCodes.back();
        if (qr.isPicture)
            drawQrPicture(c.frame, qr.text, qr.alignment, c.layout.main);
        else if (!drawQrText(c.frame, qr.text, qr.alignment, c.layout.main))
            drawNotice(c.frame, c.fonts, c.layout.main, "QR text too long", kNoticeInk);
        return;
    }
    case MainContent::Picture:
        return; // drawn over the whole panel
    }
}

} // namespace tavisto::sim
