// "Display Testing": test text, clearing, code-page samples and QR codes.
#include "app/ui/Named.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/TavistoMain.h"
#include "app/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavisto::ui {

void TfrmTavistoMain::buildDisplayTestTab() {
    grp_TestText = named<QGroupBox>("grp_TestText", QStringLiteral("Display Test"));
    lab_TestContent = named<QLabel>("lab_TestContent", QStringLiteral("Text:"));
    edt_Text = named<QLineEdit>("edt_Text", QStringLiteral("1234567890ABCDEFGHIJ"));
    edt_Text->setMaxLength(20);
    btn_textText_center = named<QPushButton>("btn_textText_center", QStringLiteral("Center"));
    chk_PositionAt = named<QCheckBox>("chk_PositionAt", QStringLiteral("Position at"));
    lab_Row = named<QLabel>("lab_Row", QStringLiteral("Row:"));
    ud_Row = named<TUpDown>("ud_Row", 1, 4, 1);
    edt_Row = ud_Row->edit();
    edt_Row->setObjectName(QStringLiteral("edt_Row"));
    lab_Column = named<QLabel>("lab_Column", QStringLiteral("Column:"));
    ud_Column = named<TUpDown>("ud_Column", 1, 20, 1);
    edt_Column = ud_Column->edit();
    edt_Column->setObjectName(QStringLiteral("edt_Column"));
    lbl_codeage_test = named<QLabel>("lbl_codeage_test", QStringLiteral("Code Page:"));
    cbb_codepage_test = named<QComboBox>("cbb_codepage_test");
    cbb_codepage_test->setMinimumWidth(150);
    lbl_codepage_hint_test =
        named<QLabel>("lbl_codepage_hint_test", QStringLiteral("(Internal code)"));
    btn_TextSend = named<QPushButton>("btn_TextSend", QStringLiteral("Display Text"));
    btn_ClearDisplay = named<QPushButton>("btn_ClearDisplay", QStringLiteral("Clear Display"));

    auto* position = new QHBoxLayout;
    position->addWidget(chk_PositionAt);
    position->addSpacing(16);
    position->addWidget(lab_Row);
    position->addWidget(ud_Row);
    position->addSpacing(16);
    position->addWidget(lab_Column);
    position->addWidget(ud_Column);
    position->addStretch(1);
    auto* textButtons = new QHBoxLayout;
    textButtons->addStretch(1);
    textButtons->addWidget(btn_TextSend);
    textButtons->addWidget(btn_ClearDisplay);

    auto* test = new QGridLayout(grp_TestText);
    test->setContentsMargins(10, 6, 10, 6);
    test->addWidget(lab_TestContent, 0, 0);
    test->addWidget(edt_Text, 0, 1, 1, 2);
    test->addWidget(btn_textText_center, 0, 3);
    test->addLayout(position, 1, 0, 1, 4);
    test->addWidget(lbl_codeage_test, 2, 0);
    test->addWidget(cbb_codepage_test, 2, 1);
    test->addWidget(lbl_codepage_hint_test, 2, 2, 1, 2);
    test->addLayout(textButtons, 3, 0, 1, 4);
    test->setColumnStretch(2, 1);

    rg_QrCodeAlign = named<TRadioGroup>("rg_QrCodeAlign", QStringLiteral("QrCode Align"));
    rg_QrCodeAlign->setColumns(3);
    rg_QrCodeAlign->setItems(
        {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    rg_QrCodeAlign->setItemIndex(1);
    lbl_PicNo = named<QLabel>("lbl_PicNo", QStringLiteral("Picture No:"));
    ud_PicNo = named<TUpDown>("ud_PicNo", 1, 10, 1);
    edt_PicNo = ud_PicNo->edit();
    edt_PicNo->setObjectName(QStringLiteral("edt_PicNo"));
    btn_ShowQrCode = named<QPushButton>("btn_ShowQrCode", QStringLiteral("Show QrCode"));
    btn_ShowQrCodeAt = named<QPushButton>("btn_ShowQrCodeAt", QStringLiteral("Show QrCode At"));
    // Hidden until Connect finds a model that draws QR codes over stored pictures.
    for (QWidget* widget : std::initializer_list<QWidget*>{lbl_PicNo, ud_PicNo, btn_ShowQrCodeAt})
        widget->hide();
    auto* qr = new QHBoxLayout;
    qr->addWidget(rg_QrCodeAlign, 1);
    qr->addSpacing(8);
    qr->addWidget(lbl_PicNo);
    qr->addWidget(ud_PicNo);
    qr->addSpacing(8);
    qr->addWidget(btn_ShowQrCode);
    qr->addWidget(btn_ShowQrCodeAt);

    // The sample buttons are created by actButtonCreatExecute.
    grp_Test_InterChar = named<QGroupBox>("grp_Test_InterChar", QStringLiteral("InterChar"));
    new QHBoxLayout(grp_Test_InterChar);
    grp_Test_CodePage = named<QGroupBox>("grp_Test_CodePage", QStringLiteral("CodePage"));
    new QHBoxLayout(grp_Test_CodePage);

    auto* page = new QVBoxLayout(tsDisplayTest);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(grp_TestText);
    page->addLayout(qr);
    page->addWidget(grp_Test_InterChar);
    page->addWidget(grp_Test_CodePage);
    page->addStretch(1);
}

} // namespace tavisto::ui
