// The installed window's everyday path on Windows: Connect, All Download and a picture
// download through the Windows serial port, against the virtual display that the wine
// prefix maps to the COM port in TAVISTO_TEST_PORT (a KT350-MK at 9600 baud).
#include "app/ui/ImageBox.h"
#include "pictures/PictureConvert.h"
#include "pictures/ui/ImageConvert.h"
#include "tests/app/ui/WindowHarness.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>

using namespace tavisto;
using namespace tavisto::testing;

class ComPortWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    PortList ports;

private slots:
    void connectSettingsAndAPicture() {
        const char* port = std::getenv("TAVISTO_TEST_PORT");
        QVERIFY2(port, "TAVISTO_TEST_PORT names the display's COM port");
        ports.names = {port};
        auto w = WindowWithPorts(ports, boxes);
        w->show();

        w->btnConnect->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Connected to KT350-MK!"));

        boxes = {};
        w->btn_AllDownload->click(); // answered Yes
        QTRY_VERIFY_WITH_TIMEOUT(boxes.shown.size() >= 2, 60000);
        const QString report = boxes.shown.back().text;
        QVERIFY2(report.startsWith(QStringLiteral("Download: ")), qPrintable(report));
        QVERIFY2(!report.contains(QStringLiteral("Failed")), qPrintable(report));

        // A picture into slot 73 through the conversion dialog, then Download.
        QTemporaryDir folder;
        const QString file = QDir(folder.path()).filePath(QStringLiteral("logo.bmp"));
        QVERIFY(SaveResult(Bitmap(300, 200, Rgb{0, 0, 255}), file.toStdString()));
        ui::TPictureManagementPanel& tab = *w->tsPictureManagement;
        w->PageControl1->setCurrentWidget(&tab);
        boxes = {};
        boxes.files.push_back(file);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TfrmImageConvert*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->actOpen->trigger();
            dialog->actEnter->trigger();
        });
        tab.slotButton(MinusButtonOfSlot(73) + 1)->click();
        tab.btn_DownloadPictrue->click();
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 120000);
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Done! [Succeed 1 / Failed 0]"));
        QVERIFY(w->PageControl1->isEnabled());
    }
};

TAVISTO_WINDOW_TEST(ComPortWindowTest)
#include "ComPortWindowTest.moc"
