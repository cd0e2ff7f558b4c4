#include "pictures/ui/ImageConvert.h"

#include "TestPictures.h"
#include "pictures/BmpCodec.h"
#include "pictures/ByteFiles.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureConvert.h"
#include "pictures/ui/BitmapImage.h"
#include "pictures/ui/DesktopDialogs.h"
#include "pictures/ui/PreviewImage.h"
#include "pictures/ui/SelectionFrame.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace tavisto;

namespace {

// Answers the file dialogs from queues and records the messages instead of showing them.
struct RecordingDialogs : ui::TDesktopDialogs {
    QStringList openAnswers;
    QStringList saveAnswers;
    QStringList errors;
    QStringList warnings;
    int saveAsked = 0;
    QString openFilter;
    QString saveFilter;
    QString saveInitialName;

    QString chooseFile(QWidget*, const ui::TFileDialog& dialog) override {
        if (!dialog.save) {
            openFilter = dialog.filter;
            return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
        }
        ++saveAsked;
        saveFilter = dialog.filter;
        saveInitialName = dialog.proposedName;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    std::optional<QColor> chooseColor(QWidget*) override { return std::nullopt; }
    QMessageBox::StandardButton showMessageBox(QMessageBox& box) override {
        if (box.windowTitle() != QStringLiteral("Tavisto"))
            qFatal("a box without the program's title");
        (box.icon() == QMessageBox::Critical ? errors : warnings) << box.text();
        return QMessageBox::Ok;
    }
};

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class ImageConvertTest : public QObject {
    Q_OBJECT

private:
    testing::TempDir dir_;
    RecordingDialogs dialogs_;

    // A dialog for the target, shown (which places the frame), with `file` opened.
    std::unique_ptr<TfrmImageConvert> openDialog(int width, int height, const std::string& file) {
        auto dialog = std::make_unique<TfrmImageConvert>(nullptr, &dialogs_);
        dialog->SetTarget(74, width, height);
        dialog->show();
        dialogs_.openAnswers << q(file);
        dialog->actOpen->trigger();
        return dialog;
    }

    void drag(TfrmImageConvert& dialog, QPoint by) {
        const QPoint grip(40, 30);
        QTest::mousePress(dialog.panSelect, Qt::LeftButton, {}, grip);
        QTest::mouseMove(dialog.panSelect, grip + by);
        QTest::mouseRelease(dialog.panSelect, Qt::LeftButton, {}, grip + by);
    }

private slots:
    void init() { dialogs_ = RecordingDialogs(); }

    void hasTheFixedLayoutAndNames() {
        TfrmImageConvert dialog(nullptr, &dialogs_);
        dialog.SetTarget(73, 800, 480);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Image Convert"));
        QCOMPARE(dialog.size(), QSize(884, 662));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.findChild<QLabel*>("Panel4")->text(), QStringLiteral("800*480"));
        QCOMPARE(dialog.btnOpen->text(), QStringLiteral("O&pen"));
        QCOMPARE(dialog.btnOK->text(), QStringLiteral("&OK"));
        QCOMPARE(dialog.btnSave->text(), QStringLiteral("Save"));
        QCOMPARE(dialog.actEsc->text(), QStringLiteral("&Exit"));
        for (const char* name : {"ScrollBox1", "Panel1", "Image1", "panSelect", "actOpen",
                                 "actEnter", "actSave", "actEsc"})
            QVERIFY2(dialog.findChild<QObject*>(name) != nullptr, name);
        // Shown without a picture: view and frame are target-sized and centred.
        QCOMPARE(dialog.Image1->geometry(), QRect(42, 91, 800, 480));
        QCOMPARE(dialog.panSelect->geometry(), QRect(42, 91, 800, 480));
    }

    void convertsBitmapsToAndFromQImage() {
        Bitmap bitmap = testing::GradientBitmap(5, 3); // odd widths have unaligned rows
        bitmap.setPixel(4, 2, Rgb{10, 20, 30});
        const QImage image = BitmapToQImage(bitmap);
        QCOMPARE(image.pixel(4, 2), qRgb(10, 20, 30));
        QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 64));
        QVERIFY(QImageToBitmap(image) == bitmap);
        QImage argb(2, 1, QImage::Format_ARGB32);
        argb.setPixel(1, 0, qRgb(200, 100, 50));
        QVERIFY(QImageToBitmap(argb).pixel(1, 0) == (Rgb{200, 100, 50}));
    }

    void translatesTheFileFilters() {
        QCOMPARE(ui::QtNameFilters(TfrmImageConvert::kOpenFilter),
                 QStringLiteral("All (*.png *.jpg *.bmp);;Portable Network Graphics (*.png);;"
                                "JPEG Image File (*.jpg);;Bitmaps (*.bmp)"));
        QCOMPARE(ui::QtNameFilters(TfrmImageConvert::kSaveFilter),
                 QStringLiteral("JPEG Image File (*.jpg)"));
        // The settings files' filter has no space before its bracket, and a
        // description without one gets the patterns.
        QCOMPARE(ui::QtNameFilters("Settings Files(*.ini)|*.ini"),
                 QStringLiteral("Settings Files (*.ini)"));
        QCOMPARE(ui::QtNameFilters("Bin Files(*.bin)|*.bin|Pictures|*.jpg;*.png"),
                 QStringLiteral("Bin Files (*.bin);;Pictures (*.jpg *.png)"));
    }

    void opensALargePictureScaledWithTheFrameCentred() {
        const std::string file = dir_.file("wide.png");
        const Bytes png = testing::PngFile(testing::GradientBitmap(1920, 1080));
        testing::WriteFile(file, png);
        auto dialog = openDialog(480, 272, file);
        QVERIFY(dialogs_.errors.isEmpty());
        QCOMPARE(dialogs_.openFilter, QString::fromLatin1(TfrmImageConvert::kOpenFilter));
        QCOMPARE(dialog->Image1->geometry(), QRect(200, 195, 484, 272));
        QCOMPARE(dialog->panSelect->geometry(), QRect(202, 195, 480, 272));

        dialog->actEnter->trigger();
        QVERIFY(dialog->FbOK);
        QVERIFY(!dialog->isVisible());
        // The same as the command line's conversion, which centres the same way.
        QVERIFY(dialog->fBitmap == ConvertCentred(png, PictureFormat::Png, {480, 272}));
        const Bitmap& view = dialog->Image1->picture()->bitmap;
        QVERIFY(dialog->fBitmap.pixel(0, 100) == view.pixel(2, 100));
    }

    void dragMovesTheFrameAndReleaseClampsIt() {
        const std::string file = dir_.file("wide.bmp");
        testing::WriteFile(file, EncodeBmp(testing::GradientBitmap(1920, 1080)));
        auto dialog = openDialog(480, 272, file);

        const QPoint grip(40, 30);
        QTest::mousePress(dialog->panSelect, Qt::LeftButton, {}, grip);
        QTest::mouseMove(dialog->panSelect, grip + QPoint(37, 11));
        QCOMPARE(dialog->panSelect->pos(), QPoint(239, 206)); // follows the mouse freely
        QTest::mouseRelease(dialog->panSelect, Qt::LeftButton, {}, grip + QPoint(37, 11));
        QCOMPARE(dialog->panSelect->geometry(), QRect(204, 195, 480, 272)); // view's right edge

        dialog->actEnter->trigger();
        const Bitmap& view = dialog->Image1->picture()->bitmap;
        QVERIFY(dialog->fBitmap.pixel(0, 0) == view.pixel(4, 0));
        QVERIFY(dialog->fBitmap.pixel(479, 271) == view.pixel(483, 271));

        drag(*dialog, QPoint(-300, -300));
        QCOMPARE(dialog->panSelect->pos(), QPoint(200, 195));
    }

    void frameMovedWithinTheViewStaysWhereItWasDropped() {
        const std::string file = dir_.file("photo.JPG");
        testing::WriteFile(file, BitmapToJpeg(testing::GradientBitmap(3000, 2000)));
        auto dialog = openDialog(800, 480, file);
        QCOMPARE(dialog->Image1->geometry(), QRect(42, 64, 800, 533));
        QCOMPARE(dialog->panSelect->geometry(), QRect(42, 91, 800, 480));
        drag(*dialog, QPoint(0, 20));
        QCOMPARE(dialog->panSelect->pos(), QPoint(42, 111));
        dialog->actEnter->trigger();
        const Bitmap& view = dialog->Image1->picture()->bitmap;
        QVERIFY(dialog->fBitmap.pixel(10, 0) == view.pixel(10, 47));
    }

    // A 4:3 picture at the panel's width stays clear of the size label and the buttons.
    void aFourByThreeViewEndsAboveTheBar() {
        const std::string file = dir_.file("four-three.png");
        testing::WriteFile(file, testing::PngFile(testing::GradientBitmap(800, 600)));
        auto dialog = openDialog(800, 480, file);
        const QRect view = dialog->Image1->geometry();
        QCOMPARE(view, QRect(42, 31, 800, 600));
        for (QWidget* part :
             {static_cast<QWidget*>(dialog->Panel4), static_cast<QWidget*>(dialog->btnOpen),
              static_cast<QWidget*>(dialog->btnOK), static_cast<QWidget*>(dialog->btnSave)}) {
            QVERIFY2(part->geometry().top() > view.bottom(), qPrintable(part->objectName()));
            QVERIFY2(part->geometry().bottom() < dialog->height(), qPrintable(part->objectName()));
        }
    }

    void smallPictureIsCentredInTheViewAndStretchedByOk() {
        const std::string file = dir_.file("small.png");
        Bitmap picture(640, 480, Rgb{0, 0, 255});
        picture.setPixel(0, 0, Rgb{255, 0, 0});
        testing::WriteFile(file, testing::PngFile(picture));
        auto dialog = openDialog(800, 480, file);
        QCOMPARE(dialog->Image1->geometry(), QRect(42, 91, 800, 480));
        QVERIFY(!dialog->Image1->picture()->view.stretched);
        dialog->actEnter->trigger();
        QCOMPARE(dialog->fBitmap.width(), 800);
        QVERIFY(dialog->fBitmap.pixel(0, 0) == (Rgb{255, 0, 0}));
        QVERIFY(dialog->fBitmap.pixel(799, 479) == (Rgb{0, 0, 255}));
    }

    void otherExtensionsLoadNothing() {
        const Bytes jpeg = BitmapToJpeg(testing::GradientBitmap(100, 100));
        testing::WriteFile(dir_.file("a.Jpg"), jpeg);
        testing::WriteFile(dir_.file("a.jpeg"), jpeg);
        auto dialog = openDialog(120, 40, dir_.file("a.Jpg"));
        dialogs_.openAnswers << q(dir_.file("a.jpeg"));
        dialog->actOpen->trigger();
        QVERIFY(!dialog->HasPicture());
        QCOMPARE(dialogs_.warnings.size(), 2);
        QVERIFY(dialogs_.errors.isEmpty());
        QCOMPARE(dialog->Image1->geometry(), QRect(382, 311, 120, 40));
        dialog->actEnter->trigger();
        QVERIFY(!dialog->FbOK);
        QVERIFY(!dialog->isVisible());
    }

    void unreadableFileKeepsThePreviousPicture() {
        const std::string good = dir_.file("good.png");
        const Bytes png = testing::PngFile(testing::GradientBitmap(1000, 100));
        testing::WriteFile(good, png);
        testing::WriteFile(dir_.file("cut.png"), png.substr(0, png.size() / 2));
        auto dialog = openDialog(120, 40, good);
        QCOMPARE(dialog->Image1->geometry(), QRect(239, 311, 405, 40));
        const auto before = dialog->Image1->picture();

        for (const char* name : {"cut.png", "missing.bmp"}) {
            dialogs_.openAnswers << q(dir_.file(name));
            dialog->actOpen->trigger();
        }
        QCOMPARE(dialogs_.errors.size(), 2);
        QVERIFY(dialogs_.errors[0].contains("cut.png"));
        QVERIFY(dialogs_.errors[1].contains("missing.bmp"));
        QCOMPARE(dialog->Image1->picture(), before);
        QCOMPARE(dialog->Image1->geometry(), QRect(239, 311, 405, 40));
        dialog->actEnter->trigger();
        QVERIFY(dialog->FbOK);
        QVERIFY(dialog->fBitmap == ConvertCentred(png, PictureFormat::Png, {120, 40}));
    }

    void saveWritesTheResultByExtension() {
        TfrmImageConvert empty(nullptr, &dialogs_);
        empty.SetTarget(74, 240, 80);
        empty.actSave->trigger();
        QCOMPARE(dialogs_.saveAsked, 0); // nothing opened: nothing to save

        const std::string file = dir_.file("red.bmp");
        testing::WriteFile(file, EncodeBmp(Bitmap(300, 100, Rgb{255, 0, 0})));
        auto dialog = openDialog(240, 80, file);
        dialogs_.saveAnswers << q(dir_.file("out.bin")) << QString() << q(dir_.file("Unnamed"))
                             << q(dir_.file("out.JPG"));
        for (int i = 0; i < 4; ++i)
            dialog->actSave->trigger();
        QCOMPARE(dialogs_.saveInitialName, QStringLiteral("Unnamed"));
        QCOMPARE(dialogs_.saveFilter, QStringLiteral("JPEG Image File (*.jpg)|*.jpg"));

        Bytes expected;
        for (int i = 0; i < 240 * 80; ++i)
            expected += Bytes("\x00\xF8", 2);
        QVERIFY(FileToBytes(dir_.file("out.bin")) == expected);
        QVERIFY(!std::filesystem::exists(dir_.file("Unnamed")));
        QCOMPARE(dialogs_.warnings.size(), 1);
        const Bitmap jpeg = DecodeJpeg(FileToBytes(dir_.file("out.JPG")));
        QCOMPARE(jpeg.width(), 240);
        QCOMPARE(jpeg.height(), 80);
        QVERIFY(dialog->isVisible()); // saving leaves the dialog open
    }

    void openImageConvertReturnsTheResultOnlyOnOk() {
        const std::string file = dir_.file("pic.png");
        const Bytes png = testing::PngFile(testing::GradientBitmap(600, 300));
        testing::WriteFile(file, png);

        Bitmap target(240, 80, Rgb{1, 2, 3});
        dialogs_.openAnswers << q(file);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TfrmImageConvert*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->findChild<QLabel*>("Panel4")->text(), QStringLiteral("240*80"));
            dialog->actOpen->trigger();
            dialog->actEnter->trigger();
        });
        QVERIFY(OpenImageConvert(nullptr, 74, target, &dialogs_));
        QVERIFY(target == ConvertCentred(png, PictureFormat::Png, {240, 80}));

        Bitmap untouched(240, 80, Rgb{1, 2, 3});
        dialogs_.openAnswers << q(file);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TfrmImageConvert*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->actOpen->trigger();
            dialog->close(); // the close box: no result
        });
        QVERIFY(!OpenImageConvert(nullptr, 74, untouched, &dialogs_));
        QVERIFY(untouched == Bitmap(240, 80, Rgb{1, 2, 3}));
    }
};

QTEST_MAIN(ImageConvertTest)
#include "ImageConvertTest.moc"
