// View > Preview against the virtual display on a pty: the preview of a form is the
// screen the display shows once that form and the slots' pictures were sent to it.
#include "app/ui/PreviewWindow.h"

#include "app/ui/BasicSetPanel.h"
#include "app/ui/DisplaySetPanel.h"
#include "app/ui/FormBinding.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/VirtualScreenWindow.h"
#include "pictures/PictureConvert.h"
#include "pictures/ui/ImageConvert.h"
#include "resources/EmbeddedResources.h"
#include "sim/screen/ScreenFeed.h"
#include "tests/app/ui/SimWindow.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

namespace {

// A picture with detail in both directions, so that a picture cut, scaled or coded
// otherwise than the display takes it does not match.
Bitmap pattern(int width, int height) {
    Bitmap picture(width, height, Rgb{0, 0, 0});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             Rgb{static_cast<std::uint8_t>(x * 255 / width),
                                 static_cast<std::uint8_t>(y * 255 / height),
                                 static_cast<std::uint8_t>((x / 16 + y / 16) % 2 ? 200 : 40)});
    return picture;
}

// The virtual display's screen as its panel lights it.
QImage displayScreen(const sim::VirtualDisplay& display) {
    sim::ScreenFeed feed(display, EmbeddedResourceView);
    feed.refresh(std::chrono::steady_clock::now());
    const sim::Framebuffer& frame = feed.frame();
    const std::vector<std::uint8_t> rgb = sim::panelLight(frame, feed.brightnessStep());
    return QImage(rgb.data(), frame.width(), frame.height(), frame.width() * 3,
                  QImage::Format_RGB888)
        .copy();
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<sim::VirtualDisplay> display;
    TempFolder folder;

    void loadPicture(ui::TPictureManagementPanel& tab, int slot, const std::string& file) {
        boxes.files.push_back(QString::fromStdString(file));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TfrmImageConvert*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->actOpen->trigger();
            dialog->actEnter->trigger();
        });
        tab.slotButton(MinusButtonOfSlot(slot) + 1)->click();
    }

private slots:
    void cleanup() { display.reset(); }

    // Every field the screen shows differs from the defaults: colours, both welcome
    // lines without scrolling, the header as pictures (JPEG files on this model),
    // four main lines and the dimmest backlight. The preview follows the model
    // Connect found, and an edit redraws it.
    void previewEqualsTheDisplayAfterTheFormWasSent() {
        sim::SimOptions options;
        options.model = 3; // KT350-MKD: 800 x 480, pictures as JPEG files
        auto w = connectedToVirtualDisplay(display, options, boxes);
        ui::TPictureManagementPanel& tab = *w->tsPictureManagement;
        const std::string file = (folder.path() / "pattern.bmp").string();
        QVERIFY(SaveResult(pattern(640, 160), file));
        loadPicture(tab, 74, file);
        loadPicture(tab, 75, file);

        TSettingsForm form;
        ui::ReadSettingsForm(*w, form);
        form.edt_line1 = "Welcome to the shop";
        form.edt_line2 = "Open every day from 8 to 20";
        form.chk_Scroll1 = false;
        form.chk_Scroll2 = false;
        form.pnlColorTextHeader = 0x0000FF;
        form.pnlColorBgHeader = 0x00FF80;
        form.pnlColorTextText = 0x20E0F0;
        form.pnlColorBgText = 0x604020;
        form.pnlColorTextFooter = 0xFFFF00;
        form.pnlColorBgFooter = 0x300030;
        form.rbtnHeaderText = false;
        form.rbtnHeaderPicture = true;
        form.rbtnTextLine2 = false;
        form.rbtnTextLine4 = true;
        form.edtMianText = {"Cola 0,33l      2,50", "Water 0,5l      1,20", "", "Total      3,70"};
        form.rg_brightness = 0;
        ui::ShowSettingsForm(form, *w);

        tab.btn_DownloadPictrue->click();
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 60000);
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Done! [Succeed 2 / Failed 0]"));
        w->btn_AllDownload->click();
        QCOMPARE(boxes.shown.back().icon, QMessageBox::Information);
        w->tsDisplaySet->btn_TextSet->click();
        // Connect cleared the main area; the display shows its main text again from
        // its next start.
        w->btn_RestartDisplay->click();
        // The restart is the last frame sent; the display takes frames in order.
        QTRY_VERIFY(display->state().restarts == 1);

        ui::TPreviewWindow* preview = ui::AddPreviewMenu(*w);
        auto* open = w->menuBar()->findChild<QAction*>(QStringLiteral("actPreview"));
        QVERIFY(open);
        open->trigger();
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->model(), 3);
        const QImage& shown = preview->screen().picture();
        QCOMPARE(shown.size(), QSize(800, 480));
        QVERIFY(shown == displayScreen(*display));

        w->tsBasicSet->edt_line2->setText(QStringLiteral("Closed on Sundays"));
        QTRY_VERIFY(!(preview->screen().picture() == displayScreen(*display)));
    }
};

TAVISTO_WINDOW_TEST(PreviewWindowTest)
#include "PreviewWindowTest.moc"
