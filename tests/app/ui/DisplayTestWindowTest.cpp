// The Display Testing tab bound to its workflows, against a scripted display.
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"
#include "tests/app/ui/FakeDisplayWindow.h"
#include "tests/app/ui/WindowTestMain.h"

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
    FakeDisplay display;
    StepClock clock;
    std::unique_ptr<FakeOpener> opener;

    // A window as after Connect found `model`, on a display that understands every speed.
    std::unique_ptr<TfrmTavistoMain> connectedTo(int model) {
        display = FakeDisplay{};
        auto w = WindowOnFakeDisplay(display, clock, boxes, opener);
        w->cbbDisplayMode->setCurrentIndex(model);
        w->actBtnEnableExecute();
        return w;
    }

    static std::string hex(std::string_view text) {
        std::string bytes;
        for (std::size_t i = 0; i < text.size(); i += 3)
            bytes.push_back(
                static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
        return bytes;
    }

    std::vector<std::string> writes() const {
        std::vector<std::string> all;
        for (const auto& w : display.writes)
            all.push_back(w.bytes);
        return all;
    }

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
        QVERIFY(!display.writes.empty());
        QCOMPARE(display.writes.back().bytes, hex("1F 24 14 04 E9 41"));

        QTest::mouseClick(tab.btn_E0FF, Qt::LeftButton);
        QCOMPARE(display.writes.back().bytes.size(), std::size_t(41));
        QCOMPARE(display.writes.back().bytes.substr(0, 3), hex("0B E0 E1"));
        QTest::mouseClick(tab.btn_ClearDisplay, Qt::LeftButton);
        QCOMPARE(display.writes.back().bytes, hex("0C"));
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
            QVERIFY(display.writes.empty());
            QVERIFY(boxes.shown.empty());
        }
        auto w = connectedTo(6);
        ui::TDisplayTestPanel& tab = *w->tsDisplayTest;
        tab.edt_Text->setText(QStringLiteral("Hi"));
        tab.rg_QrCodeAlign->setItemIndex(2);
        tab.ud_PicNo->setValue(7);
        tab.btn_ShowQrCodeAtClick();
        QCOMPARE(writes().back(), hex("02 07 1E 03 07 48 69 00"));
        tab.btn_ShowQrCodeClick();
        QCOMPARE(writes().back(), hex("02 07 1D 03 00 48 69 00"));
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
        QVERIFY(display.writes.empty());

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("qr.png"));
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QVERIFY(picture.save(file));
        boxes.files.push_back(file);
        tab.act_QrOfPicture->trigger();
        QCOMPARE(display.writes.size(), std::size_t(22));
        QCOMPARE(display.writes[0].bytes, hex("02 07 04 00 01 C2 00"));
        QCOMPARE(display.writes[0].baudRate, 9600);
        QCOMPARE(display.writes[1].bytes, hex("02 07 19 01 00"));
        QCOMPARE(display.writes[1].baudRate, 115200);
        QCOMPARE(display.writes[2].bytes, std::string(256, '\xFF'));
        QCOMPARE(display.writes[21].bytes, hex("02 07 04 00 00 25 80"));
        QVERIFY(boxes.shown.empty());

        display.writes.clear();
        tab.act_QrOfText->trigger();
        QCOMPARE(display.writes.size(), std::size_t(22));
        QCOMPARE(display.writes[1].bytes, hex("02 07 19 01 00"));
        QVERIFY(boxes.shown.empty());
    }

    void qrPictureOnAPortThatDoesNotOpenSaysSo() {
        auto w = connectedTo(2);
        w->connection().CurrentPortName = "/dev/ttyGONE";
        w->tsDisplayTest->act_QrOfText->trigger();
        QVERIFY(display.writes.empty());
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(!boxes.shown[0].text.isEmpty());
        QVERIFY(w->tsDisplayTest->btn_ShowQrCode->isEnabled());
    }
};

TAVISTO_WINDOW_TEST(DisplayTestWindowTest)
#include "DisplayTestWindowTest.moc"
