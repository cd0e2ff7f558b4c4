#include "protocol/DownloadTable.h"

#include "protocol/Hex.h"

#include <charconv>
#include <string_view>

namespace tavisto {

// Rows 1-26 code-page fonts, 27-50 small code-page fonts, 51-63 international
// character sets, 64-76 small international sets, 77-90 the picture slots,
// 91 a settings file, 92 the Big5/GBK conversion table, 93 the firmware.
const std::array<TDownFiles, kDownFileCount> DownFiles = {{
    {"CP437", "0x00000000", "437_80x40.bin"},
    {"CP437_40x40", "0xFFFFFFFF", "437_40x40.bin"},
    {"CP737", "0x001A9000", "737_80x40.bin"},
    {"CP737_S", "0x001DB000", "737S_80x40.bin"},
    {"CP737_S1", "0x00271000", "737-S1_28597_80x40.bin"},
    {"CP850", "0x00032000", "850_80x40.bin"},
    {"CP852", "0x0015E000", "852_80x40.bin"},
    {"CP857", "0x000E1000", "857_80x40.bin"},
    {"CP858", "0x00177000", "858_80x40.bin"},
    {"CP860", "0x0004B000", "860_80x40.bin"},
    {"CP863", "0x00064000", "863_80x40.bin"},
    {"CP864", "0x001C2000", "864_80x40.bin"},
    {"CP865", "0x0007D000", "865_80x40.bin"},
    {"CP866", "0x000AF000", "866_80x40.bin"},
    {"CP866_AT", "0x00145000", "866_AT_80x40.bin"},
    {"CP874", "0x0028A000", "874_80x40.bin"},
    {"CP936_GBK", "0xFFFFFFFF", "936_gbk_40x40.bin"},
    {"WCP1250", "0x00113000", "1250_80x40.bin"},
    {"WCP1251", "0x0012C000", "1251_80x40.bin"},
    {"WCP1252", "0x000C8000", "1252_80x40.bin"},
    {"WCP1253", "0x001F4000", "1253_80x40.bin"},
    {"WCP1255", "0x0020D000", "1255_80x40.bin"},
    {"WCP1256", "0x0047E000", "1256_80x40.bin"},
    {"WCP1257", "0x00226000", "1257_80x40.bin"},
    {"WCP1258", "0x0023F000", "1258_80x40.bin"},
    {"Katakana", "0x00019000", "Katakana_80x40.bin"},
    {"mini_CP437", "0x002A3000", "437_48x24.bin"},
    {"mini_CP737", "0x00361000", "737_48x24.bin"},
    {"mini_CP737_S", "0x00375000", "737S_48x24.bin"},
    {"mini_CP737_S1", "0x003B1000", "737-S1_28597_48x24.bin"},
    {"mini_CP850", "0x002B7000", "850_48x24.bin"},
    {"mini_CP852", "0x00343000", "852_48x24.bin"},
    {"mini_CP857", "0x00311000", "857_48x24.bin"},
    {"mini_CP858", "0x0034D000", "858_48x24.bin"},
    {"mini_CP860", "0x002D5000", "860_48x24.bin"},
    {"mini_CP863", "0x002DF000", "863_48x24.bin"},
    {"mini_CP864", "0x0036B000", "864_48x24.bin"},
    {"mini_CP865", "0x002E9000", "865_48x24.bin"},
    {"mini_CP866", "0x002FD000", "866_48x24.bin"},
    {"mini_CP866_AT", "0x00339000", "866_AT_48x24.bin"},
    {"mini_CP874", "0x003BB000", "874_48x24.bin"},
    {"mini_WCP1250", "0x00325000", "1250_48x24.bin"},
    {"mini_WCP1251", "0x0032F000", "1251_48x24.bin"},
    {"mini_WCP1252", "0x00307000", "1252_48x24.bin"},
    {"mini_WCP1253", "0x0037F000", "1253_48x24.bin"},
    {"mini_WCP1255", "0x00389000", "1255_48x24.bin"},
    {"mini_WCP1256", "0x003C5000", "1256_48x24.bin"},
    {"mini_WCP1257", "0x00393000", "1257_48x24.bin"},
    {"mini_WCP1258", "0x0039D000", "1258_48x24.bin"},
    {"mini_Katakana", "0x002AD000", "Katakana_48x24.bin"},
    {"USA", "0x004C9000", "40x80_fxChar_U_S_A.bin"},
    {"FRANCE", "0x004CB000", "40x80_fxChar_FRANCE.bin"},
    {"GERMANY", "0x004CD000", "40x80_fxChar_GERMANY.bin"},
    {"UK", "0x004CF000", "40x80_fxChar_U_K.bin"},
    {"DENMARK_I", "0x004D1000", "40x80_fxChar_DENMARK_I.bin"},
    {"SWEDEN", "0x004D3000", "40x80_fxChar_SWEDEN.bin"},
    {"ITALY", "0x004D5000", "40x80_fxChar_ITALY.bin"},
    {"SPAIN", "0x004D7000", "40x80_fxChar_SPAIN.bin"},
    {"JAPAN", "0x004D9000", "40x80_fxChar_JAPAN.bin"},
    {"NORWAY", "0x004DB000", "40x80_fxChar_NORWAY.bin"},
    {"DENMARK_II", "0x004DD000", "40x80_fxChar_DENMARK_II.bin"},
    {"SLAVONIC", "0x004DF000", "40x80_fxChar_SLAVONIC.bin"},
    {"RUSSIA", "0x004E1000", "40x80_fxChar_RUSSIA.bin"},
    {"mini_USA", "0x003D9000", "24x48_fxChar_U_S_A.bin"},
    {"mini_FRANCE", "0x003DB000", "24x48_fxChar_FRANCE.bin"},
    {"mini_GERMANY", "0x003DD000", "24x48_fxChar_GERMANY.bin"},
    {"mini_UK", "0x003DF000", "24x48_fxChar_U_K.bin"},
    {"mini_DENMARK_I", "0x003E1000", "24x48_fxChar_DENMARK_I.bin"},
    {"mini_SWEDEN", "0x003E3000", "24x48_fxChar_SWEDEN.bin"},
    {"mini_ITALY", "0x003E5000", "24x48_fxChar_ITALY.bin"},
    {"mini_SPAIN", "0x003E7000", "24x48_fxChar_SPAIN.bin"},
    {"mini_JAPAN", "0x003E9000", "24x48_fxChar_JAPAN.bin"},
    {"mini_NORWAY", "0x003EB000", "24x48_fxChar_NORWAY.bin"},
    {"mini_DENMARK_II", "0x003ED000", "24x48_fxChar_DENMARK_II.bin"},
    {"mini_SLAVONIC", "0x003EF000", "24x48_fxChar_SLAVONIC.bin"},
    {"mini_RUSSIA", "0x003F1000", "24x48_fxChar_RUSSIA.bin"},
    {"Logo_Start", "0x004FB000", "Picture_logo.jpg"},
    {"logo_Head", "0x00F43000", "logo_m0.jpg"},
    {"Pic_Head", "0x00FBA000", "head_pic.jpg"},
    {"Picture_1", "0x005B7000", "P1.jpg"},
    {"Picture_2", "0x00673000", "P2.jpg"},
    {"Picture_3", "0x0072F000", "P3.jpg"},
    {"Picture_4", "0x007EB000", "P4.jpg"},
    {"Picture_5", "0x008A7000", "P5.jpg"},
    {"Picture_6", "0x00963000", "P6.jpg"},
    {"Picture_7", "0x00A1F000", "P7.jpg"},
    {"Picture_8", "0x00ADB000", "P8.jpg"},
    {"Picture_9", "0x00B97000", "P9.jpg"},
    {"Picture_10", "0x00C53000", "P10.jpg"},
    {"Pic_Guest", "0xFFFFFFFF", "Guest.jpg"},
    {"system", "0xFFFFFFFF", "system.ini"},
    {"big52gbk", "0xFFFFFFFF", "big52gbk.bin"},
    {"firmware", "0x00000000", "firmware.bin"},
}};

const TDownFiles& DownFileAt(int position) {
    return DownFiles.at(position - 1);
}

std::optional<std::uint32_t> AddressOfPosition(int position) {
    const std::string_view text = DownFileAt(position).Address;
    std::uint32_t address = 0;
    const auto digits = text.substr(2);
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), address, 16);
    if (error != std::errc{} || end != digits.data() + digits.size() || address == 0xFFFFFFFFu)
        return std::nullopt;
    return address;
}

namespace {

// The row stored next above `address` (the firmware aside), or 0 when there is none.
int NextPositionAbove(std::uint32_t address) {
    int next = 0;
    std::uint32_t nextAddress = 0;
    for (int position = 1; position <= kDownFileCount; ++position) {
        const auto other = AddressOfPosition(position);
        if (position == kFirmwarePosition || !other || *other <= address)
            continue;
        if (next == 0 || *other < nextAddress) {
            next = position;
            nextAddress = *other;
        }
    }
    return next;
}

} // namespace

std::optional<std::uint32_t> AddressedRoom(int position) {
    const auto address = AddressOfPosition(position);
    if (position == kFirmwarePosition || !address)
        return std::nullopt;
    const int next = NextPositionAbove(*address);
    if (next == 0)
        return std::nullopt;
    return *AddressOfPosition(next) - *address;
}

std::string AddressedRoomProblem(int position, std::uint64_t size) {
    const auto room = AddressedRoom(position);
    if (!room || size <= *room)
        return {};
    const int next = NextPositionAbove(*AddressOfPosition(position));
    return std::string(DownFileAt(position).Name) + " has room for " + GroupedNumber(*room) +
           " bytes on this display (from " + DownFileAt(position).Address + " up to " +
           DownFileAt(next).Name + " at " + DownFileAt(next).Address + "), but the file has " +
           GroupedNumber(size) + " bytes. It is not sent, so that " + DownFileAt(next).Name +
           " and the items after it are not overwritten.";
}

} // namespace tavisto
