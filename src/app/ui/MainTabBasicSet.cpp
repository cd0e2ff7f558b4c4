// "Basic Setting": welcome message, command set and the display's own baud rate.
#include "app/ui/Named.h"
#include "app/ui/TavistoMain.h"

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

void TfrmTavistoMain::buildBasicSetTab() {
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
    auto* welcomeButtons = new QHBoxLayout;
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

    auto* page = new QVBoxLayout(tsBasicSet);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(grp_WelcomeMessage);
    page->addLayout(lower);
    page->addStretch(1);
}

} // namespace tavisto::ui
