// The main window after start-up, its language, and the services it offers to
// the workflows (message boxes, enabling, progress, log, watchdog).
#include "app/connect/InterfaceLanguage.h"
#include "app/ui/ImageBox.h"
#include "app/ui/MsgBox.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"
#include "tests/app/ui/WindowCaptions.h"
#include "tests/app/ui/WindowHarness.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

namespace {

// Counts the paint events of the widgets it filters.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(int& paints) : paints_(paints) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints_;
        return QObject::eventFilter(watched, event);
    }

private:
    int& paints_;
};

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

QString tabText(const TfrmTavistoMain& w, QWidget* page) {
    return w.PageControl1->tabText(w.PageControl1->indexOf(page));
}

// What the operator reads on a control: a tab's header, a group's title, a
// button's or a label's text.
QString captionOf(const TfrmTavistoMain& w, const char* name) {
    auto* control = w.findChild<QWidget*>(QString::fromLatin1(name));
    if (!control)
        return QStringLiteral("(no control %1)").arg(QLatin1String(name));
    if (const int tab = w.PageControl1->indexOf(control); tab >= 0)
        return w.PageControl1->tabText(tab);
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return QStringLiteral("(no caption on %1)").arg(QLatin1String(name));
}

bool tabVisible(const TfrmTavistoMain& w, QWidget* page) {
    return w.PageControl1->isTabVisible(w.PageControl1->indexOf(page));
}

const QStringList kBaudRates = {"9600", "19200", "38400", "57600", "115200"};
const QStringList kModels = {"KT350--MKA", "KT350--MKB", "KT350-MKC", "KT350-MKD",
                             "KT750--MK",  "KT350-MK",   "KT750-MK"};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TfrmTavistoMain> make(std::uint16_t langId = 1033) {
        return WindowWithPorts(ports, boxes, langId);
    }

    BoxRecorder boxes;
    PortList ports;

private slots:
    void init() {
        boxes = {};
        ports = {};
    }

    void windowFrame() {
        auto w = make();
        // Exactly the caption: the program sets no display name that the platform
        // would append to it.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavisto v3.2"));
        QCOMPARE(w->size(), QSize(856, 671 + w->menuBar()->sizeHint().height()));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(w->font().pixelSize(), 14);
        QCOMPARE(w->tmr1->interval(), 1000);
        QVERIFY(!w->tmr1->isActive());
        QVERIFY(boxes.shown.empty());
    }

    void serviceCodeRevealsTheServiceTabs() {
        auto w = make();
        QLineEdit* text = w->tsDisplayTest->edt_Text;
        for (const char* near : {"3920571 ", " 3920571", "392057", "39205710"}) {
            text->setText(QString::fromLatin1(near));
            QVERIFY(!tabVisible(*w, w->tsDownloadFile));
            QVERIFY(!tabVisible(*w, w->tsFirmwareUpdates));
        }
        text->setText(QStringLiteral("3920571"));
        QVERIFY(tabVisible(*w, w->tsDownloadFile));
        QVERIFY(tabVisible(*w, w->tsFirmwareUpdates));
        // Nothing but a new start hides them again.
        text->setText(QStringLiteral("hello"));
        QVERIFY(tabVisible(*w, w->tsDownloadFile));
    }

    void startUpTabsAndControls() {
        auto w = make();
        QCOMPARE(w->PageControl1->currentWidget(), w->tsBasicSet);
        QVERIFY(!tabVisible(*w, w->tsDownloadFile));
        QVERIFY(!tabVisible(*w, w->tsFirmwareUpdates));
        for (QWidget* page :
             std::initializer_list<QWidget*>{w->tsBasicSet, w->tsDisplaySet, w->tsCodepageSet,
                                             w->tsPictureManagement, w->tsDisplayTest})
            QVERIFY(tabVisible(*w, page));

        QVERIFY(w->tsBasicSet->chk_Scroll1->isHidden());
        QVERIFY(!w->tsBasicSet->chk_Scroll2->isHidden());
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_latestVersion->text(), QStringLiteral("V14"));

        // Model-dependent controls wait for Connect.
        for (QWidget* hidden : std::initializer_list<QWidget*>{
                 w->tsPictureManagement->cxImage86, w->tsPictureManagement->CheckBox86,
                 w->tsPictureManagement->Button27, w->tsPictureManagement->Button28,
                 w->tsDisplayTest->lbl_PicNo, w->tsDisplayTest->ud_PicNo,
                 w->tsDisplayTest->btn_ShowQrCodeAt})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QVERIFY(!w->tsPictureManagement->cxImage85->isHidden());
        QVERIFY(w->cxProgressBar1->isHidden());
        QVERIFY(w->tsPictureManagement->cxProgressBar2->isHidden());

        // Initial values of the number boxes and radio groups.
        QCOMPARE(w->tsDisplaySet->rg_brightness->items(),
                 QStringList({"20%", "40%", "60%", "100%"}));
        QCOMPARE(w->tsDisplaySet->rg_brightness->itemIndex(), 1); // "40%" from the default settings
        QCOMPARE(w->tsDisplayTest->rg_QrCodeAlign->items(),
                 QStringList({"Left", "Center", "Right"}));
        QCOMPARE(w->tsDisplayTest->rg_QrCodeAlign->itemIndex(), 1);
        QCOMPARE(w->tsDisplayTest->edt_Text->text(), QStringLiteral("1234567890ABCDEFGHIJ"));
        QCOMPARE(w->tsDisplayTest->edt_Text->maxLength(), 20);
        struct Range {
            ui::TUpDown* box;
            QLineEdit* edit;
            int min, max, value;
        };
        for (const Range& r :
             {Range{w->tsDisplayTest->ud_Row, w->tsDisplayTest->edt_Row, 1, 4, 1},
              Range{w->tsDisplayTest->ud_Column, w->tsDisplayTest->edt_Column, 1, 20, 1},
              Range{w->tsDisplayTest->ud_PicNo, w->tsDisplayTest->edt_PicNo, 1, 10, 1},
              // The play settings show the default settings.
              Range{w->tsPictureManagement->ud_StandbyTime, w->tsPictureManagement->edt_StandbyTime,
                    0, 120, 0},
              Range{w->tsPictureManagement->ud_PlayInterval,
                    w->tsPictureManagement->edt_PlayInterval, 1, 10, 1}}) {
            QCOMPARE(r.box->minimum(), r.min);
            QCOMPARE(r.box->maximum(), r.max);
            QCOMPARE(r.box->value(), r.value);
            QCOMPARE(r.edit->text(), QString::number(r.value));
        }
        QCOMPARE(w->tsPictureManagement->lbl_selected_nums->text(), QStringLiteral("0"));
    }

    void startUpLists() {
        auto w = make();
        QCOMPARE(itemsOf(w->cbb_BaudRate), kBaudRates);
        QCOMPARE(w->cbb_BaudRate->currentIndex(), 0);
        QCOMPARE(itemsOf(w->tsBasicSet->cbb_down_BaudRate), kBaudRates);
        QCOMPARE(w->tsBasicSet->cbb_down_CommandMode->count(), 15);
        QCOMPARE(w->tsBasicSet->cbb_down_CommandMode->itemText(1), QStringLiteral("EPSON Esc/POS"));
        QCOMPARE(w->tsBasicSet->cbb_down_CommandMode->itemText(9), QStringLiteral("LOGIC CONTROL"));
        QCOMPARE(w->tsBasicSet->cbb_down_CommandMode->itemText(14), QStringLiteral("AUTO"));

        // One item index means the same code page in all four choosers.
        for (QComboBox* list : {w->tsBasicSet->cbb_CodePage, w->tsDisplayTest->cbb_codepage_test,
                                w->tsDisplaySet->cbb_codepage_maintext}) {
            QCOMPARE(list->count(), 27);
            QCOMPARE(list->itemText(0), QStringLiteral("CP437"));
            QCOMPARE(list->itemText(3), QStringLiteral("CP737_S1"));
            QCOMPARE(list->itemText(16), QStringLiteral("CP936_GBK"));
            QCOMPARE(list->itemText(26), QStringLiteral("WCP1258"));
        }
        QCOMPARE(w->tsCodepageSet->rg_Down_CodePage->items(), itemsOf(w->tsBasicSet->cbb_CodePage));

        QCOMPARE(w->tsDownloadFile->cbbCharset->count(), 93);
        QCOMPARE(w->tsDownloadFile->cbbCharset->itemText(0), QStringLiteral("CP437"));
        QCOMPARE(w->tsDownloadFile->cbbCharset->itemText(50), QStringLiteral("USA"));
        QCOMPARE(w->tsDownloadFile->cbbCharset->itemText(76), QStringLiteral("Logo_Start"));
        QCOMPARE(w->tsDownloadFile->cbbCharset->itemText(92), QStringLiteral("firmware"));
        QCOMPARE(w->tsDownloadFile->cbbCharset->currentIndex(), -1);
        QCOMPARE(itemsOf(w->cbbDisplayMode), kModels);

        QCOMPARE(w->connection().CurrentBaudRate, 9600);
    }

    void onlyTheConnectionGroupIsUsable() {
        auto w = make();
        QVERIFY(!w->PageControl1->isEnabled());
        for (QPushButton* button :
             {w->btn_Default, w->btn_loadsettings, w->btn_savesettings, w->btn_GetSetting,
              w->btn_AllDownload, w->btn_ResetDisplay, w->btn_RestartDisplay})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(w->btn_Exit->isEnabled());
        QVERIFY(w->grp_Settings->isEnabled());
        QVERIFY(w->cbb_SerialPort->isEnabled());
        QVERIFY(w->btnConnect->isEnabled());
        QVERIFY(!w->cbb_BaudRate->isEnabled());
        QVERIFY(!w->cbbDisplayMode->isEnabled());

        // Enabling everything still leaves the two "found" lists read-only.
        w->actBtnEnableExecute();
        QVERIFY(w->PageControl1->isEnabled());
        QVERIFY(w->btn_RestartDisplay->isEnabled());
        QVERIFY(!w->cbb_BaudRate->isEnabled());
        QVERIFY(!w->cbbDisplayMode->isEnabled());
    }

    void enableAndDisableOrder() {
        auto w = make();
        QStringList names;
        for (QWidget* control : w->switchedControls())
            names.append(control->objectName());
        QCOMPARE(names, QStringList({"PageControl1", "grp_Settings", "btn_Default",
                                     "btn_loadsettings", "btn_savesettings", "btn_GetSetting",
                                     "btn_AllDownload", "btn_ResetDisplay", "btn_RestartDisplay"}));
        w->actBtnEnableExecute();
        w->actBtnDisableExecute();
        QVERIFY(!w->grp_Settings->isEnabled());
        QVERIFY(!w->btnConnect->isEnabled());
        QVERIFY(w->btn_Exit->isEnabled());
    }

    void portList() {
        ports.names = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
        ui::TMainWindowSetup setup;
        setup.enumPorts = ports.lister();
        setup.dialogs = &boxes;
        setup.firstPorts = {"/dev/pts/7"};
        TfrmTavistoMain w(std::move(setup));
        QCOMPARE(itemsOf(w.cbb_SerialPort),
                 QStringList({"/dev/pts/7", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
        QCOMPARE(w.connection().CurrentPortName, "/dev/pts/7");

        // Picking another port, or typing a path, moves the connection along.
        QTest::keyClick(w.cbb_SerialPort, Qt::Key_Down);
        QCOMPARE(w.connection().CurrentPortName, "/dev/ttyUSB0");
        w.cbb_SerialPort->lineEdit()->clear();
        QTest::keyClicks(w.cbb_SerialPort->lineEdit(), "/dev/ttyACM3");
        QCOMPARE(w.connection().CurrentPortName, "/dev/ttyACM3");
    }

    void portListingFails() {
        ports.fails = true;
        auto w = make();
        QCOMPARE(boxes.shown.size(), size_t(1));
        QCOMPARE(boxes.shown[0].text,
                 QStringLiteral("Error opening registry key for serial port list"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(w->cbb_SerialPort->count(), 0);
        QCOMPARE(w->connection().CurrentPortName, "");
    }

    void msgBoxFlags() {
        auto w = make();
        boxes.answers = {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Yes,
                         QMessageBox::No};
        QCOMPARE(w->ShowMsgBox("Fail!", 16), kIdOk);
        QCOMPARE(w->ShowMsgBox("Parsing failed!", 48), kIdOk);
        QCOMPARE(w->ShowMsgBox("Done!", 64), kIdOk);
        QCOMPARE(w->ShowMsgBox("Are you sure?", 36), 6);
        QCOMPARE(w->ShowMsgBox("Are you sure?", 36), 7);
        const QMessageBox::Icon icons[] = {QMessageBox::Critical, QMessageBox::Warning,
                                           QMessageBox::Information, QMessageBox::Question,
                                           QMessageBox::Question};
        QCOMPARE(boxes.shown.size(), size_t(5));
        for (size_t i = 0; i < 5; ++i) {
            QCOMPARE(boxes.shown[i].title, QStringLiteral("Tavisto"));
            QCOMPARE(boxes.shown[i].icon, icons[i]);
            const auto expected = i < 3 ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                        : QMessageBox::Yes | QMessageBox::No;
            QCOMPARE(boxes.shown[i].buttons, expected);
        }
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Fail!"));

        // Texts arrive as UTF-8 and keep their line feeds.
        w->ShowMsgBox("Error：21\n\nsecond", 16);
        QCOMPARE(boxes.shown.back().text, QString::fromUtf8("Error：21\n\nsecond"));
        // A Yes/No box closed without an answer counts as No.
        boxes.answers = {QMessageBox::NoButton};
        QCOMPARE(w->ShowMsgBox("Format?", 36), kIdNo);
    }

    void columnReportsLineUp() {
        auto w = make();
        const std::string report = "Download: \r\n\r\n"
                                   "Main Mode :                   Success \r\n"
                                   "Header Mode :                 Failed \r\n";
        w->ShowMsgBox(report, kMbIconWarning);
        QVERIFY(boxes.shown.back().fixedPitch);
        QCOMPARE(boxes.shown.back().text, QString::fromStdString(report));
        w->ShowMsgBox("Done!", kMbIconInformation);
        QVERIFY(!boxes.shown.back().fixedPitch);
        w->ShowMsgBox("The current firmware version is lower than the latest version.\n\n"
                      "Please update the firmware version.",
                      kMbIconWarning);
        QVERIFY(!boxes.shown.back().fixedPitch);
        QVERIFY(!ui::IsColumnReport(QStringLiteral("one line  with  gaps")));
        QVERIFY(ui::IsColumnReport(QStringLiteral("Title\nA :   Success")));
        QVERIFY(!ui::IsColumnReport(QStringLiteral("Error:  x")));
    }

    void buttonRowStaysPutAfterProgress() {
        auto w = make();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QPoint before = w->btn_Exit->mapTo(w.get(), QPoint(0, 0));
        const int statusHeight = w->StatusBar1->height();
        w->BeginProgress("All Settings Downloading......", 100, TProgressKind::StatusOnly);
        QCoreApplication::processEvents();
        QCOMPARE(w->btn_Exit->mapTo(w.get(), QPoint(0, 0)), before);
        w->EndProgress();
        QCoreApplication::processEvents();
        QCOMPARE(w->btn_Exit->mapTo(w.get(), QPoint(0, 0)), before);
        QCOMPARE(w->StatusBar1->height(), statusHeight);
    }

    void timeLeftFitsInTheLastStatusPanel() {
        // Wine has none of Windows' interface fonts; its stand-in is wider than Segoe
        // UI, so the panel's width is judged on Linux only (see docs/WINDOWS.md).
        if (qEnvironmentVariableIsSet("TAVISTO_UNDER_WINE"))
            QSKIP("wine's stand-in for the Windows interface font");
        auto w = make();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // The longest the seconds panel shows while a transfer runs (a font at 115200).
        for (const QString& text :
             {QStringLiteral("999s  12:59 left"), QStringLiteral("999s  not answering")}) {
            auto* panel = w->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel3"));
            QVERIFY(panel != nullptr);
            panel->setText(text);
            QCoreApplication::processEvents();
            QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text),
                     qPrintable(text));
        }
    }

    // A protocol wait on the window's thread (the display is polled for seconds) lets
    // the window paint what changed, and runs nothing else: no queued call, no timer.
    void protocolWaitsLetTheWindowPaint() {
        auto w = make();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto* panel = w->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel3"));
        QVERIFY(panel != nullptr);
        QCoreApplication::processEvents();
        int paints = 0;
        PaintCounter counter(paints);
        panel->installEventFilter(&counter);
        bool queuedRan = false;
        QTimer::singleShot(0, w.get(), [&queuedRan] { queuedRan = true; });
        panel->setText(QStringLiteral("12s  11.2 KB/s, 0:35 left"));
        w->connection().clock().sleep(Millis(120));
        QVERIFY(paints > 0);
        QVERIFY(!queuedRan);
        panel->removeEventFilter(&counter);
    }

    void qrButtonsEndWithTheButtonsAbove() {
        auto w = make();
        w->actBtnEnableExecute();
        w->PageControl1->setCurrentWidget(w->tsDisplayTest);
        w->tsDisplayTest->SetPictureNumberVisible(true); // as Connect does for model 5
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto rightEdge = [&w](QWidget* widget) {
            return widget->mapTo(w.get(), QPoint(widget->width(), 0)).x();
        };
        QCOMPARE(rightEdge(w->tsDisplayTest->btn_ShowQrCodeAt),
                 rightEdge(w->tsDisplayTest->btn_ClearDisplay));
        QVERIFY(rightEdge(w->tsDisplayTest->btn_ShowQrCode) <
                rightEdge(w->tsDisplayTest->btn_ShowQrCodeAt));
    }

    void everyCaptionInBothLanguages() {
        QCOMPARE(std::size(kExpectedCaptions), std::size_t(88));
        auto english = make(1033);
        auto chinese = make(2052);
        for (const ExpectedCaption& row : kExpectedCaptions) {
            QCOMPARE(captionOf(*english, row.control), QString::fromUtf8(row.english));
            QCOMPARE(captionOf(*chinese, row.control), QString::fromUtf8(row.chinese));
        }
    }

    void everyCaptionHasItsControl() {
        auto w = make();
        for (const TCaption& row : Captions)
            QVERIFY2(w->findChild<QWidget*>(QString::fromLatin1(row.Control)) != nullptr,
                     row.Control);
    }

    void englishCaptions() {
        auto w = make(1033);
        QCOMPARE(tabText(*w, w->tsBasicSet), QStringLiteral(" Basic Setting"));
        QCOMPARE(tabText(*w, w->tsPictureManagement), QStringLiteral("Picture Management "));
        QCOMPARE(tabText(*w, w->tsFirmwareUpdates), QStringLiteral("Firmware Updates"));
        QCOMPARE(w->grp_Settings->title(), QStringLiteral("COM Settings"));
        QCOMPARE(w->tsBasicSet->grp_WelcomeMessage->title(), QStringLiteral("Welcome Message Set"));
        QCOMPARE(w->btn_ResetDisplay->text(), QStringLiteral("Restore Display"));
        QCOMPARE(w->btn_Default->text(), QStringLiteral("Default Settings"));
        QCOMPARE(w->tsDisplaySet->rbtnTextLine2->text(), QStringLiteral("Text Line 2"));
        QCOMPARE(w->tsDisplaySet->rg_brightness->title(), QStringLiteral("Brightness adjustment"));
        QCOMPARE(w->tsDisplaySet->labHeaderBgColor->text(), QStringLiteral("Backgroud Color"));
        QCOMPARE(w->tsPictureManagement->lbl_standbytime_memo->text(),
                 QStringLiteral("(0~120s,0: Not Play)"));
        QCOMPARE(w->tsDisplayTest->lbl_codepage_hint_test->text(),
                 QStringLiteral("(For text encoding conversion only)"));
        QCOMPARE(w->tsFirmwareUpdates->btn_update->text(), QStringLiteral("Update"));
        const QStringList interChars = w->tsCodepageSet->rg_Down_InterChar->items();
        QCOMPARE(interChars.size(), 20);
        QCOMPARE(interChars.first(), QStringLiteral("USA"));
        QCOMPARE(interChars[10], QStringLiteral("Denmark II"));
        QCOMPARE(interChars.last(), QStringLiteral("Other"));
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->itemIndex(),
                 0); // "USA" from the default settings
        // Texts that are not in the caption table stay as designed.
        QCOMPARE(w->tsDisplayTest->btn_E0FF->text(), QStringLiteral("CodePage 0xE0~0xFF"));
    }

    void chineseCaptions() {
        auto w = make(2052);
        QCOMPARE(tabText(*w, w->tsBasicSet), QString::fromUtf8(" 基本设置 "));
        QCOMPARE(tabText(*w, w->tsDownloadFile), QString::fromUtf8("  文件下载 "));
        QCOMPARE(tabText(*w, w->tsDisplayTest), QString::fromUtf8(" 客显测试 "));
        QCOMPARE(w->grp_Settings->title(), QString::fromUtf8("串口设置"));
        QCOMPARE(w->lab_SerialPort->text(), QString::fromUtf8("端口号："));
        QCOMPARE(w->btnConnect->text(), QString::fromUtf8("连接"));
        QCOMPARE(w->btn_ResetDisplay->text(), QString::fromUtf8("恢复出厂"));
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->title(), QString::fromUtf8("国家"));
        QCOMPARE(w->tsBasicSet->lbl_codepage_hint_welmsg->text(),
                 QString::fromUtf8("（仅为文本做编码转换）"));
        const QStringList interChars = w->tsCodepageSet->rg_Down_InterChar->items();
        QCOMPARE(interChars.size(), 20);
        QCOMPARE(interChars.first(), QString::fromUtf8("美国"));
        QCOMPARE(interChars[18], QString::fromUtf8("波罗的海国家"));
        QCOMPARE(interChars.last(), QString::fromUtf8("其他"));
        // Lists other than the character sets are not translated.
        QCOMPARE(w->tsDisplaySet->rg_brightness->items().first(), QStringLiteral("20%"));
        QCOMPARE(w->cbbDisplayMode->itemText(0), QStringLiteral("KT350--MKA"));
        // Neither are the operator messages.
        w->ShowMsgBox("Load Settings Success!", 64);
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Load Settings Success!"));
    }

    void otherLanguagesReadEnglish() {
        auto w = make(1031);
        QCOMPARE(w->btnConnect->text(), QStringLiteral("Connect"));
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->items().first(), QStringLiteral("USA"));
    }

    void languageRoutineKeepsTheCharacterSet() {
        auto w = make(2052);
        w->tsCodepageSet->rg_Down_InterChar->setItemIndex(8);
        w->actSelectLanguageExecute();
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->itemIndex(), 8);
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->items()[8], QString::fromUtf8("日本"));
        w->tsCodepageSet->rg_Down_InterChar->setItemIndex(-1);
        w->actSelectLanguageExecute();
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->itemIndex(), -1);
    }

    void sampleButtonsAreTagged() {
        auto w = make();
        const std::pair<QPushButton*, int> tags[] = {
            {w->tsDisplayTest->btn_203F, 101}, {w->tsDisplayTest->btn_405F, 102},
            {w->tsDisplayTest->btn_607F, 103}, {w->tsDisplayTest->btn_809F, 201},
            {w->tsDisplayTest->btn_A0BF, 202}, {w->tsDisplayTest->btn_C0DF, 203},
            {w->tsDisplayTest->btn_E0FF, 204}};
        for (const auto& [button, tag] : tags)
            QCOMPARE(button->property("Tag").toInt(), tag);
        QCOMPARE(w->tsDisplayTest->btn_203F->text(), QStringLiteral("InterChar 0x20~0x3F"));
        QCOMPARE(w->tsDisplayTest->btn_A0BF->text(), QStringLiteral("CodePage 0xA0~0xBF"));
        QCOMPARE(w->tsDisplayTest->btn_203F->parentWidget(), w->tsDisplayTest->grp_Test_InterChar);
        QCOMPARE(w->tsDisplayTest->btn_C0DF->parentWidget(), w->tsDisplayTest->grp_Test_CodePage);
    }

    void pictureSlotControls() {
        auto w = make();
        // Slot 76 uses Button1/Button2 ... slot 85 Button19/Button20; 73-75 Button21-26.
        QCOMPARE(w->tsPictureManagement->Button1->property("Tag").toInt(), 76);
        QCOMPARE(w->tsPictureManagement->Button20->property("Tag").toInt(), 85);
        QCOMPARE(w->tsPictureManagement->Button21->property("Tag").toInt(), 73);
        QCOMPARE(w->tsPictureManagement->Button26->property("Tag").toInt(), 75);
        QCOMPARE(w->tsPictureManagement->Button28->property("Tag").toInt(), 86);
        QCOMPARE(w->tsPictureManagement->Button1->text(), QStringLiteral("-"));
        QCOMPARE(w->tsPictureManagement->Button2->text(), QStringLiteral("+"));
        QCOMPARE(w->tsPictureManagement->slotImage(80), w->tsPictureManagement->cxImage80);
        QCOMPARE(w->tsPictureManagement->slotCheckBox(86), w->tsPictureManagement->CheckBox86);
        QCOMPARE(w->tsPictureManagement->slotButton(27), w->tsPictureManagement->Button27);
        QVERIFY(w->tsPictureManagement->slotImage(72) == nullptr);
    }

    void progressInTheStatusBar() {
        auto w = make();
        w->ShowLogOnRichEdit("old line", false);
        w->BeginProgress("All Settings Downloading......", 50, TProgressKind::ClearLog);
        QCOMPARE(w->panelText(1), QStringLiteral("All Settings Downloading......"));
        QCOMPARE(w->panelText(2), QString());
        QVERIFY(w->tmr1->isActive());
        QCOMPARE(w->Fwait, 0);
        QVERIFY(!w->cxProgressBar1->isHidden());
        QCOMPARE(w->cxProgressBar1->maximum(), 50);
        QCOMPARE(w->cxProgressBar1->value(), 0);
        QVERIFY(w->redt_log->document()->isEmpty()); // kind 1 clears the log

        w->tmr1Timer();
        w->tmr1Timer();
        QCOMPARE(w->panelText(3), QStringLiteral("2s"));
        w->ShowProgressItem("Download CP437", "1 of  77", 1);
        QCOMPARE(w->panelText(1), QStringLiteral("Download CP437"));
        QCOMPARE(w->panelText(2), QStringLiteral("1 of  77"));
        w->SetProgressMax(145, 1);
        w->SetProgress(30, 1);
        QCOMPARE(w->cxProgressBar1->maximum(), 145);
        QCOMPARE(w->cxProgressBar1->value(), 30);
        QVERIFY(w->tsPictureManagement->cxProgressBar2->isHidden()); // no picture job

        // A new operation restarts the count.
        w->BeginProgress("", 100, TProgressKind::StatusOnly);
        QCOMPARE(w->Fwait, 0);
        QCOMPARE(w->panelText(3), QString());

        w->EndProgress();
        QVERIFY(!w->tmr1->isActive());
        for (int panel = 1; panel <= 3; ++panel)
            QCOMPARE(w->panelText(panel), QString());
        QVERIFY(w->cxProgressBar1->isHidden());
        QCOMPARE(w->cxProgressBar1->value(), 0);
    }

    void pictureJobProgressSitsOverItsSlot() {
        auto w = make();
        w->actBtnEnableExecute();
        w->PageControl1->setCurrentWidget(w->tsPictureManagement);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->ShowLogOnRichEdit("kept", false);
        w->BeginProgress("", 100, TProgressKind::PictureSlots);
        QCOMPARE(w->redt_log->toPlainText(), QStringLiteral("kept")); // kind 2 keeps the log
        QCOMPARE(w->tsPictureManagement->cxProgressBar2->maximum(), 100);

        // Job position 82 is slot 78.
        w->SetProgressMax(40, 82);
        w->ShowProgressItem("Download Picture_3", "1 of  2", 82);
        QVERIFY(!w->tsPictureManagement->cxProgressBar2->isHidden());
        QCOMPARE(w->tsPictureManagement->cxProgressBar2->maximum(), 40);
        const QPoint slotCorner = w->tsPictureManagement->cxImage78->mapTo(w.get(), QPoint(0, 0));
        QCOMPARE(w->tsPictureManagement->cxProgressBar2->mapTo(w.get(), QPoint(0, 0)), slotCorner);
        QCOMPARE(w->tsPictureManagement->cxProgressBar2->size(),
                 w->tsPictureManagement->cxImage78->size());
        w->SetProgress(39, 82);
        QVERIFY(!w->tsPictureManagement->cxProgressBar2->isHidden());
        w->SetProgress(40, 82);
        QVERIFY(w->tsPictureManagement->cxProgressBar2->isHidden());
        QCOMPARE(w->cxProgressBar1->value(), 40);
    }

    // In both languages, on every tab: each button's caption has room on both sides,
    // and buttons side by side do not touch.
    void buttonsHaveRoomAroundTheirCaptions() {
        for (const std::uint16_t langId : {std::uint16_t(1033), std::uint16_t(2052)}) {
            auto w = make(langId);
            w->tsDisplayTest->SetPictureNumberVisible(true); // "Show QrCode At"
            w->show();
            for (int tab = 0; tab < w->PageControl1->count(); ++tab) {
                w->PageControl1->setTabVisible(tab, true);
                w->PageControl1->setCurrentIndex(tab);
                QApplication::processEvents();
                std::vector<QPushButton*> shown;
                for (QWidget* area :
                     {static_cast<QWidget*>(w->grp_Settings), w->PageControl1->currentWidget()})
                    for (QPushButton* button : area->findChildren<QPushButton*>())
                        if (button->isVisible() && !button->text().isEmpty())
                            shown.push_back(button);
                for (QPushButton* button : shown) {
                    const int caption = button->fontMetrics().horizontalAdvance(button->text());
                    QVERIFY2(button->width() >= caption + 16, qPrintable(button->objectName()));
                    const QRect at(button->mapTo(w.get(), QPoint()), button->size());
                    for (QPushButton* other : shown) {
                        const QRect there(other->mapTo(w.get(), QPoint()), other->size());
                        if (other == button || there.top() > at.bottom() ||
                            there.bottom() < at.top() || there.left() < at.left())
                            continue;
                        QVERIFY2(there.left() - at.right() > 4,
                                 qPrintable(button->objectName() + " " + other->objectName()));
                    }
                }
            }
        }
    }

    // Failures in red, the rest in the pane's text colour: also lines written while a
    // queue had the tab disabled, once it is enabled again.
    void logLines() {
        auto w = make();
        w->show();
        w->PageControl1->setTabVisible(w->PageControl1->indexOf(w->tsDownloadFile), true);
        w->PageControl1->setCurrentWidget(w->tsDownloadFile);
        w->actBtnDisableExecute();
        w->ShowLogOnRichEdit("CP437 [Succeed]", false);
        w->ShowLogOnRichEdit("CP737 [Failed]:CRC check error", true);
        w->actBtnEnableExecute();
        w->ShowLogOnRichEdit("CP850 [Succeed]", false);
        QTextDocument* doc = w->redt_log->document();
        QCOMPARE(doc->blockCount(), 3);
        QCOMPARE(doc->findBlockByNumber(1).text(),
                 QStringLiteral("CP737 [Failed]:CRC check error"));

        const QImage shot = w->redt_log->viewport()->grab().toImage();
        // The darkest grey and the reddest pixel of a line as drawn.
        auto inkOf = [&](int block) {
            const QRect line = doc->documentLayout()
                                   ->blockBoundingRect(doc->findBlockByNumber(block))
                                   .toAlignedRect()
                                   .intersected(shot.rect());
            int darkest = 255;
            bool red = false;
            for (int y = line.top(); y <= line.bottom(); ++y)
                for (int x = line.left(); x <= line.right(); ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    darkest = std::min(darkest, qGray(c.rgb()));
                    red = red || (c.red() > 200 && c.green() < 60 && c.blue() < 60);
                }
            return std::pair(darkest, red);
        };
        const QColor text = w->redt_log->palette().color(QPalette::Active, QPalette::Text);
        for (int block : {0, 2}) {
            const auto [darkest, red] = inkOf(block);
            QVERIFY2(darkest <= qGray(text.rgb()) + 40, qPrintable(QString::number(darkest)));
            QVERIFY(!red);
        }
        QVERIFY(inkOf(1).second);
    }
};

TAVISTO_WINDOW_TEST(MainWindowTest)
#include "MainWindowTest.moc"
