#include "app/testing/QrText.h"

#include "settings/Utf8Text.h"

namespace tavisto {

std::string QrTextProblem(const std::string& text) {
    if (text.empty())
        return "There is no text to make a QR code of.";
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8At(text, at);
        if (c.length == 0)
            return "The text is not valid UTF-8 (byte " + std::to_string(at + 1) +
                   "); a QR code of it would not say what was meant.";
        if (c.code == 0)
            return "The text holds a zero byte, which would end the display's QR command.";
        at += c.length;
    }
    if (text.size() > kMaxQrTextBytes)
        return "The text is too long for a QR code: " + std::to_string(text.size()) +
               " bytes, the display takes at most " + std::to_string(kMaxQrTextBytes) + ".";
    return {};
}

std::optional<Bytes> QrTextHostBytes(const std::string& text, std::string& problem) {
    problem = QrTextProblem(text);
    if (!problem.empty())
        return std::nullopt;
    Bytes bytes;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8At(text, at);
        if (c.code > 0xFF) {
            problem = "The display draws QR codes of ISO-8859-1 text, which has no \"" +
                      text.substr(at, c.length) + "\".";
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(c.code));
        at += c.length;
    }
    return bytes;
}

} // namespace tavisto
