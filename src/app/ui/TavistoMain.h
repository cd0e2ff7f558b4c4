#pragma once

#include "app/ConnectWorkflow.h"
#include "app/ManualResetEvent.h"
#include "app/Operator.h"
#include "app/PictureSlots.h"
#include "app/SettingsForm.h"
#include "app/SettingsWorkflows.h"
#include "link/Clock.h"
#include "link/Connection.h"

#include <QMainWindow>
#include <QMessageBox>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QTimer;

namespace tavisto::ui {

class TColorPanel;
class TImageBox;
class TRadioGroup;
class TUpDown;

// Presents a prepared message box (title, text, icon and buttons set) and returns
// the button the operator pressed. Tests install one that records and answers.
using MsgBoxPresenter = std::function<QMessageBox::StandardButton(QMessageBox& box)>;

// Lists the machine's serial ports; the signature of EnumPorts.
using PortLister = std::function<bool(std::vector<std::string>& list, std::string& message)>;

// Asks the operator for a colour (0x00BBGGRR); nothing when cancelled.
using ColorChooser = std::function<std::optional<std::uint32_t>()>;

// What the window is built with. Everything has a default for the real program.
struct TMainWindowSetup {
    link::PortOpener* opener = nullptr;  // null: the machine's serial ports
    Clock* clock = nullptr;              // null: real time
    PortLister enumPorts;                // empty: EnumPorts
    std::vector<std::string> firstPorts; // listed before the machine's ports
    std::optional<std::uint16_t> langId; // unset: the system default language
    MsgBoxPresenter presenter;           // empty: a modal QMessageBox
    TChooseFile chooseFile;              // empty: QFileDialog
    ColorChooser chooseColor;            // empty: QColorDialog
};

// The main window. Control members carry the names the operator documentation
// and the workflows use; the window only presents, the workflows live in src/app.
class TfrmTavistoMain : public QMainWindow, public TOperator, private TConnectView {
    Q_OBJECT
public:
    explicit TfrmTavistoMain(TMainWindowSetup setup = {}, QWidget* parent = nullptr);
    ~TfrmTavistoMain() override;

    TConnection& connection() { return *connection_; }
    const TConnection& connection() const { return *connection_; }
    ManualResetEvent* transmitEvent() const { return TransmitEvent.get(); }

    // Status bar panel texts (panels 1 to 3; panel 0 holds the progress bar).
    QString panelText(int panel) const;
    // The controls that actBtnDisableExecute / actBtnEnableExecute switch, in order.
    std::vector<QWidget*> switchedControls() const;

    // ---- Operator services --------------------------------------------------
    int ShowMsgBox(const std::string& text, int flags) override;
    void BeginProgress(const std::string& text, int maximum, int kind) override;
    void EndProgress() override;
    void SetProgressMax(int value, int slot) override;
    void SetProgress(int value, int slot) override;
    void ShowProgressItem(const std::string& text, const std::string& detail, int slot) override;
    void ShowLogOnRichEdit(const std::string& text, bool error) override;
    void actBtnDisableExecute() override;
    void actBtnEnableExecute() override;

    // ---- Actions and handlers -----------------------------------------------
    void actSelectLanguageExecute();
    void actButtonCreatExecute();
    void btnConnectClick();
    void cbb_SerialPortChange();
    void cbb_BaudRateChange();
    void btn_ExitClick();
    void tmr1Timer();
    void timOutTimer();

    // Settings file and form: each reads the controls into SettingsForm, runs the
    // workflow on it and DisplayInfo, and shows the form again.
    void actDefaultSettingExecute();
    void btn_savesettingsClick();
    void btn_loadsettingsClick();
    void btn_GetSettingClick();
    // The group "Setting" buttons and the two maintenance buttons.
    void btn_commandSetClick();
    void btn_baudrateSetClick();
    void btn_DownloadSettingClick();
    void btn_HeaderSetClick();
    void btn_TextSetClick();
    void btn_FooterSetClick();
    void btn_brightness_setClick();
    void btn_DownloadCodePageClick();
    void btn_ResetDisplayClick();
    void btn_RestartDisplayClick();
    void btn_AllDownloadClick();
    // Editing aids.
    void pnlColorMouseDown(TColorPanel* panel);
    void edt_line1Change();
    void edt_line2Change();
    void btn_welText_centerClick();
    void btn_mainText_centerClick();
    void rbtnTextLine2Click();
    void rg_Down_CodePageClick();
    void rg_Down_InterCharClick();
    void cbb_CodePageClick();
    void cbb_codepage_testClick();
    void CheckBox76Click();
    void chkSelectALLClick();

    // The settings record and the plain state of the settings controls.
    TDisplayInfo DisplayInfo;
    TSettingsForm SettingsForm;

    // ---- State ----------------------------------------------------------------
    int Fwait = 0; // seconds elapsed in the current operation
    // The report the transfer jobs have collected so far; the watchdog shows it.
    std::string SummaryText;

    // ---- Connection group ----------------------------------------------------
    QGroupBox* grp_Settings = nullptr;
    QLabel* lab_SerialPort = nullptr;
    QComboBox* cbb_SerialPort = nullptr;
    QLabel* lab_BaudRate = nullptr;
    QComboBox* cbb_BaudRate = nullptr;
    QLabel* labModel = nullptr;
    QComboBox* cbbDisplayMode = nullptr;
    QPushButton* btnConnect = nullptr;

    // ---- Tabs -------------------------------------------------------------------
    QTabWidget* PageControl1 = nullptr;
    QWidget* tsBasicSet = nullptr;
    QWidget* tsDisplaySet = nullptr;
    QWidget* tsCodepageSet = nullptr;
    QWidget* tsPictureManagement = nullptr;
    QWidget* tsDisplayTest = nullptr;
    QWidget* tsDownloadFile = nullptr;
    QWidget* tsFirmwareUpdates = nullptr;

    // Basic Setting
    QGroupBox* grp_WelcomeMessage = nullptr;
    QLabel* lab_Line1 = nullptr;
    QLineEdit* edt_line1 = nullptr;
    QLabel* lbl_mess1_count = nullptr;
    QCheckBox* chk_Scroll1 = nullptr;
    QLabel* lab_Line2 = nullptr;
    QLineEdit* edt_line2 = nullptr;
    QLabel* lbl_mess2_count = nullptr;
    QCheckBox* chk_Scroll2 = nullptr;
    QLabel* lbl_codepage_welmsg = nullptr;
    QComboBox* cbb_CodePage = nullptr;
    QLabel* lbl_codepage_hint_welmsg = nullptr;
    QPushButton* btn_welText_center = nullptr;
    QPushButton* btn_DownloadSetting = nullptr;
    QGroupBox* grp_commandSet = nullptr;
    QLabel* lab_commandmode = nullptr;
    QComboBox* cbb_down_CommandMode = nullptr;
    QPushButton* btn_commandSet = nullptr;
    QGroupBox* grp_baudrateSet = nullptr;
    QLabel* lab_Set_BaudRate = nullptr;
    QComboBox* cbb_down_BaudRate = nullptr;
    QPushButton* btn_baudrateSet = nullptr;

    // Display Setting
    QGroupBox* grpHeader = nullptr;
    QLabel* labHeaderTextColor = nullptr;
    TColorPanel* pnlColorTextHeader = nullptr;
    QLabel* labHeaderBgColor = nullptr;
    TColorPanel* pnlColorBgHeader = nullptr;
    QRadioButton* rbtnHeaderText = nullptr;
    QRadioButton* rbtnHeaderPicture = nullptr;
    QPushButton* btn_HeaderSet = nullptr;
    QGroupBox* grpText = nullptr;
    QLabel* labTextTextColor = nullptr;
    TColorPanel* pnlColorTextText = nullptr;
    QLabel* labTextBgColoer = nullptr;
    TColorPanel* pnlColorBgText = nullptr;
    QRadioButton* rbtnTextLine2 = nullptr;
    QRadioButton* rbtnTextLine4 = nullptr;
    QLineEdit* edtMianText1 = nullptr;
    QLineEdit* edtMianText2 = nullptr;
    QLineEdit* edtMianText3 = nullptr;
    QLineEdit* edtMianText4 = nullptr;
    QLabel* lbl_codepage_maintext = nullptr;
    QComboBox* cbb_codepage_maintext = nullptr;
    QLabel* lbl_codepage_hint_maintext = nullptr;
    QPushButton* btn_mainText_center = nullptr;
    QPushButton* btn_TextSet = nullptr;
    QGroupBox* grpFooter = nullptr;
    QLabel* labFooterTextColoer = nullptr;
    TColorPanel* pnlColorTextFooter = nullptr;
    QLabel* labFooterBgColoer = nullptr;
    TColorPanel* pnlColorBgFooter = nullptr;
    QPushButton* btn_FooterSet = nullptr;
    TRadioGroup* rg_brightness = nullptr;
    QPushButton* btn_brightness_set = nullptr;

    // CodePage Setting
    TRadioGroup* rg_Down_InterChar = nullptr;
    TRadioGroup* rg_Down_CodePage = nullptr;
    QPushButton* btn_DownloadCodePage = nullptr;

    // Picture Management
    QGroupBox* grp_pictureslots = nullptr;
    TImageBox *cxImage73 = nullptr, *cxImage74 = nullptr, *cxImage75 = nullptr,
              *cxImage76 = nullptr, *cxImage77 = nullptr, *cxImage78 = nullptr,
              *cxImage79 = nullptr, *cxImage80 = nullptr, *cxImage81 = nullptr,
              *cxImage82 = nullptr, *cxImage83 = nullptr, *cxImage84 = nullptr,
              *cxImage85 = nullptr, *cxImage86 = nullptr;
    QCheckBox *CheckBox73 = nullptr, *CheckBox74 = nullptr, *CheckBox75 = nullptr,
              *CheckBox76 = nullptr, *CheckBox77 = nullptr, *CheckBox78 = nullptr,
              *CheckBox79 = nullptr, *CheckBox80 = nullptr, *CheckBox81 = nullptr,
              *CheckBox82 = nullptr, *CheckBox83 = nullptr, *CheckBox84 = nullptr,
              *CheckBox85 = nullptr, *CheckBox86 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr,
                *Button5 = nullptr, *Button6 = nullptr, *Button7 = nullptr, *Button8 = nullptr,
                *Button9 = nullptr, *Button10 = nullptr, *Button11 = nullptr, *Button12 = nullptr,
                *Button13 = nullptr, *Button14 = nullptr, *Button15 = nullptr, *Button16 = nullptr,
                *Button17 = nullptr, *Button18 = nullptr, *Button19 = nullptr, *Button20 = nullptr,
                *Button21 = nullptr, *Button22 = nullptr, *Button23 = nullptr, *Button24 = nullptr,
                *Button25 = nullptr, *Button26 = nullptr, *Button27 = nullptr, *Button28 = nullptr;
    QProgressBar* cxProgressBar2 = nullptr;
    QCheckBox* chkSelectALL = nullptr;
    QLabel* lbl_selected = nullptr;
    QLabel* lbl_selected_nums = nullptr;
    QPushButton* btn_DownloadPictrue = nullptr;
    QGroupBox* grp_playsetting = nullptr;
    QLabel* lbl_standbytime = nullptr;
    QLineEdit* edt_StandbyTime = nullptr;
    TUpDown* ud_StandbyTime = nullptr;
    QLabel* lbl_standbytime_memo = nullptr;
    QLabel* lbl_playinteral = nullptr;
    QLineEdit* edt_PlayInterval = nullptr;
    TUpDown* ud_PlayInterval = nullptr;
    QLabel* lbl_playinterval_memo = nullptr;
    QPushButton* btn_SetToPlay = nullptr;

    // Display Testing
    QGroupBox* grp_TestText = nullptr;
    QLabel* lab_TestContent = nullptr;
    QLineEdit* edt_Text = nullptr;
    QPushButton* btn_textText_center = nullptr;
    QCheckBox* chk_PositionAt = nullptr;
    QLabel* lab_Row = nullptr;
    QLineEdit* edt_Row = nullptr;
    TUpDown* ud_Row = nullptr;
    QLabel* lab_Column = nullptr;
    QLineEdit* edt_Column = nullptr;
    TUpDown* ud_Column = nullptr;
    QLabel* lbl_codeage_test = nullptr;
    QComboBox* cbb_codepage_test = nullptr;
    QLabel* lbl_codepage_hint_test = nullptr;
    QPushButton* btn_TextSend = nullptr;
    QPushButton* btn_ClearDisplay = nullptr;
    TRadioGroup* rg_QrCodeAlign = nullptr;
    QLabel* lbl_PicNo = nullptr;
    QLineEdit* edt_PicNo = nullptr;
    TUpDown* ud_PicNo = nullptr;
    QPushButton* btn_ShowQrCode = nullptr;
    QPushButton* btn_ShowQrCodeAt = nullptr;
    QGroupBox* grp_Test_InterChar = nullptr;
    QGroupBox* grp_Test_CodePage = nullptr;
    QPushButton* btn_203F = nullptr;
    QPushButton* btn_405F = nullptr;
    QPushButton* btn_607F = nullptr;
    QPushButton* btn_809F = nullptr;
    QPushButton* btn_A0BF = nullptr;
    QPushButton* btn_C0DF = nullptr;
    QPushButton* btn_E0FF = nullptr;

    // Download File
    QPushButton* btn_CharacterSetDownAll = nullptr;
    QComboBox* cbbCharset = nullptr;
    QPushButton* btn_CharacterSetSelectFile = nullptr;
    QLabel* pnlCharsetFilename = nullptr;
    QLineEdit* edt_addr = nullptr;
    QLineEdit* edt_filename = nullptr;
    QPushButton* btn_CharacterSetDownSingle = nullptr;
    QPushButton* btn_Format = nullptr;
    QTextEdit* redt_log = nullptr;

    // Firmware Updates
    QLabel* lbl_DevModel = nullptr;
    QLabel* lbl_show_deviceModel = nullptr;
    QLabel* lbl_CurrentVersion = nullptr;
    QLabel* lbl_show_currentVersion = nullptr;
    QLabel* lbl_LatestVersion = nullptr;
    QLabel* lbl_show_latestVersion = nullptr;
    QPushButton* btn_update = nullptr;

    // ---- Button row and status bar ----------------------------------------------
    QPushButton* btn_Default = nullptr;
    QPushButton* btn_loadsettings = nullptr;
    QPushButton* btn_savesettings = nullptr;
    QPushButton* btn_GetSetting = nullptr;
    QPushButton* btn_AllDownload = nullptr;
    QPushButton* btn_ResetDisplay = nullptr;
    QPushButton* btn_RestartDisplay = nullptr;
    QPushButton* btn_Exit = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* cxProgressBar1 = nullptr;

    // ---- Timers -----------------------------------------------------------------
    QTimer* timOut = nullptr; // transfer watchdog, 10 s
    QTimer* tmr1 = nullptr;   // elapsed seconds, 1 s

    // The preview, check box, "-" and "+" of a slot 73..86 (null outside).
    TImageBox* slotImage(int slot) const;
    QCheckBox* slotCheckBox(int slot) const;
    QPushButton* slotButton(int number) const; // Button1..Button28

private:
    void FormCreate();
    void fillLists();
    void fillPortList();
    void wireHandlers();
    void wireSettingHandlers();

    // Runs an editing aid on the form: controls to form, `edit`, form to controls.
    template <class Edit> void editForm(Edit&& edit);
    // Runs a workflow that may talk to the display: as editForm, with the window's
    // controls disabled meanwhile so that clicks made while it blocks are dropped.
    template <class Work> void runOnForm(Work&& work);
    void readForm();
    void showForm();
    std::optional<std::string> chooseFile(const TFileDialogRequest& request);

    void buildWindow();
    QWidget* buildConnectionGroup();
    QWidget* buildButtonRow();
    void buildStatusBar();
    void buildBasicSetTab();
    void buildDisplaySetTab();
    void buildCodepageSetTab();
    void buildPictureManagementTab();
    void buildDisplayTestTab();
    void buildDownloadFileTab();
    void buildFirmwareUpdatesTab();

    void setPanelText(int panel, const QString& text);

    // TConnectView
    void SetGuestSlotVisible(bool visible) override;
    void SetPictureNumberVisible(bool visible) override;
    void SetFirmwareTabVisible(bool visible) override;
    void SelectBaudRate(int baudRate) override;
    void SelectModel(int model) override;
    void ShowFirmwareInfo(const std::string& deviceModel,
                          const std::string& currentVersion) override;

    TMainWindowSetup setup_;
    TSettingsDialogs settingsDialogs_;
    bool busy_ = false; // a workflow is running
    std::unique_ptr<TConnection> connection_;
    std::unique_ptr<ManualResetEvent> TransmitEvent;
    std::array<QLabel*, 4> panels_{};
    std::array<TImageBox*, kPictureSlotCount> slotImages_{};
    std::array<QCheckBox*, kPictureSlotCount> slotCheckBoxes_{};
    std::array<QPushButton*, 28> slotButtons_{};
};

} // namespace tavisto::ui
