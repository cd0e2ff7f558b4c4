#pragma once

#include "app/Operator.h"

#include <iosfwd>
#include <sstream>
#include <string>

namespace tavisto::cli {

struct TTerminalOptions {
    // --yes: every yes/no question is answered Yes without asking.
    bool assumeYes = false;
    // Questions are asked on the error stream and answered from the input stream ("y" or
    // "yes", any case, is Yes; anything else, or the end of the input, is No). Set it when
    // standard input is a terminal (StdinIsTerminal, cli/Console.h).
    bool interactive = false;
    // Status texts (operation and item) go to the error stream, one line each.
    bool showProgress = true;
    // Warning boxes go to the error stream; with false they go to the output stream like
    // information boxes (for a report that is the command's result either way).
    bool warningsToErr = true;
};

// The operator on a terminal, for the command-line front end. Information boxes print
// their text on the output stream, warning and error boxes on the error stream, each
// followed by a line end (CR LF pairs print as line feeds). A question without --yes
// and without a terminal to ask on is answered No, and the error stream says so: a
// script has to confirm with --yes what an operator would confirm in the window.
class TTerminalOperator final : public TOperator {
public:
    TTerminalOperator(std::ostream& out, std::ostream& err, std::istream& in,
                      TTerminalOptions options = {});
    // For commands that ask nothing: there is no input to answer from.
    TTerminalOperator(std::ostream& out, std::ostream& err, TTerminalOptions options = {});

    int ShowMsgBox(const std::string& text, int flags) override;
    void BeginProgress(const std::string& text, int maximum, TProgressKind kind) override;
    void EndProgress() override;
    void SetProgressMax(int value, int position) override;
    void SetProgress(int value, int position) override;
    void ShowProgressItem(const std::string& text, const std::string& detail,
                          int position) override;
    void ShowLogOnRichEdit(const std::string& text, bool error) override;
    void actBtnDisableExecute() override;
    void actBtnEnableExecute() override;

    // Whether a yes/no question has been answered No (or could not be asked), so a
    // command that stopped can say it stopped for want of a Yes.
    bool declined() const { return declined_; }

private:
    int ask(const std::string& question);

    std::ostream& out_;
    std::ostream& err_;
    std::istringstream noInput_;
    std::istream& in_;
    TTerminalOptions options_;
    bool declined_ = false;
};

// The text as terminal lines: CR LF becomes LF, and it ends with exactly one LF.
std::string TerminalLines(const std::string& text);

} // namespace tavisto::cli
