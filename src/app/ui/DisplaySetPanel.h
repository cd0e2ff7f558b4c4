#pragma once

#include "app/settings/SettingsForm.h"

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavisto::ui {

class TColorPanel;
class TPanelHost;
class TRadioGroup;

// "Display Setting": colours and contents of the header, main text and footer areas,
// and the brightness, each with its "Setting" button.
class TDisplaySetPanel : public QWidget {
    Q_OBJECT
public:
    explicit TDisplaySetPanel(TPanelHost& host, QWidget* parent = nullptr);

    void readForm(TSettingsForm& form) const;
    void showForm(const TSettingsForm& form);

    void btn_HeaderSetClick();
    void btn_TextSetClick();
    void btn_FooterSetClick();
    void btn_brightness_setClick();
    // The six colour panels' mouse-down handler.
    void pnlColorMouseDown(TColorPanel* panel);
    void rbtnTextLine2Click();
    void btn_mainText_centerClick();

    QGroupBox* grpHeader = nullptr;
    QLabel* labHeaderTextColor = nullptr;
    TColorPanel* pnlColorTextHeader = nullptr;
    QLabel* labHeaderBgColor = nullptr;
    TColorPanel* pnlColorBgHeader = nullptr;
    QRadioButton* rbtnHeaderText = nullptr;
    QRadioButton* rbtnHeaderPicture = nullptr;
    QPushButton* btn_HeaderSet = nullptr;
    QGroupBox* grpText = nullptr;
    QLabel* labTextTextColor = nullptr;
    TColorPanel* pnlColorTextText = nullptr;
    QLabel* labTextBgColoer = nullptr;
    TColorPanel* pnlColorBgText = nullptr;
    QRadioButton* rbtnTextLine2 = nullptr;
    QRadioButton* rbtnTextLine4 = nullptr;
    QLineEdit* edtMianText1 = nullptr;
    QLineEdit* edtMianText2 = nullptr;
    QLineEdit* edtMianText3 = nullptr;
    QLineEdit* edtMianText4 = nullptr;
    QLabel* lbl_codepage_maintext = nullptr;
    QComboBox* cbb_codepage_maintext = nullptr;
    QLabel* lbl_codepage_hint_maintext = nullptr;
    QPushButton* btn_mainText_center = nullptr;
    QPushButton* btn_TextSet = nullptr;
    QGroupBox* grpFooter = nullptr;
    QLabel* labFooterTextColoer = nullptr;
    TColorPanel* pnlColorTextFooter = nullptr;
    QLabel* labFooterBgColoer = nullptr;
    TColorPanel* pnlColorBgFooter = nullptr;
    QPushButton* btn_FooterSet = nullptr;
    TRadioGroup* rg_brightness = nullptr;
    QPushButton* btn_brightness_set = nullptr;

private:
    void build();
    void wire();
    std::array<QLineEdit*, 4> mainTextEdits() const;

    TPanelHost& host_;
};

} // namespace tavisto::ui
