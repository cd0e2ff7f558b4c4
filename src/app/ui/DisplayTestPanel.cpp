#include "app/ui/DisplayTestPanel.h"

#include "app/connect/InterfaceLanguage.h"
#include "app/settings/FormEditing.h"
#include "app/testing/DisplayTesting.h"
#include "app/ui/ListFill.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/UpDown.h"
#include "pictures/ui/DesktopDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavisto::ui {

namespace {

// The inner margins of the page's groups: controls outside a group line up with
// the controls inside one.
constexpr int kGroupMargin = 10;

constexpr const char* kQrPictureFilter =
    "All (*.png;*.jpg;*.jpeg;*.bmp)|*.png;*.jpg;*.jpeg;*.bmp|Portable Network Graphics "
    "(*.png)|*.png|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps "
    "(*.bmp)|*.bmp";

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

TDisplayTestPanel::TDisplayTestPanel(TPanelHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsDisplayTest"));
    build();
    cbb_codepage_test->addItems(CodePageListTexts());
    cbb_codepage_test->setCurrentIndex(-1);
    connect(cbb_codepage_test, &QComboBox::activated, this,
            &TDisplayTestPanel::cbb_codepage_testClick);
    wire();
}

void TDisplayTestPanel::wire() {
    connect(edt_Text, &QLineEdit::textChanged, this, &TDisplayTestPanel::edt_TextChange);
    connect(btn_TextSend, &QPushButton::clicked, this, &TDisplayTestPanel::btn_TextSendClick);
    connect(btn_ClearDisplay, &QPushButton::clicked, this,
            &TDisplayTestPanel::btn_ClearDisplayClick);
    connect(btn_textText_center, &QPushButton::clicked, this,
            &TDisplayTestPanel::btn_textText_centerClick);
    connect(btn_ShowQrCode, &QPushButton::clicked, this, &TDisplayTestPanel::btn_ShowQrCodeClick);
    connect(btn_ShowQrCodeAt, &QPushButton::clicked, this,
            &TDisplayTestPanel::btn_ShowQrCodeAtClick);
    connect(act_QrOfText, &QAction::triggered, this, &TDisplayTestPanel::act_QrOfTextExecute);
    connect(act_QrOfPicture, &QAction::triggered, this, &TDisplayTestPanel::act_QrOfPictureExecute);
}

void TDisplayTestPanel::edt_TextChange(const QString& text) {
    if (text == QLatin1String(kServiceCode))
        emit serviceCodeEntered();
}

void TDisplayTestPanel::btn_TextSendClick() {
    TTestText test;
    test.text = text(edt_Text);
    test.positionAt = chk_PositionAt->isChecked();
    test.column = ud_Column->value();
    test.row = ud_Row->value();
    host_.runOnForm([this, &test](TSettingsForm& form, TDisplayInfo&) {
        test.codePageIndex = form.cbb_codepage_test;
        tavisto::btn_TextSendClick(host_.connection(), host_.operatorView(), test);
    });
}

void TDisplayTestPanel::btn_ClearDisplayClick() {
    host_.runOnForm([this](TSettingsForm&, TDisplayInfo&) {
        tavisto::btn_ClearDisplayClick(host_.connection(), host_.operatorView());
    });
}

void TDisplayTestPanel::btn_textText_centerClick() {
    edt_Text->setText(QString::fromStdString(CentredTestText(text(edt_Text))));
}

void TDisplayTestPanel::actCodePageTestExecute(QObject* button) {
    const int tag = button ? button->property("Tag").toInt() : 0;
    host_.runOnForm([this, tag](TSettingsForm&, TDisplayInfo&) {
        tavisto::actCodePageTestExecute(host_.connection(), host_.operatorView(), tag);
    });
}

int TDisplayTestPanel::qrAlign() const {
    return rg_QrCodeAlign->itemIndex() + 1;
}

void TDisplayTestPanel::btn_ShowQrCodeClick() {
    if (ModelTakesQrPictures(FindModel(host_.displayModel())))
        act_QrOfPictureExecute();
    else
        act_QrOfTextExecute();
}

// The menu of the arrow beside "Show QrCode", in the interface's language.
void TDisplayTestPanel::nameQrMenu() {
    const bool chinese = UsesChineseTexts(host_.connection().SystemLangId);
    act_QrOfText->setText(chinese ? QStringLiteral("由文本生成二维码")
                                  : QStringLiteral("QrCode of the Text"));
    act_QrOfPicture->setText(chinese ? QStringLiteral("从图片文件显示二维码...")
                                     : QStringLiteral("QrCode from a Picture File..."));
    act_QrOfPicture->setEnabled(ModelTakesQrPictures(FindModel(host_.displayModel())));
}

// A port that does not open is reported as for every other test command; the
// operator would otherwise see nothing happen at all.
void TDisplayTestPanel::showOpenError(const std::string& openError) {
    if (!openError.empty())
        host_.operatorView().ShowMsgBox(openError, kMbIconError);
}

void TDisplayTestPanel::act_QrOfTextExecute() {
    const std::string testText = text(edt_Text);
    const int align = qrAlign();
    host_.runOnForm([this, &testText, align](TSettingsForm&, TDisplayInfo&) {
        std::string openError;
        if (!ShowQrCodeOfText(host_.connection(), host_.operatorView(),
                              FindModel(host_.displayModel()), align, testText, openError))
            showOpenError(openError);
    });
}

void TDisplayTestPanel::act_QrOfPictureExecute() {
    if (!ModelTakesQrPictures(FindModel(host_.displayModel())))
        return;
    const int align = qrAlign();
    TFileDialog dialog;
    dialog.filter = QString::fromLatin1(kQrPictureFilter);
    const QString file = host_.dialogs().chooseFile(host_.dialogParent(), dialog);
    if (file.isEmpty())
        return;
    host_.runOnForm([this, align, name = file.toStdString()](TSettingsForm&, TDisplayInfo&) {
        std::string openError;
        if (!ShowQrPicture(
                host_.connection(), host_.operatorView(), align,
                [&name] { return QrPictureOfFile(name); }, openError))
            showOpenError(openError);
    });
}

void TDisplayTestPanel::btn_ShowQrCodeAtClick() {
    const std::string testText = text(edt_Text);
    const int align = qrAlign();
    const int picture = ud_PicNo->value();
    host_.runOnForm([this, &testText, align, picture](TSettingsForm&, TDisplayInfo&) {
        tavisto::btn_ShowQrCodeAtClick(host_.connection(), host_.operatorView(),
                                       FindModel(host_.displayModel()), align, picture, testText);
    });
}

void TDisplayTestPanel::build() {
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
    test->setContentsMargins(kGroupMargin, 6, kGroupMargin, 6);
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
    mnu_QrPicture = named<QMenu>("mnu_QrPicture", this);
    act_QrOfText = mnu_QrPicture->addAction(QString());
    act_QrOfText->setObjectName(QStringLiteral("act_QrOfText"));
    act_QrOfPicture = mnu_QrPicture->addAction(QString());
    act_QrOfPicture->setObjectName(QStringLiteral("act_QrOfPicture"));
    // "Show QrCode" itself does what the model's way is (a picture file on the models
    // that take QR codes as pictures); the arrow beside it offers both ways.
    btn_ShowQrCodeMenu = named<QToolButton>("btn_ShowQrCodeMenu");
    btn_ShowQrCodeMenu->setArrowType(Qt::DownArrow);
    btn_ShowQrCodeMenu->setPopupMode(QToolButton::InstantPopup);
    btn_ShowQrCodeMenu->setMenu(mnu_QrPicture);
    connect(mnu_QrPicture, &QMenu::aboutToShow, this, &TDisplayTestPanel::nameQrMenu);
    // Hidden until Connect finds a model that draws QR codes over stored pictures.
    SetPictureNumberVisible(false);
    qr_ = new QHBoxLayout;
    auto* qr = qr_;
    qr->addWidget(rg_QrCodeAlign, 1);
    qr->addSpacing(8);
    qr->addWidget(lbl_PicNo);
    qr->addWidget(ud_PicNo);
    qr->addSpacing(8);
    // The arrow sits against "Show QrCode", so that the two read as one split button.
    auto* split = new QHBoxLayout;
    split->setSpacing(0);
    btn_ShowQrCodeMenu->setFixedHeight(btn_ShowQrCode->sizeHint().height());
    split->addWidget(btn_ShowQrCode);
    split->addWidget(btn_ShowQrCodeMenu);
    qr->addLayout(split);
    qr->addWidget(btn_ShowQrCodeAt);

    // The sample buttons are created by actButtonCreatExecute.
    grp_Test_InterChar = named<QGroupBox>("grp_Test_InterChar", QStringLiteral("InterChar"));
    new QHBoxLayout(grp_Test_InterChar);
    grp_Test_CodePage = named<QGroupBox>("grp_Test_CodePage", QStringLiteral("CodePage"));
    new QHBoxLayout(grp_Test_CodePage);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(grp_TestText);
    page->addLayout(qr);
    page->addWidget(grp_Test_InterChar);
    page->addWidget(grp_Test_CodePage);
    page->addStretch(1);
}

void TDisplayTestPanel::showEvent(QShowEvent* event) {
    // The QR buttons end where the text group's buttons above them end: inside its
    // frame (whose width the style decides) and its margin.
    qr_->setContentsMargins(0, 0, grp_TestText->contentsMargins().right() + kGroupMargin, 0);
    QWidget::showEvent(event);
}

void TDisplayTestPanel::actButtonCreatExecute() {
    struct Sample {
        QPushButton** member;
        const char* name;
        const char* caption;
        int tag;
        bool interChar;
    };
    const Sample samples[] = {
        {&btn_203F, "btn_203F", "InterChar 0x20~0x3F", 101, true},
        {&btn_405F, "btn_405F", "InterChar 0x40~0x5F", 102, true},
        {&btn_607F, "btn_607F", "InterChar 0x60~0x7F", 103, true},
        {&btn_809F, "btn_809F", "CodePage 0x80~0x9F", 201, false},
        {&btn_A0BF, "btn_A0BF", "CodePage 0xA0~0xBF", 202, false},
        {&btn_C0DF, "btn_C0DF", "CodePage 0xC0~0xDF", 203, false},
        {&btn_E0FF, "btn_E0FF", "CodePage 0xE0~0xFF", 204, false},
    };
    for (const Sample& sample : samples) {
        QGroupBox* group = sample.interChar ? grp_Test_InterChar : grp_Test_CodePage;
        if (*sample.member == nullptr) {
            *sample.member = new QPushButton(group);
            (*sample.member)->setObjectName(QString::fromLatin1(sample.name));
            group->layout()->addWidget(*sample.member);
        }
        (*sample.member)->setText(QString::fromLatin1(sample.caption));
        (*sample.member)->setProperty("Tag", sample.tag);
        QPushButton* button = *sample.member;
        disconnect(button, nullptr, this, nullptr);
        connect(button, &QPushButton::clicked, this,
                [this, button] { actCodePageTestExecute(button); });
    }
}

void TDisplayTestPanel::SetPictureNumberVisible(bool visible) {
    // edt_PicNo is the text box inside ud_PicNo and follows it.
    for (QWidget* part : std::initializer_list<QWidget*>{lbl_PicNo, ud_PicNo, btn_ShowQrCodeAt})
        part->setVisible(visible);
}

void TDisplayTestPanel::readForm(TSettingsForm& form) const {
    form.cbb_codepage_test = cbb_codepage_test->currentIndex();
}

void TDisplayTestPanel::showForm(const TSettingsForm& form) {
    cbb_codepage_test->setCurrentIndex(form.cbb_codepage_test);
}

void TDisplayTestPanel::cbb_codepage_testClick() {
    host_.editForm(
        [](TSettingsForm& form, TDisplayInfo&) { tavisto::cbb_codepage_testClick(form); });
}

} // namespace tavisto::ui
