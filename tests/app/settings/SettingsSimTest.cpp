#include "app/settings/AllDownload.h"
#include "app/settings/FormEditing.h"
#include "app/settings/SettingsWorkflows.h"
#include "tests/app/RecordingOperator.h"
#include "tests/support/SimulatedDisplay.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

// The settings sessions against the simulated display, on the virtual clock.
TEST(SettingsOnTheVirtualDisplay, AllDownloadSetsTheDisplayAndGetSettingReadsItBack) {
    VirtualClock clock;
    FakeLine line{clock};
    SimulatedDisplay display{line};
    TConnection connection{line, clock};
    connection.CurrentPortName = "/dev/ttyFAKE0";
    connection.CurrentBaudRate = 9600;
    RecordingOperator op;
    TSettingsForm form;
    TDisplayInfo info;
    actDefaultSettingExecute(form, info, op);

    form.rg_brightness = 0;             // "20%"
    form.pnlColorTextHeader = 0x0000F8; // red
    form.pnlColorBgFooter = 0x00FC00;   // green
    form.edt_line1 = "SIM";
    form.chk_Scroll2 = false;
    form.rg_Down_InterChar = 8; // Japan, which pulls CP932
    rg_Down_InterCharClick(form);
    form.rbtnTextLine2 = false;
    form.rbtnTextLine4 = true;
    const TAllDownloadResult result = AllDownload(connection, form, info, op);
    EXPECT_TRUE(result.allSucceeded) << result.report;
    EXPECT_EQ(op.lastBox().flags, kMbIconInformation);
    ASSERT_TRUE(display.settle());
    EXPECT_TRUE(display.rejectedFrames().empty());

    const sim::DeviceSettings settings = display.state().settings;
    EXPECT_EQ(settings.back_light, 6);
    EXPECT_EQ(settings.tp_font_rgb, 0xF800);
    EXPECT_EQ(settings.bm_back_rgb, 0x07E0);
    EXPECT_EQ(settings.wel_mess1, "SIM" + std::string(17, ' '));
    EXPECT_EQ(settings.temp2, 6);
    EXPECT_EQ(settings.Char_No, 8);
    EXPECT_EQ(settings.Expand_Char_No, 1);
    EXPECT_EQ(settings.line_mode, 2);

    // What the display now reports shows as the form that was sent.
    TSettingsForm readBack;
    TDisplayInfo readInfo;
    actDefaultSettingExecute(readBack, readInfo, op);
    ASSERT_TRUE(btn_GetSettingClick(connection, readBack, readInfo, op)) << op.lastBox().text;
    EXPECT_EQ(readBack, form);
}

} // namespace
} // namespace tavisto::testing
