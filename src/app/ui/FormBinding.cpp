#include "app/ui/FormBinding.h"

#include "app/ui/ColorPanel.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/TavistoMain.h"
#include "app/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace tavisto::ui {

namespace {

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

void setText(QLineEdit* edit, const std::string& value) {
    const QString shown = QString::fromStdString(value);
    if (edit->text() != shown)
        edit->setText(shown);
}

void setCount(QLabel* label, int count) {
    label->setText(QString::number(count));
}

// A pair of radio buttons sharing a parent: an exclusive pair cannot drop its
// checked button, so clearing both needs exclusivity switched off for a moment.
void setPair(QRadioButton* first, bool firstChecked, QRadioButton* second, bool secondChecked) {
    const bool exclusive = first->autoExclusive();
    if (!firstChecked && !secondChecked) {
        first->setAutoExclusive(false);
        second->setAutoExclusive(false);
    }
    first->setChecked(firstChecked);
    second->setChecked(secondChecked);
    first->setAutoExclusive(exclusive);
    second->setAutoExclusive(exclusive);
}

std::array<QLineEdit*, 4> mainTextEdits(const TfrmTavistoMain& w) {
    return {w.edtMianText1, w.edtMianText2, w.edtMianText3, w.edtMianText4};
}

} // namespace

void ReadSettingsForm(const TfrmTavistoMain& w, TSettingsForm& form) {
    form.cbb_BaudRate = w.cbb_BaudRate->currentIndex();

    form.edt_line1 = text(w.edt_line1);
    form.edt_line2 = text(w.edt_line2);
    form.lbl_mess1_count = w.lbl_mess1_count->text().toInt();
    form.lbl_mess2_count = w.lbl_mess2_count->text().toInt();
    form.chk_Scroll1 = w.chk_Scroll1->isChecked();
    form.chk_Scroll2 = w.chk_Scroll2->isChecked();
    form.cbb_CodePage = w.cbb_CodePage->currentIndex();
    form.cbb_down_CommandMode = w.cbb_down_CommandMode->currentIndex();
    form.cbb_down_BaudRate = w.cbb_down_BaudRate->currentIndex();

    form.pnlColorTextHeader = w.pnlColorTextHeader->color();
    form.pnlColorBgHeader = w.pnlColorBgHeader->color();
    form.rbtnHeaderText = w.rbtnHeaderText->isChecked();
    form.rbtnHeaderPicture = w.rbtnHeaderPicture->isChecked();
    form.pnlColorTextText = w.pnlColorTextText->color();
    form.pnlColorBgText = w.pnlColorBgText->color();
    form.rbtnTextLine2 = w.rbtnTextLine2->isChecked();
    form.rbtnTextLine4 = w.rbtnTextLine4->isChecked();
    const auto edits = mainTextEdits(w);
    for (std::size_t i = 0; i < edits.size(); ++i) {
        form.edtMianText[i] = text(edits[i]);
        // isHidden, not isVisible: the window itself may not be on screen.
        form.edtMianTextVisible[i] = !edits[i]->isHidden();
    }
    form.cbb_codepage_maintext = w.cbb_codepage_maintext->currentIndex();
    form.pnlColorTextFooter = w.pnlColorTextFooter->color();
    form.pnlColorBgFooter = w.pnlColorBgFooter->color();
    form.rg_brightness = w.rg_brightness->itemIndex();

    form.rg_Down_InterChar = w.rg_Down_InterChar->itemIndex();
    form.rg_Down_CodePage = w.rg_Down_CodePage->itemIndex();
    form.cbb_codepage_test = w.cbb_codepage_test->currentIndex();

    for (std::size_t k = 0; k < form.CheckBox76to85.size(); ++k)
        form.CheckBox76to85[k] = w.slotCheckBox(76 + static_cast<int>(k))->isChecked();
    form.lbl_selected_nums = w.lbl_selected_nums->text().toInt();
    form.ud_StandbyTime = w.ud_StandbyTime->value();
    form.ud_PlayInterval = w.ud_PlayInterval->value();
}

void ShowSettingsForm(const TSettingsForm& form, TfrmTavistoMain& w) {
    w.cbb_BaudRate->setCurrentIndex(form.cbb_BaudRate);

    setText(w.edt_line1, form.edt_line1);
    setText(w.edt_line2, form.edt_line2);
    setCount(w.lbl_mess1_count, form.lbl_mess1_count);
    setCount(w.lbl_mess2_count, form.lbl_mess2_count);
    w.chk_Scroll1->setChecked(form.chk_Scroll1);
    w.chk_Scroll2->setChecked(form.chk_Scroll2);
    w.cbb_CodePage->setCurrentIndex(form.cbb_CodePage);
    w.cbb_down_CommandMode->setCurrentIndex(form.cbb_down_CommandMode);
    w.cbb_down_BaudRate->setCurrentIndex(form.cbb_down_BaudRate);

    w.pnlColorTextHeader->setColor(form.pnlColorTextHeader);
    w.pnlColorBgHeader->setColor(form.pnlColorBgHeader);
    setPair(w.rbtnHeaderText, form.rbtnHeaderText, w.rbtnHeaderPicture, form.rbtnHeaderPicture);
    w.pnlColorTextText->setColor(form.pnlColorTextText);
    w.pnlColorBgText->setColor(form.pnlColorBgText);
    setPair(w.rbtnTextLine2, form.rbtnTextLine2, w.rbtnTextLine4, form.rbtnTextLine4);
    const auto edits = mainTextEdits(w);
    for (std::size_t i = 0; i < edits.size(); ++i) {
        setText(edits[i], form.edtMianText[i]);
        edits[i]->setVisible(form.edtMianTextVisible[i]);
    }
    w.cbb_codepage_maintext->setCurrentIndex(form.cbb_codepage_maintext);
    w.pnlColorTextFooter->setColor(form.pnlColorTextFooter);
    w.pnlColorBgFooter->setColor(form.pnlColorBgFooter);
    w.rg_brightness->setItemIndex(form.rg_brightness);

    w.rg_Down_InterChar->setItemIndex(form.rg_Down_InterChar);
    w.rg_Down_CodePage->setItemIndex(form.rg_Down_CodePage);
    w.cbb_codepage_test->setCurrentIndex(form.cbb_codepage_test);

    for (std::size_t k = 0; k < form.CheckBox76to85.size(); ++k)
        w.slotCheckBox(76 + static_cast<int>(k))->setChecked(form.CheckBox76to85[k]);
    setCount(w.lbl_selected_nums, form.lbl_selected_nums);
    w.ud_StandbyTime->setValue(form.ud_StandbyTime);
    w.ud_PlayInterval->setValue(form.ud_PlayInterval);
}

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (%1)").arg(
                QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
        entries.append(description);
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace tavisto::ui
