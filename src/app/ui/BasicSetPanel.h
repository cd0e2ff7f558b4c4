#pragma once

#include "app/settings/SettingsForm.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavisto::ui {

class TPanelHost;

// "Basic Setting": the welcome message, the command set and the display's own baud
// rate, each with its "Setting" button.
class TBasicSetPanel : public QWidget {
    Q_OBJECT
public:
    explicit TBasicSetPanel(TPanelHost& host, QWidget* parent = nullptr);

    void readForm(TSettingsForm& form) const;
    void showForm(const TSettingsForm& form);

    void btn_commandSetClick();
    void btn_baudrateSetClick();
    void btn_DownloadSettingClick();
    void edt_line1Change();
    void edt_line2Change();
    void btn_welText_centerClick();
    void cbb_CodePageClick();

    QGroupBox* grp_WelcomeMessage = nullptr;
    QLabel* lab_Line1 = nullptr;
    QLineEdit* edt_line1 = nullptr;
    QLabel* lbl_mess1_count = nullptr;
    QCheckBox* chk_Scroll1 = nullptr;
    QLabel* lab_Line2 = nullptr;
    QLineEdit* edt_line2 = nullptr;
    QLabel* lbl_mess2_count = nullptr;
    QCheckBox* chk_Scroll2 = nullptr;
    QLabel* lbl_codepage_welmsg = nullptr;
    QComboBox* cbb_CodePage = nullptr;
    QLabel* lbl_codepage_hint_welmsg = nullptr;
    QPushButton* btn_welText_center = nullptr;
    QPushButton* btn_DownloadSetting = nullptr;
    QGroupBox* grp_commandSet = nullptr;
    QLabel* lab_commandmode = nullptr;
    QComboBox* cbb_down_CommandMode = nullptr;
    QPushButton* btn_commandSet = nullptr;
    QGroupBox* grp_baudrateSet = nullptr;
    QLabel* lab_Set_BaudRate = nullptr;
    QComboBox* cbb_down_BaudRate = nullptr;
    QPushButton* btn_baudrateSet = nullptr;

private:
    void build();
    void wire();

    TPanelHost& host_;
};

} // namespace tavisto::ui
