// The Picture Management tab on a window connected to the virtual display: default
// pictures, "+" through the image conversion dialog, "-", the play selection, and a
// Download with the slot progress bar over the slot being sent.
#include "app/ui/ImageBox.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureConvert.h"
#include "pictures/ui/ImageConvert.h"
#include "tests/app/ui/SimWindow.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

class PictureSlotsWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<sim::VirtualDisplay> display;
    TempFolder folder;

    std::unique_ptr<TfrmTavistoMain> connected(int model) {
        sim::SimOptions options;
        options.model = model;
        return connectedToVirtualDisplay(display, options, boxes);
    }

    // Presses "+" of `slot`, opens `file` in the conversion dialog and confirms; the
    // label of the dialog's target size goes to `targetText`.
    void loadPicture(ui::TPictureManagementPanel& tab, int slot, const std::string& file,
                     QString& targetText) {
        boxes.files.push_back(QString::fromStdString(file));
        QTimer::singleShot(0, [&targetText] {
            auto* dialog = qobject_cast<TfrmImageConvert*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            targetText = dialog->Panel4->text();
            dialog->actOpen->trigger();
            dialog->actEnter->trigger();
        });
        tab.slotButton(MinusButtonOfSlot(slot) + 1)->click();
    }

private slots:
    void init() { boxes = {}; }
    void cleanup() { display.reset(); }

    void plusAndMinusFollowTheModelAndTheSelection() {
        auto w = connected(1); // KT350--MKB, 480 x 272
        ui::TPictureManagementPanel& tab = *w->tsPictureManagement;
        // Every slot starts with its default picture, unflagged.
        for (int slot = 73; slot <= 86; ++slot) {
            const QImage& picture = tab.slotImage(slot)->picture();
            QCOMPARE(picture.size(), slot == 75 ? QSize(274, 80) : QSize(130, 80));
            QVERIFY(!tab.slotContents().PicList(slot));
        }
        const std::string file = (folder.path() / "photo.bmp").string();
        QVERIFY(SaveResult(Bitmap(300, 200, Rgb{0, 128, 0}), file));

        QString target;
        loadPicture(tab, 74, file, target);
        QCOMPARE(target, QStringLiteral("120*40"));
        QCOMPARE(tab.slotImage(74)->picture().size(), QSize(120, 40));
        QVERIFY(tab.CheckBox74->isChecked());
        QVERIFY(tab.slotContents().PicList(74));

        // Boxes 76, 77 and 85 make the play selection 0203 hex.
        loadPicture(tab, 76, file, target);
        QCOMPARE(target, QStringLiteral("480*272"));
        tab.CheckBox77->click();
        tab.CheckBox85->click();
        QCOMPARE(tab.lbl_selected_nums->text(), QStringLiteral("3"));
        QCOMPARE(w->DisplayInfo.pic_reg, std::uint16_t(0x0203));

        // "-" puts the default picture back and takes the slot out of the selection.
        tab.Button1->click();
        QCOMPARE(tab.slotImage(76)->picture().size(), QSize(130, 80));
        QVERIFY(!tab.CheckBox76->isChecked());
        QVERIFY(!tab.slotContents().PicList(76));
        QCOMPARE(tab.lbl_selected_nums->text(), QStringLiteral("2"));
        QCOMPARE(w->DisplayInfo.pic_reg, std::uint16_t(0x0202));
        QVERIFY(boxes.shown.empty());
    }

    // The Download File tab's single download of a slot row sends the slot's picture,
    // never the chosen file, and refuses a slot that shows its default picture.
    void singleDownloadOfASlotRowSendsItsPicture() {
        auto w = connected(5); // KT350-MK: the slot's picture as a JPEG file
        ui::TDownloadFilePanel& files = *w->tsDownloadFile;
        QVERIFY(display->waitUntilQuiet(Millis(2000)));
        const std::size_t before = display->count(sim::LogKind::Received);
        files.cbbCharset->setCurrentIndex(79); // Picture_1, slot 76
        // A file that does not exist: a slot row does not read it.
        boxes.files.push_back(QString::fromStdString((folder.path() / "gone.bin").string()));
        files.btn_CharacterSetSelectFile->click();

        files.btn_CharacterSetDownSingle->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.shown[0].text,
                 QStringLiteral("Picture_1 shows its built-in default picture, which is never "
                                "sent. Load a picture into its slot with \"+\" on the Picture "
                                "Management tab first."));
        QCOMPARE(display->count(sim::LogKind::Received), before);

        const std::string file = (folder.path() / "photo.bmp").string();
        QVERIFY(SaveResult(Bitmap(300, 200, Rgb{0, 0, 255}), file));
        QString target;
        loadPicture(*w->tsPictureManagement, 76, file, target);
        files.btn_CharacterSetDownSingle->click();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.shown.size() == 2, 60000);
        QCOMPARE(boxes.shown[1].text, QStringLiteral("Done! [Succeed 1 / Failed 0]"));
        const Bitmap sent = DecodeJpeg(display->storage().files.at("P1.jpg"));
        QCOMPARE(sent.width(), 800);
        QCOMPARE(sent.height(), 480);
        const Rgb middle = sent.pixel(400, 240);
        QVERIFY(middle.r < 16 && middle.g < 16 && middle.b > 240);
    }

    void downloadShowsTheProgressOverTheSlotBeingSent() {
        auto w = connected(0); // KT350--MKA: raw RGB565 at the slot's address
        ui::TPictureManagementPanel& tab = *w->tsPictureManagement;
        w->show();
        w->PageControl1->setCurrentWidget(&tab);
        const std::string file = (folder.path() / "photo.bmp").string();
        QVERIFY(SaveResult(Bitmap(300, 200, Rgb{255, 0, 0}), file));
        QString target;
        loadPicture(tab, 76, file, target);

        tab.btn_DownloadPictrue->click();
        QVERIFY(!tab.isEnabled() || !w->PageControl1->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(tab.cxProgressBar2->isVisible() || !boxes.shown.empty(), 30000);
        QVERIFY2(boxes.shown.empty(), "the slot was sent before its progress showed");
        const QPoint corner = tab.cxImage76->mapTo(tab.cxProgressBar2->parentWidget(), QPoint());
        QCOMPARE(tab.cxProgressBar2->geometry(), QRect(corner, tab.cxImage76->size()));

        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 60000);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Done! [Succeed 1 / Failed 0]"));
        QVERIFY(tab.cxProgressBar2->isHidden());
        QCOMPARE(display->storage().flash.at(0x005B7000).size(), std::size_t(480 * 272 * 2));
        QVERIFY(w->PageControl1->isEnabled());
    }
};

TAVISTO_WINDOW_TEST(PictureSlotsWindowTest)
#include "PictureSlotsWindowTest.moc"
