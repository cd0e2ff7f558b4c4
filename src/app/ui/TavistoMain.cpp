#include "app/ui/TavistoMain.h"

#include "app/DownFiles.h"
#include "app/InterfaceLanguage.h"
#include "app/ui/ImageBox.h"
#include "app/ui/MsgBox.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"
#include "link/PosixSerialPort.h"
#include "protocol/Crc16.h"
#include "protocol/Session.h"
#include "settings/Vocabulary.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

namespace tavisto::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TfrmTavistoMain::TfrmTavistoMain(TMainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
    link::PortOpener& opener = setup_.opener ? *setup_.opener : link::posixPortOpener();
    Clock& clock = setup_.clock ? *setup_.clock : systemClock();
    connection_ = std::make_unique<TConnection>(opener, clock);
    if (!setup_.presenter)
        setup_.presenter = [](QMessageBox& box) {
            return static_cast<QMessageBox::StandardButton>(box.exec());
        };

    buildWindow();
    wireHandlers();
    FormCreate();
}

TfrmTavistoMain::~TfrmTavistoMain() = default;

// ---- Start-up ------------------------------------------------------------------

void TfrmTavistoMain::FormCreate() {
    setWindowTitle(QStringLiteral("Tavisto v3.2"));
    EndProgress();

    PageControl1->setCurrentWidget(tsBasicSet);
    PageControl1->setTabVisible(PageControl1->indexOf(tsDownloadFile), false);
    PageControl1->setTabVisible(PageControl1->indexOf(tsFirmwareUpdates), false);

    connection_->SystemLangId = setup_.langId ? *setup_.langId : SystemDefaultLangId();

    fillLists();
    actSelectLanguageExecute();
    actDefaultSettingExecute();
    Crc16Init();
    actButtonCreatExecute();

    fillPortList();
    cbb_SerialPort->setCurrentIndex(cbb_SerialPort->count() > 0 ? 0 : -1);
    connection_->CurrentPortName = cbb_SerialPort->currentText().toStdString();
    connection_->CurrentBaudRate = BaudRateOfText(cbb_BaudRate->currentText().toStdString());

    TransmitEvent = std::make_unique<ManualResetEvent>(true);

    actBtnDisableExecute();
    grp_Settings->setEnabled(true); // cbb_BaudRate and cbbDisplayMode stay disabled

    chk_Scroll1->hide();
    edt_line1->setMaxLength(20);
    edt_line2->setMaxLength(60);

    lbl_show_latestVersion->setText(QStringLiteral("V%1").arg(kLatestFirmwareVersion));

    // The slot previews show the built-in default pictures "IMG73".."IMG86" once
    // those resources exist; until then they stay empty.
}

namespace {

QString trimmed(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
}

// Fills a list from table rows, trimmed of spaces, leaving no item selected.
template <class Rows, class Name> void fill(QComboBox* list, const Rows& rows, Name name) {
    list->clear();
    for (const auto& row : rows)
        list->addItem(trimmed(name(row)));
    list->setCurrentIndex(-1);
}

} // namespace

void TfrmTavistoMain::fillLists() {
    auto baudName = [](const TBaudRates& row) {
        return row.BaudRateName;
    };
    fill(cbb_down_BaudRate, SetBaudRates, baudName);
    fill(cbb_BaudRate, PortBaudRates, baudName);
    cbb_BaudRate->setCurrentIndex(0);
    fill(cbb_down_CommandMode, CommandModes,
         [](const TCommandModes& row) { return row.CommandName; });

    auto codePageName = [](const TCodePages& row) {
        return row.DisplayName;
    };
    QStringList codePages;
    for (const TCodePages& row : CodePages)
        codePages.append(trimmed(codePageName(row)));
    rg_Down_CodePage->setItems(codePages);
    for (QComboBox* list : {cbb_CodePage, cbb_codepage_test, cbb_codepage_maintext})
        fill(list, CodePages, codePageName);

    fill(cbbCharset, DownFiles, [](const TDownFiles& row) { return std::string_view(row.Name); });
    fill(cbbDisplayMode, DisplayModels, [](const DisplayModel& model) { return model.name; });
}

void TfrmTavistoMain::fillPortList() {
    std::vector<std::string> ports;
    std::string message;
    const PortLister& lister = setup_.enumPorts ? setup_.enumPorts : PortLister(EnumPorts);
    if (!lister(ports, message))
        ShowMsgBox(message, MB_ICONERROR);
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

    const int selected = rg_Down_InterChar->itemIndex();
    QStringList names;
    for (const TInterChars& row : InterChars) {
        const std::string_view name =
            UsesChineseTexts(langId) ? row.DisplayNameZh : row.DisplayNameEn;
        names.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    rg_Down_InterChar->setItems(names);
    rg_Down_InterChar->setItemIndex(selected);
}

void TfrmTavistoMain::actButtonCreatExecute() {
    struct Sample {
        QPushButton** member;
        const char* name;
        const char* caption;
        int tag;
        bool interChar;
    };
    const Sample samples[] = {
        {&btn_203F, "btn_203F", "InterChar 0x20~0x3F", 101, true},
        {&btn_405F, "btn_405F", "InterChar 0x40~0x5F", 102, true},
        {&btn_607F, "btn_607F", "InterChar 0x60~0x7F", 103, true},
        {&btn_809F, "btn_809F", "CodePage 0x80~0x9F", 201, false},
        {&btn_A0BF, "btn_A0BF", "CodePage 0xA0~0xBF", 202, false},
        {&btn_C0DF, "btn_C0DF", "CodePage 0xC0~0xDF", 203, false},
        {&btn_E0FF, "btn_E0FF", "CodePage 0xE0~0xFF", 204, false},
    };
    for (const Sample& sample : samples) {
        QGroupBox* group = sample.interChar ? grp_Test_InterChar : grp_Test_CodePage;
        if (*sample.member == nullptr) {
            *sample.member = new QPushButton(group);
            (*sample.member)->setObjectName(QString::fromLatin1(sample.name));
            group->layout()->addWidget(*sample.member);
        }
        (*sample.member)->setText(QString::fromLatin1(sample.caption));
        (*sample.member)->setProperty("Tag", sample.tag);
    }
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

void TfrmTavistoMain::SetGuestSlotVisible(bool visible) {
    cxImage86->setVisible(visible);
    CheckBox86->setVisible(visible);
    Button27->setVisible(visible);
    Button28->setVisible(visible);
}

void TfrmTavistoMain::SetPictureNumberVisible(bool visible) {
    // edt_PicNo is the text box inside ud_PicNo and follows it.
    lbl_PicNo->setVisible(visible);
    ud_PicNo->setVisible(visible);
    btn_ShowQrCodeAt->setVisible(visible);
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
}

void TfrmTavistoMain::ShowFirmwareInfo(const std::string& deviceModel,
                                       const std::string& currentVersion) {
    lbl_show_deviceModel->setText(qs(deviceModel));
    lbl_show_currentVersion->setText(qs(currentVersion));
}

// ---- Operator services ----------------------------------------------------------

int TfrmTavistoMain::ShowMsgBox(const std::string& text, int flags) {
    QMessageBox box(this);
    PrepareMsgBox(box, text, flags);
    return MsgBoxAnswer(setup_.presenter(box), flags);
}

std::vector<QWidget*> TfrmTavistoMain::switchedControls() const {
    return {PageControl1,   grp_Settings,    btn_Default,      btn_loadsettings,  btn_savesettings,
            btn_GetSetting, btn_AllDownload, btn_ResetDisplay, btn_RestartDisplay};
}

void TfrmTavistoMain::actBtnDisableExecute() {
    for (QWidget* control : switchedControls())
        control->setEnabled(false);
}

void TfrmTavistoMain::actBtnEnableExecute() {
    for (QWidget* control : switchedControls())
        control->setEnabled(true);
}

QString TfrmTavistoMain::panelText(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[panel]->text() : QString();
}

void TfrmTavistoMain::setPanelText(int panel, const QString& text) {
    panels_[panel]->setText(text);
}

void TfrmTavistoMain::BeginProgress(const std::string& text, int maximum, int kind) {
    setPanelText(1, qs(text));
    setPanelText(2, {});
    setPanelText(3, {});
    Fwait = 0;
    tmr1->start();
    cxProgressBar1->setMaximum(maximum);
    cxProgressBar1->setValue(0);
    cxProgressBar1->show();
    if (kind == 1)
        redt_log->clear();
    if (kind == 2) {
        cxProgressBar2->setMaximum(maximum);
        cxProgressBar2->setValue(0);
    }
    repaint();
}

void TfrmTavistoMain::EndProgress() {
    tmr1->stop();
    for (int panel = 1; panel <= 3; ++panel)
        setPanelText(panel, {});
    for (QProgressBar* bar : {cxProgressBar1, cxProgressBar2}) {
        bar->setValue(0);
        bar->hide();
    }
}

void TfrmTavistoMain::SetProgressMax(int value, int slot) {
    cxProgressBar1->setMaximum(value);
    if (PictureSlotOfPosition(slot) != 0)
        cxProgressBar2->setMaximum(value);
    repaint();
}

void TfrmTavistoMain::SetProgress(int value, int slot) {
    cxProgressBar1->setValue(value);
    if (PictureSlotOfPosition(slot) != 0) {
        cxProgressBar2->setValue(value);
        if (cxProgressBar2->value() >= cxProgressBar2->maximum())
            cxProgressBar2->hide();
    }
    repaint();
}

void TfrmTavistoMain::ShowProgressItem(const std::string& text, const std::string& detail,
                                       int slot) {
    setPanelText(1, qs(text));
    setPanelText(2, qs(detail));
    if (TImageBox* image = slotImage(PictureSlotOfPosition(slot))) {
        const QPoint topLeft = image->mapTo(cxProgressBar2->parentWidget(), QPoint(0, 0));
        cxProgressBar2->setGeometry(QRect(topLeft, image->size()));
        cxProgressBar2->raise();
        cxProgressBar2->show();
    }
}

void TfrmTavistoMain::ShowLogOnRichEdit(const std::string& text, bool error) {
    QTextCursor cursor(redt_log->document());
    cursor.movePosition(QTextCursor::End);
    if (!redt_log->document()->isEmpty())
        cursor.insertBlock();
    QTextCharFormat format;
    format.setForeground(error ? QColor(255, 0, 0) : redt_log->palette().color(QPalette::Text));
    cursor.insertText(qs(text), format);
    QScrollBar* bar = redt_log->verticalScrollBar();
    bar->setValue(bar->maximum());
}

// ---- Timers ---------------------------------------------------------------------

void TfrmTavistoMain::tmr1Timer() {
    ++Fwait;
    setPanelText(3, QStringLiteral("%1s").arg(Fwait));
}

void TfrmTavistoMain::timOutTimer() {
    timOut->stop();
    // The transfer receiver thread is stopped here once the job engine runs one.
    LcdCloseSession(*connection_);
    actBtnEnableExecute();
    EndProgress();
    ShowMsgBox(SummaryText + "Time Out!", MB_ICONERROR);
}

// ---- Slots ------------------------------------------------------------------------

TImageBox* TfrmTavistoMain::slotImage(int slot) const {
    return slot >= kFirstPictureSlot && slot <= kLastPictureSlot
               ? slotImages_[slot - kFirstPictureSlot]
               : nullptr;
}

QCheckBox* TfrmTavistoMain::slotCheckBox(int slot) const {
    return slot >= kFirstPictureSlot && slot <= kLastPictureSlot
               ? slotCheckBoxes_[slot - kFirstPictureSlot]
               : nullptr;
}

QPushButton* TfrmTavistoMain::slotButton(int number) const {
    return number >= 1 && number <= 28 ? slotButtons_[number - 1] : nullptr;
}

// ---- Wiring -----------------------------------------------------------------------

void TfrmTavistoMain::wireHandlers() {
    connect(btnConnect, &QPushButton::clicked, this, &TfrmTavistoMain::btnConnectClick);
    // Only the operator's own choices count, as typed or picked; filling and
    // selecting by the program does not run the handlers.
    connect(cbb_SerialPort, &QComboBox::activated, this, &TfrmTavistoMain::cbb_SerialPortChange);
    connect(cbb_SerialPort->lineEdit(), &QLineEdit::textEdited, this,
            &TfrmTavistoMain::cbb_SerialPortChange);
    connect(cbb_BaudRate, &QComboBox::activated, this, &TfrmTavistoMain::cbb_BaudRateChange);
    connect(cbbDisplayMode, &QComboBox::activated, this, &TfrmTavistoMain::cbb_BaudRateChange);
    connect(btn_Exit, &QPushButton::clicked, this, &TfrmTavistoMain::btn_ExitClick);
    connect(tmr1, &QTimer::timeout, this, &TfrmTavistoMain::tmr1Timer);
    connect(timOut, &QTimer::timeout, this, &TfrmTavistoMain::timOutTimer);
    wireSettingHandlers();
}

} // namespace tavisto::ui
