// The Download File and Firmware Updates tabs' choices and the commands that send
// nothing or one frame, on a window connected to the simulated display. Transfers go
// through the engine's own threads and run against the virtual display on a pty
// (SimDownloadWindowTest).
#include "tests/app/ui/SimulatedWindow.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/TempFolder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

class DownloadTabWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<SimulatedLine> sim;
    TempFolder folder;

    // Connected to a KT350-MK.
    std::unique_ptr<TfrmTavistoMain> connected() { return connectedOnSimulatedLine(*sim, boxes); }
    std::size_t received() { return sim->received(); }

private slots:
    void init() {
        boxes = {};
        sim = std::make_unique<SimulatedLine>();
    }

    void itemSelectionAndFileChoice() {
        auto w = connected();
        ui::TDownloadFilePanel& tab = *w->tsDownloadFile;
        QCOMPARE(tab.cbbCharset->currentIndex(), -1);
        QVERIFY(!tab.btn_CharacterSetSelectFile->isEnabled());
        QVERIFY(!tab.btn_CharacterSetDownSingle->isEnabled());

        // An item without a file: a file can be chosen, nothing sent yet.
        tab.cbbCharset->setCurrentIndex(0);
        QVERIFY(tab.btn_CharacterSetSelectFile->isEnabled());
        QVERIFY(!tab.btn_CharacterSetDownSingle->isEnabled());
        QCOMPARE(tab.edt_addr->text(), QStringLiteral("0x00000000"));
        QCOMPARE(tab.edt_filename->text(), QStringLiteral("437_80x40.bin"));

        boxes.files.push_back(QStringLiteral("/tmp/font.bin"));
        tab.btn_CharacterSetSelectFile->click();
        QCOMPARE(boxes.fileDialogs.size(), std::size_t(1));
        QVERIFY(!boxes.fileDialogs[0].save);
        QCOMPARE(boxes.fileDialogs[0].filter,
                 QStringLiteral("Bin Files(*.bin)|*.bin|JPEG Image File (*.jpg)|*.jpg"));
        QCOMPARE(tab.pnlCharsetFilename->text(), QStringLiteral("/tmp/font.bin"));
        QVERIFY(tab.btn_CharacterSetDownSingle->isEnabled());

        // Another item keeps the chosen file and shows its own address and name.
        tab.cbbCharset->setCurrentIndex(1);
        QVERIFY(tab.btn_CharacterSetDownSingle->isEnabled());
        QCOMPARE(tab.edt_addr->text(), QStringLiteral("0xFFFFFFFF"));
        QCOMPARE(tab.edt_filename->text(), QStringLiteral("437_40x40.bin"));

        // A cancelled dialog forgets the file chosen before.
        tab.btn_CharacterSetSelectFile->click();
        QCOMPARE(tab.pnlCharsetFilename->text(), QString());
        QVERIFY(!tab.btn_CharacterSetDownSingle->isEnabled());
        QVERIFY(tab.btn_CharacterSetSelectFile->isEnabled());

        // No item: nothing to choose a file for.
        tab.cbbCharset->setCurrentIndex(-1);
        QVERIFY(!tab.btn_CharacterSetSelectFile->isEnabled());
        QVERIFY(!tab.btn_CharacterSetDownSingle->isEnabled());
        QCOMPARE(tab.edt_addr->text(), QString());
        QCOMPARE(tab.edt_filename->text(), QString());
        QVERIFY(boxes.shown.empty());
    }

    void downloadOfAMissingFileSendsNothing() {
        auto w = connected();
        ui::TDownloadFilePanel& tab = *w->tsDownloadFile;
        const std::size_t before = received();
        tab.cbbCharset->setCurrentIndex(5);
        boxes.files.push_back(QString::fromStdString((folder.path() / "gone.bin").string()));
        tab.btn_CharacterSetSelectFile->click();
        tab.btn_CharacterSetDownSingle->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(received(), before);
        for (QWidget* control : w->switchedControls())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }

    // Update on a program without a firmware image says so and sends nothing; Format
    // asks first and sends only on Yes.
    void updateWithoutAnImageAndFormat() {
        auto w = connected();
        const std::size_t before = received();
        w->tsFirmwareUpdates->btn_update->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(boxes.shown[0].text.contains(QStringLiteral("no firmware image for KT350-MK")));
        QCOMPARE(received(), before);

        boxes.answers = {QMessageBox::No};
        w->tsDownloadFile->btn_Format->click();
        QCOMPARE(boxes.shown.size(), std::size_t(2));
        QCOMPARE(boxes.shown[1].text,
                 QStringLiteral("Are you sure you want to format the storage?"));
        QCOMPARE(received(), before);
        w->tsDownloadFile->btn_Format->click(); // answered Yes
        QCOMPARE(boxes.shown.size(), std::size_t(3));
        QCOMPARE(received(), before + 1);
        QCOMPARE(sim->display.receivedFrames().back(), std::string("\x02\x07\x05\x00", 4));
        for (QWidget* control : w->switchedControls())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }
};

TAVISTO_WINDOW_TEST(DownloadTabWindowTest)
#include "DownloadTabWindowTest.moc"
