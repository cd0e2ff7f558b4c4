// The window's setting buttons and All Download, connected to the simulated display.
#include "app/ui/RadioGroup.h"
#include "tests/app/settings/AllDownloadLabels.h"
#include "tests/app/ui/SimulatedWindow.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

namespace {

QString report(const char* result) {
    QString text = QStringLiteral("Download: \r\n\r\n");
    for (const char* label : kAllDownloadLabels)
        text += QString::fromLatin1(label).leftJustified(30) + QLatin1String(result) +
                QStringLiteral("\r\n");
    return text;
}

} // namespace

class SettingsCommandsWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<SimulatedLine> sim;
    std::size_t before = 0; // frames the display had received when Connect was done

    // A window after Connect, with Connect's box taken out of `boxes`.
    std::unique_ptr<TfrmTavistoMain> connected() {
        auto w = connectedOnSimulatedLine(*sim, boxes);
        before = received();
        return w;
    }
    std::size_t received() { return sim->received(); }

    static void checkUsable(const TfrmTavistoMain& w) {
        QVERIFY(w.centralWidget()->isEnabled());
        for (QWidget* control : w.switchedControls())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(w.cxProgressBar1->isHidden());
        QCOMPARE(w.panelText(1), QString());
    }

private slots:
    void init() {
        boxes = {};
        sim = std::make_unique<SimulatedLine>();
    }

    void allDownloadSendsEveryItem() {
        auto w = connected();
        w->tsDisplaySet->rg_brightness->button(0)->click();
        w->btn_AllDownload->click();
        QCOMPARE(boxes.shown.size(), std::size_t(2));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Do you want to download all settings?"));
        QCOMPARE(boxes.shown[1].text, report("Success "));
        QCOMPARE(boxes.shown[1].icon, QMessageBox::Information);
        checkUsable(*w);
        // Fourteen commands and the readiness checks between them.
        QVERIFY(received() >= before + 14);
        QCOMPARE(sim->display.state().settings.back_light, 6);

        // Get Setting shows what the display now holds over the defaults.
        w->btn_Default->click();
        QCOMPARE(w->tsDisplaySet->rg_brightness->itemIndex(), 1);
        w->btn_GetSetting->click();
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Get Settings from Display Success!"));
        QCOMPARE(w->tsDisplaySet->rg_brightness->itemIndex(), 0);
        checkUsable(*w);
    }

    // Stop is live during All Download: it stops before the next setting, and the
    // report says how many were not sent.
    void allDownloadStopsBeforeItsNextSetting() {
        auto w = connected();
        QVERIFY(!w->btn_Stop->isEnabled());
        // Stop once a few settings have gone, at the next point the window looks.
        bool stopUsable = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, w.get(), [&] {
            if (received() < before + 3)
                return;
            poll.stop();
            stopUsable = w->btn_Stop->isEnabled();
            w->btn_Stop->click();
        });
        poll.start(0);
        w->btn_AllDownload->click();
        QVERIFY(stopUsable);
        QCOMPARE(boxes.shown.size(), std::size_t(2));
        const QString text = boxes.shown[1].text;
        QCOMPARE(boxes.shown[1].icon, QMessageBox::Warning);
        const QRegularExpression stopped(
            QStringLiteral("\r\n\r\nStopped before [A-Za-z0-9 ]+: (\\d+) of the settings were "
                           "not sent\\.\r\n$"));
        const QRegularExpressionMatch match = stopped.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        const int sent = static_cast<int>(text.count(QStringLiteral("Success ")));
        QVERIFY(sent >= 1 && sent < 14);
        QCOMPARE(sent + match.captured(1).toInt(), 14);
        QVERIFY(!w->btn_Stop->isEnabled());
        checkUsable(*w);
    }

    void allDownloadAnsweredNoSendsNothing() {
        auto w = connected();
        boxes.answers.push_back(QMessageBox::No);
        w->btn_AllDownload->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(received(), before);
        checkUsable(*w);
    }

    void allDownloadWithThePortUnplugged() {
        auto w = connected();
        w->connection().CurrentPortName = "/dev/ttyGONE0";
        w->btn_AllDownload->click();
        QCOMPARE(boxes.shown.size(), std::size_t(2));
        QCOMPARE(boxes.shown[1].text, report("Failed "));
        QCOMPARE(boxes.shown[1].icon, QMessageBox::Warning);
        checkUsable(*w);
    }

    void baudRateSettingMovesTheConnection() {
        auto w = connected();
        w->tsBasicSet->cbb_down_BaudRate->setCurrentIndex(
            w->tsBasicSet->cbb_down_BaudRate->findText("19200"));
        w->tsBasicSet->btn_baudrateSet->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Done!"));
        QCOMPARE(w->cbb_BaudRate->currentText(), QStringLiteral("19200"));
        QCOMPARE(w->connection().CurrentBaudRate, 19200);
        QCOMPARE(received(), before + 1);
        QCOMPARE(sim->display.baudRate(), 19200);

        // The display now answers at its new speed.
        w->tsDisplaySet->btn_HeaderSet->click();
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Done!"));
        checkUsable(*w);
    }

    void restoreAskedFirst() {
        auto w = connected();
        boxes.answers.push_back(QMessageBox::No);
        w->btn_ResetDisplay->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text,
                 QStringLiteral("Are you sure you want to restore factory settings?"));
        QCOMPARE(received(), before);
        w->btn_ResetDisplay->click(); // Yes
        QCOMPARE(boxes.shown.size(), std::size_t(2));
        QCOMPARE(received(), before + 1);
        checkUsable(*w);
    }
};

TAVISTO_WINDOW_TEST(SettingsCommandsWindowTest)
#include "SettingsCommandsWindowTest.moc"
