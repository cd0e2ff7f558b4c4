#pragma once

#include "app/Operator.h"
#include "app/Outcome.h"
#include "app/settings/SettingsForm.h"
#include "link/Connection.h"

#include <functional>
#include <string>
#include <vector>

namespace tavisto {

struct TAllDownloadResult {
    bool ran = false;          // false when the operator answered No
    bool allSucceeded = false; // every item's command reported success
    bool stopped = false;      // the operator stopped it before its last item
    std::string report;        // "Download: \r\n\r\n" and one line per item
    // Each item by its report label ("Header TextColor :"), in the order sent, with the
    // display's or the line's reason for a failed one.
    std::vector<TOutcome> items;
};

// Asked before each item: true stops the run there (the operator's Stop).
using TStopRequest = std::function<bool()>;

// "All Download": after Yes to "Do you want to download all settings?", runs
// AllDownload. On No nothing is sent.
TAllDownloadResult btn_AllDownloadClick(TConnection& connection, TSettingsForm& form,
                                        TDisplayInfo& info, TOperator& op,
                                        const TStopRequest& stopRequested = {});

// Collects the form and sends the fourteen items (brightness; header colours and mode;
// main-text colours and lines; footer colours; welcome lines and scroll flags;
// character set and code page) with a readiness wait after each but the character
// set, whatever fails. Shows group titles and progress in the status bar, then the
// report in an information box, or a warning box when any item failed. When
// `stopRequested` says so before an item, that item and the rest are not sent: the
// report ends with StoppedAllDownloadLine and goes in a warning box.
TAllDownloadResult AllDownload(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                               TOperator& op, const TStopRequest& stopRequested = {});

// The report's last line after a stop before the item labelled `label` ("Header
// Mode :"), with `unsent` items (that one included) not sent.
std::string StoppedAllDownloadLine(const std::string& label, int unsent);

// One report line: the label padded with spaces to 30 characters, "Success " or
// "Failed ", CR LF.
std::string AllDownloadReportLine(const std::string& label, bool success);

inline constexpr const char* kAllDownloadQuestion = "Do you want to download all settings?";

} // namespace tavisto
