#include "app/settings/AllDownload.h"

#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"

#include <functional>
#include <optional>
#include <vector>

namespace tavisto {
namespace {

constexpr int kLabelWidth = 30;

struct Item {
    const char* groupTitle; // shown before the item when it opens a group
    const char* label;
    std::function<bool(std::string& message)> send;
    std::optional<int> progress; // progress bar value after the item
    bool waitReady;              // readiness wait after the item, its result ignored
};

std::vector<Item> itemsFor(TConnection& c, const TDisplayInfo& info) {
    using M = std::string&;
    return {
        {"Brightness adjustment ...", "Brightness adjustment :",
         [&](M m) { return VfdSetBrightness(c, info.back_light_set, m); }, 100, true},
        {"Header Settings ...", "Header TextColor :",
         [&](M m) { return LcdSetTextColor(c, TArea::Header, info.tp_font_rgb_888, m); }, 30, true},
        {nullptr, "Header BackgroudColor :",
         [&](M m) { return LcdSetBackgroundColor(c, TArea::Header, info.tp_back_rgb_888, m); }, 60,
         true},
        {nullptr, "Header Mode :", [&](M m) { return LcdSetHeaderMode(c, info.tp_mode, m); }, 100,
         true},
        {"Main Settings ...", "Text TextColor :",
         [&](M m) { return LcdSetTextColor(c, TArea::Main, info.font_Foreground_color_888, m); },
         30, true},
        {nullptr, "Text BackgroudColor :",
         [&](M m) {
             return LcdSetBackgroundColor(c, TArea::Main, info.font_Background_color_888, m);
         },
         60, true},
        {nullptr, "Main Mode :", [&](M m) { return LcdSetMainTextLines(c, info.line_mode, m); },
         100, true},
        {"Footer Settings ...", "Footer TextColor :",
         [&](M m) { return LcdSetTextColor(c, TArea::Footer, info.bm_font_rgb_888, m); }, 50, true},
        {nullptr, "Footer BackgroudColor :",
         [&](M m) { return LcdSetBackgroundColor(c, TArea::Footer, info.bm_back_rgb_888, m); }, 100,
         true},
        {"Welcome Message Settings ...", "Line1 Setting :",
         [&](M m) { return LcdSetWelcomeLine1(c, info.wel_mess1, m); }, std::nullopt, true},
        {nullptr, "Line2 Setting :", [&](M m) { return LcdSetWelcomeLine2(c, info.wel_mess2, m); },
         std::nullopt, true},
        {nullptr, "Line2 Scroll Setting :",
         [&](M m) { return LcdSetLine2Scroll(c, info.temp2, m); }, 100, true},
        {"CodePage Settings ...", "InterChar Setting :",
         [&](M m) { return VfdSelectInterChar(c, info.Char_No, kDisplayCommandForm, m); }, 50,
         false},
        {nullptr, "CodePage Setting :",
         [&](M m) { return VfdSelectCodePage(c, info.Expand_Char_No, kDisplayCommandForm, m); },
         100, true},
    };
}

} // namespace

std::string AllDownloadReportLine(const std::string& label, bool success) {
    std::string line = label;
    if (line.size() < kLabelWidth)
        line.append(kLabelWidth - line.size(), ' ');
    return line + (success ? "Success " : "Failed ") + "\r\n";
}

std::string StoppedAllDownloadLine(const std::string& label, int unsent) {
    std::string name = label;
    while (!name.empty() && (name.back() == ':' || name.back() == ' '))
        name.pop_back();
    return "\r\nStopped before " + name + ": " + std::to_string(unsent) +
           " of the settings were not sent.\r\n";
}

TAllDownloadResult AllDownload(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                               TOperator& op, const TStopRequest& stopRequested) {
    CollectSettings(form, info);
    TAllDownloadResult result;
    result.ran = true;
    result.allSucceeded = true;
    result.report = kDownloadReportHeading;
    op.BeginProgress("All Settings Downloading......", 100, TProgressKind::StatusOnly);

    std::string message;
    const std::vector<Item> items = itemsFor(connection, info);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        // Between two commands nothing is half-sent: the operator's Stop ends the run here.
        if (stopRequested && stopRequested()) {
            result.stopped = true;
            result.allSucceeded = false;
            result.report += StoppedAllDownloadLine(item.label, static_cast<int>(items.size() - i));
            break;
        }
        if (item.groupTitle) {
            op.ShowProgressItem(item.groupTitle, "", kNoJobPosition);
            op.SetProgress(0, kNoJobPosition);
        }
        const bool ok = item.send(message);
        result.allSucceeded = result.allSucceeded && ok;
        result.report += AllDownloadReportLine(item.label, ok);
        result.items.push_back({item.label, ok, ok ? std::string() : message});
        if (item.progress)
            op.SetProgress(*item.progress, kNoJobPosition);
        if (item.waitReady)
            LcdWaitReady(connection, message);
    }

    op.EndProgress();
    op.ShowMsgBox(result.report, result.stopped || result.report.find("Failed") != std::string::npos
                                     ? kMbIconWarning
                                     : kMbIconInformation);
    return result;
}

TAllDownloadResult btn_AllDownloadClick(TConnection& connection, TSettingsForm& form,
                                        TDisplayInfo& info, TOperator& op,
                                        const TStopRequest& stopRequested) {
    if (op.ShowMsgBox(kAllDownloadQuestion, kMbYesNoQuestion) != kIdYes)
        return {};
    return AllDownload(connection, form, info, op, stopRequested);
}

} // namespace tavisto
