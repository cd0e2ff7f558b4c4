#include "app/ui/FormBinding.h"

#include "app/ui/BasicSetPanel.h"
#include "app/ui/CodepageSetPanel.h"
#include "app/ui/DisplaySetPanel.h"
#include "app/ui/DisplayTestPanel.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/TavistoMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace tavisto::ui {

void ReadSettingsForm(const TfrmTavistoMain& w, TSettingsForm& form) {
    form.cbb_BaudRate = w.cbb_BaudRate->currentIndex();
    w.tsBasicSet->readForm(form);
    w.tsDisplaySet->readForm(form);
    w.tsCodepageSet->readForm(form);
    w.tsPictureManagement->readForm(form);
    w.tsDisplayTest->readForm(form);
}

void ShowSettingsForm(const TSettingsForm& form, TfrmTavistoMain& w) {
    w.cbb_BaudRate->setCurrentIndex(form.cbb_BaudRate);
    w.tsBasicSet->showForm(form);
    w.tsDisplaySet->showForm(form);
    w.tsCodepageSet->showForm(form);
    w.tsPictureManagement->showForm(form);
    w.tsDisplayTest->showForm(form);
}

std::string TextOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

void ShowText(QLineEdit* edit, const std::string& value) {
    const QString shown = QString::fromStdString(value);
    if (edit->text() != shown)
        edit->setText(shown);
}

int CountOf(const QLabel* label) {
    return label->text().toInt();
}

void ShowCount(QLabel* label, int count) {
    label->setText(QString::number(count));
}

void ShowRadioPair(QRadioButton* first, bool firstChecked, QRadioButton* second,
                   bool secondChecked) {
    // An exclusive pair cannot drop its checked button, so clearing both needs
    // exclusivity switched off for a moment.
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

} // namespace tavisto::ui
