#pragma once

#include "app/pictures/PictureSlotContents.h"
#include "app/ui/ScreenPicture.h"
#include "settings/DisplayInfo.h"

#include <chrono>
#include <memory>
#include <optional>

namespace tavisto::ui {

// The screen a display of a model would show once it holds a settings record and the
// picture slots' pictures: the record goes in as the frames the setting commands send
// (All Download and the main text), into the virtual display's own command handling,
// and the virtual display's screen drawing draws the result. The preview and the
// virtual display thus cannot disagree about a form. Kept apart from the Qt code, whose
// keyword macros clash with the virtual display's headers.
class TScreenPreview {
public:
    TScreenPreview();
    ~TScreenPreview();
    TScreenPreview(const TScreenPreview&) = delete;
    TScreenPreview& operator=(const TScreenPreview&) = delete;

    // Takes the record (collected from the form), the model (0..6) and the slots; the
    // header logo and header picture go where that model stores them, as a picture
    // download would send them (a picture of another size than the slot's is left
    // out, as the download leaves it out). Returns true when anything changed.
    bool update(const TDisplayInfo& info, int model, const TPictureSlots& slots);

    // Draws the screen `sinceStart` after the display came up (the welcome lines
    // scroll from there), as its panel lights it.
    void draw(std::chrono::milliseconds sinceStart, TScreenPicture& picture);

    // How soon after `sinceStart` the picture changes with time alone (a scrolling
    // welcome line); nothing when it stands still.
    std::optional<std::chrono::milliseconds>
    changesWithin(std::chrono::milliseconds sinceStart) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tavisto::ui
