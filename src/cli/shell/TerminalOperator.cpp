#include "cli/shell/TerminalOperator.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

namespace tavisto::cli {

TTerminalOperator::TTerminalOperator(std::ostream& out, std::ostream& err, std::istream& in,
                                     TTerminalOptions options)
    : out_(out), err_(err), in_(in), options_(options) {}

TTerminalOperator::TTerminalOperator(std::ostream& out, std::ostream& err, TTerminalOptions options)
    : out_(out), err_(err), in_(noInput_), options_(options) {}

std::string TerminalLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        lines.push_back(text[i]);
    }
    while (!lines.empty() && (lines.back() == '\n' || lines.back() == '\r'))
        lines.pop_back();
    return lines + "\n";
}

int TTerminalOperator::ask(const std::string& question) {
    if (options_.assumeYes) {
        err_ << question << " yes (--yes)\n";
        return kIdYes;
    }
    if (!options_.interactive) {
        err_ << question << " no (run with --yes to confirm)\n";
        return kIdNo;
    }
    err_ << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer))
        return kIdNo;
    answer.erase(std::remove_if(answer.begin(), answer.end(),
                                [](unsigned char c) { return std::isspace(c); }),
                 answer.end());
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "y" || answer == "yes" ? kIdYes : kIdNo;
}

int TTerminalOperator::ShowMsgBox(const std::string& text, int flags) {
    constexpr int kButtonMask = 0x0F;
    constexpr int kYesNoButtons = kMbYesNoQuestion & kButtonMask;
    if ((flags & kButtonMask) == kYesNoButtons) {
        const int answer = ask(text);
        declined_ = declined_ || answer != kIdYes;
        return answer;
    }
    const bool toErr = flags == kMbIconError || (flags == kMbIconWarning && options_.warningsToErr);
    (toErr ? err_ : out_) << TerminalLines(text) << std::flush;
    return kIdOk;
}

void TTerminalOperator::BeginProgress(const std::string& text, int, TProgressKind) {
    if (options_.showProgress && !text.empty())
        err_ << text << "\n";
}

void TTerminalOperator::EndProgress() {}

void TTerminalOperator::SetProgressMax(int, int) {}

void TTerminalOperator::SetProgress(int, int) {}

void TTerminalOperator::ShowProgressItem(const std::string& text, const std::string& detail, int) {
    if (!options_.showProgress)
        return;
    err_ << text;
    if (!detail.empty())
        err_ << " " << detail;
    err_ << "\n";
}

void TTerminalOperator::ShowLogOnRichEdit(const std::string& text, bool error) {
    (error ? err_ : out_) << TerminalLines(text);
}

void TTerminalOperator::actBtnDisableExecute() {}

void TTerminalOperator::actBtnEnableExecute() {}

} // namespace tavisto::cli
