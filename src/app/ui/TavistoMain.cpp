#include "app/ui/TavistoMain.h"

#include "app/connect/AddedTexts.h"
#include "app/connect/InterfaceLanguage.h"
#include "app/connect/WindowArguments.h"
#include "app/transfer/ProgressText.h"
#include "app/transfer/StopReport.h"
#include "app/ui/BasicSetPanel.h"
#include "app/ui/ButtonRoom.h"
#include "app/ui/CodepageSetPanel.h"
#include "app/ui/DisplayTestPanel.h"
#include "app/ui/DownloadFilePanel.h"
#include "app/ui/FirmwareUpdatesPanel.h"
#include "app/ui/MsgBox.h"
#include "app/ui/PaintingClock.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/ProvisionMenu.h"
#include "app/ui/QtOwnerQueue.h"
#include "app/ui/QtText.h"
#include "app/ui/TraceWindow.h"
#include "link/PortAccess.h"
#include "link/SerialPort.h"
#include "pictures/ui/DesktopDialogs.h"
#include "protocol/Crc16.h"
#include "protocol/DownloadTable.h"
#include "protocol/Session.h"
#include "resources/EmbeddedResources.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

namespace tavisto::ui {

namespace {

// Font, table and firmware rows come from the program's embedded resources; slot
// pictures from the slots, where only pictures the operator loaded count (the default
// pictures are never sent).
TJobSources WindowJobSources(std::function<const TPictureSlots&()> contents) {
    TJobSources sources;
    sources.resource = [](const std::string& name) {
        return EmbeddedResourceBytes(name);
    };
    sources.slotPicture = [contents = std::move(contents)](int slot) {
        return contents().picture(slot);
    };
    return sources;
}

} // namespace

TfrmTavistoMain::TfrmTavistoMain(TMainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
    link::PortOpener& opener = setup_.opener ? *setup_.opener : link::systemPortOpener();
    clock_ = std::make_unique<TPaintingClock>(setup_.clock ? *setup_.clock : systemClock());
    connection_ = std::make_unique<TConnection>(opener, *clock_);
    dialogs_ = setup_.dialogs;
    if (!dialogs_) {
        nativeDialogs_ = std::make_unique<TNativeDialogs>();
        dialogs_ = nativeDialogs_.get();
    }

    ownerQueue_ = std::make_unique<QtOwnerQueue>();
    // The picture tab exists before any queue runs.
    runner_ = std::make_unique<TTransferRunner>(*connection_, *this, *ownerQueue_,
                                                WindowJobSources([this]() -> const TPictureSlots& {
                                                    return tsPictureManagement->slotContents();
                                                }));
    runner_->engine().setStatusObserver(
        [this](const TTransferStatus& status) { showTransferStatus(status); });
    runner_->engine().setStopRequest([this] { return stopAsked_.load(); });

    buildWindow();
    traceWindow_ = std::make_unique<TTraceWindow>(connection_->trace, *dialogs_, this);
    wireHandlers();
    FormCreate();
    AddProvisionMenu(*this, opener, setup_.clock ? *setup_.clock : systemClock());
}

// The runner goes before the connection and the child widgets it reports to.
TfrmTavistoMain::~TfrmTavistoMain() = default;

int TfrmTavistoMain::displayModel() const {
    return cbbDisplayMode->currentIndex();
}

bool TfrmTavistoMain::busy() const {
    return busy_ || runner_->engine().Running();
}

// ---- Start-up ------------------------------------------------------------------

void TfrmTavistoMain::FormCreate() {
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    EndProgress();

    // The panels have filled their own lists from the tables.
    PageControl1->setCurrentWidget(tsBasicSet);
    PageControl1->setTabVisible(PageControl1->indexOf(tsDownloadFile), false);
    PageControl1->setTabVisible(PageControl1->indexOf(tsFirmwareUpdates), false);

    connection_->SystemLangId = setup_.langId ? *setup_.langId : SystemDefaultLangId();

    actSelectLanguageExecute();
    actDefaultSettingExecute();
    Crc16Init();
    tsDisplayTest->actButtonCreatExecute();

    fillPortList();
    cbb_SerialPort->setCurrentIndex(cbb_SerialPort->count() > 0 ? 0 : -1);
    connection_->CurrentPortName = cbb_SerialPort->currentText().toStdString();
    connection_->CurrentBaudRate = BaudRateOfText(cbb_BaudRate->currentText().toStdString());

    actBtnDisableExecute();
    grp_Settings->setEnabled(true); // cbb_BaudRate and cbbDisplayMode stay disabled
    btn_Stop->setEnabled(false);    // nothing runs yet

    tsPictureManagement->ShowDefaultPictures();
}

void TfrmTavistoMain::fillPortList() {
    std::vector<std::string> ports;
    std::string message;
    const PortLister& lister = setup_.enumPorts ? setup_.enumPorts : PortLister(EnumPorts);
    if (!lister(ports, message))
        ShowMsgBox(message, kMbIconError);
    cbb_SerialPort->clear();
    for (const std::string& name : setup_.firstPorts)
        cbb_SerialPort->addItem(qs(name));
    for (const std::string& name : ports)
        cbb_SerialPort->addItem(qs(name));
}

void TfrmTavistoMain::actSelectLanguageExecute() {
    const std::uint16_t langId = connection_->SystemLangId;
    for (const TCaption& row : Captions) {
        const QString text = QString::fromUtf8(CaptionText(row, langId));
        QObject* control = findChild<QObject*>(QString::fromLatin1(row.Control));
        if (auto* page = qobject_cast<QWidget*>(control);
            page && PageControl1->indexOf(page) >= 0) {
            PageControl1->setTabText(PageControl1->indexOf(page), text);
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            group->setTitle(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(text);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(text);
        }
    }
    tsCodepageSet->showInterCharNames(langId);
    btn_Stop->setText(UsesChineseTexts(langId) ? QString::fromUtf8("停止")
                                               : QStringLiteral("Stop"));
    traceWindow_->SelectLanguage(UsesChineseTexts(langId));
    // Room around the captions, in the language now shown. The button row below the
    // tabs spreads its buttons over the window's width itself.
    GiveButtonsRoom(*grp_Settings);
    GiveButtonsRoom(*PageControl1);
}

// ---- Connection -------------------------------------------------------------------

void TfrmTavistoMain::btnConnectClick() {
    RunConnect(*connection_, *this, *this);
}

void TfrmTavistoMain::cbb_SerialPortChange() {
    connection_->CurrentPortName = cbb_SerialPort->currentText().toStdString();
}

void TfrmTavistoMain::cbb_BaudRateChange() {
    connection_->CurrentBaudRate = BaudRateOfText(cbb_BaudRate->currentText().toStdString());
}

void TfrmTavistoMain::btn_ExitClick() {
    close();
}

void TfrmTavistoMain::btn_StopClick() {
    requestStop();
}

bool TfrmTavistoMain::stopCanBeAsked() const {
    return allDownloadRuns_ || runner_->engine().Running();
}

void TfrmTavistoMain::requestStop() {
    if (stopAsked_ || !stopCanBeAsked())
        return;
    stopAsked_ = true;
    btn_Stop->setEnabled(false);
    // Until the display is back at its speed (EndProgress clears it): a named file
    // may take seconds to finish first.
    setPanelText(1, UsesChineseTexts(connection_->SystemLangId) ? QString::fromUtf8("正在停止…")
                                                                : QString::fromUtf8("Stopping…"));
    repaint();
    // An addressed item stops at once, between two blocks; a named file or a firmware
    // image goes whole, and the engine stops after it. No new item starts either way.
    if (TTransferEngine& engine = runner_->engine(); engine.Running())
        engine.Interrupt();
}

void TfrmTavistoMain::afterQueueStop(bool stopped) {
    TTransferEngine& engine = runner_->engine();
    if (stopped && engine.Interrupted())
        ShowMsgBox(StoppedQueueText(engine, connection_->CurrentBaudRate), kMbIconInformation);
    if (closeAfterStop_)
        close();
}

namespace {

// The question before the window closes in the middle of a transfer.
std::string ExitDuringTransferQuestion(bool firmware) {
    if (firmware)
        return "A firmware image is being sent to the display. Stopping now may leave the "
               "display unusable until a firmware update is done again.\n\n"
               "Stop after the image and exit?";
    return "A transfer to the display is running. Stop it (a file the display is taking is "
           "finished first), set the display back to its speed and exit?";
}

} // namespace

void TfrmTavistoMain::closeEvent(QCloseEvent* event) {
    // All Download stops before its next setting; the window goes after its box.
    if (allDownloadRuns_) {
        closeAfterStop_ = true;
        requestStop();
        event->ignore();
        return;
    }
    TTransferEngine& engine = runner_->engine();
    if (engine.Running()) {
        // Once a stop is under way there is nothing more to ask.
        if (!stopAsked_) {
            const bool firmware = engine.Status().item == DownFileAt(kFirmwarePosition).Name;
            if (ShowMsgBox(ExitDuringTransferQuestion(firmware), kMbYesNoQuestion) != kIdYes) {
                event->ignore();
                return;
            }
        }
        // The box ran the event loop: the queue may have ended meanwhile. Otherwise it
        // stops as Stop stops it, and the window closes after the box that says so.
        if (engine.Running()) {
            closeAfterStop_ = true;
            requestStop();
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void TfrmTavistoMain::SetGuestSlotVisible(bool visible) {
    tsPictureManagement->SetGuestSlotVisible(visible);
}

void TfrmTavistoMain::SetPictureNumberVisible(bool visible) {
    tsDisplayTest->SetPictureNumberVisible(visible);
}

void TfrmTavistoMain::SetFirmwareTabVisible(bool visible) {
    PageControl1->setTabVisible(PageControl1->indexOf(tsFirmwareUpdates), visible);
}

void TfrmTavistoMain::SelectBaudRate(int baudRate) {
    const int index = cbb_BaudRate->findText(QString::number(baudRate));
    if (index >= 0)
        cbb_BaudRate->setCurrentIndex(index);
}

void TfrmTavistoMain::SelectModel(int model) {
    cbbDisplayMode->setCurrentIndex(model);
    tsFirmwareUpdates->ShowConnectedModel(model);
}

void TfrmTavistoMain::ShowFirmwareInfo(const std::string& deviceModel,
                                       const std::string& currentVersion) {
    tsFirmwareUpdates->ShowFirmwareInfo(deviceModel, currentVersion);
}

// ---- Operator services ----------------------------------------------------------

int TfrmTavistoMain::ShowMsgBox(const std::string& text, int flags) {
    // While a workflow runs, the controls show what it has changed so far (the
    // connection's baud rate after "Baudrate Set", for one) before the box asks for
    // the operator's attention.
    if (busy_)
        showForm();
    QMessageBox box(this);
    // The lines this program adds read in the interface's language. A port this user
    // may not open, or one another program holds, gets a line saying so and what to do.
    PrepareMsgBox(box,
                  WithPortOpenHint(InInterfaceLanguage(text, connection_->SystemLangId),
                                   connection_->CurrentPortName, connection_->SystemLangId),
                  flags);
    return MsgBoxAnswer(dialogs_->showMessageBox(box), flags);
}

std::vector<QWidget*> TfrmTavistoMain::switchedControls() const {
    return {PageControl1,   grp_Settings,    btn_Default,      btn_loadsettings,  btn_savesettings,
            btn_GetSetting, btn_AllDownload, btn_ResetDisplay, btn_RestartDisplay};
}

// Before a queue starts (and once at start-up, which disables Stop again).
void TfrmTavistoMain::actBtnDisableExecute() {
    for (QWidget* control : switchedControls())
        control->setEnabled(false);
    btn_Stop->setEnabled(true);
}

// When a queue ends, however it ended. The box of a stopped queue comes after the
// engine's own end (the link back, the progress cleared).
void TfrmTavistoMain::actBtnEnableExecute() {
    for (QWidget* control : switchedControls())
        control->setEnabled(true);
    btn_Stop->setEnabled(false);
    const bool stopped = stopAsked_.exchange(false);
    if (stopped || closeAfterStop_)
        QTimer::singleShot(0, this, [this, stopped] { afterQueueStop(stopped); });
}

QString TfrmTavistoMain::panelText(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[panel]->text() : QString();
}

void TfrmTavistoMain::setPanelText(int panel, const QString& text) {
    panels_[panel]->setText(text);
}

void TfrmTavistoMain::BeginProgress(const std::string& text, int maximum, TProgressKind kind) {
    setPanelText(1, qs(text));
    setPanelText(2, {});
    setPanelText(3, {});
    Fwait = 0;
    queueCounts_ = false;
    clearTransferStatus();
    tmr1->start();
    cxProgressBar1->setMaximum(maximum);
    cxProgressBar1->setValue(0);
    cxProgressBar1->show();
    if (kind == TProgressKind::ClearLog)
        redt_log->clear();
    if (kind == TProgressKind::PictureSlots)
        tsPictureManagement->resetSlotProgress(maximum);
    repaint();
}

void TfrmTavistoMain::EndProgress() {
    tmr1->stop();
    queueCounts_ = false;
    clearTransferStatus();
    for (int panel = 1; panel <= 3; ++panel)
        setPanelText(panel, {});
    cxProgressBar1->setValue(0);
    cxProgressBar1->hide();
    tsPictureManagement->hideSlotProgress();
}

void TfrmTavistoMain::SetProgressMax(int value, int position) {
    cxProgressBar1->setMaximum(value);
    if (PictureSlotOfPosition(position) != 0)
        tsPictureManagement->setSlotProgressMax(value);
    repaint();
}

void TfrmTavistoMain::SetProgress(int value, int position) {
    cxProgressBar1->setValue(value);
    if (PictureSlotOfPosition(position) != 0)
        tsPictureManagement->setSlotProgress(value);
    repaint();
}

void TfrmTavistoMain::ShowProgressItem(const std::string& text, const std::string& detail,
                                       int position) {
    setPanelText(1, qs(text));
    setPanelText(2, qs(detail));
    if (const int slot = PictureSlotOfPosition(position); slot != 0)
        tsPictureManagement->showSlotProgress(slot);
}

void TfrmTavistoMain::ShowLogOnRichEdit(const std::string& text, bool error) {
    QTextCursor cursor(redt_log->document());
    cursor.movePosition(QTextCursor::End);
    if (!redt_log->document()->isEmpty())
        cursor.insertBlock();
    // Other lines keep no colour of their own: the pane draws them in its text colour,
    // which a line written while the tab is disabled would otherwise keep for good.
    QTextCharFormat format;
    if (error)
        format.setForeground(QColor(255, 0, 0));
    cursor.insertText(qs(InInterfaceLanguage(text, connection_->SystemLangId)), format);
    QScrollBar* bar = redt_log->verticalScrollBar();
    bar->setValue(bar->maximum());
}

// ---- Timers ---------------------------------------------------------------------

void TfrmTavistoMain::tmr1Timer() {
    ++Fwait;
    showElapsed();
}

void TfrmTavistoMain::showElapsed() {
    // The panel is narrow: the seconds and the time left (or that the display is not
    // answering); the rate sits on the progress bar, and the tooltip says it all.
    QString text = QStringLiteral("%1s").arg(Fwait);
    if (!transferLeft_.isEmpty())
        text += QStringLiteral("  ") + transferLeft_;
    setPanelText(3, text);
    panels_[3]->setToolTip(transferRate_);
    cxProgressBar1->setFormat(transferBarText_);
    cxProgressBar1->setTextVisible(!transferBarText_.isEmpty());
}

void TfrmTavistoMain::clearTransferStatus() {
    transferRate_.clear();
    transferLeft_.clear();
    transferBarText_.clear();
    cxProgressBar1->setTextVisible(false);
}

void TfrmTavistoMain::showTransferStatus(const TTransferStatus& status) {
    const std::uint16_t langId = connection_->SystemLangId;
    transferRate_ = qs(InInterfaceLanguage(RateAndProgressText(status), langId));
    transferLeft_ = qs(InInterfaceLanguage(
        status.running && status.notAnswering ? "not answering" : TimeLeftText(status), langId));
    transferBarText_ = qs(RateText(status));
    if (!tmr1->isActive() && !queueCounts_)
        return;
    // A queue counts its own seconds: from its first status on, the window shows the
    // engine's count instead of keeping a second one. The window's timer counts only
    // operations without a queue (All Download). At the queue's end the count stands
    // still, also when the queue ended before its first second.
    tmr1->stop();
    if (status.running || queueCounts_)
        Fwait = status.seconds;
    queueCounts_ = queueCounts_ || status.running;
    showElapsed();
}

// ---- Wiring -----------------------------------------------------------------------

void TfrmTavistoMain::wireHandlers() {
    // The service code reveals the Download File tab, and with it Firmware Updates
    // (which Connect otherwise shows only for outdated firmware), so that an operator
    // cannot reach either by accident.
    connect(tsDisplayTest, &TDisplayTestPanel::serviceCodeEntered, this, [this] {
        PageControl1->setTabVisible(PageControl1->indexOf(tsDownloadFile), true);
        PageControl1->setTabVisible(PageControl1->indexOf(tsFirmwareUpdates), true);
    });
    connect(btnConnect, &QPushButton::clicked, this, &TfrmTavistoMain::btnConnectClick);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this), &QShortcut::activated,
            traceWindow_.get(), &TTraceWindow::present);
    // Only the operator's own choices count, as typed or picked; filling and
    // selecting by the program does not run the handlers.
    connect(cbb_SerialPort, &QComboBox::activated, this, &TfrmTavistoMain::cbb_SerialPortChange);
    connect(cbb_SerialPort->lineEdit(), &QLineEdit::textEdited, this,
            &TfrmTavistoMain::cbb_SerialPortChange);
    connect(cbb_BaudRate, &QComboBox::activated, this, &TfrmTavistoMain::cbb_BaudRateChange);
    connect(cbbDisplayMode, &QComboBox::activated, this, &TfrmTavistoMain::cbb_BaudRateChange);
    connect(btn_Exit, &QPushButton::clicked, this, &TfrmTavistoMain::btn_ExitClick);
    connect(btn_Stop, &QPushButton::clicked, this, &TfrmTavistoMain::btn_StopClick);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &TfrmTavistoMain::btn_StopClick);
    connect(tmr1, &QTimer::timeout, this, &TfrmTavistoMain::tmr1Timer);

    const std::pair<QAbstractButton*, void (TfrmTavistoMain::*)()> buttons[] = {
        {btn_savesettings, &TfrmTavistoMain::btn_savesettingsClick},
        {btn_loadsettings, &TfrmTavistoMain::btn_loadsettingsClick},
        {btn_Default, &TfrmTavistoMain::actDefaultSettingExecute},
        {btn_GetSetting, &TfrmTavistoMain::btn_GetSettingClick},
        {btn_ResetDisplay, &TfrmTavistoMain::btn_ResetDisplayClick},
        {btn_RestartDisplay, &TfrmTavistoMain::btn_RestartDisplayClick},
        {btn_AllDownload, &TfrmTavistoMain::btn_AllDownloadClick},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this, handler);
}

} // namespace tavisto::ui
