#include "app/ui/ScreenPreview.h"

#include "app/pictures/PictureDownload.h"
#include "app/transfer/JobSources.h"
#include "protocol/DisplayFrames.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "resources/EmbeddedResources.h"
#include "sim/device/Display.h"
#include "sim/screen/ScreenRenderer.h"

#include <array>
#include <vector>

namespace tavisto::ui {

namespace {

// The slots the screen shows outside idle play: the header logo and header picture.
constexpr std::array<int, 2> kHeaderSlots = {74, 75};

// What All Download sends, in its order, and the main text that the Text group's
// "Setting" sends: the frames a display holding the record has taken.
std::vector<Bytes> settingFrames(const TDisplayInfo& info) {
    return {
        BrightnessFrame(info.back_light_set),
        TextColorFrame(TArea::Header, info.tp_font_rgb_888),
        BackgroundColorFrame(TArea::Header, info.tp_back_rgb_888),
        HeaderModeFrame(info.tp_mode),
        TextColorFrame(TArea::Main, info.font_Foreground_color_888),
        BackgroundColorFrame(TArea::Main, info.font_Background_color_888),
        MainTextLinesFrame(info.line_mode),
        TextColorFrame(TArea::Footer, info.bm_font_rgb_888),
        BackgroundColorFrame(TArea::Footer, info.bm_back_rgb_888),
        WelcomeLine1Frame(info.wel_mess1),
        WelcomeLine2Frame(info.wel_mess2),
        Line2ScrollFrame(info.temp2),
        InterCharFrame(info.Char_No, kDisplayCommandForm),
        CodePageFrame(info.Expand_Char_No, kDisplayCommandForm),
        MainTextFrame(info.main_str),
    };
}

// The state of a freshly started display of `model` that has taken `frames`.
sim::DisplayState stateAfter(int model, const std::vector<Bytes>& frames) {
    sim::Journal journal;
    sim::Display display(model, 9600, 14, journal);
    std::vector<sim::Reply> replies;
    sim::SteadyTime at = display.state().started;
    for (const Bytes& frame : frames) {
        for (unsigned char byte : frame)
            display.receive(byte, at, replies);
        // Past the pause that ends a frame without a length of its own.
        at += std::chrono::milliseconds(100);
        display.tick(at, replies);
        replies.clear();
    }
    return display.state();
}

// Puts a picture slot's bytes where a display of `model` keeps them, as the transfer
// puts them; no bytes leave the slot's place empty.
void store(sim::Storage& storage, int model, int slot, Bytes bytes) {
    const int position = PositionOfSlot(slot);
    const auto put = [&bytes](auto& place, const auto& key) {
        if (bytes.empty())
            place.erase(key);
        else
            place[key] = std::move(bytes);
    };
    if (FindModel(model)->isNamed())
        put(storage.files, std::string(DownFileAt(position).FileName));
    else if (const auto address = AddressOfPosition(position))
        put(storage.flash, *address);
    ++storage.revision;
}

} // namespace

struct TScreenPreview::Impl {
    sim::ScreenRenderer renderer{EmbeddedResourceView};
    sim::Framebuffer frame;
    sim::DisplayState state;
    sim::Storage storage;
    std::vector<Bytes> frames;
    int model = -1;
    // The pictures behind `storage`, so that a picture is encoded once, not per edit.
    std::array<Bitmap, kHeaderSlots.size()> pictures;
};

TScreenPreview::TScreenPreview() : impl_(std::make_unique<Impl>()) {}

TScreenPreview::~TScreenPreview() = default;

bool TScreenPreview::update(const TDisplayInfo& info, int model, const TPictureSlots& slots) {
    const DisplayModel* row = FindModel(model);
    if (!row)
        return false;
    Impl& m = *impl_;
    bool changed = false;
    const bool newModel = model != m.model;
    if (newModel) {
        m.storage = {};
        m.pictures = {};
    }
    for (std::size_t i = 0; i < kHeaderSlots.size(); ++i) {
        const int slot = kHeaderSlots[i];
        // A picture the download would not send is not on the display either.
        const bool sent = slots.PicList(slot) && SlotSizeMismatch(slots, slot, *row).empty();
        const Bitmap& picture = sent ? slots.picture(slot) : Bitmap();
        if (!newModel && picture == m.pictures[i])
            continue;
        m.pictures[i] = picture;
        TJobSources sources;
        sources.slotPicture = [&picture](int) {
            return picture;
        };
        TJobData data = LoadJobData(PositionOfSlot(slot), *row, false, {}, sources);
        if (data.outcome != TJobData::Outcome::Loaded)
            data.bytes.clear();
        store(m.storage, model, slot, std::move(data.bytes));
        changed = true;
    }
    std::vector<Bytes> frames = settingFrames(info);
    if (newModel || frames != m.frames) {
        m.state = stateAfter(model, frames);
        m.frames = std::move(frames);
        changed = true;
    }
    m.model = model;
    return changed;
}

void TScreenPreview::draw(std::chrono::milliseconds sinceStart, TScreenPicture& picture) {
    Impl& m = *impl_;
    if (m.model < 0)
        return;
    m.renderer.draw(m.state, m.storage, {sinceStart, sim::Millis(0)}, m.frame);
    picture.width = m.frame.width();
    picture.height = m.frame.height();
    picture.rgb = sim::panelLight(m.frame, m.state.brightnessStep);
}

std::optional<std::chrono::milliseconds>
TScreenPreview::changesWithin(std::chrono::milliseconds sinceStart) const {
    if (impl_->model < 0)
        return std::nullopt;
    return sim::ScreenRenderer::changesWithin(impl_->state, {sinceStart, sim::Millis(0)});
}

} // namespace tavisto::ui
