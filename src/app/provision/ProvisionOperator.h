#pragma once

#include "app/Operator.h"

#include <functional>
#include <string>

namespace tavisto::provision {

// The operator of a provisioning worker, which has no one to ask and no window. The
// profile stands for the operator's consent, so a yes/no question (the firmware
// file's) is answered Yes. Error and warning boxes are passed on with the log lines,
// one text each, to `log` (which may be empty); information boxes are dropped, since
// the step's result says as much. The steps take their outcomes from what the
// workflows and the transfer engine return; the first error kept here only tells why
// a transfer workflow did not start its queue at all.
class ProvisionOperator final : public TOperator {
public:
    using Log = std::function<void(const std::string& text, bool error)>;
    explicit ProvisionOperator(Log log = {}) : log_(std::move(log)) {}

    int ShowMsgBox(const std::string& text, int flags) override;
    void BeginProgress(const std::string&, int, TProgressKind) override {}
    void EndProgress() override {}
    void SetProgressMax(int, int) override {}
    void SetProgress(int, int) override {}
    void ShowProgressItem(const std::string&, const std::string&, int) override {}
    void ShowLogOnRichEdit(const std::string& text, bool error) override;
    void actBtnDisableExecute() override {}
    void actBtnEnableExecute() override {}

    // The first error or warning since the last clear, on one line; empty when none.
    const std::string& error() const { return error_; }
    void clear() { error_.clear(); }

private:
    Log log_;
    std::string error_;
};

// A text with its CR LF pairs and line feeds joined into one line by "; " (by a
// space after a line ending in ':'), and without spaces around each part: a box's text in a report
// or a log line.
std::string OneLine(const std::string& text);

} // namespace tavisto::provision
