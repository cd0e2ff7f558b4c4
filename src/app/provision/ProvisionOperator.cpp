#include "app/provision/ProvisionOperator.h"

namespace tavisto::provision {

std::string OneLine(const std::string& text) {
    std::string line;
    std::string part;
    auto flush = [&] {
        while (!part.empty() && (part.back() == ' ' || part.back() == '\r'))
            part.pop_back();
        part.erase(0, part.find_first_not_of(' '));
        if (!part.empty()) {
            // A heading ("Download:") runs on into what follows it.
            const bool afterHeading = !line.empty() && line.back() == ':';
            line += (line.empty() ? "" : afterHeading ? " " : "; ") + part;
        }
        part.clear();
    };
    for (const char c : text) {
        if (c == '\n')
            flush();
        else
            part += c;
    }
    flush();
    return line;
}

int ProvisionOperator::ShowMsgBox(const std::string& text, int flags) {
    if (flags == kMbYesNoQuestion)
        return kIdYes;
    const bool problem = flags == kMbIconError || flags == kMbIconWarning;
    if (!problem)
        return kIdOk; // "Done!" and reports: the step's result says as much
    if (error_.empty())
        error_ = OneLine(text);
    if (log_)
        log_(OneLine(text), true);
    return kIdOk;
}

void ProvisionOperator::ShowLogOnRichEdit(const std::string& text, bool error) {
    if (error && error_.empty())
        error_ = OneLine(text);
    if (log_)
        log_(OneLine(text), error);
}

} // namespace tavisto::provision
