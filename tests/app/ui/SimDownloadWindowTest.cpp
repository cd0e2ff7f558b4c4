// The Download File tab's single-item download through the window's transfer engine,
// the real serial layer and the virtual display on a pty.
#include "resources/EmbeddedResources.h"
#include "tests/app/ui/SimWindow.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/TempFolder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

namespace {

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    return bytes;
}

} // namespace

class SimDownloadWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<sim::VirtualDisplay> display;
    TempFolder folder;

    // Connected to a KT350-MK (the virtual display's default model).
    std::unique_ptr<TfrmTavistoMain> connected() {
        return connectedToVirtualDisplay(display, {}, boxes);
    }

    // A shown window, connected, sending mini_CP437 (a named file of its size, some
    // seconds at 115200 baud) from the Download File tab.
    std::unique_ptr<TfrmTavistoMain> namedFileGoing() {
        auto w = connected();
        w->show();
        ui::TDownloadFilePanel& tab = *w->tsDownloadFile;
        folder.write("font.bin", pattern(36864));
        tab.cbbCharset->setCurrentIndex(26);
        boxes.files.push_back(QString::fromStdString((folder.path() / "font.bin").string()));
        tab.btn_CharacterSetSelectFile->click();
        tab.btn_CharacterSetDownSingle->click();
        return w;
    }

private slots:
    void init() { boxes = {}; }
    void cleanup() { display.reset(); }

    void downloadSendsTheChosenFile() {
        auto w = connected();
        ui::TDownloadFilePanel& tab = *w->tsDownloadFile;
        // mini_CP437 of its size on this model: some seconds at 115200 baud.
        const std::string font = pattern(36864);
        folder.write("font.bin", font);
        tab.cbbCharset->setCurrentIndex(26); // mini_CP437
        boxes.files.push_back(QString::fromStdString((folder.path() / "font.bin").string()));
        tab.btn_CharacterSetSelectFile->click();
        tab.btn_CharacterSetDownSingle->click();

        // The queue runs on the window's event loop; the buttons wait for it.
        QVERIFY(!w->btn_AllDownload->isEnabled());
        // Beside the seconds count: the time the item still needs; the rate is on the
        // progress bar, and the panel's tooltip says both.
        const QRegularExpression status(QStringLiteral("^\\d+s  \\d+:\\d\\d left$"));
        QTRY_VERIFY_WITH_TIMEOUT(status.match(w->panelText(3)).hasMatch() || !boxes.shown.empty(),
                                 60000);
        QVERIFY2(boxes.shown.empty(), "the item was sent before its time left was shown");
        // The seconds are the queue's own count, not a second one kept by the window.
        QVERIFY(!w->tmr1->isActive());
        const QRegularExpression rate(QStringLiteral("^\\d+(\\.\\d)? (B|KB)/s, \\d+:\\d\\d left$"));
        auto* panel = w->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel3"));
        QVERIFY(rate.match(panel->toolTip()).hasMatch());
        QVERIFY(w->cxProgressBar1->isTextVisible());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+(\\.\\d)? (B|KB)/s$"))
                    .match(w->cxProgressBar1->format())
                    .hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 60000);
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Done! [Succeed 1 / Failed 0]"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Information);
        QCOMPARE(display->storage().files["437_48x24.bin"], font);
        QVERIFY(w->redt_log->toPlainText().contains(QStringLiteral("mini_CP437")));

        for (QWidget* control : w->switchedControls())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(w->cxProgressBar1->isHidden());
        QCOMPARE(w->panelText(3), QString());
        QVERIFY(!w->connection().SessionPort);
    }

    // The seconds count stops before the "Done!" box opens, also for a queue that ends
    // before its first second: an item the addressed models do not take.
    void theDoneBoxFindsTheCountStopped() {
        sim::SimOptions options;
        options.model = 0; // KT350--MKA
        auto w = connectedToVirtualDisplay(display, options, boxes);
        ui::TDownloadFilePanel& tab = *w->tsDownloadFile;
        folder.write("font.bin", pattern(300));
        tab.cbbCharset->setCurrentIndex(1); // CP437_40x40
        boxes.files.push_back(QString::fromStdString((folder.path() / "font.bin").string()));
        tab.btn_CharacterSetSelectFile->click();
        bool counting = true;
        QString atOpen;
        QString afterWait;
        boxes.onShow = [&] {
            counting = w->tmr1->isActive();
            atOpen = w->panelText(3);
            QTest::qWait(2500);
            afterWait = w->panelText(3);
        };
        tab.btn_CharacterSetDownSingle->click();
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 30000);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Done! [Succeed 0 / Failed 0]"));
        QVERIFY(w->redt_log->toPlainText().contains(QStringLiteral("]:not suport")));
        QVERIFY(!counting);
        QCOMPARE(afterWait, atOpen);
    }

    // Exit in the middle of a transfer asks first: No keeps it running, Yes stops it
    // and sets the display back to the operator's speed before the window goes.
    void closingDuringADownloadAsksFirst() {
        auto w = namedFileGoing();
        // The buttons wait while the queue runs; Stop is there for it.
        auto running = [&] {
            return !w->btn_AllDownload->isEnabled() && w->btn_Stop->isEnabled();
        };
        QTRY_VERIFY_WITH_TIMEOUT(display->baudRate() == 115200, 10000);
        QVERIFY(running());

        boxes.answers.push_back(QMessageBox::No);
        QVERIFY(!w->close());
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(boxes.shown[0].text.startsWith(QStringLiteral("A transfer to the display")));
        QVERIFY(running());

        // A named file is finished first: the display would take the link-speed command
        // as file data. The status bar says it is stopping until the display is set back;
        // then a box says what was done, and the window closes.
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(w->panelText(1), QString::fromUtf8("Stopping…"));
        QVERIFY(!w->btn_Stop->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 30000);
        QVERIFY(!running());
        QCOMPARE(display->baudRate(), w->connection().CurrentBaudRate);
        QVERIFY(!w->connection().SessionPort);
        QCOMPARE(display->storage().files.count("437_48x24.bin"), std::size_t(1));
        QCOMPARE(boxes.shown.size(), std::size_t(3));
        QCOMPARE(boxes.shown[2].text,
                 QStringLiteral("Stopped: the display is back at %1 baud.\nDone: 1 of 1 items "
                                "[Succeed 1 / Failed 0]")
                     .arg(w->connection().CurrentBaudRate));
    }

    // Esc in the middle of Font Download on an addressed model stops between two blocks:
    // nothing more is sent, the display is back at its speed, and the box names what
    // was not sent.
    void escapeStopsAQueueBetweenBlocks() {
        sim::SimOptions options;
        options.model = 0;            // KT350--MKA
        options.faults.pacing = true; // CP437 takes some seconds
        auto w = connectedToVirtualDisplay(display, options, boxes);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->tsDownloadFile->btn_CharacterSetDownAll->click();
        QTRY_VERIFY_WITH_TIMEOUT(display->count(sim::LogKind::Received) >= 12, 20000);
        QVERIFY(w->btn_Stop->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 10000);
        QCOMPARE(boxes.shown[0].text,
                 QStringLiteral("Stopped: the display is back at 9600 baud.\nDone: 0 of 77 items "
                                "[Succeed 0 / Failed 0]\nNot sent: CP437, CP437_40x40, CP737 and "
                                "74 more"));
        QCOMPARE(display->baudRate(), 9600);
        QVERIFY(!w->btn_Stop->isEnabled());
        QVERIFY(w->btn_AllDownload->isEnabled());
        QVERIFY(display->waitUntilQuiet(Millis(2000)));
        const std::size_t after = display->count(sim::LogKind::Received);
        QTest::qWait(500);
        QCOMPARE(display->count(sim::LogKind::Received), after);
        // At most the blocks of CP437 it stopped in; nothing after it began.
        for (const auto& [address, bytes] : display->storage().flash)
            QCOMPARE(address, std::uint32_t(0));
    }

    // Stop during a named file lets the file finish; Exit meanwhile asks nothing more
    // and the window goes after the box.
    void stopDuringANamedFileLetsItFinish() {
        auto w = namedFileGoing();
        QTRY_VERIFY_WITH_TIMEOUT(display->baudRate() == 115200, 10000);
        QTest::qWait(500);
        w->btn_Stop->click();
        QCOMPARE(w->panelText(1), QString::fromUtf8("Stopping…"));
        QVERIFY(!w->close());
        QVERIFY(boxes.shown.empty());
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 30000);
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QVERIFY(boxes.shown[0].text.startsWith(QStringLiteral("Stopped: the display is back")));
        QCOMPARE(display->storage().files["437_48x24.bin"], pattern(36864));
        QCOMPARE(display->baudRate(), w->connection().CurrentBaudRate);
    }

    // Font Download sends the program's own images, first the CP437 font of the
    // display's resolution under its file name.
    void fontDownloadSendsTheBuiltInImages() {
        auto w = connected();
        w->tsDownloadFile->btn_CharacterSetDownAll->click();
        QVERIFY(!w->btn_AllDownload->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(display->storage().files.count("437_80x40.bin") == 1, 30000);
        QCOMPARE(display->storage().files["437_80x40.bin"],
                 tavisto::EmbeddedResourceBytes("CP437_800X480").value());
        QVERIFY(boxes.shown.empty());
    }
};

TAVISTO_WINDOW_TEST(SimDownloadWindowTest)
#include "SimDownloadWindowTest.moc"
