// Connect against the simulated display: the speed scan, the model-dependent
// controls, the firmware check and every failure.
#include "app/ui/ImageBox.h"
#include "app/ui/UpDown.h"
#include "resources/EmbeddedResources.h"
#include "tests/app/ui/SimulatedWindow.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

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

    std::unique_ptr<SimulatedLine> sim;
    BoxRecorder boxes;
    PortList ports;

    // The display as `model` answering at `baudRate`, with `faults`.
    void displayIs(int model, const sim::Faults& faults = {}, int baudRate = 9600) {
        sim = std::make_unique<SimulatedLine>(model, baudRate);
        sim->display.setFaults(faults);
    }
    static sim::Faults versionReply(const Bytes& bytes) {
        sim::Faults faults;
        faults.versionReply = bytes;
        return faults;
    }
    std::unique_ptr<TfrmTavistoMain> make() {
        return windowOnSimulatedLine(*sim, boxes, true, ports.lister());
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
        sim = std::make_unique<SimulatedLine>();
        boxes = {};
        ports = {};
        ports.names = {kPort};
    }

    void modelsWithoutExtras() {
        displayIs(0);
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
        QVERIFY(sim->wrote(std::string("\x0C", 1)));
        QVERIFY(!sim->wrote(kVersionQuery));
        QCOMPARE(sim->display.receivedFrames().back(), std::string("\x0C", 1));
        QVERIFY(!w->connection().SessionPort);
        QVERIFY(!w->connection().OneShotPort);
    }

    void modelOneShowsOnlyThePictureNumber() {
        displayIs(1);
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 1);
        QVERIFY(!guestSlotShown(*w));
        QVERIFY(pictureNumberShown(*w));
        QVERIFY(!sim->wrote(kVersionQuery));
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350--MKB!"}));
    }

    void currentFirmwareNeedsNoUpdate() {
        displayIs(3, versionReply(std::string("\x00\x0E", 2)));
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 3);
        QVERIFY(guestSlotShown(*w));
        QVERIFY(pictureNumberShown(*w));
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_deviceModel->text(), QStringLiteral("KT350-MKD"));
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(), QStringLiteral("V14"));
        QVERIFY(!firmwareTabShown(*w));
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350-MKD!"}));
        // The version is asked for after the display was cleared.
        QVERIFY(sim->wrote(std::string("\x0C", 1)));
        QCOMPARE(sim->display.receivedFrames().back(), kVersionQuery);
    }

    void olderFirmwareIsReported() {
        displayIs(5, versionReply(std::string("\x0D", 1)));
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
        displayIs(6, versionReply({}));
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 6);
        QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(), QStringLiteral("V0"));
        QVERIFY(firmwareTabShown(*w));
        QCOMPARE(boxes.shown.back().icon, QMessageBox::Warning);
    }

    void foundOnlyAtTheLastSpeed() {
        displayIs(4, {}, 115200);
        auto w = make();
        w->btnConnect->click();
        const std::vector<int> opens = sim->opens();
        QVERIFY(opens.size() >= 5);
        const std::vector<int> tried(opens.begin(), opens.begin() + 5);
        QCOMPARE(tried, (std::vector<int>{9600, 19200, 38400, 57600, 115200}));
        // Four failed attempts, each followed by a 100 ms pause before the next opens.
        std::vector<Micros> closed, opened;
        for (const LineEvent& event : sim->line.events()) {
            if (event.kind == LineEvent::Close)
                closed.push_back(event.at);
            else if (event.kind == LineEvent::Open)
                opened.push_back(event.at);
        }
        for (std::size_t attempt = 0; attempt < 4; ++attempt)
            QVERIFY(opened[attempt + 1] - closed[attempt] >= Millis(100));
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 4);
        QCOMPARE(w->cbb_BaudRate->currentText(), QStringLiteral("115200"));
        QCOMPARE(w->connection().CurrentBaudRate, 115200);
        QVERIFY(w->PageControl1->isEnabled());
        // The clear command goes out at the speed found.
        const auto writes = sim->line.writes();
        const auto speeds = sim->writeSpeeds();
        for (std::size_t i = 0; i < writes.size(); ++i)
            if (writes[i] == std::string("\x0C", 1))
                QCOMPARE(speeds[i], 115200);
        QVERIFY(sim->wrote(std::string("\x0C", 1)));
    }

    void unknownModel() {
        sim::Faults unknown;
        unknown.modelReply = std::string("kt350-mk\0", 9);
        // An unknown name does not end the scan: every speed is tried.
        displayIs(5, unknown, 9600);
        auto scanned = make();
        scanned->btnConnect->click();
        QCOMPARE(sim->opens().size(), std::size_t(5));
        QVERIFY(!sim->wrote(std::string("\x0C", 1)));
        scanned.reset();

        // The last speed's answer is what the box tells.
        boxes = {};
        displayIs(5, unknown, 115200);
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({"Unknown model !"}));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(!w->PageControl1->isEnabled());
        QVERIFY(!w->btn_Default->isEnabled());
        QCOMPARE(w->cbb_BaudRate->currentText(), QStringLiteral("115200"));
        QCOMPARE(w->connection().CurrentBaudRate, 115200);
        QVERIFY(!sim->wrote(std::string("\x0C", 1)));
    }

    void silentDisplay() {
        sim::Faults silent;
        silent.silent = true;
        displayIs(5, silent);
        auto w = make();
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({"Not found Device : Time out !"}));
        QVERIFY(!w->PageControl1->isEnabled());
        QCOMPARE(w->connection().CurrentBaudRate, 115200);
    }

    void noPort() {
        ports.names.clear();
        auto w = make();
        QCOMPARE(w->connection().CurrentPortName, "");
        w->btnConnect->click();
        QCOMPARE(boxTexts(), QStringList({" Error opening serial port!"}));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(!w->PageControl1->isEnabled());
        QVERIFY(sim->line.writes().empty());
    }

    void typedPathIsUsed() {
        ports.names.clear();
        displayIs(2);
        auto w = make();
        QTest::keyClicks(w->cbb_SerialPort->lineEdit(), QString::fromStdString(kPort));
        w->btnConnect->click();
        QCOMPARE(w->cbbDisplayMode->currentIndex(), 2);
        QCOMPARE(boxTexts(), QStringList({"Connected to KT350-MKC!"}));
    }

    void connectingAgainFollowsTheModel() {
        displayIs(5);
        auto w = make();
        w->btnConnect->click();
        QVERIFY(guestSlotShown(*w));
        QVERIFY(pictureNumberShown(*w));

        sim->display.setModel(2);
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
        displayIs(5, versionReply(std::string("\x0C", 1)));
        auto w = make();
        w->btnConnect->click();
        QVERIFY(firmwareTabShown(*w));
        boxes.shown.clear();

        sim::Faults silent;
        silent.silent = true;
        sim->display.setFaults(silent);
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
