#include "app/ui/BasicSetPanel.h"

#include "app/settings/FormEditing.h"
#include "app/settings/SettingCommands.h"
#include "app/ui/FormBinding.h"
#include "app/ui/ListFill.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "app/ui/TypingLimit.h"

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

TBasicSetPanel::TBasicSetPanel(TPanelHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsBasicSet"));
    build();
    FillList(cbb_down_BaudRate, SetBaudRates,
             [](const TBaudRates& row) { return row.BaudRateName; });
    FillList(cbb_down_CommandMode, CommandModes,
             [](const TCommandModes& row) { return row.CommandName; });
    cbb_CodePage->addItems(CodePageListTexts());
    cbb_CodePage->setCurrentIndex(-1);
    // Line 1 scrolls never; its box stays hidden but still decides bit 0 of temp2.
    chk_Scroll1->hide();
    LimitTyping(edt_line1, kWelcomeLine1Width);
    LimitTyping(edt_line2, kWelcomeLine2Width);
    wire();
}

void TBasicSetPanel::build() {
    grp_WelcomeMessage = named<QGroupBox>("grp_WelcomeMessage", QStringLiteral("Welcome Message"));
    lab_Line1 = named<QLabel>("lab_Line1", QStringLiteral("Line 1:"));
    edt_line1 = named<QLineEdit>("edt_line1");
    lbl_mess1_count = named<QLabel>("lbl_mess1_count", QStringLiteral("0"));
    chk_Scroll1 = named<QCheckBox>("chk_Scroll1", QStringLiteral("Scroll"));
    lab_Line2 = named<QLabel>("lab_Line2", QStringLiteral("Line 2:"));
    edt_line2 = named<QLineEdit>("edt_line2");
    lbl_mess2_count = named<QLabel>("lbl_mess2_count", QStringLiteral("0"));
    chk_Scroll2 = named<QCheckBox>("chk_Scroll2", QStringLiteral("Scroll"));
    lbl_codepage_welmsg = named<QLabel>("lbl_codepage_welmsg", QStringLiteral("Code Page:"));
    cbb_CodePage = named<QComboBox>("cbb_CodePage");
    cbb_CodePage->setMinimumWidth(150);
    lbl_codepage_hint_welmsg =
        named<QLabel>("lbl_codepage_hint_welmsg", QStringLiteral("(Internal code)"));
    btn_welText_center = named<QPushButton>("btn_welText_center", QStringLiteral("Center"));
    btn_DownloadSetting = named<QPushButton>("btn_DownloadSetting", QStringLiteral("Setting"));
    for (QLabel* count : {lbl_mess1_count, lbl_mess2_count})
        count->setMinimumWidth(24);

    auto* welcome = new QGridLayout(grp_WelcomeMessage);
    welcome->setContentsMargins(10, 8, 10, 8);
    welcome->setHorizontalSpacing(8);
    welcome->addWidget(lab_Line1, 0, 0);
    welcome->addWidget(edt_line1, 0, 1, 1, 3);
    welcome->addWidget(lbl_mess1_count, 0, 4);
    welcome->addWidget(chk_Scroll1, 0, 5);
    welcome->addWidget(lab_Line2, 1, 0);
    welcome->addWidget(edt_line2, 1, 1, 1, 3);
    welcome->addWidget(lbl_mess2_count, 1, 4);
    welcome->addWidget(chk_Scroll2, 1, 5);
    welcome->addWidget(lbl_codepage_welmsg, 2, 0);
    welcome->addWidget(cbb_CodePage, 2, 1);
    welcome->addWidget(lbl_codepage_hint_welmsg, 2, 2, 1, 2);
    // A grid's spacing does not reach a row of buttons inside it: set the row's own.
    auto* welcomeButtons = new QHBoxLayout;
    welcomeButtons->setSpacing(8);
    welcomeButtons->addStretch(1);
    welcomeButtons->addWidget(btn_welText_center);
    welcomeButtons->addWidget(btn_DownloadSetting);
    welcome->addLayout(welcomeButtons, 3, 0, 1, 6);
    welcome->setColumnStretch(3, 1);

    grp_commandSet = named<QGroupBox>("grp_commandSet", QStringLiteral("Command Set"));
    lab_commandmode = named<QLabel>("lab_commandmode", QStringLiteral("Command Mode:"));
    cbb_down_CommandMode = named<QComboBox>("cbb_down_CommandMode");
    cbb_down_CommandMode->setMinimumWidth(160);
    btn_commandSet = named<QPushButton>("btn_commandSet", QStringLiteral("Setting"));
    auto* command = new QHBoxLayout(grp_commandSet);
    command->setContentsMargins(10, 8, 10, 8);
    command->addWidget(lab_commandmode);
    command->addWidget(cbb_down_CommandMode, 1);
    command->addWidget(btn_commandSet);

    grp_baudrateSet = named<QGroupBox>("grp_baudrateSet", QStringLiteral("Baudrate Set"));
    lab_Set_BaudRate = named<QLabel>("lab_Set_BaudRate", QStringLiteral("Baud Rate:"));
    cbb_down_BaudRate = named<QComboBox>("cbb_down_BaudRate");
    cbb_down_BaudRate->setMinimumWidth(110);
    btn_baudrateSet = named<QPushButton>("btn_baudrateSet", QStringLiteral("Setting"));
    auto* baud = new QHBoxLayout(grp_baudrateSet);
    baud->setContentsMargins(10, 8, 10, 8);
    baud->addWidget(lab_Set_BaudRate);
    baud->addWidget(cbb_down_BaudRate, 1);
    baud->addWidget(btn_baudrateSet);

    auto* lower = new QHBoxLayout;
    lower->addWidget(grp_commandSet, 1);
    lower->addWidget(grp_baudrateSet, 1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(grp_WelcomeMessage);
    page->addLayout(lower);
    page->addStretch(1);
}

void TBasicSetPanel::wire() {
    connect(btn_commandSet, &QPushButton::clicked, this, &TBasicSetPanel::btn_commandSetClick);
    connect(btn_baudrateSet, &QPushButton::clicked, this, &TBasicSetPanel::btn_baudrateSetClick);
    connect(btn_DownloadSetting, &QPushButton::clicked, this,
            &TBasicSetPanel::btn_DownloadSettingClick);
    connect(btn_welText_center, &QPushButton::clicked, this,
            &TBasicSetPanel::btn_welText_centerClick);
    // Typing only, not setText; picks only, not setCurrentIndex.
    connect(edt_line1, &QLineEdit::textEdited, this, &TBasicSetPanel::edt_line1Change);
    connect(edt_line2, &QLineEdit::textEdited, this, &TBasicSetPanel::edt_line2Change);
    connect(cbb_CodePage, &QComboBox::activated, this, &TBasicSetPanel::cbb_CodePageClick);
}

void TBasicSetPanel::readForm(TSettingsForm& form) const {
    form.edt_line1 = TextOf(edt_line1);
    form.edt_line2 = TextOf(edt_line2);
    form.lbl_mess1_count = CountOf(lbl_mess1_count);
    form.lbl_mess2_count = CountOf(lbl_mess2_count);
    form.chk_Scroll1 = chk_Scroll1->isChecked();
    form.chk_Scroll2 = chk_Scroll2->isChecked();
    form.cbb_CodePage = cbb_CodePage->currentIndex();
    form.cbb_down_CommandMode = cbb_down_CommandMode->currentIndex();
    form.cbb_down_BaudRate = cbb_down_BaudRate->currentIndex();
}

void TBasicSetPanel::showForm(const TSettingsForm& form) {
    ShowText(edt_line1, form.edt_line1);
    ShowText(edt_line2, form.edt_line2);
    ShowCount(lbl_mess1_count, form.lbl_mess1_count);
    ShowCount(lbl_mess2_count, form.lbl_mess2_count);
    chk_Scroll1->setChecked(form.chk_Scroll1);
    chk_Scroll2->setChecked(form.chk_Scroll2);
    cbb_CodePage->setCurrentIndex(form.cbb_CodePage);
    cbb_down_CommandMode->setCurrentIndex(form.cbb_down_CommandMode);
    cbb_down_BaudRate->setCurrentIndex(form.cbb_down_BaudRate);
}

void TBasicSetPanel::btn_commandSetClick() {
    RunSettingCommand(host_, tavisto::btn_commandSetClick);
}

void TBasicSetPanel::btn_baudrateSetClick() {
    // The form carries the connection list's row; the workflow moves it and the
    // connection speed together.
    RunSettingCommand(host_, tavisto::btn_baudrateSetClick);
}

void TBasicSetPanel::btn_DownloadSettingClick() {
    RunSettingCommand(host_, tavisto::btn_DownloadSettingClick);
}

void TBasicSetPanel::edt_line1Change() {
    host_.editForm([](TSettingsForm& form, TDisplayInfo&) { tavisto::edt_line1Change(form); });
}

void TBasicSetPanel::edt_line2Change() {
    host_.editForm([](TSettingsForm& form, TDisplayInfo&) { tavisto::edt_line2Change(form); });
}

void TBasicSetPanel::btn_welText_centerClick() {
    host_.editForm(
        [](TSettingsForm& form, TDisplayInfo&) { tavisto::btn_welText_centerClick(form); });
}

void TBasicSetPanel::cbb_CodePageClick() {
    host_.editForm([](TSettingsForm& form, TDisplayInfo&) { tavisto::cbb_CodePageClick(form); });
}

} // namespace tavisto::ui
