#pragma once

#include "app/Operator.h"
#include "app/Outcome.h"
#include "app/settings/SettingsForm.h"
#include "link/Connection.h"

#include <cstdint>

namespace tavisto {

// The idle-play settings: which of the ten pictures play (bit k of `picReg` for
// picture k + 1), the standby time and the play interval, sent in that order. Stops at
// the first failure with its reason in an error box; "Done!" when all three went.
bool SendPlaySetting(TConnection& connection, TOperator& op, std::uint16_t picReg,
                     int standbySeconds, int intervalSeconds);

// The same without a box: the outcome, with the reason of the first failure.
TOutcome PlaySettingSent(TConnection& connection, std::uint16_t picReg, int standbySeconds,
                         int intervalSeconds);
inline constexpr const char* kPlaySettingItem = "play setting";

// "Setting" of the Play Setting group: collects the form (pic_reg from boxes 76 to 85,
// the standby time and the interval) and sends the three settings.
bool btn_SetToPlayClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                        TOperator& op);

// A click on the preview of slide-show slot 76..85: the display shows that picture
// (1 for slot 76 to 10 for slot 85); the reason in an error box when it fails. Other
// slots do nothing.
bool cxImage76Click(TConnection& connection, TOperator& op, int slot);

} // namespace tavisto
