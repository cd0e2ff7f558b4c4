// The time left of a port's whole queue: the bytes of every transfer step still to
// come, at the rate its transfers reached so far.
#include "app/provision/QueueTimeLeft.h"

#include "app/provision/ProvisionWorker.h"
#include "pictures/BmpCodec.h"
#include "protocol/ModelTable.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

using namespace provision;

TEST(QueueTimeLeft, CountsTheJobsStillToComeAtTheRateSoFar) {
    QueueTimeLeft left({{kStepPictures, "Logo_Start", 1000},
                        {kStepFonts, "CP850", 4000},
                        {kStepFonts, "CP437", 5000}});
    EXPECT_EQ(left.secondsLeft(kStepPictures, "Logo_Start", 0, 0), -1); // no rate yet
    // 500 B/s: the rest of the picture and both fonts.
    EXPECT_EQ(left.secondsLeft(kStepPictures, "Logo_Start", 500, 1), 19);
    left.stepEnded(kStepPictures, 2);
    // The second font began between two looks: the first is done, 5000 bytes in 4 s.
    EXPECT_EQ(left.secondsLeft(kStepFonts, "CP437", 0, 2), 4);
    // A job's own count never takes more than the job holds.
    EXPECT_EQ(left.secondsLeft(kStepFonts, "CP437", 9000, 3), 0);
}

TEST(QueueTimeLeft, PlansWhatTheJobsWillSend) {
    TempFolder folder;
    const DisplayModel& raw = *FindModel(0); // KT350--MKA: raw RGB565 pictures
    const PixelSize size = *SlotPictureSize(raw, 73);
    folder.write("logo.bmp", EncodeBmp(Bitmap(size.width, size.height)));
    folder.write("font.bin", std::string(300, 'x'));
    folder.write("new.bin", std::string(5000, 'f'));
    folder.write("raw.json", R"({"model": "KT350--MKA", "pictures": {"73": "logo.bmp"},
        "fonts": [{"item": "CP850", "file": "font.bin"}]})");
    folder.write("firmware.json",
                 R"({"model": "KT350-MK", "firmware": "new.bin", "firmware_version": 15})");
    Profile pictures;
    Profile firmware;
    std::string error;
    ASSERT_TRUE(LoadProfile(folder.path() / "raw.json", pictures, error)) << error;
    ASSERT_TRUE(LoadProfile(folder.path() / "firmware.json", firmware, error)) << error;

    EXPECT_EQ(
        PlanTransfers(pictures, raw, false, {}),
        (TransferPlan{{kStepPictures, "Logo_Start", std::uint64_t(size.width) * size.height * 2},
                      {kStepFonts, "CP850", 300}}));
    const DisplayModel& named = *FindModel(5);
    EXPECT_EQ(PlanTransfers(firmware, named, true, {}),
              (TransferPlan{{kStepFirmware, "firmware", 5000}}));
    EXPECT_EQ(PlanTransfers(firmware, named, false, {}), TransferPlan{});
}

} // namespace
} // namespace tavisto::testing
