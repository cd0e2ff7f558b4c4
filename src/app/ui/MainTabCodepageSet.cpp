// "CodePage Setting": the display's international character set and code page.
#include "app/ui/Named.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/TavistoMain.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavisto::ui {

void TfrmTavistoMain::buildCodepageSetTab() {
    rg_Down_InterChar = named<TRadioGroup>("rg_Down_InterChar", QStringLiteral("InterChar"));
    rg_Down_InterChar->setColumns(5);
    rg_Down_CodePage = named<TRadioGroup>("rg_Down_CodePage", QStringLiteral("CodePage"));
    rg_Down_CodePage->setColumns(6);
    btn_DownloadCodePage = named<QPushButton>("btn_DownloadCodePage", QStringLiteral("Setting"));
    btn_DownloadCodePage->setMinimumWidth(100);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn_DownloadCodePage);

    auto* page = new QVBoxLayout(tsCodepageSet);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(rg_Down_InterChar);
    page->addWidget(rg_Down_CodePage);
    page->addLayout(buttons);
    page->addStretch(1);
}

} // namespace tavisto::ui
