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

    // Connect found the display model `model`: its name, and for a model whose version
    // Connect does not read, a text that says so.
    void ShowConnectedModel(int model);
    void ShowFirmwareInfo(const std::string& deviceModel, const std::string& currentVersion);
    // Sends the built-in firmware image (asks first; refuses when there is none).
    void btn_updateClick();

    QLabel* lbl_DevModel = nullptr;
    QLabel* lbl_show_deviceModel = nullptr;
    QLabel* lbl_CurrentVersion = nullptr;
    QLabel* lbl_show_currentVersion = nullptr;
    QLabel* lbl_LatestVersion = nullptr;
    QLabel* lbl_show_latestVersion = nullptr;
    QPushButton* btn_update = nullptr;

private:
    TPanelHost& host_;
};

} // namespace tavisto::ui
