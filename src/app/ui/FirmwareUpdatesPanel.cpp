#include "app/ui/FirmwareUpdatesPanel.h"

#include "app/connect/ConnectWorkflow.h"
#include "app/connect/InterfaceLanguage.h"
#include "app/storage/StorageWorkflows.h"
#include "app/transfer/JobSources.h"
#include "app/transfer/TransferRunner.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "protocol/ModelTable.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavisto::ui {

TFirmwareUpdatesPanel::TFirmwareUpdatesPanel(TPanelHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsFirmwareUpdates"));
    lbl_DevModel = named<QLabel>("lbl_DevModel", QStringLiteral("Device Model:"));
    lbl_show_deviceModel = named<QLabel>("lbl_show_deviceModel");
    lbl_CurrentVersion = named<QLabel>("lbl_CurrentVersion", QStringLiteral("Current Version:"));
    lbl_show_currentVersion = named<QLabel>("lbl_show_currentVersion");
    lbl_LatestVersion = named<QLabel>("lbl_LatestVersion", QStringLiteral("Latest Version:"));
    // The firmware version built into the program.
    lbl_show_latestVersion =
        named<QLabel>("lbl_show_latestVersion", QStringLiteral("V%1").arg(kLatestFirmwareVersion));
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

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(40, 30, 40, 30);
    page->addLayout(grid);
    page->addStretch(1);

    connect(btn_update, &QPushButton::clicked, this, &TFirmwareUpdatesPanel::btn_updateClick);
}

void TFirmwareUpdatesPanel::btn_updateClick() {
    tavisto::btn_updateClick(host_.connection(), host_.operatorView(),
                             FindModel(host_.displayModel()), host_.transferRunner());
}

void TFirmwareUpdatesPanel::ShowConnectedModel(int model) {
    const DisplayModel* found = FindModel(model);
    if (!found)
        return;
    const std::string name(found->name);
    // The models that report a version get it from Connect right after.
    ShowFirmwareInfo(name, ModelHasFirmwareCheck(found) ? "" : "not read on this model");
}

void TFirmwareUpdatesPanel::ShowFirmwareInfo(const std::string& deviceModel,
                                             const std::string& currentVersion) {
    lbl_show_deviceModel->setText(QString::fromStdString(deviceModel));
    lbl_show_currentVersion->setText(QString::fromStdString(currentVersion));
    // "Update" sends the program's own image: say so when this build carries none for
    // the model, rather than offer a version it cannot send.
    const DisplayModel* model = FindModelByName(deviceModel);
    const TJobSources& sources = host_.transferRunner().engine().Sources();
    const bool carried =
        model && sources.resource && sources.resource(FirmwareResourceName(*model)).has_value();
    const bool chinese = UsesChineseTexts(host_.connection().SystemLangId);
    lbl_show_latestVersion->setText(
        carried ? QStringLiteral("V%1").arg(kLatestFirmwareVersion)
        : chinese
            ? QStringLiteral("V%1（本程序未附带）").arg(kLatestFirmwareVersion)
            : QStringLiteral("V%1 (not carried by this program)").arg(kLatestFirmwareVersion));
}

} // namespace tavisto::ui
