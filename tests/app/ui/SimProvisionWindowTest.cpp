// The Provision dialog against virtual displays on ptys: the window's settings sent to
// several displays at once, the rows, the report, and the causes of failed rows.
#include "app/ui/ProvisionDialog.h"
#include "app/ui/RadioGroup.h"
#include "tests/app/ui/SimWindow.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/TempFolder.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;
using ui::TProvisionDialog;

namespace {

// A window whose port list holds exactly `ports`.
std::unique_ptr<TfrmTavistoMain> windowWithPorts(std::vector<std::string> ports,
                                                 BoxRecorder& boxes) {
    ui::TMainWindowSetup setup;
    setup.enumPorts = [](std::vector<std::string>& list, std::string&) {
        list.clear();
        return true;
    };
    setup.firstPorts = std::move(ports);
    setup.dialogs = &boxes;
    setup.langId = 1033;
    return std::make_unique<TfrmTavistoMain>(std::move(setup));
}

std::unique_ptr<sim::VirtualDisplay> startedDisplay() {
    auto display = std::make_unique<sim::VirtualDisplay>();
    std::string error;
    if (!display->start(error))
        qFatal("virtual display: %s", error.c_str());
    return display;
}

// Opens the dialog from the window's menu.
TProvisionDialog* openDialog(TfrmTavistoMain& w) {
    auto* open = w.findChild<QAction*>(QStringLiteral("actProvision"));
    if (!open)
        qFatal("no Provision menu entry");
    open->trigger();
    auto* dialog = w.findChild<TProvisionDialog*>();
    if (!dialog)
        qFatal("the Provision dialog did not open");
    return dialog;
}

QString cell(const TProvisionDialog& dialog, int row, int column) {
    return dialog.tblPorts->item(row, column)->text();
}

} // namespace

class SimProvisionWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    TempFolder folder;

private slots:
    void init() { boxes = {}; }

    void windowSettingsGoToTwoDisplaysAndTheReportSaysSo() {
        auto first = startedDisplay();
        auto second = startedDisplay();
        auto w = windowWithPorts({first->devicePath(), second->devicePath()}, boxes);
        // Connected to the first display, the operator sets the form up: its brightness
        // (20%) is what every display must end up with.
        w->btnConnect->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        boxes = {};
        w->tsDisplaySet->rg_brightness->button(0)->click();
        TProvisionDialog* dialog = openDialog(*w);
        QCOMPARE(dialog->tblPorts->rowCount(), 2);
        QVERIFY(dialog->rbWindow->isChecked());
        QVERIFY(!dialog->btnSaveReport->isEnabled());

        dialog->btnStartClick();
        QVERIFY(dialog->running());
        QVERIFY(!dialog->btnStart->isEnabled());
        QVERIFY(dialog->btnStop->isEnabled());
        // The window stays responsive while the workers run: the rows fill in as they go.
        QTRY_COMPARE_WITH_TIMEOUT(cell(*dialog, 0, TProvisionDialog::ColModel),
                                  QStringLiteral("KT350-MK V14"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->running(), 60000);
        QCOMPARE(boxes.shown.size(), std::size_t(0));
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(cell(*dialog, row, TProvisionDialog::ColModel),
                     QStringLiteral("KT350-MK V14"));
            QCOMPARE(cell(*dialog, row, TProvisionDialog::ColResult), QStringLiteral("succeeded"));
            QCOMPARE(static_cast<QProgressBar*>(
                         dialog->tblPorts->cellWidget(row, TProvisionDialog::ColProgress))
                         ->value(),
                     100);
        }
        QCOMPARE(first->state().settings.back_light, 6);
        QCOMPARE(second->state().settings.back_light, 6);

        QVERIFY(dialog->btnSaveReport->isEnabled());
        const QString report = QString::fromStdString((folder.path() / "report.json").string());
        boxes.files.push_back(report);
        dialog->btnSaveReport->click();
        QCOMPARE(boxes.fileDialogs.back().save, true);
        const QJsonObject json =
            QJsonDocument::fromJson(QByteArray::fromStdString(folder.read("report.json"))).object();
        QVERIFY(json.value(QStringLiteral("profile")).toString().endsWith(".json"));
        const QJsonArray ports = json.value(QStringLiteral("ports")).toArray();
        QCOMPARE(ports.size(), 2);
        QCOMPARE(ports[0].toObject().value(QStringLiteral("port")).toString(),
                 QString::fromStdString(first->devicePath()));
        QCOMPARE(ports[1].toObject().value(QStringLiteral("port")).toString(),
                 QString::fromStdString(second->devicePath()));
        for (const auto& port : ports) {
            QCOMPARE(port.toObject().value(QStringLiteral("result")).toString(),
                     QStringLiteral("succeeded"));
            QCOMPARE(port.toObject().value(QStringLiteral("model")).toString(),
                     QStringLiteral("KT350-MK"));
        }
        dialog->close();
    }

    void failedRowsNameTheirCauses() {
        auto display = startedDisplay();
        const std::string missing = (folder.path() / "no-such-port").string();
        auto w = windowWithPorts({display->devicePath(), missing}, boxes);
        TProvisionDialog* dialog = openDialog(*w);

        // A profile that does not pass the check starts nothing.
        dialog->rbFile->setChecked(true);
        dialog->edtProfile->setText(QString::fromStdString((folder.path() / "x.json").string()));
        dialog->btnStartClick();
        QVERIFY(!dialog->running());
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QVERIFY(boxes.shown[0].text.contains(QStringLiteral("x.json")));
        QVERIFY(boxes.shown[0].text.endsWith(QStringLiteral("Nothing was sent.")));
        QCOMPARE(display->count(sim::LogKind::Received), std::size_t(0));

        // The display is a KT350-MK; the profile wants another model.
        folder.write("other.json", R"({"model": "KT750-MK", "play": {"pictures": [1],
                                       "standby": 30, "interval": 5}})");
        dialog->edtProfile->setText(
            QString::fromStdString((folder.path() / "other.json").string()));
        dialog->btnStartClick();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->running(), 30000);
        QCOMPARE(cell(*dialog, 0, TProvisionDialog::ColResult),
                 QStringLiteral("failed: identify: the display is a KT350-MK, not the profile's "
                                "KT750-MK; nothing was sent to it"));
        const QString gone = cell(*dialog, 1, TProvisionDialog::ColResult);
        QVERIFY2(gone.startsWith(QStringLiteral("failed: identify: ")), qPrintable(gone));
        QVERIFY2(gone.contains(QString::fromStdString(missing)) || gone.contains("not exist") ||
                     gone.contains("No such"),
                 qPrintable(gone));
        QCOMPARE(dialog->results().size(), std::size_t(2));
        dialog->close();
    }

    // Closing asks first; Stop ends the run at a safe point, and the dialog goes only
    // then, the display back at its own speed.
    void closingWhileRunningStopsFirst() {
        auto display = startedDisplay();
        auto w = windowWithPorts({display->devicePath()}, boxes);
        folder.write("font.bin", std::string(102400, 'f'));
        folder.write("font.json", R"({"fonts": [{"item": "CP850", "file": "font.bin"}]})");
        TProvisionDialog* dialog = openDialog(*w);
        QPointer<TProvisionDialog> alive(dialog);
        dialog->rbFile->setChecked(true);
        dialog->edtProfile->setText(QString::fromStdString((folder.path() / "font.json").string()));
        dialog->btnStartClick();
        QTRY_VERIFY_WITH_TIMEOUT(!cell(*dialog, 0, TProvisionDialog::ColLeft).isEmpty(), 20000);
        QVERIFY(cell(*dialog, 0, TProvisionDialog::ColLeft).endsWith(QStringLiteral(" left")));

        boxes.answers.push_back(QMessageBox::No);
        dialog->close();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->running());

        dialog->close(); // Yes
        QCOMPARE(boxes.shown.size(), std::size_t(2));
        QVERIFY(alive);
        QTRY_VERIFY_WITH_TIMEOUT(!alive, 20000);
        QCOMPARE(display->baudRate(), 9600);
        QCOMPARE(display->state().baudRate, 9600);
    }
};

TAVISTO_WINDOW_TEST(SimProvisionWindowTest)
#include "SimProvisionWindowTest.moc"
