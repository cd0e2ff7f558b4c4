#include "app/ui/CodepageSetPanel.h"

#include "app/connect/InterfaceLanguage.h"
#include "app/settings/FormEditing.h"
#include "app/settings/SettingCommands.h"
#include "app/ui/ListFill.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "app/ui/RadioGroup.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavisto::ui {

TCodepageSetPanel::TCodepageSetPanel(TPanelHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsCodepageSet"));
    rg_Down_InterChar = named<TRadioGroup>("rg_Down_InterChar", QStringLiteral("InterChar"));
    rg_Down_InterChar->setColumns(5);
    rg_Down_CodePage = named<TRadioGroup>("rg_Down_CodePage", QStringLiteral("CodePage"));
    rg_Down_CodePage->setColumns(6);
    rg_Down_CodePage->setItems(CodePageListTexts());
    btn_DownloadCodePage = named<QPushButton>("btn_DownloadCodePage", QStringLiteral("Setting"));
    btn_DownloadCodePage->setMinimumWidth(100);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn_DownloadCodePage);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(rg_Down_InterChar);
    page->addWidget(rg_Down_CodePage);
    page->addLayout(buttons);
    page->addStretch(1);

    connect(btn_DownloadCodePage, &QPushButton::clicked, this,
            &TCodepageSetPanel::btn_DownloadCodePageClick);
    // Picks only, not setItemIndex.
    connect(rg_Down_CodePage, &TRadioGroup::itemClicked, this,
            &TCodepageSetPanel::rg_Down_CodePageClick);
    connect(rg_Down_InterChar, &TRadioGroup::itemClicked, this,
            &TCodepageSetPanel::rg_Down_InterCharClick);
}

void TCodepageSetPanel::showInterCharNames(std::uint16_t langId) {
    const int selected = rg_Down_InterChar->itemIndex();
    const bool chinese = UsesChineseTexts(langId);
    rg_Down_InterChar->setItems(ListTexts(InterChars, [chinese](const TInterChars& row) {
        return chinese ? row.DisplayNameZh : row.DisplayNameEn;
    }));
    rg_Down_InterChar->setItemIndex(selected);
}

void TCodepageSetPanel::readForm(TSettingsForm& form) const {
    form.rg_Down_InterChar = rg_Down_InterChar->itemIndex();
    form.rg_Down_CodePage = rg_Down_CodePage->itemIndex();
}

void TCodepageSetPanel::showForm(const TSettingsForm& form) {
    rg_Down_InterChar->setItemIndex(form.rg_Down_InterChar);
    rg_Down_CodePage->setItemIndex(form.rg_Down_CodePage);
}

void TCodepageSetPanel::btn_DownloadCodePageClick() {
    RunSettingCommand(host_, tavisto::btn_DownloadCodePageClick);
}

void TCodepageSetPanel::rg_Down_CodePageClick() {
    host_.editForm(
        [](TSettingsForm& form, TDisplayInfo&) { tavisto::rg_Down_CodePageClick(form); });
}

void TCodepageSetPanel::rg_Down_InterCharClick() {
    host_.editForm(
        [](TSettingsForm& form, TDisplayInfo&) { tavisto::rg_Down_InterCharClick(form); });
}

} // namespace tavisto::ui
