#include "protocol/ModelTable.h"

#include <gtest/gtest.h>
#include <string>

namespace tavisto {
namespace {

// Every property of every model, spelled out, so a slip in the table shows here.
TEST(ModelTable, RowsAsTheDisplaysBehave) {
    struct Row {
        const char* name;
        int width;
        bool named, firmware, qr, wakeUp;
    };
    const Row expected[kModelCount] = {
        {"KT350--MKA", 480, false, false, false, false},
        {"KT350--MKB", 480, false, false, true, false},
        {"KT350-MKC", 800, false, false, false, true},
        {"KT350-MKD", 800, true, true, true, false},
        {"KT750--MK", 800, false, false, false, false},
        {"KT350-MK", 800, true, true, true, false},
        {"KT750-MK", 800, true, true, true, false},
    };
    for (int i = 0; i < kModelCount; ++i) {
        const DisplayModel* model = FindModel(i);
        ASSERT_NE(model, nullptr);
        const Row& row = expected[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(model->index, i);
        EXPECT_EQ(model->name, row.name);
        EXPECT_EQ(model->panel, (PixelSize{row.width, row.width == 480 ? 272 : 480}));
        EXPECT_EQ(model->isNamed(), row.named);
        EXPECT_EQ(model->isAddressed(), !row.named);
        EXPECT_EQ(ModelHasFirmwareCheck(model), row.firmware);
        EXPECT_EQ(ModelHasQrCodeAt(model), row.qr);
        EXPECT_EQ(ModelTakesQrPictures(model), !row.qr);
        EXPECT_EQ(model->firmwareWakeUp, row.wakeUp);
        EXPECT_EQ(model->resolutionSuffix(), row.width == 480 ? "480X272" : "800X480");
        EXPECT_EQ(FindModelByName(row.name), model);
    }
}

TEST(ModelTable, UnknownIndexesAndNames) {
    EXPECT_EQ(FindModel(-1), nullptr);
    EXPECT_EQ(FindModel(kModelCount), nullptr);
    EXPECT_FALSE(ModelHasFirmwareCheck(nullptr));
    EXPECT_FALSE(ModelHasQrCodeAt(nullptr));
    EXPECT_FALSE(ModelTakesQrPictures(nullptr));
    EXPECT_EQ(FindModelByName("KT350-MKA"), nullptr);
    EXPECT_EQ(FindModelByName(std::string("KT350-MK\0", 9)), nullptr);
    EXPECT_EQ(FindModelByName(""), nullptr);
}

TEST(ModelTable, SlotSizesPerResolution) {
    const DisplayModel& small = *FindModel(1);
    const DisplayModel& large = *FindModel(4);
    const DisplayModel& guest = *FindModel(5);
    EXPECT_EQ(SlotPictureSize(small, 73), (PixelSize{480, 272}));
    EXPECT_EQ(SlotPictureSize(large, 73), (PixelSize{800, 480}));
    EXPECT_EQ(SlotPictureSize(small, 74), (PixelSize{120, 40}));
    EXPECT_EQ(SlotPictureSize(large, 74), (PixelSize{240, 80}));
    EXPECT_EQ(SlotPictureSize(small, 75), (PixelSize{360, 40}));
    EXPECT_EQ(SlotPictureSize(guest, 75), (PixelSize{560, 80}));
    for (int slot = 76; slot <= 85; ++slot) {
        EXPECT_EQ(SlotPictureSize(small, slot), (PixelSize{480, 272}));
        EXPECT_EQ(SlotPictureSize(guest, slot), (PixelSize{800, 480}));
    }
    EXPECT_FALSE(SlotPictureSize(small, 86));
    EXPECT_FALSE(SlotPictureSize(large, 86));
    EXPECT_EQ(SlotPictureSize(guest, 86), (PixelSize{800, 360}));
    EXPECT_FALSE(SlotPictureSize(guest, 72));
    EXPECT_FALSE(SlotPictureSize(guest, 87));
}

} // namespace
} // namespace tavisto
