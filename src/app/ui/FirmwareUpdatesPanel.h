#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QPushButton;

namespace tavisto::ui {

class TPanelHost;

// "Firmware Updates": the connected display's model and versions, and "Update".
class TFirmwareUpdatesPanel : public QWidget {
    Q_OBJECT
public:
    explicit TFirmwareUpdatesPanel(TPanelHost& host, QWidget* parent = nullptr);

    void ShowFirmwareInfo(const std::string& deviceModel, const std::string& currentVersion);

    QLabel* lbl_DevModel = nullptr;
    QLabel* lbl_show_deviceModel = nullptr;
    QLabel* lbl_CurrentVersion = nullptr;
    QLabel* lbl_show_currentVersion = nullptr;
    QLabel* lbl_LatestVersion = nullptr;
    QLabel* lbl_show_latestVersion = nullptr;
    QPushButton* btn_update = nullptr;

private:
    [[maybe_unused]] TPanelHost& host_;
};

} // namespace tavisto::ui
