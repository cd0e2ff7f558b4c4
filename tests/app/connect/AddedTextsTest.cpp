// The texts the program adds, in the interface's language: each is taken from the code
// that makes it, so a reworded English text that the Chinese table no longer knows
// shows up here instead of reaching a Chinese window in English.
#include "app/connect/AddedTexts.h"

#include "app/connect/LinkRecovery.h"
#include "app/pictures/PictureDownload.h"
#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
#include "app/testing/QrText.h"
#include "app/transfer/NamedWorker.h"
#include "app/transfer/ProgressText.h"
#include "app/transfer/TransferEngine.h"
#include "link/Connection.h"
#include "protocol/DownloadTable.h"

#include <gtest/gtest.h>

namespace tavisto {
namespace {

TEST(AddedTexts, ChineseForWhatTheProgramAddsAndEnglishForTheRest) {
    TTransferStatus status;
    status.running = true;
    status.bytesPerSecond = 1126;
    status.secondsLeft = 125;
    TTransferStatus quiet = status;
    quiet.notAnswering = true;
    quiet.quietSeconds = 5;

    TPictureSlots slots;
    slots.place(76, Bitmap(480, 272));
    const struct {
        std::string english;
        std::string chinese;
    } rows[] = {
        {TimeLeftText(status), "剩余 2:05"},
        {RateAndProgressText(status), "1.1 KB/s，剩余 2:05"},
        {RateAndProgressText(quiet), "1.1 KB/s，客显无应答（5 秒）"},
        {"CP850: " + NamedFailureCause(TNamedOutcome::Failure::PortClosed), "CP850：端口已关闭"},
        {"CP850: " + NamedFailureCause(TNamedOutcome::Failure::StoppedReading),
         "CP850：客显停止接收数据"},
        {SlotSizeMismatch(slots, 76, *FindModel(5)),
         "图片位 76（Picture_1）中的图片为 480 x 272，但 KT350-MK 在此位置需要 800 x 480。"
         "该图片不发送；请用“+”重新载入。"},
        {SlotWithoutPictureText(80),
         "Picture_1 显示的是内置默认图片，默认图片从不发送。请先在“图片管理”页用“+”向其图片位载入"
         "图片。"},
        {FirmwareFileQuestion("kt.bin", 266752, "KT350-MK"),
         "将“kt.bin”（266,752 字节）作为 KT350-MK 的固件发送吗？不是为此客显制作的固件可能使其"
         "无法工作。"},
        {LinkRecoveredText(9600),
         "客显因一次未完成的传输仍处于 115200 波特率；已将其恢复为自身速度 "
         "9600 波特。"},
        {AddressedRoomProblem(6, 200000),
         "CP850 在此客显上只有 102,400 字节的空间（从 0x00032000 到 0x0004B000 处的 "
         "CP860），但文件有 "
         "200,000 字节。该文件不发送，以免覆盖 CP860 及其后的项目。"},
        {NoFirmwareImageText("KT350-MK"),
         "此版本的 Tavisto 未附带 KT350-MK 的固件，因此未发送任何内容。要从固件文件升级，请将其作为"
         "下载列表中的“firmware”项发送：在“Download File”页选择“firmware”，再按“Select File”和"
         "“Download”（tavisto-cli: download firmware FILE）。"},
        {QrTextProblem(""), "没有可生成二维码的文本。"},
        {QrTextProblem(std::string(300, 'a')),
         "文本对二维码来说太长：300 字节，客显最多接受 250 字节。"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(InInterfaceLanguage(row.english, kLangChinese), row.chinese) << row.english;
        EXPECT_EQ(InInterfaceLanguage(row.english, kLangEnglish), row.english);
    }

    // Under the original tool's own message, only the added line changes; the
    // original's texts read in English in both languages.
    const std::string box =
        "Download: \r\n\r\nTime Out!\nLoad Settings Success!\n" + TimeLeftText(status);
    EXPECT_EQ(InInterfaceLanguage(box, kLangChinese),
              "Download: \r\n\r\nTime Out!\nLoad Settings Success!\n剩余 2:05");
}

} // namespace
} // namespace tavisto
