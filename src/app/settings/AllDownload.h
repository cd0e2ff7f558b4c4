#pragma once

#include "app/Operator.h"
#include "app/Outcome.h"
#include "app/settings/SettingsForm.h"
#include "link/Connection.h"

#include <string>
#include <vector>

namespace tavisto {

struct TAllDownloadResult {
    bool ran = false;          // false when the operator answered No
    bool allSucceeded = false; // every item's command reported success
    std::string report;        // "Download: \r\n\r\n" and one line per item
    // Each item by its report label ("Header TextColor :"), in the order sent, with the
    // display's or the line's reason for a failed one.
    std::vector<TOutcome> items;
};

// "All Download": after Yes to "Do you want to download all settings?", runs
// AllDownload. On No nothing is sent.
TAllDownloadResult btn_AllDownloadClick(TConnection& connection, TSettingsForm& form,
                                        TDisplayInfo& info, TOperator& op);

// Collects the form and sends the fourteen items (brightness; header colours and mode;
// main-text colours and lines; footer colours; welcome lines and scroll flags;
// character set and code page) with a readiness wait after each but the character
// set, whatever fails. Shows group titles and progress in the status bar, then the
// report in an information box, or a warning box when any item failed.
TAllDownloadResult AllDownload(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                               TOperator& op);

// One report line: the label padded with spaces to 30 characters, "Success " or
// "Failed ", CR LF.
std::string AllDownloadReportLine(const std::string& label, bool success);

inline constexpr const char* kAllDownloadQuestion = "Do you want to download all settings?";

} // namespace tavisto
