#pragma once

#include <optional>
#include <string>

namespace tavisto {

// Message box flags and answers, with the values the operator dialogs have always had
// (Windows' MB_ICONERROR, IDYES, ...; named apart, as windows.h makes those macros).
inline constexpr int kMbIconError = 16;
inline constexpr int kMbIconWarning = 48;
inline constexpr int kMbIconInformation = 64;
inline constexpr int kMbYesNoQuestion = 36; // question icon with Yes and No
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// What BeginProgress resets besides the status bar (the values are the ones the
// transfer workflows have always passed).
enum class TProgressKind {
    StatusOnly = 0,   // the status bar alone
    ClearLog = 1,     // also empties the log pane
    PictureSlots = 2, // also resets the picture-slot progress bar
};

// The heading of a download report (All Download's summary, and the transfer queue's
// time-out box after Font Download and the picture download), two CR LF pairs after it.
inline constexpr const char* kDownloadReportHeading = "Download: \r\n\r\n";

// A job position that is no picture slot: the status bar's progress bar only.
inline constexpr int kNoJobPosition = 0;

// How workflows talk to the operator. The main window implements it with
// widgets, the command-line front end on the terminal, and tests record and answer.
class TOperator {
public:
    virtual ~TOperator() = default;

    // Modal box titled "Tavisto"; returns the button pressed (kIdOk, kIdYes, kIdNo).
    virtual int ShowMsgBox(const std::string& text, int flags) = 0;

    // Status bar and progress. `position` is the running job's position in the
    // download table: 77 to 90 are the picture slots 73 to 86, whose own progress bar
    // follows the status bar's; any other position (kNoJobPosition) drives only the
    // status bar.
    virtual void BeginProgress(const std::string& text, int maximum, TProgressKind kind) = 0;
    virtual void EndProgress() = 0;
    virtual void SetProgressMax(int value, int position) = 0;
    virtual void SetProgress(int value, int position) = 0;
    virtual void ShowProgressItem(const std::string& text, const std::string& detail,
                                  int position) = 0;

    // One line in the log pane, red when `error` is set.
    virtual void ShowLogOnRichEdit(const std::string& text, bool error) = 0;

    // Disable / enable everything but the connection group and Exit.
    virtual void actBtnDisableExecute() = 0;
    virtual void actBtnEnableExecute() = 0;
};

// Shows `text` in an error box and returns false: how a workflow stops on a failure
// (`return ShowError(op, message);`).
inline bool ShowError(TOperator& op, const std::string& text) {
    op.ShowMsgBox(text, kMbIconError);
    return false;
}

} // namespace tavisto
