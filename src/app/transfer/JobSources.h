#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "protocol/ModelTable.h"

#include <functional>
#include <optional>
#include <string>

namespace tavisto {

// Where the bytes of a job come from; the owner of the engine provides them.
struct TJobSources {
    // Embedded resources by name (case-insensitive): font images, the conversion
    // table, firmware. Nothing when the program carries no such resource.
    std::function<std::optional<Bytes>(const std::string& name)> resource;
    // The picture in slot 73..86; an empty bitmap for an empty slot.
    std::function<Bitmap(int slot)> slotPicture;
};

// What loading a row's bytes came to.
struct TJobData {
    enum class Outcome { Loaded, Skip, Failed };
    Outcome outcome = Outcome::Skip;
    Bytes bytes;
    std::string reason; // Failed: the text after "]:" in the red log line
};

// Loads the bytes of table position 1..93 for a model: fonts, table and firmware
// from the resources (`fromResources`) or `chosenData`, the contents of the file the
// operator gave (read by the workflow before the queue starts); picture slots from the
// slot's picture, as raw RGB565 of the slot's size on addressed models and as a
// JPEG (quality 90) on named ones. Empty data means Skip; a picture that cannot be
// encoded or a missing firmware image mean Failed.
TJobData LoadJobData(int position, const DisplayModel& model, bool fromResources,
                     const Bytes& chosenData, const TJobSources& sources);

// The firmware image's resource name: the model name without hyphens, cut to its
// first 7 characters (KT350-MKC gives KT350MK).
std::string FirmwareResourceName(const DisplayModel& model);

} // namespace tavisto
