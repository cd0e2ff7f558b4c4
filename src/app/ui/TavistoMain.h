#pragma once

#include "app/Operator.h"
#include "app/connect/ConnectWorkflow.h"
#include "app/settings/SettingsForm.h"
#include "app/settings/SettingsWorkflows.h"
#include "app/ui/PanelHost.h"
#include "link/Clock.h"
#include "link/Connection.h"

#include <QMainWindow>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QTimer;

namespace tavisto {
class QtOwnerQueue;
struct TTransferStatus;
} // namespace tavisto

namespace tavisto::ui {

class TBasicSetPanel;
class TCodepageSetPanel;
class TDesktopDialogs;
class TDisplaySetPanel;
class TDisplayTestPanel;
class TDownloadFilePanel;
class TFirmwareUpdatesPanel;
class TPaintingClock;
class TPictureManagementPanel;
class TTraceWindow;

// Lists the machine's serial ports; the signature of EnumPorts.
using PortLister = std::function<bool(std::vector<std::string>& list, std::string& message)>;

// What the window is built with. Everything has a default for the real program.
struct TMainWindowSetup {
    link::PortOpener* opener = nullptr;  // null: the machine's serial ports
    Clock* clock = nullptr;              // null: real time
    PortLister enumPorts;                // empty: EnumPorts
    std::vector<std::string> firstPorts; // listed before the machine's ports
    std::optional<std::uint16_t> langId; // unset: the system default language
    TDesktopDialogs* dialogs = nullptr;  // null: the toolkit's own dialogs
};

// The main window: the connection group, the seven tab panels, the button row, the
// status bar and the log pane. It offers the operator services every workflow uses
// and the settings form that spans the tabs; each tab panel owns its controls and
// handlers. Control members carry the names the operator documentation and the
// workflows use; the workflows themselves live in src/app.
class TfrmTavistoMain : public QMainWindow,
                        public TOperator,
                        private TConnectView,
                        private TPanelHost {
    Q_OBJECT
public:
    explicit TfrmTavistoMain(TMainWindowSetup setup = {}, QWidget* parent = nullptr);
    ~TfrmTavistoMain() override;

    TConnection& connection() override { return *connection_; }
    const TConnection& connection() const { return *connection_; }
    // The dialogs every window of the program shows through (the image conversion
    // dialog included).
    TDesktopDialogs& dialogs() override { return *dialogs_; }

    // Status bar panel texts (panels 1 to 3; panel 0 holds the progress bar).
    QString panelText(int panel) const;
    // The controls that actBtnDisableExecute / actBtnEnableExecute switch, in order.
    std::vector<QWidget*> switchedControls() const;

    // ---- Operator services --------------------------------------------------
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

    // ---- Actions and handlers -----------------------------------------------
    void actSelectLanguageExecute();
    void btnConnectClick();
    void cbb_SerialPortChange();
    void cbb_BaudRateChange();
    void btn_ExitClick();
    // Stop (and Esc): a running queue stops at its next safe point (between the blocks
    // of an addressed item; a named file or a firmware image that has started goes
    // whole), the display goes back to its speed and a box says what was done and what
    // not; All Download stops before its next setting.
    void btn_StopClick();
    void tmr1Timer();
    // Closing while a transfer runs asks first; Yes stops the queue as Stop does and
    // the window goes once the display is back at the operator's speed. Closing during
    // All Download stops it before its next setting.
    void closeEvent(QCloseEvent* event) override;
    // The button row: settings file and form, All Download and maintenance.
    void actDefaultSettingExecute();
    void btn_savesettingsClick();
    void btn_loadsettingsClick();
    void btn_GetSettingClick();
    void btn_AllDownloadClick();
    void btn_ResetDisplayClick();
    void btn_RestartDisplayClick();

    // The settings record and the plain state of the settings controls.
    TDisplayInfo DisplayInfo;
    TSettingsForm SettingsForm;

    // ---- State ----------------------------------------------------------------
    int Fwait = 0;                // seconds elapsed in the current operation
    bool closeAfterStop_ = false; // Exit was answered Yes while a file was still going

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
    TBasicSetPanel* tsBasicSet = nullptr;
    TDisplaySetPanel* tsDisplaySet = nullptr;
    TCodepageSetPanel* tsCodepageSet = nullptr;
    TPictureManagementPanel* tsPictureManagement = nullptr;
    TDisplayTestPanel* tsDisplayTest = nullptr;
    TDownloadFilePanel* tsDownloadFile = nullptr;
    TFirmwareUpdatesPanel* tsFirmwareUpdates = nullptr;
    // The log pane, shown on the Download File tab.
    QTextEdit* redt_log = nullptr;

    // ---- Button row and status bar ----------------------------------------------
    QPushButton* btn_Default = nullptr;
    QPushButton* btn_loadsettings = nullptr;
    QPushButton* btn_savesettings = nullptr;
    QPushButton* btn_GetSetting = nullptr;
    QPushButton* btn_AllDownload = nullptr;
    QPushButton* btn_ResetDisplay = nullptr;
    QPushButton* btn_RestartDisplay = nullptr;
    QPushButton* btn_Exit = nullptr;
    // Enabled while a queue or All Download runs; at the right end of the menu bar.
    QPushButton* btn_Stop = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* cxProgressBar1 = nullptr;

    // ---- Timers -----------------------------------------------------------------
    // Elapsed seconds, 1 s. The transfer watchdog belongs to the transfer engine,
    // which stops its receiver before it closes the session.
    QTimer* tmr1 = nullptr;

private:
    void FormCreate();
    void fillPortList();
    void wireHandlers();

    // TPanelHost
    TOperator& operatorView() override { return *this; }
    QWidget* dialogParent() override { return this; }
    TTransferRunner& transferRunner() override { return *runner_; }
    int displayModel() const override;
    bool busy() const override;
    void editForm(const TFormWork& edit) override;
    void runOnForm(const TFormWork& work) override;
    void readForm();
    void showForm();
    std::optional<std::string> chooseFile(const TFileDialogRequest& request);

    void buildWindow();
    QWidget* buildConnectionGroup();
    QWidget* buildButtonRow();
    QTextEdit* buildLogPane();
    void buildStatusBar();
    void buildStopButton();

    // Stop: asks the running queue or All Download to stop and says so until it has.
    void requestStop();
    bool stopCanBeAsked() const;
    // After a queue that was asked to stop (or Exit waited for) has ended.
    void afterQueueStop(bool stopped);
    // All Download's stop request, asked between its settings: lets a Stop or Exit in.
    bool allDownloadStopAsked();

    void setPanelText(int panel, const QString& text);
    // Panel 3: the seconds count, and the rate and time left while a transfer runs.
    void showElapsed();
    void showTransferStatus(const TTransferStatus& status);
    void clearTransferStatus();

    // TConnectView
    void SetGuestSlotVisible(bool visible) override;
    void SetPictureNumberVisible(bool visible) override;
    void SetFirmwareTabVisible(bool visible) override;
    void SelectBaudRate(int baudRate) override;
    void SelectModel(int model) override;
    void ShowFirmwareInfo(const std::string& deviceModel,
                          const std::string& currentVersion) override;

    TMainWindowSetup setup_;
    std::unique_ptr<TDesktopDialogs> nativeDialogs_;
    TDesktopDialogs* dialogs_ = nullptr;
    TSettingsDialogs settingsDialogs_;
    bool busy_ = false; // a workflow is running
    // The operator asked to stop; read by the engine on the receiver's thread as well.
    std::atomic<bool> stopAsked_{false};
    bool allDownloadRuns_ = false;
    // The connection's clock: its waits let the window paint (before the connection).
    std::unique_ptr<TPaintingClock> clock_;
    std::unique_ptr<TConnection> connection_;
    // Declared after the connection, so that the transfer threads stop before it goes.
    std::unique_ptr<QtOwnerQueue> ownerQueue_;
    std::unique_ptr<TTransferRunner> runner_;
    QString transferRate_;    // the rate and the time left: the seconds panel's tooltip
    QString transferLeft_;    // the time left or "not answering", beside the seconds
    QString transferBarText_; // the rate, written on the progress bar
    // The current operation runs a queue, whose engine counts the seconds (Fwait
    // follows it) while tmr1 stands still.
    bool queueCounts_ = false;
    std::array<QLabel*, 4> panels_{};
    // Last, so that it leaves the connection's trace before the connection goes.
    std::unique_ptr<TTraceWindow> traceWindow_; // Ctrl+T
};

} // namespace tavisto::ui
