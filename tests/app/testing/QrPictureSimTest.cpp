#include "app/testing/DisplayTesting.h"
#include "protocol/Session.h"
#include "tests/app/RecordingOperator.h"
#include "tests/support/SimulatedDisplay.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

// What the display took and noted, in order: frames as hex (the picture data by its
// size), speed changes as notes; no bytes may be lost to a speed mismatch.
std::vector<std::string> DisplayStory(const SimulatedDisplay& display) {
    std::vector<std::string> story;
    for (const sim::LogEntry& entry : display.log()) {
        if (entry.kind == sim::LogKind::Received)
            story.push_back(entry.text.starts_with("QR picture data") ? entry.text
                                                                      : sim::hexOf(entry.bytes));
        else if (entry.kind == sim::LogKind::Note && entry.text.starts_with("display now"))
            story.push_back(entry.text);
        else if (entry.kind != sim::LogKind::Note)
            story.push_back("unexpected: " + entry.text);
    }
    return story;
}

class QrPictureOnTheVirtualDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        connection.CurrentPortName = "/dev/ttyFAKE0";
        connection.CurrentBaudRate = 19200;
    }

    VirtualClock clock;
    FakeLine line{clock};
    // KT350-MKC takes QR codes as pictures.
    std::unique_ptr<SimulatedDisplay> display = std::make_unique<SimulatedDisplay>(line, 2, 19200);
    TConnection connection{line, clock};
    RecordingOperator op;
};

TEST_F(QrPictureOnTheVirtualDisplay, TakenAt115200WithTheLinkBackAtTheDisplaySpeed) {
    std::string openError;
    ASSERT_TRUE(
        ShowQrCodeOfText(connection, op, FindModel(2), 3, "1234567890ABCDEFGHIJ", openError))
        << op.lastBox().text << openError;
    ASSERT_TRUE(display->settle());
    EXPECT_EQ(DisplayStory(*display),
              (std::vector<std::string>{"0207040001C200", "display now at 115200 baud",
                                        "0207190300", "QR picture data, 4608 bytes", "02071900",
                                        "0207040000"
                                        "4B00",
                                        "display now at 19200 baud"}));
    const sim::DisplayState state = display->state();
    ASSERT_EQ(state.qrCodes.size(), 1u);
    const sim::QrRequest& shown = state.qrCodes.front();
    EXPECT_TRUE(shown.isPicture);
    EXPECT_EQ(shown.alignment, 3);
    EXPECT_EQ(shown.text, QrPictureOfText("1234567890ABCDEFGHIJ").bits);
    EXPECT_EQ(display->baudRate(), 19200);

    // The display answers at its own speed again.
    std::string message;
    EXPECT_EQ(LcdIdentifyModel(connection, message), 2) << message;
}

TEST_F(QrPictureOnTheVirtualDisplay, AnUnreadablePictureLeavesTheDisplayAtItsSpeed) {
    std::string openError;
    EXPECT_FALSE(ShowQrPicture(
        connection, op, 2, [] { return QrPictureOfFile("/nonexistent/qr.png"); }, openError));
    EXPECT_EQ(op.lastBox(), (Box{"Error\xEF\xBC\x9A"
                                 "21\nThe picture file does not exist.",
                                 16}));
    ASSERT_TRUE(display->settle());
    EXPECT_EQ(DisplayStory(*display),
              (std::vector<std::string>{"0207040001C200", "display now at 115200 baud",
                                        "02070400004B00", "display now at 19200 baud"}));
    EXPECT_TRUE(display->state().qrCodes.empty());
}

} // namespace
} // namespace tavisto::testing
