// The settings tabs and the button row: every handler reads the controls into the
// form state, runs the window-free workflow on it and shows the form again.
#include "app/AllDownload.h"
#include "app/FormEditing.h"
#include "app/SettingCommands.h"
#include "app/ui/ColorPanel.h"
#include "app/ui/FormBinding.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/TavistoMain.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tavisto::ui {

namespace {

// Disables the window's controls while a workflow runs and enables them again on
// the way out, whatever happens. Children keep their own enabled state.
class BusyWindow {
public:
    BusyWindow(QWidget* central, bool& busy) : central_(central), busy_(busy) {
        busy_ = true;
        central_->setEnabled(false);
    }
    ~BusyWindow() {
        central_->setEnabled(true);
        busy_ = false;
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    QWidget* central_;
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

template <class Edit> void TfrmTavistoMain::editForm(Edit&& edit) {
    if (busy_)
        return;
    readForm();
    edit();
    showForm();
}

template <class Work> void TfrmTavistoMain::runOnForm(Work&& work) {
    if (busy_)
        return;
    readForm();
    {
        BusyWindow busy(centralWidget(), busy_);
        work();
    }
    showForm();
}

std::optional<std::string> TfrmTavistoMain::chooseFile(const TFileDialogRequest& request) {
    if (setup_.chooseFile)
        return setup_.chooseFile(request);
    QString start = QString::fromStdString(request.initialFolder);
    if (!request.proposedName.empty()) {
        const QString name = QString::fromStdString(request.proposedName);
        start = start.isEmpty() ? name : QDir(start).filePath(name);
    }
    const QString filter = QtFileFilter(request.filter);
    const QString path = request.save ? QFileDialog::getSaveFileName(this, {}, start, filter)
                                      : QFileDialog::getOpenFileName(this, {}, start, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

// ---- Settings file ----------------------------------------------------------------

void TfrmTavistoMain::actDefaultSettingExecute() {
    editForm([this] { tavisto::actDefaultSettingExecute(SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_savesettingsClick() {
    runOnForm([this] {
        tavisto::btn_savesettingsClick(
            SettingsForm, DisplayInfo, *this, settingsDialogs_,
            [this](const TFileDialogRequest& request) { return chooseFile(request); });
    });
}

void TfrmTavistoMain::btn_loadsettingsClick() {
    runOnForm([this] {
        tavisto::btn_loadsettingsClick(
            SettingsForm, DisplayInfo, *this,
            [this](const TFileDialogRequest& request) { return chooseFile(request); });
    });
}

void TfrmTavistoMain::btn_GetSettingClick() {
    runOnForm(
        [this] { tavisto::btn_GetSettingClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

// ---- Setting commands ---------------------------------------------------------------

void TfrmTavistoMain::btn_commandSetClick() {
    runOnForm(
        [this] { tavisto::btn_commandSetClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_baudrateSetClick() {
    // The form carries the connection list's row; the workflow moves it and the
    // connection speed together.
    runOnForm(
        [this] { tavisto::btn_baudrateSetClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_DownloadSettingClick() {
    runOnForm([this] {
        tavisto::btn_DownloadSettingClick(*connection_, SettingsForm, DisplayInfo, *this);
    });
}

void TfrmTavistoMain::btn_HeaderSetClick() {
    runOnForm(
        [this] { tavisto::btn_HeaderSetClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_TextSetClick() {
    runOnForm(
        [this] { tavisto::btn_TextSetClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_FooterSetClick() {
    runOnForm(
        [this] { tavisto::btn_FooterSetClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_brightness_setClick() {
    runOnForm([this] {
        tavisto::btn_brightness_setClick(*connection_, SettingsForm, DisplayInfo, *this);
    });
}

void TfrmTavistoMain::btn_DownloadCodePageClick() {
    runOnForm([this] {
        tavisto::btn_DownloadCodePageClick(*connection_, SettingsForm, DisplayInfo, *this);
    });
}

void TfrmTavistoMain::btn_ResetDisplayClick() {
    runOnForm(
        [this] { tavisto::btn_ResetDisplayClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

void TfrmTavistoMain::btn_RestartDisplayClick() {
    runOnForm([this] {
        tavisto::btn_RestartDisplayClick(*connection_, SettingsForm, DisplayInfo, *this);
    });
}

void TfrmTavistoMain::btn_AllDownloadClick() {
    runOnForm(
        [this] { tavisto::btn_AllDownloadClick(*connection_, SettingsForm, DisplayInfo, *this); });
}

// ---- Editing aids -------------------------------------------------------------------

void TfrmTavistoMain::pnlColorMouseDown(TColorPanel* panel) {
    if (busy_)
        return;
    std::optional<std::uint32_t> chosen;
    if (setup_.chooseColor) {
        chosen = setup_.chooseColor();
    } else {
        // The dialog opens on its own default colour, not the panel's.
        const QColor color = QColorDialog::getColor(Qt::white, this);
        if (color.isValid())
            chosen = std::uint32_t(color.red()) | std::uint32_t(color.green()) << 8 |
                     std::uint32_t(color.blue()) << 16;
    }
    if (chosen)
        panel->setColor(*chosen);
}

void TfrmTavistoMain::edt_line1Change() {
    editForm([this] { tavisto::edt_line1Change(SettingsForm); });
}

void TfrmTavistoMain::edt_line2Change() {
    editForm([this] { tavisto::edt_line2Change(SettingsForm); });
}

void TfrmTavistoMain::btn_welText_centerClick() {
    editForm([this] { tavisto::btn_welText_centerClick(SettingsForm); });
}

void TfrmTavistoMain::btn_mainText_centerClick() {
    editForm([this] { tavisto::btn_mainText_centerClick(SettingsForm); });
}

void TfrmTavistoMain::rbtnTextLine2Click() {
    editForm([this] { tavisto::rbtnTextLine2Click(SettingsForm); });
}

void TfrmTavistoMain::rg_Down_CodePageClick() {
    editForm([this] { tavisto::rg_Down_CodePageClick(SettingsForm); });
}

void TfrmTavistoMain::rg_Down_InterCharClick() {
    editForm([this] { tavisto::rg_Down_InterCharClick(SettingsForm); });
}

void TfrmTavistoMain::cbb_CodePageClick() {
    editForm([this] { tavisto::cbb_CodePageClick(SettingsForm); });
}

void TfrmTavistoMain::cbb_codepage_testClick() {
    editForm([this] { tavisto::cbb_codepage_testClick(SettingsForm); });
}

void TfrmTavistoMain::CheckBox76Click() {
    editForm([this] { tavisto::CheckBox76Click(SettingsForm, DisplayInfo); });
}

void TfrmTavistoMain::chkSelectALLClick() {
    const bool all = chkSelectALL->isChecked();
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot)
        slotCheckBox(slot)->setChecked(all);
    // Boxes 76 to 85 are the play selection: the record and "Selected:" follow.
    CheckBox76Click();
}

// ---- Wiring -----------------------------------------------------------------------

void TfrmTavistoMain::wireSettingHandlers() {
    // Buttons: `clicked` comes from the operator (or click()), never from setChecked.
    const std::pair<QAbstractButton*, void (TfrmTavistoMain::*)()> buttons[] = {
        {btn_savesettings, &TfrmTavistoMain::btn_savesettingsClick},
        {btn_loadsettings, &TfrmTavistoMain::btn_loadsettingsClick},
        {btn_Default, &TfrmTavistoMain::actDefaultSettingExecute},
        {btn_GetSetting, &TfrmTavistoMain::btn_GetSettingClick},
        {btn_commandSet, &TfrmTavistoMain::btn_commandSetClick},
        {btn_baudrateSet, &TfrmTavistoMain::btn_baudrateSetClick},
        {btn_DownloadSetting, &TfrmTavistoMain::btn_DownloadSettingClick},
        {btn_HeaderSet, &TfrmTavistoMain::btn_HeaderSetClick},
        {btn_TextSet, &TfrmTavistoMain::btn_TextSetClick},
        {btn_FooterSet, &TfrmTavistoMain::btn_FooterSetClick},
        {btn_brightness_set, &TfrmTavistoMain::btn_brightness_setClick},
        {btn_DownloadCodePage, &TfrmTavistoMain::btn_DownloadCodePageClick},
        {btn_ResetDisplay, &TfrmTavistoMain::btn_ResetDisplayClick},
        {btn_RestartDisplay, &TfrmTavistoMain::btn_RestartDisplayClick},
        {btn_AllDownload, &TfrmTavistoMain::btn_AllDownloadClick},
        {btn_welText_center, &TfrmTavistoMain::btn_welText_centerClick},
        {btn_mainText_center, &TfrmTavistoMain::btn_mainText_centerClick},
        {rbtnTextLine2, &TfrmTavistoMain::rbtnTextLine2Click},
        {rbtnTextLine4, &TfrmTavistoMain::rbtnTextLine2Click},
        {chkSelectALL, &TfrmTavistoMain::chkSelectALLClick},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this, handler);
    for (int slot = 76; slot <= 85; ++slot)
        connect(slotCheckBox(slot), &QAbstractButton::clicked, this,
                &TfrmTavistoMain::CheckBox76Click);

    for (TColorPanel* panel : {pnlColorTextHeader, pnlColorBgHeader, pnlColorTextText,
                               pnlColorBgText, pnlColorTextFooter, pnlColorBgFooter})
        connect(panel, &TColorPanel::mousePressed, this,
                [this, panel] { pnlColorMouseDown(panel); });

    // Typing only, not setText; picks only, not setCurrentIndex / setItemIndex.
    connect(edt_line1, &QLineEdit::textEdited, this, &TfrmTavistoMain::edt_line1Change);
    connect(edt_line2, &QLineEdit::textEdited, this, &TfrmTavistoMain::edt_line2Change);
    connect(cbb_CodePage, &QComboBox::activated, this, &TfrmTavistoMain::cbb_CodePageClick);
    connect(cbb_codepage_test, &QComboBox::activated, this,
            &TfrmTavistoMain::cbb_codepage_testClick);
    connect(rg_Down_CodePage, &TRadioGroup::itemClicked, this,
            &TfrmTavistoMain::rg_Down_CodePageClick);
    connect(rg_Down_InterChar, &TRadioGroup::itemClicked, this,
            &TfrmTavistoMain::rg_Down_InterCharClick);
}

} // namespace tavisto::ui
