// The settings controls of the main window bound to the settings workflows: the
// defaults at start-up, settings files, the editing aids, and the "Setting" buttons
// against the simulated display.
#include "app/ui/ColorPanel.h"
#include "app/ui/FormBinding.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"
#include "tests/app/ui/SimulatedWindow.h"
#include "tests/app/ui/WindowTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;

class SettingsWindowTest : public QObject {
    Q_OBJECT

    BoxRecorder boxes;
    std::unique_ptr<SimulatedLine> sim;

    // A window as after Connect on the simulated display at 9600 baud; with `plugged`
    // false its port cannot be opened.
    std::unique_ptr<TfrmTavistoMain> onSimulatedDisplay(bool plugged = true) {
        auto w = windowOnSimulatedLine(*sim, boxes, plugged);
        w->actBtnEnableExecute();
        return w;
    }
    std::vector<Bytes> writes() const { return sim->line.writes(); }

    std::unique_ptr<TfrmTavistoMain> make() {
        ui::TMainWindowSetup setup;
        setup.enumPorts = [](std::vector<std::string>& list, std::string&) {
            list.clear();
            return true;
        };
        setup.dialogs = &boxes;
        setup.langId = 1033;
        auto w = std::make_unique<TfrmTavistoMain>(std::move(setup));
        w->actBtnEnableExecute(); // as after Connect: the buttons take clicks
        return w;
    }

    static TSettingsForm shown(const TfrmTavistoMain& w) {
        TSettingsForm form;
        ui::ReadSettingsForm(w, form);
        return form;
    }

    static QString padded(const QString& text, int width) {
        return text + QString(width - text.size(), QLatin1Char(' '));
    }

private slots:
    void init() {
        boxes = {};
        sim = std::make_unique<SimulatedLine>();
    }

    void startUpShowsTheDefaults() {
        auto w = make();
        QVERIFY(boxes.shown.empty());
        for (QComboBox* list : {w->tsBasicSet->cbb_CodePage, w->tsDisplayTest->cbb_codepage_test,
                                w->tsDisplaySet->cbb_codepage_maintext})
            QCOMPARE(list->currentText(), QStringLiteral("CP437"));
        QCOMPARE(w->tsCodepageSet->rg_Down_CodePage->itemIndex(), 0);
        QCOMPARE(w->tsCodepageSet->rg_Down_InterChar->itemIndex(), 0);
        QCOMPARE(w->tsBasicSet->edt_line1->text(), QStringLiteral("*** TFT DISPLAY *** "));
        QCOMPARE(w->tsBasicSet->edt_line2->text(),
                 QStringLiteral("**HAVE A NICE DAY AND THANK YOU**"));
        QCOMPARE(w->tsBasicSet->lbl_mess1_count->text(), QStringLiteral("20"));
        QCOMPARE(w->tsBasicSet->lbl_mess2_count->text(), QStringLiteral("33"));
        QCOMPARE(w->tsDisplaySet->edtMianText2->text(), QStringLiteral("  HAVE A NICE DAY!  "));
        QVERIFY(w->tsDisplaySet->rbtnTextLine2->isChecked());
        QVERIFY(!w->tsDisplaySet->edtMianText2->isHidden());
        QVERIFY(w->tsDisplaySet->edtMianText3->isHidden());
        QVERIFY(w->tsDisplaySet->rbtnHeaderText->isChecked());
        QCOMPARE(w->tsDisplaySet->rg_brightness->button(w->tsDisplaySet->rg_brightness->itemIndex())
                     ->text(),
                 QStringLiteral("40%"));
        QCOMPARE(w->tsBasicSet->cbb_down_BaudRate->currentText(), QStringLiteral("9600"));
        QCOMPARE(w->tsBasicSet->cbb_down_CommandMode->currentText(), QStringLiteral("AUTO")); // 255
        // 0x00BBGGRR: RGB565 2047 is cyan, 31 blue, 65535 white.
        QCOMPARE(w->tsDisplaySet->pnlColorTextText->color(), 0xF8FC00u);
        QCOMPARE(w->tsDisplaySet->pnlColorBgText->color(), 0x000000u);
        QCOMPARE(w->tsDisplaySet->pnlColorBgHeader->color(), 0xF80000u);
        QCOMPARE(w->tsDisplaySet->pnlColorTextHeader->color(), 0xF8FCF8u);
        QCOMPARE(w->tsPictureManagement->ud_StandbyTime->value(), 0);
        QCOMPARE(w->tsPictureManagement->ud_PlayInterval->value(), 1);
        QVERIFY(w->tsBasicSet->chk_Scroll2->isChecked());
    }

    void saveThenLoadRoundTrip() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto w = make();
        w->tsBasicSet->edt_line1->setText(QStringLiteral("HELLO"));
        w->tsDisplaySet->rg_brightness->setItemIndex(0);
        w->tsDisplaySet->rbtnTextLine4->click();
        boxes.colors.push_back(QColor(0xF8, 0, 0)); // red, exact in RGB565
        QTest::mouseClick(w->tsDisplaySet->pnlColorBgFooter, Qt::RightButton);
        QCOMPARE(w->tsDisplaySet->pnlColorBgFooter->color(), 0x0000F8u);
        w->tsPictureManagement->CheckBox78->click();

        const QString chosen = dir.filePath(QStringLiteral("mine.txt"));
        const QString written = dir.filePath(QStringLiteral("mine.ini"));
        boxes.files.push_back(chosen);
        w->btn_savesettings->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Save Settings File Success:") + written);
        QCOMPARE(boxes.shown.back().icon, QMessageBox::Information);
        QVERIFY(QFile::exists(written));
        QVERIFY(!QFile::exists(chosen));
        const auto& requests = boxes.fileDialogs;
        QCOMPARE(requests.size(), std::size_t(1));
        QVERIFY(requests[0].save);
        QCOMPARE(requests[0].proposedName, QStringLiteral("Tavisto"));
        QCOMPARE(requests[0].filter, QStringLiteral("Settings Files(*.ini)|*.ini"));
        // Saving padded the line in its edit.
        QCOMPARE(w->tsBasicSet->edt_line1->text(), padded("HELLO", 20));
        const TSettingsForm saved = shown(*w);

        w->btn_Default->click();
        QCOMPARE(w->tsBasicSet->edt_line1->text(), QStringLiteral("*** TFT DISPLAY *** "));
        QVERIFY(w->tsDisplaySet->rbtnTextLine2->isChecked());
        QVERIFY(!w->tsPictureManagement->CheckBox78->isChecked());

        boxes.files.push_back(written);
        w->btn_loadsettings->click();
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Load Settings Success!"));
        QCOMPARE(requests.size(), std::size_t(2));
        QVERIFY(!requests[1].save);
        QVERIFY(shown(*w) == saved);
        QCOMPARE(w->tsDisplaySet->rg_brightness->itemIndex(), 0);
        QVERIFY(!w->tsDisplaySet->edtMianText4->isHidden());
        QCOMPARE(w->tsPictureManagement->lbl_selected_nums->text(), QStringLiteral("1"));

        // The next save dialog opens in the folder chosen last.
        w->btn_savesettings->click(); // cancelled
        QCOMPARE(requests.size(), std::size_t(3));
        QCOMPARE(QDir(requests[2].folder), QDir(dir.path()));
        QCOMPARE(boxes.shown.size(), std::size_t(2));
    }

    void malformedFileChangesNothing() {
        QTemporaryDir dir;
        auto w = make();
        // Texts already at their widths: loading pads the edits before reading the file.
        w->tsBasicSet->edt_line2->clear();
        QTest::keyClicks(w->tsBasicSet->edt_line2, padded("SECOND", 60));
        w->tsDisplaySet->rg_brightness->setItemIndex(0);
        const TSettingsForm before = shown(*w);

        const QString path = dir.filePath(QStringLiteral("bad.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"back_light\": 7, \"wel_mess1\": ");
        file.close();
        boxes.files.push_back(path);
        w->btn_loadsettings->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Parsing failed!"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Warning);
        QVERIFY(shown(*w) == before);
        QVERIFY(w->centralWidget()->isEnabled());
    }

    void emptyObjectKeepsTheCollectedForm() {
        QTemporaryDir dir;
        auto w = make();
        w->tsDisplaySet->rg_brightness->button(3)->click(); // "100%"
        const QString path = dir.filePath(QStringLiteral("empty.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{}");
        file.close();
        boxes.files.push_back(path);
        w->btn_loadsettings->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Load Settings Success!"));
        QCOMPARE(w->tsDisplaySet->rg_brightness->button(w->tsDisplaySet->rg_brightness->itemIndex())
                     ->text(),
                 QStringLiteral("60%"));
    }

    void codePageSelectorsMoveTogether() {
        auto w = make();
        // Set by the program: nothing follows.
        w->tsBasicSet->cbb_CodePage->setCurrentIndex(5);
        QCOMPARE(w->tsCodepageSet->rg_Down_CodePage->itemIndex(), 0);

        w->tsCodepageSet->rg_Down_CodePage->button(16)->click();
        for (QComboBox* list : {w->tsBasicSet->cbb_CodePage, w->tsDisplayTest->cbb_codepage_test,
                                w->tsDisplaySet->cbb_codepage_maintext})
            QCOMPARE(list->currentText(), QStringLiteral("CP936_GBK"));

        w->tsDisplayTest->cbb_codepage_test->setCurrentIndex(3);
        emit w->tsDisplayTest->cbb_codepage_test->activated(3);
        QCOMPARE(w->tsCodepageSet->rg_Down_CodePage->itemIndex(), 3);
        QCOMPARE(w->tsBasicSet->cbb_CodePage->currentIndex(), 3);
        QCOMPARE(w->tsDisplaySet->cbb_codepage_maintext->currentIndex(), 3);

        const int japan =
            w->tsCodepageSet->rg_Down_InterChar->items().indexOf(QStringLiteral("Japan"));
        w->tsCodepageSet->rg_Down_InterChar->button(japan)->click();
        QCOMPARE(w->tsCodepageSet->rg_Down_CodePage
                     ->button(w->tsCodepageSet->rg_Down_CodePage->itemIndex())
                     ->text(),
                 QStringLiteral("CP932"));
        QCOMPARE(w->tsDisplayTest->cbb_codepage_test->currentText(), QStringLiteral("CP932"));

        // The main-text list has no coupling of its own.
        w->tsDisplaySet->cbb_codepage_maintext->setCurrentIndex(1);
        emit w->tsDisplaySet->cbb_codepage_maintext->activated(1);
        QCOMPARE(w->tsBasicSet->cbb_CodePage->currentText(), QStringLiteral("CP932"));
    }

    // Character set, then code page, then a second for the display to switch, and
    // only then "Done!".
    void codePageSettingSendsBothThenPauses() {
        auto w = onSimulatedDisplay();
        auto* page = w->tsCodepageSet;
        page->rg_Down_InterChar->button(page->rg_Down_InterChar->items().indexOf("Japan"))->click();
        page->rg_Down_CodePage->button(page->rg_Down_CodePage->items().indexOf("CP866"))->click();
        std::size_t writesAtBox = 0;
        Micros boxAt{};
        boxes.onShow = [&] {
            writesAtBox = writes().size();
            boxAt = sim->clock.elapsed();
        };
        page->btn_DownloadCodePage->click();
        QCOMPARE(writes(), (std::vector<Bytes>{std::string("\x02\x05\x08", 3),    // Japan
                                               std::string("\x02\x06\x11", 3)})); // CP866
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Done!"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Information);
        QCOMPARE(writesAtBox, std::size_t(2));
        QVERIFY(boxAt - sim->line.events().back().at >= Millis(1000));
        QCOMPARE(sim->display.state().settings.Expand_Char_No, 0x11);
    }

    void codePageSettingStopsAtTheFirstFailure() {
        auto w = onSimulatedDisplay(false);
        w->tsCodepageSet->btn_DownloadCodePage->click();
        QVERIFY(writes().empty());
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(boxes.shown[0].text != QStringLiteral("Done!"));
        QVERIFY(sim->clock.elapsed() < Millis(1000));
    }

    // Brightness shows nothing when it worked, the reason when it did not.
    void brightnessSettingTellsOnlyFailures() {
        auto w = onSimulatedDisplay();
        w->tsDisplaySet->rg_brightness->button(3)->click(); // "100%"
        w->tsDisplaySet->btn_brightness_set->click();
        QCOMPARE(writes(), std::vector<Bytes>{std::string("\x1F\x58\x04", 3)});
        QVERIFY(boxes.shown.empty());

        auto unplugged = onSimulatedDisplay(false);
        unplugged->tsDisplaySet->btn_brightness_set->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
    }

    // While a setting command runs only the controls the disable list names are
    // off, Exit stays usable, and the connection list already shows a new speed
    // when "Done!" appears.
    void settingCommandKeepsExitAndShowsTheNewSpeedFirst() {
        auto w = onSimulatedDisplay();
        auto* basic = w->tsBasicSet;
        basic->cbb_down_BaudRate->setCurrentIndex(basic->cbb_down_BaudRate->findText("19200"));
        QString speedAtBox;
        std::vector<bool> enabledAtBox;
        bool exitAtBox = false;
        boxes.onShow = [&] {
            speedAtBox = w->cbb_BaudRate->currentText();
            for (QWidget* control : w->switchedControls())
                enabledAtBox.push_back(control->isEnabled());
            exitAtBox = w->btn_Exit->isEnabled();
        };
        basic->btn_baudrateSet->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Done!"));
        QCOMPARE(speedAtBox, QStringLiteral("19200"));
        QCOMPARE(w->connection().CurrentBaudRate, 19200);
        QCOMPARE(enabledAtBox, std::vector<bool>(w->switchedControls().size(), false));
        QVERIFY(exitAtBox);
        QVERIFY(w->centralWidget()->isEnabled());
        for (QWidget* control : w->switchedControls())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        // The two lists that only show what Connect found stay read-only.
        QVERIFY(!w->cbb_BaudRate->isEnabled());
        QVERIFY(!w->cbbDisplayMode->isEnabled());
    }

    // The edits limit typing only: a longer text from a settings file is shown,
    // kept and saved whole.
    void longTextsSurviveLoadingAndSaving() {
        QTemporaryDir dir;
        auto w = make();
        auto* line1 = w->tsBasicSet->edt_line1;
        const QString path = dir.filePath(QStringLiteral("long.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"wel_mess1": "ABCDEFGHIJKLMNOPQRSTUVWXY"})");
        file.close();
        boxes.files.push_back(path);
        w->btn_loadsettings->click();
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Load Settings Success!"));
        QCOMPARE(line1->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
        QCOMPARE(w->tsBasicSet->lbl_mess1_count->text(), QStringLiteral("25"));

        // It cannot grow by typing, but can shrink.
        line1->setFocus();
        line1->end(false);
        QTest::keyClicks(line1, QStringLiteral("Z"));
        QCOMPARE(line1->text().size(), 25);
        QTest::keyClick(line1, Qt::Key_Backspace);
        QCOMPARE(line1->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX"));
        QCOMPARE(w->tsBasicSet->lbl_mess1_count->text(), QStringLiteral("24"));

        const QString saved = dir.filePath(QStringLiteral("saved.ini"));
        boxes.files.push_back(saved);
        w->btn_savesettings->click();
        QFile savedFile(saved);
        QVERIFY(savedFile.open(QIODevice::ReadOnly));
        QVERIFY(savedFile.readAll().contains("\"ABCDEFGHIJKLMNOPQRSTUVWX\""));

        // Typed text stops at the limit; a paste keeps what fits.
        for (QLineEdit* edit : {line1, w->tsBasicSet->edt_line2, w->tsDisplaySet->edtMianText1}) {
            const int limit = edit == w->tsBasicSet->edt_line2 ? 60 : 20;
            edit->clear();
            QTest::keyClicks(edit, QString(70, QLatin1Char('x')));
            QCOMPARE(edit->text(), QString(limit, QLatin1Char('x')));
            edit->setText(QStringLiteral("ab"));
            edit->setCursorPosition(1);
            edit->insert(QString(70, QLatin1Char('y'))); // as a paste does
            QCOMPARE(edit->text(),
                     QLatin1Char('a') + QString(limit - 2, QLatin1Char('y')) + QLatin1Char('b'));
            QCOMPARE(edit->cursorPosition(), limit - 1);
        }
        QCOMPARE(w->tsBasicSet->lbl_mess1_count->text(), QStringLiteral("20"));
    }

    void countersCentringAndLayout() {
        auto w = make();
        w->tsBasicSet->edt_line1->clear();
        QTest::keyClicks(w->tsBasicSet->edt_line1, QStringLiteral("ABC"));
        QCOMPARE(w->tsBasicSet->lbl_mess1_count->text(), QStringLiteral("3"));
        QCOMPARE(w->tsBasicSet->edt_line1->cursorPosition(), 3);
        w->tsBasicSet->btn_welText_center->click();
        QCOMPARE(w->tsBasicSet->edt_line1->text(), QStringLiteral("        ABC         "));
        QCOMPARE(w->tsBasicSet->lbl_mess1_count->text(), QStringLiteral("20"));
        QCOMPARE(w->tsBasicSet->edt_line2->text(),
                 QStringLiteral("**HAVE A NICE DAY AND THANK YOU**") +
                     QString(27, QLatin1Char(' ')));
        QCOMPARE(w->tsBasicSet->lbl_mess2_count->text(), QStringLiteral("60"));

        w->tsDisplaySet->edtMianText4->setText(QStringLiteral("XY"));
        w->tsDisplaySet->btn_mainText_center->click(); // hidden edits are centred as well
        QCOMPARE(w->tsDisplaySet->edtMianText4->text(), QStringLiteral("         XY         "));

        w->tsDisplaySet->rbtnTextLine4->click();
        QVERIFY(!w->tsDisplaySet->edtMianText3->isHidden());
        QVERIFY(!w->tsDisplaySet->edtMianText4->isHidden());
        w->tsDisplaySet->rbtnTextLine2->click();
        QVERIFY(w->tsDisplaySet->edtMianText3->isHidden());
        QVERIFY(!w->tsDisplaySet->edtMianText2->isHidden());
    }

    void pictureSelection() {
        auto w = make();
        w->tsPictureManagement->chkSelectALL->click();
        for (int slot = 73; slot <= 86; ++slot)
            QVERIFY(w->tsPictureManagement->slotCheckBox(slot)->isChecked());
        QCOMPARE(w->tsPictureManagement->lbl_selected_nums->text(), QStringLiteral("10"));
        QCOMPARE(w->DisplayInfo.pic_reg, 0x03FF);
        w->tsPictureManagement->CheckBox76->click();
        w->tsPictureManagement->CheckBox73->click(); // not a play slot: not counted
        QCOMPARE(w->tsPictureManagement->lbl_selected_nums->text(), QStringLiteral("9"));
        QCOMPARE(w->DisplayInfo.pic_reg, 0x03FE);
        w->tsPictureManagement->chkSelectALL->click();
        QCOMPARE(w->tsPictureManagement->lbl_selected_nums->text(), QStringLiteral("0"));
        QVERIFY(!w->tsPictureManagement->CheckBox86->isChecked());
    }

    void colourPanels() {
        auto w = make();
        const std::uint32_t before = w->tsDisplaySet->pnlColorTextHeader->color();
        QTest::mouseClick(w->tsDisplaySet->pnlColorTextHeader, Qt::LeftButton); // cancelled
        QCOMPARE(w->tsDisplaySet->pnlColorTextHeader->color(), before);
        boxes.colors.push_back(QColor(0x56, 0x34, 0x12));
        QTest::mouseClick(w->tsDisplaySet->pnlColorTextHeader, Qt::MiddleButton);
        QCOMPARE(w->tsDisplaySet->pnlColorTextHeader->color(), 0x123456u);
        QCOMPARE(boxes.colorDialogs, 2);
        // The record follows only when the form is next collected.
        QVERIFY(w->DisplayInfo.tp_font_rgb_888 != 0x123456u);
    }
};

TAVISTO_WINDOW_TEST(SettingsWindowTest)
#include "SettingsWindowTest.moc"
