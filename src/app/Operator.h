#pragma once

#include <optional>
#include <string>

namespace tavisto {

// Message box flags and answers, with the values the operator dialogs have always had.
inline constexpr int MB_ICONERROR = 16;
inline constexpr int MB_ICONWARNING = 48;
inline constexpr int MB_ICONINFORMATION = 64;
inline constexpr int MB_YESNO_QUESTION = 36; // question icon with Yes and No
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// How workflows talk to the operator. The main window implements it with
// widgets, the command-line front end on the terminal, and tests record and answer.
class TOperator {
public:
    virtual ~TOperator() = default;

    // Modal box titled "Tavisto"; returns the button pressed (IDOK, IDYES, IDNO).
    virtual int ShowMsgBox(const std::string& text, int flags) = 0;

    // Status bar and progress (kind 1 also clears the log, kind 2 also resets the
    // picture-slot progress bar).
    virtual void BeginProgress(const std::string& text, int maximum, int kind) = 0;
    virtual void EndProgress() = 0;
    virtual void SetProgressMax(int value, int slot) = 0;
    virtual void SetProgress(int value, int slot) = 0;
    virtual void ShowProgressItem(const std::string& text, const std::string& detail, int slot) = 0;

    // One line in the log pane, red when `error` is set.
    virtual void ShowLogOnRichEdit(const std::string& text, bool error) = 0;

    // Disable / enable everything but the connection group and Exit.
    virtual void actBtnDisableExecute() = 0;
    virtual void actBtnEnableExecute() = 0;
};

} // namespace tavisto
