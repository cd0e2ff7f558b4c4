#include "app/settings/SettingCommands.h"

#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"
#include "settings/Vocabulary.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace tavisto {
namespace {

using Step = std::function<bool(std::string& message)>;

// Sends the steps in order and stops at the first failure, whose message is the cause.
TOutcome sentAll(const char* name, std::initializer_list<Step> steps) {
    std::string message;
    for (const Step& step : steps) {
        if (!step(message))
            return {name, false, message};
    }
    return {name, true, ""};
}

// Sends the steps in order; the first failure is shown in an error box and ends the
// run. Everything sent: "Done!".
bool sendAll(TOperator& op, std::initializer_list<Step> steps) {
    return ShowOutcome(op, sentAll("", steps));
}

// The outcome of a button that tells only "Done!" or "Fail!".
TOutcome doneOrFail(const char* name, bool ok) {
    return {name, ok, ok ? "" : kFailMessage};
}

bool reportDoneOrFail(TOperator& op, bool ok) {
    op.ShowMsgBox(ok ? kDoneMessage : kFailMessage, ok ? kMbIconInformation : kMbIconWarning);
    return ok;
}

bool showIfFailed(TOperator& op, bool ok, const std::string& message) {
    if (!ok)
        op.ShowMsgBox(message, kMbIconError);
    return ok;
}

} // namespace

bool ShowOutcome(TOperator& op, const TOutcome& outcome) {
    if (!outcome.succeeded) {
        op.ShowMsgBox(outcome.cause, kMbIconError);
        return false;
    }
    op.ShowMsgBox(kDoneMessage, kMbIconInformation);
    return true;
}

TOutcome SendCommandMode(TConnection& connection, const TSettingsForm& form) {
    const int row = form.cbb_down_CommandMode;
    if (row < 0 || row >= static_cast<int>(CommandModes.size()))
        return doneOrFail(kCommandModeItem, false);
    std::string message;
    return doneOrFail(kCommandModeItem, LcdSetCommandMode(connection, row, message));
}

bool btn_commandSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo&,
                         TOperator& op) {
    return reportDoneOrFail(op, SendCommandMode(connection, form).succeeded);
}

TOutcome SendBaudRate(TConnection& connection, TSettingsForm& form, TDisplayInfo& info) {
    CollectSettings(form, info);
    std::string message;
    if (!LcdSetBaudRate(connection, info.Baud_Rate, message))
        return doneOrFail(kBaudRateItem, false);
    const int row =
        IndexOfBaudRate(PortBaudRates, static_cast<int>(PortBaudRates.size()) - 1, info.Baud_Rate);
    if (row >= 0) {
        form.cbb_BaudRate = row;
        connection.CurrentBaudRate =
            std::stoi(std::string(PortBaudRates[static_cast<std::size_t>(row)].BaudRateName));
    }
    return doneOrFail(kBaudRateItem, true);
}

bool btn_baudrateSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                          TOperator& op) {
    return reportDoneOrFail(op, SendBaudRate(connection, form, info).succeeded);
}

bool btn_DownloadSettingClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                              TOperator& op) {
    CollectSettings(form, info);
    std::string message;
    auto send = [&](bool ok) {
        return showIfFailed(op, ok, message);
    };
    auto waitReady = [&] {
        if (LcdWaitReady(connection, message))
            return true;
        op.ShowMsgBox(kNotFoundPrefix + message, kMbIconError);
        return false;
    };
    if (!send(LcdSetWelcomeLine1(connection, info.wel_mess1, message)) || !waitReady() ||
        !send(LcdSetWelcomeLine2(connection, info.wel_mess2, message)) || !waitReady() ||
        !send(LcdSetLine2Scroll(connection, info.temp2, message)))
        return false;
    op.ShowMsgBox(kDoneMessage, kMbIconInformation);
    return true;
}

bool btn_HeaderSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                        TOperator& op) {
    CollectSettings(form, info);
    return sendAll(
        op, {[&](std::string& m) {
                 return LcdSetTextColor(connection, TArea::Header, info.tp_font_rgb_888, m);
             },
             [&](std::string& m) {
                 return LcdSetBackgroundColor(connection, TArea::Header, info.tp_back_rgb_888, m);
             },
             [&](std::string& m) {
                 return LcdSetHeaderMode(connection, info.tp_mode, m);
             }});
}

TOutcome SendMainText(TConnection& connection, TSettingsForm& form, TDisplayInfo& info) {
    CollectSettings(form, info);
    return sentAll(
        kMainTextItem,
        {[&](std::string& m) {
             return LcdSetTextColor(connection, TArea::Main, info.font_Foreground_color_888, m);
         },
         [&](std::string& m) {
             return LcdSetBackgroundColor(connection, TArea::Main, info.font_Background_color_888,
                                          m);
         },
         [&](std::string& m) { return LcdSetMainTextLines(connection, info.line_mode, m); },
         [&](std::string& m) {
             return LcdSetMainText(connection, info.main_str, m);
         }});
}

bool btn_TextSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                      TOperator& op) {
    return ShowOutcome(op, SendMainText(connection, form, info));
}

bool btn_FooterSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                        TOperator& op) {
    CollectSettings(form, info);
    return sendAll(
        op, {[&](std::string& m) {
                 return LcdSetTextColor(connection, TArea::Footer, info.bm_font_rgb_888, m);
             },
             [&](std::string& m) {
                 return LcdSetBackgroundColor(connection, TArea::Footer, info.bm_back_rgb_888, m);
             }});
}

bool btn_brightness_setClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                             TOperator& op) {
    CollectSettings(form, info);
    std::string message;
    return showIfFailed(op, VfdSetBrightness(connection, info.back_light_set, message), message);
}

bool btn_DownloadCodePageClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                               TOperator& op) {
    CollectSettings(form, info);
    return sendAll(
        op, {[&](std::string& m) {
                 return VfdSelectInterChar(connection, info.Char_No, kDisplayCommandForm, m);
             },
             [&](std::string& m) {
                 if (!VfdSelectCodePage(connection, info.Expand_Char_No, kDisplayCommandForm, m))
                     return false;
                 connection.clock().sleep(Millis(1000));
                 return true;
             }});
}

bool btn_ResetDisplayClick(TConnection& connection, TSettingsForm&, TDisplayInfo&, TOperator& op) {
    if (op.ShowMsgBox(kRestoreQuestion, kMbYesNoQuestion) != kIdYes)
        return false;
    std::string message;
    return showIfFailed(op, VfdFactoryReset(connection, message), message);
}

bool btn_RestartDisplayClick(TConnection& connection, TSettingsForm&, TDisplayInfo&,
                             TOperator& op) {
    std::string message;
    return showIfFailed(op, VfdRestartDisplay(connection, message), message);
}

} // namespace tavisto
