#include "app/settings/AllDownload.h"

#include "app/settings/SettingsWorkflows.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/app/settings/AllDownloadLabels.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <set>

namespace tavisto::testing {
namespace {

// The report with every item succeeding except the ones named.
std::string reportWith(std::set<std::string> failed = {}) {
    std::string report = "Download: \r\n\r\n";
    for (const char* label : kAllDownloadLabels) {
        std::string line = label;
        line.resize(30, ' ');
        report += line + (failed.count(label) ? "Failed " : "Success ") + "\r\n";
    }
    return report;
}

class AllDownloadTest : public SimulatedWorkflowTest {
protected:
    AllDownloadTest() {
        sim::Faults slow; // answers 20 ms late: a host that reads before it waits finds nothing
        slow.replyDelay = 20ms;
        startDisplay(5, 14, slow);
        actDefaultSettingExecute(form, info, op);
        op.boxes.clear();
    }

    TSettingsForm form;
    TDisplayInfo info;
};

// The operator's Stop is looked at before each item: once it is asked, nothing more
// goes to the display, and the report ends with how many were not sent.
TEST_F(AllDownloadTest, AStopSendsNothingMoreAndSaysHowManyWereNotSent) {
    const TAllDownloadResult result = btn_AllDownloadClick(
        connection, form, info, op, [this] { return line.writes().size() >= 4; });
    EXPECT_EQ(line.writes().size(), 4u); // brightness and header text colour, each probed
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.allSucceeded);
    std::string expected = reportWith();
    expected.resize(expected.find("Header BackgroudColor"));
    expected += "\r\nStopped before Header BackgroudColor: 12 of the settings were not sent.\r\n";
    EXPECT_EQ(result.report, expected);
    EXPECT_EQ(op.lastBox(), (Box{expected, kMbIconWarning}));
}

TEST_F(AllDownloadTest, SendsTheFourteenItemsInOrderWithWaitsAndReportsSuccess) {
    const TAllDownloadResult result = btn_AllDownloadClick(connection, form, info, op);
    const Bytes probe = wire("02 07 16 01");
    EXPECT_EQ(line.writes(), (std::vector<Bytes>{
                                 wire("1F 58 02"),
                                 probe, // 40 %
                                 wire("02 07 0B F8 FC F8"),
                                 probe, // header text white
                                 wire("02 07 0C 00 00 F8"),
                                 probe, // header background blue
                                 wire("02 07 0A"),
                                 probe, // header shows text
                                 wire("02 07 0E 00 FC F8"),
                                 probe, // text cyan
                                 wire("02 07 0F 00 00 00"),
                                 probe, // text background black
                                 wire("02 07 14 01"),
                                 probe, // two lines
                                 wire("02 07 10 00 00 F8"),
                                 probe, // footer text blue
                                 wire("02 07 11 F8 FC F8"),
                                 probe, // footer background white
                                 wire("02 07 16 06") + "*** TFT DISPLAY *** " + '\0',
                                 probe,
                                 wire("02 07 16 07") + "**HAVE A NICE DAY AND THANK YOU**" +
                                     std::string(27, ' ') + '\0',
                                 probe,
                                 wire("02 07 16 09 04"),
                                 probe,            // both lines scroll
                                 wire("02 05 00"), // no wait after the character set
                                 wire("02 06 00"),
                                 probe,
                             }));
    EXPECT_TRUE(result.ran);
    EXPECT_TRUE(result.allSucceeded);
    EXPECT_EQ(result.report, reportWith());
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Do you want to download all settings?", 36},
                                          {reportWith(), 64}}));
}

TEST_F(AllDownloadTest, ShowsGroupTitlesAndProgressOnTheStatusBar) {
    AllDownload(connection, form, info, op);
    std::string shown;
    for (const std::string& call : op.status)
        shown += call + ";";
    EXPECT_EQ(shown, "begin All Settings Downloading...... 100 0;"
                     "item Brightness adjustment ...||0;progress 0 0;progress 100 0;"
                     "item Header Settings ...||0;progress 0 0;progress 30 0;progress 60 0;"
                     "progress 100 0;"
                     "item Main Settings ...||0;progress 0 0;progress 30 0;progress 60 0;"
                     "progress 100 0;"
                     "item Footer Settings ...||0;progress 0 0;progress 50 0;progress 100 0;"
                     "item Welcome Message Settings ...||0;progress 0 0;progress 100 0;"
                     "item CodePage Settings ...||0;progress 0 0;progress 50 0;progress 100 0;"
                     "end;");
}

TEST_F(AllDownloadTest, NoSendsNothingAndAPortThatCannotOpenFailsEveryItem) {
    op.answers = {kIdNo};
    EXPECT_FALSE(btn_AllDownloadClick(connection, form, info, op).ran);
    EXPECT_TRUE(op.status.empty());

    connection.CurrentPortName = "/dev/ttyGONE";
    const TAllDownloadResult result = btn_AllDownloadClick(connection, form, info, op);
    EXPECT_TRUE(line.events().empty());
    const std::set<std::string> all(std::begin(kAllDownloadLabels), std::end(kAllDownloadLabels));
    EXPECT_EQ(result.report, reportWith(all));
    EXPECT_NE(result.report.find("\r\nMain Mode :" + std::string(19, ' ') + "Failed \r\n"),
              std::string::npos);
    EXPECT_EQ(op.lastBox(), (Box{reportWith(all), 48}));
    // The same as data: every item by its label, failed, with the line's reason.
    ASSERT_EQ(result.items.size(), std::size(kAllDownloadLabels));
    for (std::size_t i = 0; i < result.items.size(); ++i) {
        EXPECT_EQ(result.items[i].name, kAllDownloadLabels[i]);
        EXPECT_FALSE(result.items[i].succeeded);
        EXPECT_NE(result.items[i].cause, "");
    }
}

} // namespace
} // namespace tavisto::testing
