#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tavisto {

// The constant tables that the settings record's numbers refer to. A row's position is
// also the item index of every list control that shows the table. Names are UTF-8.

struct TBaudRates {
    std::string_view BaudRateName;
    std::int32_t BaudRateNo;
};

struct TCommandModes {
    std::string_view CommandName;
    std::int32_t CommandNo;
};

struct TInterChars {
    std::string_view DisplayNameEn;
    std::string_view DisplayNameZh;
    std::int32_t InterCharNo;
    std::int32_t SetCodePageNo;  // CodePageNoNew of the code page that goes with the set
    std::int32_t DownCodePageNo; // same as SetCodePageNo; kept for the record only
};

struct TCodePages {
    std::string_view DisplayName;
    std::int32_t CodePageName;  // code page number used for text conversion
    std::int32_t CodePageNoOld; // older numbering, 0 where none; kept for the record only
    std::int32_t CodePageNoNew; // the display's code page number
};

// The display's own serial speed (baud rate list of the settings page).
inline constexpr std::array<TBaudRates, 5> SetBaudRates{{
    {"9600", 0},
    {"19200", 1},
    {"38400", 2},
    {"57600", 3},
    {"115200", 4},
}};

// The connection's serial speed; the same rows as SetBaudRates.
inline constexpr std::array<TBaudRates, 5> PortBaudRates{{
    {"9600", 0},
    {"19200", 1},
    {"38400", 2},
    {"57600", 3},
    {"115200", 4},
}};

inline constexpr std::array<TCommandModes, 15> CommandModes{{
    {"LD220", 0},
    {"EPSON Esc/POS", 1},
    {"AEDEX", 2},
    {"UTC/S", 3},
    {"UTC/E", 4},
    {"ADM788", 5},
    {"DSP800", 6},
    {"CD5220", 7},
    {"EMAX", 8},
    {"LOGIC CONTROL", 9},
    {"ICD2002", 10},
    {"EZ-202", 11},
    {"PL-200", 12},
    {"KT3000", 13},
    {"AUTO", 255},
}};

inline constexpr std::array<TInterChars, 20> InterChars{{
    {"USA", "美国", 0, 0, 0},
    {"France", "法国", 1, 19, 19},
    {"Germany", "德国", 2, 19, 19},
    {"U.K.", "英国", 3, 19, 19},
    {"Denmark I", "丹麦I", 4, 19, 19},
    {"Sweden", "瑞典", 5, 19, 19},
    {"Italy", "意大利", 6, 19, 19},
    {"Spain", "西班牙语系", 7, 19, 19},
    {"Japan", "日本", 8, 1, 1},
    {"Norway", "挪威", 9, 19, 19},
    {"Denmark II", "丹麦II", 10, 2, 2},
    {"Slavonic", "斯拉夫语系", 11, 18, 18},
    {"Russia", "俄罗斯", 12, 17, 17},
    {"Greek", "希腊语系", 13, 21, 21},
    {"Czech", "捷克语系", 14, 18, 18},
    {"Lithuania", "立陶宛", 15, 51, 51},
    {"Portugal", "葡萄牙语系", 16, 3, 3},
    {"Turkey", "土耳其", 17, 9, 9},
    {"Baltic States", "波罗的海国家", 18, 51, 51},
    {"Other", "其他", 255, 0, 0},
}};

inline constexpr std::array<TCodePages, 27> CodePages{{
    {"CP437", 437, 0, 0},        {"CP737", 737, 17, 21},    {"CP737_S", 737, 0, 23},
    {"CP737_S1", 28597, 0, 54},  {"CP850", 850, 2, 2},      {"CP852", 852, 16, 18},
    {"CP857", 857, 9, 9},        {"CP858", 858, 18, 19},    {"CP860", 860, 3, 3},
    {"CP863", 863, 4, 4},        {"CP864", 864, 19, 22},    {"CP865", 865, 5, 5},
    {"CP866", 866, 15, 17},      {"CP866_AT", 866, 0, 15},  {"CP874", 874, 0, 55},
    {"CP932", 932, 1, 1},        {"CP936_GBK", 936, 0, 25}, {"CP949", 949, 0, 129},
    {"CP950_BIG5", 950, 0, 146}, {"WCP1250", 1250, 11, 11}, {"WCP1251", 1251, 14, 14},
    {"WCP1252", 1252, 8, 16},    {"WCP1253", 1253, 12, 47}, {"WCP1255", 1255, 13, 49},
    {"WCP1256", 1256, 0, 24},    {"WCP1257", 1257, 21, 51}, {"WCP1258", 1258, 0, 52},
}};

// Each returns the index of the first row among rows 0..highestIndex whose key column
// (BaudRateNo, CommandNo, InterCharNo, CodePageNoNew) equals key, or -1 when none does.
// A highest index beyond the table is limited to the table's last row.
int IndexOfBaudRate(std::span<const TBaudRates> table, int highestIndex, int key);
int IndexOfCommandMode(std::span<const TCommandModes> table, int highestIndex, int key);
int IndexOfInterChar(std::span<const TInterChars> table, int highestIndex, int key);
int IndexOfCodePage(std::span<const TCodePages> table, int highestIndex, int key);

} // namespace tavisto
