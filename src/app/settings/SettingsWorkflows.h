#pragma once

#include "app/Operator.h"
#include "app/Outcome.h"
#include "app/settings/SettingsForm.h"
#include "link/Connection.h"
#include "settings/SettingsText.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tavisto {

// The four actions that keep settings: Save Setting, Load Setting, Default Setting and
// Get Setting. Every operator message goes through the TOperator; the file dialogs are
// the caller's, asked for through a TChooseFile.

// What a settings file dialog is to show.
struct TFileDialogRequest {
    bool save = false;         // a save dialog, else an open dialog
    std::string initialFolder; // where it opens; empty leaves it to the toolkit
    std::string proposedName;  // the file name it proposes ("Tavisto" when saving)
    std::string filter;        // "Settings Files(*.ini)|*.ini"
};

// Shows the dialog; the chosen path (UTF-8, as every file name the workflows take), or
// nothing when the operator cancels.
using TChooseFile = std::function<std::optional<std::string>(const TFileDialogRequest&)>;

// What the settings dialogs remember until the program ends.
struct TSettingsDialogs {
    std::string saveFolder; // the save dialog's folder; SaveDialogStartFolder at first
};

// The folder the running program lives in (the current folder when unknown).
std::string ProgramFolder();

// Whether this user may create files in `folder`.
bool FolderIsWritable(const std::string& folder);

// The user's own folder for files: the home folder on POSIX, the Documents folder on
// Windows; empty when unknown.
std::string PersonalFolder();

// (The three above ask the system: ProgramFolder.cpp, or Win32ProgramFolder.cpp.)

// Where the save dialog first opens: the program's folder, as always, unless this user
// cannot write there (an installed program's folder); then `home` when it is known.
std::string SaveDialogStartFolder(const std::string& programFolder, const std::string& home);

// Save Setting: collects the form, asks for a file and writes the settings file under
// SettingsFileName of the choice, atomically. Information box "Save Settings File
// Success:" + the full file name, or an error box saying why nothing was written.
// Returns true when the file was written.
bool btn_savesettingsClick(TSettingsForm& form, TDisplayInfo& info, TOperator& op,
                           TSettingsDialogs& dialogs, const TChooseFile& choose);

// Load Setting: collects the form first (so members the file lacks keep what the form
// showed), asks for a file and applies it. Boxes: "Load Settings Success!"
// (information), "Load Settings Error!" for an empty file and the reader's message for
// a bad one (warning), the system's reason when the file cannot be read (error).
// Returns true when the file was applied.
bool btn_loadsettingsClick(TSettingsForm& form, TDisplayInfo& info, TOperator& op,
                           const TChooseFile& choose);

// Default Setting: applies the built-in default settings text. Shows nothing unless
// that fails (error box with the reason).
bool actDefaultSettingExecute(TSettingsForm& form, TDisplayInfo& info, TOperator& op);

// Get Setting: reads the display's settings text and applies it. Boxes: "Get Settings
// from Display Success!" (information), "Get Settings Error!" when the display gave
// nothing and the reader's message for a bad text (warning).
bool btn_GetSettingClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                         TOperator& op);

// The two halves of saving and loading without a dialog, for the command line.
// SaveSettingsFile writes the record as it is (no collecting); `written` receives the
// file name used.
bool SaveSettingsFile(const TDisplayInfo& info, const std::filesystem::path& chosen, TOperator& op,
                      std::filesystem::path* written = nullptr);
// ReadSettingsFile applies the file on top of the record and form as they are and
// says what came of it, showing nothing; LoadSettingsFile does the same and shows the
// outcome (an error box when the file cannot be read, a warning when it is empty or
// not a settings text, "Load Settings Success!" otherwise).
TOutcome ReadSettingsFile(const std::filesystem::path& path, TSettingsForm& form,
                          TDisplayInfo& info);
bool LoadSettingsFile(const std::filesystem::path& path, TSettingsForm& form, TDisplayInfo& info,
                      TOperator& op);

// Operator messages of these actions.
inline constexpr const char* kSaveSuccessMessage = "Save Settings File Success:";
inline constexpr const char* kLoadEmptyMessage = "Load Settings Error!";
inline constexpr const char* kLoadSuccessMessage = "Load Settings Success!";
inline constexpr const char* kGetEmptyMessage = kSettingsEmptyMessage; // the reader's own text
inline constexpr const char* kGetSuccessMessage = "Get Settings from Display Success!";

} // namespace tavisto
