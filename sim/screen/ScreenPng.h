#pragma once

#include "link/Bytes.h"
#include "sim/screen/Framebuffer.h"

#include <string>

namespace tavisto::sim {

// The panel's light (see panelLight) as a PNG file; empty if libpng fails.
Bytes screenPng(const Framebuffer& frame, int brightnessStep);

// Replaces the file at `path` with the screen as a PNG, atomically (a reader sees the
// old picture or the new one, never part of one); false with the reason in `message`.
bool saveScreenPng(const std::string& path, const Framebuffer& frame, int brightnessStep,
                   std::string& message);

} // namespace tavisto::sim
