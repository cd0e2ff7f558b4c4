#include "app/ui/ProvisionTexts.h"

#include "app/connect/InterfaceLanguage.h"

#include <array>
#include <cstring>

namespace tavisto::ui {

namespace {

struct TextPair {
    const char* english;
    const char* chinese;
};

// The dialog's captions, messages and the words of a run, English and Chinese (UTF-8).
constexpr std::array<TextPair, 39> kTexts = {{
    {"Provision", "批量配置"},
    {"Provision\u2026", "批量配置\u2026"},
    {"&Tools", "工具(&T)"},
    {"Profile", "配置文件"},
    {"The window's settings and pictures", "窗口中的设置和图片"},
    {"Profile file:", "配置文件："},
    {"Browse\u2026", "浏览\u2026"},
    {"Ports", "端口"},
    {"All ports", "全部端口"},
    {"Port", "端口"},
    {"Model", "型号"},
    {"Step", "步骤"},
    {"Progress", "进度"},
    {"Time left", "剩余时间"},
    {"Result", "结果"},
    {"Start", "开始"},
    {"Stop", "停止"},
    {"Save report\u2026", "保存报告\u2026"},
    {"Close", "关闭"},
    {"Choose at least one port.", "请至少选择一个端口。"},
    {"Choose a profile file.", "请选择配置文件。"},
    {"Nothing was sent.", "未发送任何内容。"},
    {"Running\u2026", "正在运行\u2026"},
    {"Stopping\u2026", "正在停止\u2026"},
    {"Finished.", "已完成。"},
    {"Stopped: every port stopped at a safe point; each display is at its own speed.",
     "已停止：每个端口都在安全点停止，每台客显都已回到自己的波特率。"},
    {"Provisioning is still running. Stop it, and close once every port has stopped?",
     "批量配置仍在运行。是否停止，并在所有端口停止后关闭？"},
    {"Report saved: ", "报告已保存："},
    {"waiting", "等待"},
    {"identify", "识别"},
    {"firmware", "固件"},
    {"settings", "设置"},
    {"pictures", "图片"},
    {"play", "播放设置"},
    {"fonts", "字库"},
    {"succeeded", "成功"},
    {"failed", "失败"},
    {"interrupted", "已中断"},
    {"skipped", "已跳过"},
}};

} // namespace

QString ProvisionText(const char* english, std::uint16_t langId) {
    if (UsesChineseTexts(langId)) {
        for (const TextPair& text : kTexts) {
            if (std::strcmp(text.english, english) == 0)
                return QString::fromUtf8(text.chinese);
        }
    }
    return QString::fromUtf8(english);
}

QString ProvisionWord(const std::string& word, std::uint16_t langId) {
    return ProvisionText(word.c_str(), langId);
}

} // namespace tavisto::ui
