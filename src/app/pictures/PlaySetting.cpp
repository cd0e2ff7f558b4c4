#include "app/pictures/PlaySetting.h"

#include "app/settings/SettingCommands.h"
#include "protocol/DisplayCommands.h"

namespace tavisto {

namespace {

constexpr int kFirstPlaySlot = 76;
constexpr int kLastPlaySlot = 85;

} // namespace

TOutcome PlaySettingSent(TConnection& connection, std::uint16_t picReg, int standbySeconds,
                         int intervalSeconds) {
    std::string message;
    const bool sent = LcdSetPictureSelection(connection, picReg, message) &&
                      LcdSetStandbyTime(connection, standbySeconds, message) &&
                      LcdSetPlayInterval(connection, intervalSeconds, message);
    return {kPlaySettingItem, sent, sent ? std::string() : message};
}

bool SendPlaySetting(TConnection& connection, TOperator& op, std::uint16_t picReg,
                     int standbySeconds, int intervalSeconds) {
    return ShowOutcome(op, PlaySettingSent(connection, picReg, standbySeconds, intervalSeconds));
}

bool btn_SetToPlayClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                        TOperator& op) {
    CollectSettings(form, info);
    return SendPlaySetting(connection, op, info.pic_reg, info.into_lun_bo, info.lun_time);
}

bool cxImage76Click(TConnection& connection, TOperator& op, int slot) {
    if (slot < kFirstPlaySlot || slot > kLastPlaySlot)
        return false;
    std::string message;
    if (LcdShowPicture(connection, slot - 75, message))
        return true;
    op.ShowMsgBox(message, kMbIconError);
    return false;
}

} // namespace tavisto
