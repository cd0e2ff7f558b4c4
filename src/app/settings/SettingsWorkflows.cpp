#include "app/settings/SettingsWorkflows.h"

#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "protocol/Session.h"
#include "settings/DefaultSettings.h"
#include "settings/HostCodePage.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"

namespace tavisto {
namespace fs = std::filesystem;

std::string SaveDialogStartFolder(const std::string& programFolder, const std::string& home) {
    if (programFolder.empty() || FolderIsWritable(programFolder) || home.empty())
        return programFolder;
    return home;
}

bool SaveSettingsFile(const TDisplayInfo& info, const fs::path& chosen, TOperator& op,
                      fs::path* written) {
    std::string message;
    if (!HasFileNamePart(chosen, message)) {
        op.ShowMsgBox(message, kMbIconError);
        return false;
    }
    const fs::path name = SettingsFileName(chosen);
    if (!SaveFile(name, TextToHostBytes(WriteSettingsText(info)), message)) {
        op.ShowMsgBox(message, kMbIconError);
        return false;
    }
    std::error_code error;
    fs::path full = fs::absolute(name, error);
    if (error)
        full = name;
    if (written)
        *written = full;
    op.ShowMsgBox(kSaveSuccessMessage + Utf8FromPath(full), kMbIconInformation);
    return true;
}

bool btn_savesettingsClick(TSettingsForm& form, TDisplayInfo& info, TOperator& op,
                           TSettingsDialogs& dialogs, const TChooseFile& choose) {
    CollectSettings(form, info);
    if (dialogs.saveFolder.empty())
        dialogs.saveFolder = SaveDialogStartFolder(ProgramFolder(), PersonalFolder());
    const auto chosen = choose({true, dialogs.saveFolder, std::string(kSettingsProposedName),
                                std::string(kSettingsFileFilter)});
    if (!chosen)
        return false;
    const fs::path path = PathFromUtf8(*chosen);
    if (path.has_parent_path())
        dialogs.saveFolder = Utf8FromPath(path.parent_path());
    return SaveSettingsFile(info, path, op);
}

namespace {

// A settings file's outcome, and whether it failed because the file could not be read.
struct SettingsFileRead {
    TOutcome outcome;
    bool unreadable = false;
};

SettingsFileRead readSettingsFile(const fs::path& path, TSettingsForm& form, TDisplayInfo& info) {
    SettingsFileRead read;
    read.outcome.name = Utf8FromPath(path);
    Bytes bytes;
    std::string message;
    if (!ReadFileBounded(path, kSettingsFileLimit, bytes, message)) {
        read.outcome.cause = message;
        read.unreadable = true;
    } else if (bytes.empty()) {
        read.outcome.cause = kLoadEmptyMessage;
    } else if (!ApplySettingsText(HostBytesToText(bytes), form, info, message)) {
        read.outcome.cause = message;
    } else {
        read.outcome.succeeded = true;
    }
    return read;
}

} // namespace

TOutcome ReadSettingsFile(const fs::path& path, TSettingsForm& form, TDisplayInfo& info) {
    return readSettingsFile(path, form, info).outcome;
}

bool LoadSettingsFile(const fs::path& path, TSettingsForm& form, TDisplayInfo& info,
                      TOperator& op) {
    const SettingsFileRead read = readSettingsFile(path, form, info);
    if (read.outcome.succeeded)
        op.ShowMsgBox(kLoadSuccessMessage, kMbIconInformation);
    else
        op.ShowMsgBox(read.outcome.cause, read.unreadable ? kMbIconError : kMbIconWarning);
    return read.outcome.succeeded;
}

bool btn_loadsettingsClick(TSettingsForm& form, TDisplayInfo& info, TOperator& op,
                           const TChooseFile& choose) {
    CollectSettings(form, info);
    const auto chosen =
        choose({false, std::string(), std::string(), std::string(kSettingsFileFilter)});
    if (!chosen)
        return false;
    return LoadSettingsFile(PathFromUtf8(*chosen), form, info, op);
}

bool actDefaultSettingExecute(TSettingsForm& form, TDisplayInfo& info, TOperator& op) {
    std::string message;
    if (ApplySettingsText(DefaultSettingsText(), form, info, message))
        return true;
    op.ShowMsgBox(message, kMbIconError);
    return false;
}

bool btn_GetSettingClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                         TOperator& op) {
    std::string message;
    std::string configuration;
    LcdGetConfiguration(connection, message, configuration);
    if (configuration.empty()) {
        op.ShowMsgBox(kGetEmptyMessage, kMbIconWarning);
        return false;
    }
    if (!ApplySettingsText(configuration, form, info, message)) {
        op.ShowMsgBox(message, kMbIconWarning);
        return false;
    }
    op.ShowMsgBox(kGetSuccessMessage, kMbIconInformation);
    return true;
}

} // namespace tavisto
