#pragma once

#include "app/transfer/TransferEngine.h"

#include <string>

namespace tavisto {

// The progress texts of a running queue, the same in the window's status bar and on
// the terminal's progress line.

// "512 B/s", "1.5 KB/s", "2.0 MB/s": the rate of the current job, with 1 KB = 1024
// bytes and one decimal above 1 KB/s. Empty while no queue runs or the rate is not
// known yet.
std::string RateText(const TTransferStatus& status);

// "2:13 left": the time the whole queue still needs (minutes and seconds), or the
// current job where the queue's is not known. Empty while no queue runs or the rate
// or the time is not known yet.
std::string TimeLeftText(const TTransferStatus& status);

// "the display is not answering (5 s)": said instead of the time left while the
// display asks for nothing and takes nothing. Empty while it does, or no queue runs.
std::string NotAnsweringText(const TTransferStatus& status);

// "12.3 KB/s, 1:05 left" or "12.3 KB/s, the display is not answering (5 s)": the
// rate and what follows it, as the status bar and the progress line show them.
std::string RateAndProgressText(const TTransferStatus& status);

} // namespace tavisto
