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
