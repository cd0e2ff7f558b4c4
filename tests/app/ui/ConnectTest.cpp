// Connect against a scripted display: the speed scan, the model-dependent
// controls, the firmware check and every failure.
#include "app/ui/ImageBox.h"
#include "app/ui/UpDown.h"
#include "resources/EmbeddedResources.h"
#include "tests/app/ui/FakeDisplay.h"
#include "tests/app/ui/WindowHarness.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

namespace {

const std::string kPort = "/dev/ttyFAKE0";
const std::string kModelQuery("\x02\x07\x16\x01", 4);
const std::string kVersionQuery("\x02\x07\x16\x02", 4);

} // namespace

class ConnectTest : public QObject {
    Q_OBJECT

    FakeDisplay display;
    StepClock clock;
    std::unique_ptr<FakeOpener> opener;
    BoxRecorder boxes;
    PortList ports;

    std::unique_ptr<TfrmTavistoMain> make() {
        opener = std::make_unique<FakeOpener>(display, std::vector<std::string>{kPort});
        ui::TMainWindowSetup setup;
        setup.opener = opener.get();
        setup.clock = &clock;
        setup.enumPorts = ports.lister();
        setup.dialogs = &boxes;
        setup.langId = 1033;
        return std::make_unique<TfrmTavistoMain>(std::move(setup));
    }

    static bool firmwareTabShown(const TfrmTavistoMain& w) {
        return w.PageControl1->isTabVisible(w.PageControl1->indexOf(w.tsFirmwareUpdates));
    }
    static bool guestSlotShown(const TfrmTavistoMain& w) {
        const bool shown = !w.tsPictureManagement->cxImage86->isHidden();
        for (QWidget* part : std::initializer_list<QWidget*>{w.tsPictureManagement->CheckBox86,
                                                             w.tsPictureManagement->Button27,
                                                             w.tsPictureManagement->Button28})
            if (part->isHidden() == shown)
                qFatal("slot 86 is only partly shown");
        return shown;
    }
    static bool pictureNumberShown(const TfrmTavistoMain& w) {
        const bool shown = !w.tsDisplayTest->btn_ShowQrCodeAt->isHidden();
        if (w.tsDisplayTest->lbl_PicNo->isHidden() == shown ||
            w.tsDisplayTest->ud_PicNo->isHidden() == shown)
            qFatal("the picture number controls are only partly shown");
        return shown;
    }
    QStringList boxTexts() const {
        QStringList texts;
        for (const ShownBox& box : boxes.shown)
            texts.append(box.text);
        return texts;
    }

private slots:
    void init() {
        display = {};
        clock = {};
        boxes = {};
        ports = {};
        ports.names = {kPort};
    }

    void modelsWithoutExtras() {
        display.modelName = "KT350--MKA";
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 0);
        QCOMPARE(w->cbb_BaudRate->currentText(), QStringLiteral("9600"));
        QCOMPARE(w->connection().CurrentBaudRate, 9600);
        QVERIFY(w->PageControl1->isEnabled());
        QVERIFY(w->btn_AllDownload->isEnabled());
        QVERIFY(!w->cbbDisplayMode->isEnabled());
        QVERIFY(!guestSlotShown(*w));
        QVERIFY(!pictureNumberShown(*w));
        QVERIFY(!firmwareTabShown(*w));
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350--MKA!"}));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Information);
        // The display is cleared after identification; no version is asked for.
        QVERIFY(display.wrote(std::string("\x0C", 1)));
        QVERIFY(!display.wrote(kVersionQuery));
        QVERIFY(!w->connection().SessionPort);
        QVERIFY(!w->connection().OneShotPort);
    }

    void modelOneShowsOnlyThePictureNumber() {
        display.modelName = "KT350--MKB";
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 1);
        QVERIFY(!guestSlotShown(*w));
        QVERIFY(pictureNumberShown(*w));
        QVERIFY(!display.wrote(kVersionQuery));
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350--MKB!"}));
    }

    void currentFirmwareNeedsNoUpdate() {
        display.modelName = "KT350-MKD";
        display.version = std::string("\x00\x0E", 2);
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 3);
        QVERIFY(guestSlotShown(*w));
        QVERIFY(pictureNumberShown(*w));
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_deviceModel->text(), QStringLiteral("KT350-MKD"));
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(), QStringLiteral("V14"));
        QVERIFY(!firmwareTabShown(*w));
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350-MKD!"}));
    }

    void olderFirmwareIsReported() {
        display.modelName = "KT350-MK";
        display.version = std::string("\x0D", 1);
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 5);
        QVERIFY(guestSlotShown(*w));
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(), QStringLiteral("V13"));
        // A build without a firmware image says so instead of offering V14.
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_latestVersion->text(),
                 FindEmbeddedResource("KT350MK")
                     ? QStringLiteral("V14")
                     : QStringLiteral("V14 (not carried by this program)"));
        QVERIFY(firmwareTabShown(*w));
        QCOMPARE(boxes.shown.size(), size_t(2));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Connected to KT350-MK!"));
        QCOMPARE(boxes.shown[1].text,
                 QStringLiteral("The current firmware version is lower than the latest "
                                "version.\n\nPlease update the firmware version."));
        QCOMPARE(boxes.shown[1].icon, QMessageBox::Warning);
    }

    void unreadableVersionCountsAsZero() {
        display.modelName = "KT750-MK";
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 6);
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(), QStringLiteral("V0"));
        QVERIFY(firmwareTabShown(*w));
        QCOMPARE(boxes.shown.back().icon, QMessageBox::Warning);
    }

    void foundOnlyAtTheLastSpeed() {
        display.modelName = "KT750--MK";
        display.baudRate = 115200;
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(display.opens.front(), 9600);
        const std::vector<int> tried(display.opens.begin(), display.opens.begin() + 5);
        QCOMPARE(tried, (std::vector<int>{9600, 19200, 38400, 57600, 115200}));
        // Four failed attempts, each followed by a 100 ms pause.
        QCOMPARE(std::count(clock.pauses.begin(), clock.pauses.end(), Millis(100)) >= 4, true);
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 4);
        QCOMPARE(w->cbb_BaudRate->currentText(), QStringLiteral("115200"));
        QCOMPARE(w->connection().CurrentBaudRate, 115200);
        QVERIFY(w->PageControl1->isEnabled());
        // The clear command goes out at the speed found.
        for (const FakeDisplay::Write& write : display.writes)
            if (write.bytes == std::string("\x0C", 1))
                QCOMPARE(write.baudRate, 115200);
    }

    void unknownModelAtEverySpeed() {
        display.modelName = "kt350-mk";
        display.baudRate = 0;
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({"Unknown model !"}));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(!w->PageControl1->isEnabled());
        QVERIFY(!w->btn_Default->isEnabled());
        QCOMPARE(w->cbb_BaudRate->currentText(), QStringLiteral("115200"));
        QCOMPARE(w->connection().CurrentBaudRate, 115200);
        QVERIFY(!display.wrote(std::string("\x0C", 1)));
    }

    void silentDisplay() {
        display.modelName.clear();
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({"Not found Device : Time out !"}));
        QVERIFY(!w->PageControl1->isEnabled());
    }

    void noPort() {
        ports.names.clear();
        auto w = make();
        QCOMPARE(w->connection().CurrentPortName, "");
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({" Error opening serial port!"}));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(!w->PageControl1->isEnabled());
        QVERIFY(display.writes.empty());
    }

    void typedPathIsUsed() {
        ports.names.clear();
        display.modelName = "KT350-MKC";
        auto w = make();
        QTest::keyClicks(w->cbb_SerialPort->lineEdit(), QString::fromStdString(kPort));
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 2);
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350-MKC!"}));
    }

    void connectingAgainFollowsTheModel() {
        display.modelName = "KT350-MK";
        display.version = std::string("\x0E", 1);
        auto w = make();
        w->btnConnect->click();
        QVERIFY(guestSlotShown(*w));
        QVERIFY(pictureNumberShown(*w));

        display.modelName = "KT350-MKC";
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 2);
        QVERIFY(!guestSlotShown(*w));
        QVERIFY(!pictureNumberShown(*w));
        // The firmware tab names the model found now, not the version of the one before.
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_deviceModel->text(), QStringLiteral("KT350-MKC"));
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(),
                 QStringLiteral("not read on this model"));
    }

    void failedSecondConnectKeepsTheWindowUsable() {
        display.modelName = "KT350-MK";
        display.version = std::string("\x0C", 1);
        auto w = make();
        w->btnConnect->click();
        QVERIFY(firmwareTabShown(*w));
        boxes.shown.clear();

        display.modelName.clear();
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({"Not found Device : Time out !"}));
        QVERIFY(w->PageControl1->isEnabled());
        QVERIFY(w->btn_GetSetting->isEnabled());
        // The scan itself starts by hiding what the last model showed.
        QVERIFY(!guestSlotShown(*w));
        QVERIFY(!firmwareTabShown(*w));
    }
};

TAVISTO_WINDOW_TEST(ConnectTest)
#include "ConnectTest.moc"
