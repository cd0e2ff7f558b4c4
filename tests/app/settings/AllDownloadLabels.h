#pragma once

namespace tavisto::testing {

// The items of All Download's report, in the order it sends them, as the report names
// them (its own spellings kept).
inline constexpr const char* kAllDownloadLabels[] = {
    "Brightness adjustment :",
    "Header TextColor :",
    "Header BackgroudColor :",
    "Header Mode :",
    "Text TextColor :",
    "Text BackgroudColor :",
    "Main Mode :",
    "Footer TextColor :",
    "Footer BackgroudColor :",
    "Line1 Setting :",
    "Line2 Setting :",
    "Line2 Scroll Setting :",
    "InterChar Setting :",
    "CodePage Setting :",
};

} // namespace tavisto::testing
