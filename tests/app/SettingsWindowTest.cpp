// The settings controls of the main window bound to the settings workflows: the
// defaults at start-up, settings files, and the editing aids. No display needed.
#include "WindowHarness.h"
#include "app/ui/ColorPanel.h"
#include "app/ui/FormBinding.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"

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
    std::vector<TFileDialogRequest> requests;
    std::deque<std::optional<std::string>> chosenFiles;
    std::deque<std::optional<std::uint32_t>> chosenColors;
    int colorDialogs = 0;

    std::unique_ptr<TfrmTavistoMain> make() {
        ui::TMainWindowSetup setup;
        setup.enumPorts = [](std::vector<std::string>& list, std::string&) {
            list.clear();
            return true;
        };
        setup.presenter = boxes.presenter();
        setup.langId = 1033;
        setup.chooseFile = [this](const TFileDialogRequest& request) {
            requests.push_back(request);
            auto answer = chosenFiles.empty() ? std::nullopt : chosenFiles.front();
            if (!chosenFiles.empty())
                chosenFiles.pop_front();
            return answer;
        };
        setup.chooseColor = [this]() -> std::optional<std::uint32_t> {
            ++colorDialogs;
            auto answer = chosenColors.empty() ? std::nullopt : chosenColors.front();
            if (!chosenColors.empty())
                chosenColors.pop_front();
            return answer;
        };
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
        requests.clear();
        chosenFiles.clear();
        chosenColors.clear();
        colorDialogs = 0;
    }

    void startUpShowsTheDefaults() {
        auto w = make();
        QVERIFY(boxes.shown.empty());
        for (QComboBox* list : {w->cbb_CodePage, w->cbb_codepage_test, w->cbb_codepage_maintext})
            QCOMPARE(list->currentText(), QStringLiteral("CP437"));
        QCOMPARE(w->rg_Down_CodePage->itemIndex(), 0);
        QCOMPARE(w->rg_Down_InterChar->itemIndex(), 0);
        QCOMPARE(w->edt_line1->text(), QStringLiteral("*** TFT DISPLAY *** "));
        QCOMPARE(w->edt_line2->text(), QStringLiteral("**HAVE A NICE DAY AND THANK YOU**"));
        QCOMPARE(w->lbl_mess1_count->text(), QStringLiteral("20"));
        QCOMPARE(w->lbl_mess2_count->text(), QStringLiteral("33"));
        QCOMPARE(w->edtMianText2->text(), QStringLiteral("  HAVE A NICE DAY!  "));
        QVERIFY(w->rbtnTextLine2->isChecked());
        QVERIFY(!w->edtMianText2->isHidden());
        QVERIFY(w->edtMianText3->isHidden());
        QVERIFY(w->rbtnHeaderText->isChecked());
        QCOMPARE(w->rg_brightness->button(w->rg_brightness->itemIndex())->text(),
                 QStringLiteral("40%"));
        QCOMPARE(w->cbb_down_BaudRate->currentText(), QStringLiteral("9600"));
        QCOMPARE(w->cbb_down_CommandMode->currentText(), QStringLiteral("AUTO")); // 255
        // 0x00BBGGRR: RGB565 2047 is cyan, 31 blue, 65535 white.
        QCOMPARE(w->pnlColorTextText->color(), 0xF8FC00u);
        QCOMPARE(w->pnlColorBgText->color(), 0x000000u);
        QCOMPARE(w->pnlColorBgHeader->color(), 0xF80000u);
        QCOMPARE(w->pnlColorTextHeader->color(), 0xF8FCF8u);
        QCOMPARE(w->ud_StandbyTime->value(), 0);
        QCOMPARE(w->ud_PlayInterval->value(), 1);
        QVERIFY(w->chk_Scroll2->isChecked());
    }

    void saveThenLoadRoundTrip() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto w = make();
        w->edt_line1->setText(QStringLiteral("HELLO"));
        w->rg_brightness->setItemIndex(0);
        w->rbtnTextLine4->click();
        chosenColors.push_back(0x0000F8u); // red, exact in RGB565
        QTest::mouseClick(w->pnlColorBgFooter, Qt::RightButton);
        QCOMPARE(w->pnlColorBgFooter->color(), 0x0000F8u);
        w->CheckBox78->click();

        const QString chosen = dir.filePath(QStringLiteral("mine.txt"));
        const QString written = dir.filePath(QStringLiteral("mine.ini"));
        chosenFiles.push_back(chosen.toStdString());
        w->btn_savesettings->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Save Settings File Success:") + written);
        QCOMPARE(boxes.shown.back().icon, QMessageBox::Information);
        QVERIFY(QFile::exists(written));
        QVERIFY(!QFile::exists(chosen));
        QCOMPARE(requests.size(), std::size_t(1));
        QVERIFY(requests[0].save);
        QCOMPARE(requests[0].proposedName, std::string("Tavisto"));
        QCOMPARE(requests[0].filter, std::string("Settings Files(*.ini)|*.ini"));
        // Saving padded the line in its edit.
        QCOMPARE(w->edt_line1->text(), padded("HELLO", 20));
        const TSettingsForm saved = shown(*w);

        w->btn_Default->click();
        QCOMPARE(w->edt_line1->text(), QStringLiteral("*** TFT DISPLAY *** "));
        QVERIFY(w->rbtnTextLine2->isChecked());
        QVERIFY(!w->CheckBox78->isChecked());

        chosenFiles.push_back(written.toStdString());
        w->btn_loadsettings->click();
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Load Settings Success!"));
        QCOMPARE(requests.size(), std::size_t(2));
        QVERIFY(!requests[1].save);
        QVERIFY(shown(*w) == saved);
        QCOMPARE(w->rg_brightness->itemIndex(), 0);
        QVERIFY(!w->edtMianText4->isHidden());
        QCOMPARE(w->lbl_selected_nums->text(), QStringLiteral("1"));

        // The next save dialog opens in the folder chosen last.
        w->btn_savesettings->click(); // cancelled
        QCOMPARE(requests.size(), std::size_t(3));
        QCOMPARE(QDir(QString::fromStdString(requests[2].initialFolder)), QDir(dir.path()));
        QCOMPARE(boxes.shown.size(), std::size_t(2));
    }

    void malformedFileChangesNothing() {
        QTemporaryDir dir;
        auto w = make();
        // Texts already at their widths: loading pads the edits before reading the file.
        w->edt_line2->clear();
        QTest::keyClicks(w->edt_line2, padded("SECOND", 60));
        w->rg_brightness->setItemIndex(0);
        const TSettingsForm before = shown(*w);

        const QString path = dir.filePath(QStringLiteral("bad.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"back_light\": 7, \"wel_mess1\": ");
        file.close();
        chosenFiles.push_back(path.toStdString());
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
        w->rg_brightness->button(3)->click(); // "100%"
        const QString path = dir.filePath(QStringLiteral("empty.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{}");
        file.close();
        chosenFiles.push_back(path.toStdString());
        w->btn_loadsettings->click();
        QCOMPARE(boxes.shown.size(), std::size_t(1));
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Load Settings Success!"));
        QCOMPARE(w->rg_brightness->button(w->rg_brightness->itemIndex())->text(),
                 QStringLiteral("60%"));
    }

    void codePageSelectorsMoveTogether() {
        auto w = make();
        // Set by the program: nothing follows.
        w->cbb_CodePage->setCurrentIndex(5);
        QCOMPARE(w->rg_Down_CodePage->itemIndex(), 0);

        w->rg_Down_CodePage->button(16)->click();
        for (QComboBox* list : {w->cbb_CodePage, w->cbb_codepage_test, w->cbb_codepage_maintext})
            QCOMPARE(list->currentText(), QStringLiteral("CP936_GBK"));

        w->cbb_codepage_test->setCurrentIndex(3);
        emit w->cbb_codepage_test->activated(3);
        QCOMPARE(w->rg_Down_CodePage->itemIndex(), 3);
        QCOMPARE(w->cbb_CodePage->currentIndex(), 3);
        QCOMPARE(w->cbb_codepage_maintext->currentIndex(), 3);

        const int japan = w->rg_Down_InterChar->items().indexOf(QStringLiteral("Japan"));
        w->rg_Down_InterChar->button(japan)->click();
        QCOMPARE(w->rg_Down_CodePage->button(w->rg_Down_CodePage->itemIndex())->text(),
                 QStringLiteral("CP932"));
        QCOMPARE(w->cbb_codepage_test->currentText(), QStringLiteral("CP932"));

        // The main-text list has no coupling of its own.
        w->cbb_codepage_maintext->setCurrentIndex(1);
        emit w->cbb_codepage_maintext->activated(1);
        QCOMPARE(w->cbb_CodePage->currentText(), QStringLiteral("CP932"));
    }

    void countersCentringAndLayout() {
        auto w = make();
        w->edt_line1->clear();
        QTest::keyClicks(w->edt_line1, QStringLiteral("ABC"));
        QCOMPARE(w->lbl_mess1_count->text(), QStringLiteral("3"));
        QCOMPARE(w->edt_line1->cursorPosition(), 3);
        w->btn_welText_center->click();
        QCOMPARE(w->edt_line1->text(), QStringLiteral("        ABC         "));
        QCOMPARE(w->lbl_mess1_count->text(), QStringLiteral("20"));
        QCOMPARE(w->edt_line2->text(), QStringLiteral("**HAVE A NICE DAY AND THANK YOU**") +
                                           QString(27, QLatin1Char(' ')));
        QCOMPARE(w->lbl_mess2_count->text(), QStringLiteral("60"));

        w->edtMianText4->setText(QStringLiteral("XY"));
        w->btn_mainText_center->click(); // hidden edits are centred as well
        QCOMPARE(w->edtMianText4->text(), QStringLiteral("         XY         "));

        w->rbtnTextLine4->click();
        QVERIFY(!w->edtMianText3->isHidden());
        QVERIFY(!w->edtMianText4->isHidden());
        w->rbtnTextLine2->click();
        QVERIFY(w->edtMianText3->isHidden());
        QVERIFY(!w->edtMianText2->isHidden());
    }

    void pictureSelection() {
        auto w = make();
        w->chkSelectALL->click();
        for (int slot = 73; slot <= 86; ++slot)
            QVERIFY(w->slotCheckBox(slot)->isChecked());
        QCOMPARE(w->lbl_selected_nums->text(), QStringLiteral("10"));
        QCOMPARE(w->DisplayInfo.pic_reg, 0x03FF);
        w->CheckBox76->click();
        w->CheckBox73->click(); // not a play slot: not counted
        QCOMPARE(w->lbl_selected_nums->text(), QStringLiteral("9"));
        QCOMPARE(w->DisplayInfo.pic_reg, 0x03FE);
        w->chkSelectALL->click();
        QCOMPARE(w->lbl_selected_nums->text(), QStringLiteral("0"));
        QVERIFY(!w->CheckBox86->isChecked());
    }

    void colourPanels() {
        auto w = make();
        const std::uint32_t before = w->pnlColorTextHeader->color();
        QTest::mouseClick(w->pnlColorTextHeader, Qt::LeftButton); // cancelled
        QCOMPARE(w->pnlColorTextHeader->color(), before);
        chosenColors.push_back(0x123456u);
        QTest::mouseClick(w->pnlColorTextHeader, Qt::MiddleButton);
        QCOMPARE(w->pnlColorTextHeader->color(), 0x123456u);
        QCOMPARE(colorDialogs, 2);
        // The record follows only when the form is next collected.
        QVERIFY(w->DisplayInfo.tp_font_rgb_888 != 0x123456u);
    }

    void fileFilters() {
        QCOMPARE(ui::QtFileFilter("Settings Files(*.ini)|*.ini"),
                 QStringLiteral("Settings Files(*.ini)"));
        QCOMPARE(ui::QtFileFilter("Bin Files(*.bin)|*.bin|JPEG Image File (*.jpg)|*.jpg"),
                 QStringLiteral("Bin Files(*.bin);;JPEG Image File (*.jpg)"));
        QCOMPARE(ui::QtFileFilter("Pictures|*.jpg;*.png"),
                 QStringLiteral("Pictures (*.jpg *.png)"));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
