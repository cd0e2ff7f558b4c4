// "Firmware Updates": the connected display's model and versions, and "Update".
#include "app/ui/Named.h"
#include "app/ui/TavistoMain.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavisto::ui {

void TfrmTavistoMain::buildFirmwareUpdatesTab() {
    lbl_DevModel = named<QLabel>("lbl_DevModel", QStringLiteral("Device Model:"));
    lbl_show_deviceModel = named<QLabel>("lbl_show_deviceModel");
    lbl_CurrentVersion = named<QLabel>("lbl_CurrentVersion", QStringLiteral("Current Version:"));
    lbl_show_currentVersion = named<QLabel>("lbl_show_currentVersion");
    lbl_LatestVersion = named<QLabel>("lbl_LatestVersion", QStringLiteral("Latest Version:"));
    lbl_show_latestVersion = named<QLabel>("lbl_show_latestVersion");
    btn_update = named<QPushButton>("btn_update", QStringLiteral("Update"));
    btn_update->setMinimumSize(120, 32);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    grid->addWidget(lbl_DevModel, 0, 0);
    grid->addWidget(lbl_show_deviceModel, 0, 1);
    grid->addWidget(lbl_CurrentVersion, 1, 0);
    grid->addWidget(lbl_show_currentVersion, 1, 1);
    grid->addWidget(lbl_LatestVersion, 2, 0);
    grid->addWidget(lbl_show_latestVersion, 2, 1);
    grid->addWidget(btn_update, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);

    auto* page = new QVBoxLayout(tsFirmwareUpdates);
    page->setContentsMargins(40, 30, 40, 30);
    page->addLayout(grid);
    page->addStretch(1);
}

} // namespace tavisto::ui
