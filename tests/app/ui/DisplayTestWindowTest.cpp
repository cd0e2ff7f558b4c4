// The Display Testing tab bound to its workflows, against the simulated display.
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"
#include "tests/app/ui/SimulatedWindow.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/Wire.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

class DisplayTestWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<SimulatedLine> sim;

    // A window as after Connect found `model` at 9600 baud.
    std::unique_ptr<TfrmTavistoMain> connectedTo(int model) {
        sim = std::make_unique<SimulatedLine>(model);
        auto w = windowOnSimulatedLine(*sim, boxes);
        w->cbbDisplayMode->setCurrentIndex(model);
        w->actBtnEnableExecute();
        return w;
    }

    std::vector<Bytes> writes() const { return sim->line.writes(); }

private slots:
    void textAtAPositionInTheTestCodePage() {
        auto w = connectedTo(5);
        ui::TDisplayTestPanel& tab = *w->tsDisplayTest;
        tab.edt_Text->setText(QStringLiteral("\u00E9A"));
        tab.chk_PositionAt->setChecked(true);
        tab.ud_Row->setValue(4);
        tab.ud_Column->setValue(20);
        tab.cbb_codepage_test->setCurrentIndex(
            tab.cbb_codepage_test->findText(QStringLiteral("WCP1252")));
        QTest::mouseClick(tab.btn_TextSend, Qt::LeftButton);
        QVERIFY(!writes().empty());
        QCOMPARE(writes().back(), wire("1F 24 14 04 E9 41"));

        QTest::mouseClick(tab.btn_E0FF, Qt::LeftButton);
        QCOMPARE(writes().back().size(), std::size_t(41));
        QCOMPARE(writes().back().substr(0, 3), wire("0B E0 E1"));
        QTest::mouseClick(tab.btn_ClearDisplay, Qt::LeftButton);
        QCOMPARE(writes().back(), wire("0C"));
        QVERIFY(boxes.shown.empty());
    }

    void centreAndServiceCode() {
        auto w = connectedTo(5);
        ui::TDisplayTestPanel& tab = *w->tsDisplayTest;
        const auto shown = [&w](QWidget* page) {
            return w->PageControl1->isTabVisible(w->PageControl1->indexOf(page));
        };
        tab.edt_Text->setText(QStringLiteral("ABC"));
        QTest::mouseClick(tab.btn_textText_center, Qt::LeftButton);
        QCOMPARE(tab.edt_Text->text(), QString(8, ' ') + "ABC" + QString(9, ' '));

        // Pasted with a trailing space: the code is not typed exactly.
        tab.edt_Text->setText(QStringLiteral("3920571 "));
        QVERIFY(!shown(w->tsDownloadFile));
        QTest::keyClick(tab.edt_Text, Qt::Key_Backspace);
        QVERIFY(shown(w->tsDownloadFile));
        QVERIFY(shown(w->tsFirmwareUpdates));
    }

    void qrCodeAtOnlyOnModelsThatDrawThem() {
        for (int model : {0, 2, 4}) {
            auto w = connectedTo(model);
            w->tsDisplayTest->btn_ShowQrCodeAtClick();
            QVERIFY(writes().empty());
            QVERIFY(boxes.shown.empty());
        }
        auto w = connectedTo(6);
        ui::TDisplayTestPanel& tab = *w->tsDisplayTest;
        tab.edt_Text->setText(QStringLiteral("Hi"));
        tab.rg_QrCodeAlign->setItemIndex(2);
        tab.ud_PicNo->setValue(7);
        tab.btn_ShowQrCodeAtClick();
        QCOMPARE(writes().back(), wire("02 07 1E 03 07 48 69 00"));
        tab.btn_ShowQrCodeClick();
        QCOMPARE(writes().back(), wire("02 07 1D 03 00 48 69 00"));
    }

    void qrPictureFromAFileOrFromTheText() {
        auto w = connectedTo(0);
        ui::TDisplayTestPanel& tab = *w->tsDisplayTest;
        tab.rg_QrCodeAlign->setItemIndex(0);
        // The plain click asks for the picture at once; the arrow beside it offers the
        // QR code of the test text as well. A cancelled file dialog sends nothing.
        QCOMPARE(tab.btn_ShowQrCodeMenu->menu(), tab.mnu_QrPicture);
        tab.btn_ShowQrCodeClick();
        QCOMPARE(boxes.fileDialogs.size(), std::size_t(1));
        QCOMPARE(boxes.fileDialogs[0].filter,
                 QStringLiteral("All (*.png;*.jpg;*.jpeg;*.bmp)|*.png;*.jpg;*.jpeg;*.bmp|Portable "
                                "Network Graphics (*.png)|*.png|JPEG Image File (*.jpg)|*.jpg|JPEG "
                                "Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp"));
        QVERIFY(writes().empty());

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("qr.png"));
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QVERIFY(picture.save(file));
        boxes.files.push_back(file);
        tab.act_QrOfPicture->trigger();
        auto sent = writes();
        const auto speeds = sim->writeSpeeds();
        QCOMPARE(sent.size(), std::size_t(22));
        QCOMPARE(sent[0], wire("02 07 04 00 01 C2 00"));
        QCOMPARE(speeds[0], 9600);
        QCOMPARE(sent[1], wire("02 07 19 01 00"));
        QCOMPARE(speeds[1], 115200);
        QCOMPARE(sent[2], std::string(256, '\xFF'));
        QCOMPARE(sent[21], wire("02 07 04 00 00 25 80"));
        QVERIFY(boxes.shown.empty());
        // The display took the picture and is back at its speed.
        QCOMPARE(sim->display.state().content, sim::MainContent::QrCode);
        QCOMPARE(sim->display.baudRate(), 9600);

        tab.act_QrOfText->trigger();
        sent = writes();
        QCOMPARE(sent.size(), std::size_t(44));
        QCOMPARE(sent[23], wire("02 07 19 01 00"));
        QVERIFY(boxes.shown.empty());
    }

    void qrPictureOnAPortThatDoesNotOpenSaysSo() {
        auto w = connectedTo(2);
        w->connection().CurrentPortName = "/dev/ttyGONE";
        w->tsDisplayTest->act_QrOfText->trigger();
        QVERIFY(writes().empty());
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(!boxes.shown[0].text.isEmpty());
        QVERIFY(w->tsDisplayTest->btn_ShowQrCode->isEnabled());
    }
};

TAVISTO_WINDOW_TEST(DisplayTestWindowTest)
#include "DisplayTestWindowTest.moc"
