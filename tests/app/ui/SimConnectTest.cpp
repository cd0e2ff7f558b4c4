// Connect through the real serial layer against the virtual display on a pty; the
// scan's failures and the firmware check run on the simulated display (ConnectTest).
#include "app/ui/ImageBox.h"
#include "tests/app/ui/SimWindow.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

class SimConnectTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<sim::VirtualDisplay> display;

    std::unique_ptr<TfrmTavistoMain> connectTo(sim::SimOptions options) {
        auto w = windowOnVirtualDisplay(display, options, boxes);
        w->btnConnect->click();
        return w;
    }

    QStringList boxTexts() const {
        QStringList texts;
        for (const ShownBox& box : boxes.shown)
            texts.append(box.text);
        return texts;
    }
    static bool firmwareTabShown(const TfrmTavistoMain& w) {
        return w.PageControl1->isTabVisible(w.PageControl1->indexOf(w.tsFirmwareUpdates));
    }

private slots:
    void init() { boxes = {}; }
    void cleanup() { display.reset(); }

    void modelsAndTheirControls() {
        struct Case {
            int model;
            const char* name;
            bool guestSlot, pictureNumber, firmwareCheck;
        };
        for (const Case& c :
             {Case{0, "KT350--MKA", false, false, false}, Case{1, "KT350--MKB", false, true, false},
              Case{3, "KT350-MKD", true, true, true}, Case{5, "KT350-MK", true, true, true}}) {
            boxes = {};
            sim::SimOptions options;
            options.model = c.model;
            auto w = connectTo(options);
            QCOMPARE(boxTexts(), QStringList({QStringLiteral("Connected to %1!").arg(c.name)}));
            QCOMPARE(w->cbbDisplayMode->currentIndex(), c.model);
            QVERIFY(w->PageControl1->isEnabled());
            QCOMPARE(!w->tsPictureManagement->cxImage86->isHidden(), c.guestSlot);
            QCOMPARE(!w->tsPictureManagement->Button28->isHidden(), c.guestSlot);
            QCOMPARE(!w->tsDisplayTest->btn_ShowQrCodeAt->isHidden(), c.pictureNumber);
            QCOMPARE(!w->tsDisplayTest->lbl_PicNo->isHidden(), c.pictureNumber);
            QCOMPARE(w->tsFirmwareUpdates->lbl_show_deviceModel->text(), QLatin1String(c.name));
            QCOMPARE(w->tsFirmwareUpdates->lbl_show_currentVersion->text(),
                     c.firmwareCheck ? QStringLiteral("V14")
                                     : QStringLiteral("not read on this model"));
            QVERIFY(!firmwareTabShown(*w));
            // The display saw the clear command after the identification (and the
            // version query on the models that have one). The bytes may still be on
            // their way through the pseudo-terminal, so wait for the frame count.
            QVERIFY(display->waitForCount(sim::LogKind::Received, c.firmwareCheck ? 3 : 2,
                                          Millis(2000)));
            const auto frames = display->receivedFrames();
            QVERIFY(!frames.empty());
            QCOMPARE(QByteArray::fromStdString(frames.back()).toHex(),
                     c.firmwareCheck ? QByteArray("02071602") : QByteArray("0c"));
        }
    }
};

TAVISTO_WINDOW_TEST(SimConnectTest)
#include "SimConnectTest.moc"
