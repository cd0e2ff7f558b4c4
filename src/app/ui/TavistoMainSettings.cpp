// The settings form behind every tab, and the button row's settings workflows: each
// handler reads the controls into the form state, runs the window-free workflow on
// it and shows the form again.
#include "app/settings/AllDownload.h"
#include "app/settings/FormEditing.h"
#include "app/settings/SettingCommands.h"
#include "app/ui/FormBinding.h"
#include "app/ui/TavistoMain.h"
#include "pictures/ui/DesktopDialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>

namespace tavisto::ui {

namespace {

// While a workflow runs, the controls that actBtnDisableExecute switches are
// disabled (Exit stays usable), and each goes back to the state it had, whatever
// happens. Children keep their own enabled state.
class BusyWindow {
public:
    BusyWindow(std::vector<QWidget*> controls, bool& busy)
        : controls_(std::move(controls)), busy_(busy) {
        busy_ = true;
        for (QWidget* control : controls_) {
            wasEnabled_.push_back(control->isEnabled());
            control->setEnabled(false);
        }
    }
    ~BusyWindow() {
        for (std::size_t i = 0; i < controls_.size(); ++i)
            controls_[i]->setEnabled(wasEnabled_[i]);
        busy_ = false;
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    std::vector<QWidget*> controls_;
    std::vector<bool> wasEnabled_;
    bool& busy_;
};

} // namespace

void TfrmTavistoMain::readForm() {
    ReadSettingsForm(*this, SettingsForm);
}

void TfrmTavistoMain::showForm() {
    // The counters follow the welcome lines whoever changed them.
    tavisto::edt_line1Change(SettingsForm);
    tavisto::edt_line2Change(SettingsForm);
    ShowSettingsForm(SettingsForm, *this);
}

void TfrmTavistoMain::editForm(const TFormWork& edit) {
    if (busy_)
        return;
    readForm();
    edit(SettingsForm, DisplayInfo);
    showForm();
}

void TfrmTavistoMain::runOnForm(const TFormWork& work) {
    if (busy_)
        return;
    readForm();
    {
        BusyWindow busy(switchedControls(), busy_);
        work(SettingsForm, DisplayInfo);
    }
    showForm();
}

std::optional<std::string> TfrmTavistoMain::chooseFile(const TFileDialogRequest& request) {
    TFileDialog dialog;
    dialog.save = request.save;
    dialog.folder = QString::fromStdString(request.initialFolder);
    dialog.proposedName = QString::fromStdString(request.proposedName);
    dialog.filter = QString::fromStdString(request.filter);
    const QString path = dialogs_->chooseFile(this, dialog);
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

// ---- Settings file ----------------------------------------------------------------

void TfrmTavistoMain::actDefaultSettingExecute() {
    editForm([this](TSettingsForm& form, TDisplayInfo& info) {
        tavisto::actDefaultSettingExecute(form, info, *this);
    });
}

void TfrmTavistoMain::btn_savesettingsClick() {
    runOnForm([this](TSettingsForm& form, TDisplayInfo& info) {
        tavisto::btn_savesettingsClick(
            form, info, *this, settingsDialogs_,
            [this](const TFileDialogRequest& request) { return chooseFile(request); });
    });
}

void TfrmTavistoMain::btn_loadsettingsClick() {
    runOnForm([this](TSettingsForm& form, TDisplayInfo& info) {
        tavisto::btn_loadsettingsClick(
            form, info, *this,
            [this](const TFileDialogRequest& request) { return chooseFile(request); });
    });
}

void TfrmTavistoMain::btn_GetSettingClick() {
    runOnForm([this](TSettingsForm& form, TDisplayInfo& info) {
        tavisto::btn_GetSettingClick(*connection_, form, info, *this);
    });
}

// ---- All Download and maintenance ------------------------------------------------------

void TfrmTavistoMain::btn_AllDownloadClick() {
    runOnForm([this](TSettingsForm& form, TDisplayInfo& info) {
        allDownloadRuns_ = true;
        btn_Stop->setEnabled(true);
        tavisto::btn_AllDownloadClick(*connection_, form, info, *this,
                                      [this] { return allDownloadStopAsked(); });
        allDownloadRuns_ = false;
        btn_Stop->setEnabled(false);
        stopAsked_ = false;
    });
    if (closeAfterStop_)
        close();
}

bool TfrmTavistoMain::allDownloadStopAsked() {
    // Between two settings no command is under way: what the operator did meanwhile
    // (Stop, Esc, Exit) is handled now. The other controls stay disabled.
    QCoreApplication::processEvents();
    return stopAsked_;
}

void TfrmTavistoMain::btn_ResetDisplayClick() {
    runOnForm([this](TSettingsForm& form, TDisplayInfo& info) {
        tavisto::btn_ResetDisplayClick(*connection_, form, info, *this);
    });
}

void TfrmTavistoMain::btn_RestartDisplayClick() {
    runOnForm([this](TSettingsForm& form, TDisplayInfo& info) {
        tavisto::btn_RestartDisplayClick(*connection_, form, info, *this);
    });
}

} // namespace tavisto::ui
