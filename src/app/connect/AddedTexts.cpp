#include "app/connect/AddedTexts.h"

#include "app/connect/InterfaceLanguage.h"

#include <regex>
#include <utility>
#include <vector>

namespace tavisto {

namespace {

struct Rendering {
    std::regex english;  // the whole line
    const char* chinese; // with $1, $2 ... for the parts the line carries
};

const std::vector<Rendering>& renderings() {
    static const std::vector<Rendering> table = [] {
        const std::pair<const char*, const char*> rows[] = {
            // Progress of a queue: the status bar and its tooltip.
            {R"re((\d+:\d\d) left)re", "剩余 $1"},
            {R"re(the display is not answering \((\d+) s\))re", "客显无应答（$1 秒）"},
            {R"re((.+/s), (\d+:\d\d) left)re", "$1，剩余 $2"},
            {R"re((.+/s), the display is not answering \((\d+) s\))re", "$1，客显无应答（$2 秒）"},
            {R"re(not answering)re", "无应答"},
            // Cause lines under a transfer's box.
            {R"re((.+): the port closed)re", "$1：端口已关闭"},
            {R"re((.+): the display stopped reading)re", "$1：客显停止接收数据"},
            {R"re(The display may still be at 115200 baud; Connect sets it back\.)re",
             "客显可能仍处于 115200 波特率；按“连接”即可恢复。"},
            {R"re((.+): the port is gone \(the display was unplugged or its end of the )re"
             R"re(line closed\) after (\d+) of (\d+) blocks\.)re",
             "$1：端口已断开（客显被拔下或线路另一端已关闭），已完成 $2 / $3 个数据块。"},
            {R"re((.+): no block request for (\d+) s after (\d+) of (\d+) blocks; the )re"
             R"re(display stopped answering \(check its power and cable, then try again\)\.)re",
             "$1：已完成 $3 / $4 个数据块后 $2 秒内没有数据块请求；客显已停止应答（请检查电源和"
             "连接线后重试）。"},
            // Refusals and questions before anything is sent.
            {R"re(A download is already running\.)re", "已有下载正在进行。"},
            {R"re(Connect to a display first\.)re", "请先连接客显。"},
            {R"re(Slot (\d+) \((.+)\) holds a (\d+ x \d+) picture, but the (.+) takes )re"
             R"re((\d+ x \d+) there\. It is not sent; load it again with "\+"\.)re",
             "图片位 $1（$2）中的图片为 $3，但 $4 在此位置需要 "
             "$5。该图片不发送；请用“+”重新载入。"},
            {R"re((.+) shows its built-in default picture, which is never sent\. Load a )re"
             R"re(picture into its slot with "\+" on the Picture Management tab first\.)re",
             "$1 显示的是内置默认图片，默认图片从不发送。请先在“图片管理”页用“+”向其图片位载入"
             "图片。"},
            {R"re(Send "(.+)" \(([\d,]+) bytes\) as the firmware of the (.+)\? A firmware )re"
             R"re(image not made for this display can stop it from working\.)re",
             "将“$1”（$2 字节）作为 $3 的固件发送吗？不是为此客显制作的固件可能使其无法工作。"},
            {R"re(The display was still at 115200 baud from a transfer that did not finish; )re"
             R"re(it is set back to its own speed, (\d+) baud\.)re",
             "客显因一次未完成的传输仍处于 115200 波特率；已将其恢复为自身速度 $1 波特。"},
            {R"re((.+) has room for ([\d,]+) bytes on this display \(from (\w+) up to (.+) at )re"
             R"re((\w+)\), but the file has ([\d,]+) bytes\. It is not sent, so that (.+) and )re"
             R"re(the items after it are not overwritten\.)re",
             "$1 在此客显上只有 $2 字节的空间（从 $3 到 $5 处的 $4），但文件有 $6 "
             "字节。该文件不发送，"
             "以免覆盖 $7 及其后的项目。"},
            {R"re(This build of Tavisto carries no firmware image for (.+), so nothing was )re"
             R"re(sent\. To update from a firmware file, send it as the item "firmware" of the )re"
             R"re(download list: on the Download File tab choose "firmware", "Select File" and )re"
             R"re("Download" \(tavisto-cli: download firmware FILE\)\.)re",
             "此版本的 Tavisto 未附带 $1 "
             "的固件，因此未发送任何内容。要从固件文件升级，请将其作为下载"
             "列表中的“firmware”项发送：在“Download File”页选择“firmware”，再按“Select File”和"
             "“Download”（tavisto-cli: download firmware FILE）。"},
            // QR texts refused before anything is sent.
            {R"re(There is no text to make a QR code of\.)re", "没有可生成二维码的文本。"},
            {R"re(The text is not valid UTF-8 \(byte (\d+)\); a QR code of it would not say )re"
             R"re(what was meant\.)re",
             "文本不是有效的 UTF-8（第 $1 字节）；由它生成的二维码无法表达原意。"},
            {R"re(The text holds a zero byte, which would end the display's QR command\.)re",
             "文本含有零字节，会提前结束客显的二维码命令。"},
            {R"re(The text is too long for a QR code: (\d+) bytes, the display takes at most )re"
             R"re((\d+)\.)re",
             "文本对二维码来说太长：$1 字节，客显最多接受 $2 字节。"},
            {R"re(The display draws QR codes of ISO-8859-1 text, which has no "(.+)"\.)re",
             "客显只为 ISO-8859-1 文本生成二维码，其中没有“$1”。"},
        };
        std::vector<Rendering> made;
        for (const auto& [english, chinese] : rows)
            made.push_back({std::regex(english), chinese});
        return made;
    }();
    return table;
}

std::string lineInChinese(const std::string& line) {
    for (const Rendering& r : renderings()) {
        std::smatch parts;
        if (std::regex_match(line, parts, r.english))
            return parts.format(r.chinese);
    }
    return line;
}

} // namespace

std::string InInterfaceLanguage(const std::string& text, std::uint16_t langId) {
    if (!UsesChineseTexts(langId))
        return text;
    std::string shown;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        shown += lineInChinese(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return shown;
        shown += '\n';
        start = end + 1;
    }
}

} // namespace tavisto
