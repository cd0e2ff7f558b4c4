#pragma once

#include "app/settings/SettingsForm.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QAction;
class QLineEdit;
class QMenu;
class QToolButton;
class QPushButton;

namespace tavisto::ui {

class TPanelHost;
class TRadioGroup;
class TUpDown;

// "Display Testing": test text, clearing, code-page samples and QR codes.
class TDisplayTestPanel : public QWidget {
    Q_OBJECT
public:
    explicit TDisplayTestPanel(TPanelHost& host, QWidget* parent = nullptr);

    void readForm(TSettingsForm& form) const;
    void showForm(const TSettingsForm& form);

    // Creates the seven code-page sample buttons (tags 101..103 and 201..204).
    void actButtonCreatExecute();
    // The picture-number controls and "Show QrCode At".
    void SetPictureNumberVisible(bool visible);

    void cbb_codepage_testClick();
    // Every change of the test text: the service code "3920571", typed exactly,
    // asks the window to reveal its service tabs.
    void edt_TextChange(const QString& text);

    void btn_TextSendClick();
    void btn_ClearDisplayClick();
    void btn_textText_centerClick();
    // The sample buttons, told apart by their "Tag" property.
    void actCodePageTestExecute(QObject* button);
    // On the models that take QR codes as pictures it sends one from a picture file;
    // the others encode the test text themselves. The arrow beside it
    // (btn_ShowQrCodeMenu, mnu_QrPicture) also offers a picture made from the test text.
    void btn_ShowQrCodeClick();
    void btn_ShowQrCodeAtClick();
    void act_QrOfTextExecute();
    void act_QrOfPictureExecute();
    void nameQrMenu();

signals:
    void serviceCodeEntered();

public:
    QGroupBox* grp_TestText = nullptr;
    QLabel* lab_TestContent = nullptr;
    QLineEdit* edt_Text = nullptr;
    QPushButton* btn_textText_center = nullptr;
    QCheckBox* chk_PositionAt = nullptr;
    QLabel* lab_Row = nullptr;
    QLineEdit* edt_Row = nullptr;
    TUpDown* ud_Row = nullptr;
    QLabel* lab_Column = nullptr;
    QLineEdit* edt_Column = nullptr;
    TUpDown* ud_Column = nullptr;
    QLabel* lbl_codeage_test = nullptr;
    QComboBox* cbb_codepage_test = nullptr;
    QLabel* lbl_codepage_hint_test = nullptr;
    QPushButton* btn_TextSend = nullptr;
    QPushButton* btn_ClearDisplay = nullptr;
    TRadioGroup* rg_QrCodeAlign = nullptr;
    QLabel* lbl_PicNo = nullptr;
    QLineEdit* edt_PicNo = nullptr;
    TUpDown* ud_PicNo = nullptr;
    QPushButton* btn_ShowQrCode = nullptr;
    QPushButton* btn_ShowQrCodeAt = nullptr;
    QGroupBox* grp_Test_InterChar = nullptr;
    QGroupBox* grp_Test_CodePage = nullptr;
    QPushButton* btn_203F = nullptr;
    QPushButton* btn_405F = nullptr;
    QPushButton* btn_607F = nullptr;
    QPushButton* btn_809F = nullptr;
    QPushButton* btn_A0BF = nullptr;
    QPushButton* btn_C0DF = nullptr;
    QPushButton* btn_E0FF = nullptr;
    QToolButton* btn_ShowQrCodeMenu = nullptr;
    QMenu* mnu_QrPicture = nullptr;
    QAction* act_QrOfText = nullptr;
    QAction* act_QrOfPicture = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void wire();
    int qrAlign() const;
    void showOpenError(const std::string& openError);

    QHBoxLayout* qr_ = nullptr; // the QR code row below the text group

    TPanelHost& host_;
};

} // namespace tavisto::ui
