#include "app/ui/DisplaySetPanel.h"

#include "app/settings/FormEditing.h"
#include "app/settings/SettingCommands.h"
#include "app/ui/ColorPanel.h"
#include "app/ui/FormBinding.h"
#include "app/ui/ListFill.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "app/ui/RadioGroup.h"
#include "app/ui/TypingLimit.h"
#include "pictures/ui/DesktopDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

namespace tavisto::ui {

namespace {

// A "Text Color" / "Backgroud Color" pair of captions and colour panels.
void addColorRows(QGridLayout* grid, QLabel* textLabel, TColorPanel* textPanel, QLabel* backLabel,
                  TColorPanel* backPanel) {
    for (TColorPanel* panel : {textPanel, backPanel})
        panel->setFixedSize(70, 24);
    grid->addWidget(textLabel, 0, 0);
    grid->addWidget(textPanel, 0, 1);
    grid->addWidget(backLabel, 1, 0);
    grid->addWidget(backPanel, 1, 1);
}

QHBoxLayout* rightAligned(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    return row;
}

} // namespace

TDisplaySetPanel::TDisplaySetPanel(TPanelHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsDisplaySet"));
    build();
    cbb_codepage_maintext->addItems(CodePageListTexts());
    cbb_codepage_maintext->setCurrentIndex(-1);
    for (QLineEdit* edit : mainTextEdits())
        LimitTyping(edit, kMainTextLineWidth);
    wire();
}

void TDisplaySetPanel::build() {
    grpHeader = named<QGroupBox>("grpHeader", QStringLiteral("Header"));
    labHeaderTextColor = named<QLabel>("labHeaderTextColor", QStringLiteral("Text Color"));
    pnlColorTextHeader = named<TColorPanel>("pnlColorTextHeader");
    labHeaderBgColor = named<QLabel>("labHeaderBgColor", QStringLiteral("Backgroud Color"));
    pnlColorBgHeader = named<TColorPanel>("pnlColorBgHeader");
    rbtnHeaderText = named<QRadioButton>("rbtnHeaderText", QStringLiteral("Show Text"));
    rbtnHeaderPicture = named<QRadioButton>("rbtnHeaderPicture", QStringLiteral("Show Picture"));
    btn_HeaderSet = named<QPushButton>("btn_HeaderSet", QStringLiteral("Setting"));
    auto* header = new QGridLayout(grpHeader);
    header->setContentsMargins(10, 6, 10, 6);
    addColorRows(header, labHeaderTextColor, pnlColorTextHeader, labHeaderBgColor,
                 pnlColorBgHeader);
    header->addWidget(rbtnHeaderText, 0, 2);
    header->addWidget(rbtnHeaderPicture, 1, 2);
    header->addLayout(rightAligned({btn_HeaderSet}), 2, 0, 1, 3);
    header->setColumnStretch(2, 1);

    grpFooter = named<QGroupBox>("grpFooter", QStringLiteral("Footer Message"));
    labFooterTextColoer = named<QLabel>("labFooterTextColoer", QStringLiteral("Text Color"));
    pnlColorTextFooter = named<TColorPanel>("pnlColorTextFooter");
    labFooterBgColoer = named<QLabel>("labFooterBgColoer", QStringLiteral("Backgroud Color"));
    pnlColorBgFooter = named<TColorPanel>("pnlColorBgFooter");
    btn_FooterSet = named<QPushButton>("btn_FooterSet", QStringLiteral("Setting"));
    auto* footer = new QGridLayout(grpFooter);
    footer->setContentsMargins(10, 6, 10, 6);
    addColorRows(footer, labFooterTextColoer, pnlColorTextFooter, labFooterBgColoer,
                 pnlColorBgFooter);
    footer->addLayout(rightAligned({btn_FooterSet}), 2, 0, 1, 3);
    footer->setColumnStretch(2, 1);

    rg_brightness = named<TRadioGroup>("rg_brightness", QStringLiteral("Brightness adjustment"));
    rg_brightness->setColumns(4);
    rg_brightness->setItems({QStringLiteral("20%"), QStringLiteral("40%"), QStringLiteral("60%"),
                             QStringLiteral("100%")});
    rg_brightness->setItemIndex(2);
    btn_brightness_set = named<QPushButton>("btn_brightness_set", QStringLiteral("Setting"));
    auto* brightness = new QHBoxLayout;
    brightness->addWidget(rg_brightness, 1);
    brightness->addWidget(btn_brightness_set, 0, Qt::AlignBottom);

    grpText = named<QGroupBox>("grpText", QStringLiteral("Text"));
    labTextTextColor = named<QLabel>("labTextTextColor", QStringLiteral("Text Color"));
    pnlColorTextText = named<TColorPanel>("pnlColorTextText");
    labTextBgColoer = named<QLabel>("labTextBgColoer", QStringLiteral("Backgroud Color"));
    pnlColorBgText = named<TColorPanel>("pnlColorBgText");
    rbtnTextLine2 = named<QRadioButton>("rbtnTextLine2", QStringLiteral("Text Line 2"));
    rbtnTextLine4 = named<QRadioButton>("rbtnTextLine4", QStringLiteral("Text Line 4"));
    edtMianText1 = named<QLineEdit>("edtMianText1");
    edtMianText2 = named<QLineEdit>("edtMianText2");
    edtMianText3 = named<QLineEdit>("edtMianText3");
    edtMianText4 = named<QLineEdit>("edtMianText4");
    lbl_codepage_maintext = named<QLabel>("lbl_codepage_maintext", QStringLiteral("Code Page:"));
    cbb_codepage_maintext = named<QComboBox>("cbb_codepage_maintext");
    lbl_codepage_hint_maintext =
        named<QLabel>("lbl_codepage_hint_maintext", QStringLiteral("(Internal code)"));
    btn_mainText_center = named<QPushButton>("btn_mainText_center", QStringLiteral("Center"));
    btn_TextSet = named<QPushButton>("btn_TextSet", QStringLiteral("Setting"));
    auto* text = new QGridLayout(grpText);
    text->setContentsMargins(10, 6, 10, 6);
    addColorRows(text, labTextTextColor, pnlColorTextText, labTextBgColoer, pnlColorBgText);
    text->addWidget(rbtnTextLine2, 0, 2);
    text->addWidget(rbtnTextLine4, 1, 2);
    int row = 2;
    for (QLineEdit* edit : mainTextEdits())
        text->addWidget(edit, row++, 0, 1, 3);
    text->addWidget(lbl_codepage_maintext, row, 0);
    text->addWidget(cbb_codepage_maintext, row++, 1, 1, 2);
    text->addWidget(lbl_codepage_hint_maintext, row++, 0, 1, 3);
    text->addLayout(rightAligned({btn_mainText_center, btn_TextSet}), row++, 0, 1, 3);
    text->setRowStretch(row, 1);
    text->setColumnStretch(2, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(grpHeader);
    left->addWidget(grpFooter);
    left->addLayout(brightness);
    left->addStretch(1);

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addLayout(left, 1);
    // The text group keeps its own height, whether it shows two main-text lines or four.
    page->addWidget(grpText, 1, Qt::AlignTop);
}

std::array<QLineEdit*, 4> TDisplaySetPanel::mainTextEdits() const {
    return {edtMianText1, edtMianText2, edtMianText3, edtMianText4};
}

void TDisplaySetPanel::wire() {
    const std::pair<QAbstractButton*, void (TDisplaySetPanel::*)()> buttons[] = {
        {btn_HeaderSet, &TDisplaySetPanel::btn_HeaderSetClick},
        {btn_TextSet, &TDisplaySetPanel::btn_TextSetClick},
        {btn_FooterSet, &TDisplaySetPanel::btn_FooterSetClick},
        {btn_brightness_set, &TDisplaySetPanel::btn_brightness_setClick},
        {btn_mainText_center, &TDisplaySetPanel::btn_mainText_centerClick},
        {rbtnTextLine2, &TDisplaySetPanel::rbtnTextLine2Click},
        {rbtnTextLine4, &TDisplaySetPanel::rbtnTextLine2Click},
    };
    // `clicked` comes from the operator (or click()), never from setChecked.
    for (const auto& [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this, handler);
    for (TColorPanel* panel : {pnlColorTextHeader, pnlColorBgHeader, pnlColorTextText,
                               pnlColorBgText, pnlColorTextFooter, pnlColorBgFooter})
        connect(panel, &TColorPanel::mousePressed, this,
                [this, panel] { pnlColorMouseDown(panel); });
}

void TDisplaySetPanel::readForm(TSettingsForm& form) const {
    form.pnlColorTextHeader = pnlColorTextHeader->color();
    form.pnlColorBgHeader = pnlColorBgHeader->color();
    form.rbtnHeaderText = rbtnHeaderText->isChecked();
    form.rbtnHeaderPicture = rbtnHeaderPicture->isChecked();
    form.pnlColorTextText = pnlColorTextText->color();
    form.pnlColorBgText = pnlColorBgText->color();
    form.rbtnTextLine2 = rbtnTextLine2->isChecked();
    form.rbtnTextLine4 = rbtnTextLine4->isChecked();
    const auto edits = mainTextEdits();
    for (std::size_t i = 0; i < edits.size(); ++i) {
        form.edtMianText[i] = TextOf(edits[i]);
        // isHidden, not isVisible: the window itself may not be on screen.
        form.edtMianTextVisible[i] = !edits[i]->isHidden();
    }
    form.cbb_codepage_maintext = cbb_codepage_maintext->currentIndex();
    form.pnlColorTextFooter = pnlColorTextFooter->color();
    form.pnlColorBgFooter = pnlColorBgFooter->color();
    form.rg_brightness = rg_brightness->itemIndex();
}

void TDisplaySetPanel::showForm(const TSettingsForm& form) {
    pnlColorTextHeader->setColor(form.pnlColorTextHeader);
    pnlColorBgHeader->setColor(form.pnlColorBgHeader);
    ShowRadioPair(rbtnHeaderText, form.rbtnHeaderText, rbtnHeaderPicture, form.rbtnHeaderPicture);
    pnlColorTextText->setColor(form.pnlColorTextText);
    pnlColorBgText->setColor(form.pnlColorBgText);
    ShowRadioPair(rbtnTextLine2, form.rbtnTextLine2, rbtnTextLine4, form.rbtnTextLine4);
    const auto edits = mainTextEdits();
    for (std::size_t i = 0; i < edits.size(); ++i) {
        ShowText(edits[i], form.edtMianText[i]);
        edits[i]->setVisible(form.edtMianTextVisible[i]);
    }
    cbb_codepage_maintext->setCurrentIndex(form.cbb_codepage_maintext);
    pnlColorTextFooter->setColor(form.pnlColorTextFooter);
    pnlColorBgFooter->setColor(form.pnlColorBgFooter);
    rg_brightness->setItemIndex(form.rg_brightness);
}

void TDisplaySetPanel::btn_HeaderSetClick() {
    RunSettingCommand(host_, tavisto::btn_HeaderSetClick);
}

void TDisplaySetPanel::btn_TextSetClick() {
    RunSettingCommand(host_, tavisto::btn_TextSetClick);
}

void TDisplaySetPanel::btn_FooterSetClick() {
    RunSettingCommand(host_, tavisto::btn_FooterSetClick);
}

void TDisplaySetPanel::btn_brightness_setClick() {
    RunSettingCommand(host_, tavisto::btn_brightness_setClick);
}

void TDisplaySetPanel::pnlColorMouseDown(TColorPanel* panel) {
    // The panel changes at once; the record only at the next collection of the form.
    if (host_.busy())
        return;
    if (const std::optional<QColor> color = host_.dialogs().chooseColor(host_.dialogParent()))
        panel->setColor(std::uint32_t(color->red()) | std::uint32_t(color->green()) << 8 |
                        std::uint32_t(color->blue()) << 16);
}

void TDisplaySetPanel::rbtnTextLine2Click() {
    host_.editForm([](TSettingsForm& form, TDisplayInfo&) { tavisto::rbtnTextLine2Click(form); });
}

void TDisplaySetPanel::btn_mainText_centerClick() {
    host_.editForm(
        [](TSettingsForm& form, TDisplayInfo&) { tavisto::btn_mainText_centerClick(form); });
}

} // namespace tavisto::ui
