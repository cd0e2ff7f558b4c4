#include "protocol/DownloadTable.h"

#include "protocol/ModelTable.h"
#include "protocol/PictureSlots.h"

#include <cctype>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <tuple>

namespace tavisto {
namespace {

using Row = std::tuple<int, std::string, std::string, std::string>;

TEST(DownFiles, RowsAtTheGroupBoundaries) {
    const Row rows[] = {
        {1, "CP437", "0x00000000", "437_80x40.bin"},
        {2, "CP437_40x40", "0xFFFFFFFF", "437_40x40.bin"},
        {5, "CP737_S1", "0x00271000", "737-S1_28597_80x40.bin"},
        {17, "CP936_GBK", "0xFFFFFFFF", "936_gbk_40x40.bin"},
        {23, "WCP1256", "0x0047E000", "1256_80x40.bin"},
        {26, "Katakana", "0x00019000", "Katakana_80x40.bin"},
        {27, "mini_CP437", "0x002A3000", "437_48x24.bin"},
        {50, "mini_Katakana", "0x002AD000", "Katakana_48x24.bin"},
        {51, "USA", "0x004C9000", "40x80_fxChar_U_S_A.bin"},
        {63, "RUSSIA", "0x004E1000", "40x80_fxChar_RUSSIA.bin"},
        {64, "mini_USA", "0x003D9000", "24x48_fxChar_U_S_A.bin"},
        {76, "mini_RUSSIA", "0x003F1000", "24x48_fxChar_RUSSIA.bin"},
        {77, "Logo_Start", "0x004FB000", "Picture_logo.jpg"},
        {78, "logo_Head", "0x00F43000", "logo_m0.jpg"},
        {80, "Picture_1", "0x005B7000", "P1.jpg"},
        {89, "Picture_10", "0x00C53000", "P10.jpg"},
        {90, "Pic_Guest", "0xFFFFFFFF", "Guest.jpg"},
        {91, "system", "0xFFFFFFFF", "system.ini"},
        {92, "big52gbk", "0xFFFFFFFF", "big52gbk.bin"},
        {93, "firmware", "0x00000000", "firmware.bin"},
    };
    for (const auto& [position, name, address, fileName] : rows) {
        const TDownFiles& row = DownFileAt(position);
        EXPECT_EQ(row.Name, name) << position;
        EXPECT_EQ(row.Address, address) << position;
        EXPECT_EQ(row.FileName, fileName) << position;
    }
    EXPECT_THROW(DownFileAt(0), std::out_of_range);
    EXPECT_THROW(DownFileAt(94), std::out_of_range);
}

TEST(DownFiles, EveryRowIsWellFormedAndNamedOnce) {
    std::set<std::string> names;
    for (const TDownFiles& row : DownFiles) {
        const std::string address = row.Address;
        ASSERT_EQ(address.size(), 10u) << row.Name;
        EXPECT_EQ(address.substr(0, 2), "0x") << row.Name;
        for (char c : address.substr(2))
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'))
                << row.Name;
        EXPECT_FALSE(std::string(row.FileName).empty());
        EXPECT_TRUE(names.insert(row.Name).second) << row.Name;
    }
    // The slide-show pictures lie 0BC000 hex apart.
    for (int position = 80; position < 89; ++position)
        EXPECT_EQ(std::stoul(DownFileAt(position + 1).Address, nullptr, 16) -
                      std::stoul(DownFileAt(position).Address, nullptr, 16),
                  0xBC000u);
}

TEST(DownFiles, AnItemsRoomEndsAtTheNextItemAbove) {
    // CP850 at 0x32000 is followed by CP860 at 0x4B000; CP437 at 0 by Katakana.
    EXPECT_EQ(AddressedRoom(6), 0x19000u);
    EXPECT_EQ(AddressedRoom(1), 0x19000u);
    // The slide-show pictures follow each other; the last lies below the header logo.
    EXPECT_EQ(AddressedRoom(89), 0xF43000u - 0xC53000u);
    // No address, the firmware's own storage, and the highest item: no known room.
    EXPECT_FALSE(AddressedRoom(2));
    EXPECT_FALSE(AddressedRoom(kFirmwarePosition));
    EXPECT_FALSE(AddressedRoom(79));

    EXPECT_EQ(AddressedRoomProblem(6, 0x19000), "");
    EXPECT_EQ(AddressedRoomProblem(6, 1048576),
              "CP850 has room for 102,400 bytes on this display (from 0x00032000 up to CP860 at "
              "0x0004B000), but the file has 1,048,576 bytes. It is not sent, so that CP860 and "
              "the items after it are not overwritten.");
    EXPECT_EQ(AddressedRoomProblem(kFirmwarePosition, 20u << 20), "");
}

TEST(DownFiles, EverySlotPictureFitsItsRoomOnTheAddressedModels) {
    for (const DisplayModel& model : DisplayModels) {
        if (!model.isAddressed())
            continue;
        for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot) {
            const auto size = SlotPictureSize(model, slot);
            if (!size)
                continue;
            const std::uint64_t bytes = 2ull * size->width * size->height;
            EXPECT_EQ(AddressedRoomProblem(PositionOfSlot(slot), bytes), "")
                << model.name << " slot " << slot;
        }
    }
}

TEST(PictureSlots, JobPositionsAndButtons) {
    EXPECT_EQ(PictureSlotOfPosition(77), 73);
    EXPECT_EQ(PictureSlotOfPosition(90), 86);
    EXPECT_EQ(PictureSlotOfPosition(76), 0);
    EXPECT_EQ(PictureSlotOfPosition(91), 0);
    EXPECT_EQ(PictureSlotOfPosition(1), 0);
    EXPECT_EQ(MinusButtonOfSlot(73), 21);
    EXPECT_EQ(MinusButtonOfSlot(75), 25);
    EXPECT_EQ(MinusButtonOfSlot(76), 1);
    EXPECT_EQ(MinusButtonOfSlot(77), 3);
    EXPECT_EQ(MinusButtonOfSlot(85), 19);
    EXPECT_EQ(MinusButtonOfSlot(86), 27);
    EXPECT_EQ(MinusButtonOfSlot(87), 0);
}

} // namespace
} // namespace tavisto
