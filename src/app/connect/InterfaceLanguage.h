#pragma once

#include <array>
#include <cstdint>

namespace tavisto {

// One control caption of the main window in both interface languages (UTF-8).
struct TCaption {
    const char* Control; // the control's name
    const char* English;
    const char* Chinese;
};

inline constexpr int kCaptionCount = 88;

// The captions the language routine sets, in the order it sets them.
extern const std::array<TCaption, kCaptionCount> Captions;

// Only Chinese (PRC), language id 2052, selects the Chinese captions.
bool UsesChineseTexts(std::uint16_t langId);
const char* CaptionText(const TCaption& caption, std::uint16_t langId);

} // namespace tavisto
