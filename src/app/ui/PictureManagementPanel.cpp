#include "app/ui/PictureManagementPanel.h"

#include "app/pictures/PictureDownload.h"
#include "app/pictures/PlaySetting.h"
#include "app/settings/FormEditing.h"
#include "app/ui/FormBinding.h"
#include "app/ui/ImageBox.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "app/ui/UpDown.h"
#include "pictures/ui/BitmapImage.h"
#include "pictures/ui/ImageConvert.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "resources/EmbeddedResources.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavisto::ui {

namespace {

constexpr int kSlotColumns = 7;

bool isPlaySlot(int slot) {
    return slot >= 76 && slot <= 85;
}

} // namespace

TPictureManagementPanel::TPictureManagementPanel(TPanelHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsPictureManagement"));
    buildSlots();
    buildPlaySetting();
    wire();
}

void TPictureManagementPanel::buildSlots() {
    TImageBox** images[] = {&cxImage73, &cxImage74, &cxImage75, &cxImage76, &cxImage77,
                            &cxImage78, &cxImage79, &cxImage80, &cxImage81, &cxImage82,
                            &cxImage83, &cxImage84, &cxImage85, &cxImage86};
    QCheckBox** checks[] = {&CheckBox73, &CheckBox74, &CheckBox75, &CheckBox76, &CheckBox77,
                            &CheckBox78, &CheckBox79, &CheckBox80, &CheckBox81, &CheckBox82,
                            &CheckBox83, &CheckBox84, &CheckBox85, &CheckBox86};
    QPushButton** buttons[] = {&Button1,  &Button2,  &Button3,  &Button4,  &Button5,  &Button6,
                               &Button7,  &Button8,  &Button9,  &Button10, &Button11, &Button12,
                               &Button13, &Button14, &Button15, &Button16, &Button17, &Button18,
                               &Button19, &Button20, &Button21, &Button22, &Button23, &Button24,
                               &Button25, &Button26, &Button27, &Button28};

    grp_pictureslots = named<QGroupBox>("grp_pictureslots");
    auto* grid = new QGridLayout(grp_pictureslots);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);

    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot) {
        const int i = slot - kFirstPictureSlot;
        const QString number = QString::number(slot);
        // The job that sends the slot names its role ("Logo_Start", "Picture_1", ...).
        const QString role = QString::fromLatin1(DownFileAt(PositionOfSlot(slot)).Name);

        auto* image = new TImageBox;
        image->setObjectName(QStringLiteral("cxImage") + number);
        image->setFixedSize(104, 64);
        image->setToolTip(role);
        image->setProperty("Tag", slot);
        auto* check = new QCheckBox;
        check->setObjectName(QStringLiteral("CheckBox") + number);
        check->setProperty("Tag", slot);
        check->setToolTip(role);
        const int minus = MinusButtonOfSlot(slot);
        auto* minusButton = new QPushButton(QStringLiteral("-"));
        auto* plusButton = new QPushButton(QStringLiteral("+"));
        minusButton->setObjectName(QStringLiteral("Button%1").arg(minus));
        plusButton->setObjectName(QStringLiteral("Button%1").arg(minus + 1));
        for (QPushButton* button : {minusButton, plusButton}) {
            button->setFixedSize(32, 24);
            button->setProperty("Tag", slot);
        }

        *images[i] = image;
        *checks[i] = check;
        *buttons[minus - 1] = minusButton;
        *buttons[minus] = plusButton;
        slotImages_[i] = image;
        slotCheckBoxes_[i] = check;
        slotButtons_[minus - 1] = minusButton;
        slotButtons_[minus] = plusButton;

        auto* controls = new QHBoxLayout;
        controls->setSpacing(4);
        controls->addWidget(check);
        controls->addStretch(1);
        controls->addWidget(minusButton);
        controls->addWidget(plusButton);
        auto* cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(image);
        cell->addLayout(controls);
        grid->addLayout(cell, i / kSlotColumns, i % kSlotColumns);
    }
    // Hidden until Connect finds a model that has the fourteenth slot.
    SetGuestSlotVisible(false);

    // Shown over the preview of the slot being sent.
    cxProgressBar2 = named<QProgressBar>("cxProgressBar2", grp_pictureslots);
    cxProgressBar2->setTextVisible(false);
    cxProgressBar2->hide();
}

void TPictureManagementPanel::buildPlaySetting() {
    grp_playsetting = named<QGroupBox>("grp_playsetting", QStringLiteral("Play Setting"));
    lbl_standbytime = named<QLabel>("lbl_standbytime", QStringLiteral("Standby time:"));
    ud_StandbyTime = named<TUpDown>("ud_StandbyTime", 0, 120, 30);
    edt_StandbyTime = ud_StandbyTime->edit();
    edt_StandbyTime->setObjectName(QStringLiteral("edt_StandbyTime"));
    lbl_standbytime_memo =
        named<QLabel>("lbl_standbytime_memo", QStringLiteral("(0~120s,0:Not Play)"));
    lbl_playinteral = named<QLabel>("lbl_playinteral", QStringLiteral("Play interval:"));
    ud_PlayInterval = named<TUpDown>("ud_PlayInterval", 1, 10, 2);
    edt_PlayInterval = ud_PlayInterval->edit();
    edt_PlayInterval->setObjectName(QStringLiteral("edt_PlayInterval"));
    lbl_playinterval_memo = named<QLabel>("lbl_playinterval_memo", QStringLiteral("(1~10s)"));
    btn_SetToPlay = named<QPushButton>("btn_SetToPlay", QStringLiteral("Setting"));
    for (TUpDown* box : {ud_StandbyTime, ud_PlayInterval})
        box->setMinimumWidth(70);
    auto* play = new QGridLayout(grp_playsetting);
    play->setContentsMargins(10, 6, 10, 6);
    play->addWidget(lbl_standbytime, 0, 0);
    play->addWidget(ud_StandbyTime, 0, 1);
    play->addWidget(lbl_standbytime_memo, 0, 2);
    play->addWidget(lbl_playinteral, 1, 0);
    play->addWidget(ud_PlayInterval, 1, 1);
    play->addWidget(lbl_playinterval_memo, 1, 2);
    play->addWidget(btn_SetToPlay, 0, 3, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    play->setColumnStretch(2, 1);

    chkSelectALL = named<QCheckBox>("chkSelectALL", QStringLiteral("Select All"));
    lbl_selected = named<QLabel>("lbl_selected", QStringLiteral("Selected:"));
    lbl_selected_nums = named<QLabel>("lbl_selected_nums", QStringLiteral("0"));
    btn_DownloadPictrue = named<QPushButton>("btn_DownloadPictrue", QStringLiteral("Download"));
    btn_DownloadPictrue->setMinimumSize(110, 32);
    auto* selection = new QGridLayout;
    selection->addWidget(chkSelectALL, 0, 0, 1, 2);
    selection->addWidget(lbl_selected, 1, 0);
    selection->addWidget(lbl_selected_nums, 1, 1);
    selection->addWidget(btn_DownloadPictrue, 2, 0, 1, 2);
    selection->setColumnStretch(1, 1);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(16);
    lower->addWidget(grp_playsetting, 1);
    lower->addLayout(selection);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addWidget(grp_pictureslots);
    page->addLayout(lower);
    page->addStretch(1);
}

void TPictureManagementPanel::wire() {
    connect(chkSelectALL, &QCheckBox::clicked, this, &TPictureManagementPanel::chkSelectALLClick);
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot) {
        const int minus = MinusButtonOfSlot(slot);
        connect(slotButton(minus), &QPushButton::clicked, this,
                [this, slot] { Button21Click(slot); });
        connect(slotButton(minus + 1), &QPushButton::clicked, this,
                [this, slot] { Button22Click(slot); });
        if (!isPlaySlot(slot))
            continue;
        connect(slotCheckBox(slot), &QCheckBox::clicked, this,
                &TPictureManagementPanel::CheckBox76Click);
        connect(slotImage(slot), &TImageBox::clicked, this, [this, slot] { cxImage76Click(slot); });
    }
    connect(btn_DownloadPictrue, &QPushButton::clicked, this,
            &TPictureManagementPanel::btn_DownloadPictrueClick);
    connect(btn_SetToPlay, &QPushButton::clicked, this,
            &TPictureManagementPanel::btn_SetToPlayClick);
}

void TPictureManagementPanel::readForm(TSettingsForm& form) const {
    for (std::size_t k = 0; k < form.CheckBox76to85.size(); ++k)
        form.CheckBox76to85[k] = slotCheckBox(76 + static_cast<int>(k))->isChecked();
    form.lbl_selected_nums = CountOf(lbl_selected_nums);
    form.ud_StandbyTime = ud_StandbyTime->value();
    form.ud_PlayInterval = ud_PlayInterval->value();
}

void TPictureManagementPanel::showForm(const TSettingsForm& form) {
    for (std::size_t k = 0; k < form.CheckBox76to85.size(); ++k)
        slotCheckBox(76 + static_cast<int>(k))->setChecked(form.CheckBox76to85[k]);
    ShowCount(lbl_selected_nums, form.lbl_selected_nums);
    ud_StandbyTime->setValue(form.ud_StandbyTime);
    ud_PlayInterval->setValue(form.ud_PlayInterval);
}

void TPictureManagementPanel::CheckBox76Click() {
    host_.editForm(
        [](TSettingsForm& form, TDisplayInfo& info) { tavisto::CheckBox76Click(form, info); });
}

void TPictureManagementPanel::chkSelectALLClick() {
    if (host_.busy())
        return;
    const bool all = chkSelectALL->isChecked();
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot)
        slotCheckBox(slot)->setChecked(all);
    // Boxes 76 to 85 are the play selection: the record and "Selected:" follow.
    CheckBox76Click();
}

void TPictureManagementPanel::showDefaultPicture(int slot) {
    QImage picture;
    if (const auto bytes = FindEmbeddedResource("img" + std::to_string(slot)))
        picture.loadFromData(bytes->data(), static_cast<int>(bytes->size()), "JPG");
    slotImage(slot)->setPicture(picture);
}

void TPictureManagementPanel::ShowDefaultPictures() {
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot) {
        slots_.revert(slot);
        showDefaultPicture(slot);
    }
}

void TPictureManagementPanel::Button21Click(int slot) {
    if (host_.busy())
        return;
    slotImage(slot)->clearPicture();
    slotCheckBox(slot)->setChecked(false);
    if (isPlaySlot(slot))
        CheckBox76Click();
    slots_.revert(slot);
    showDefaultPicture(slot);
}

void TPictureManagementPanel::Button22Click(int slot) {
    const DisplayModel* model = FindModel(host_.displayModel());
    if (host_.busy() || !model)
        return;
    const auto size = SlotPictureSize(*model, slot);
    if (!size)
        return; // the guest slot's buttons are hidden on models without it
    Bitmap picture(size->width, size->height);
    if (!OpenImageConvert(host_.dialogParent(), slot, picture, &host_.dialogs()))
        return;
    slotImage(slot)->setPicture(BitmapToQImage(picture));
    slots_.place(slot, std::move(picture));
    slotCheckBox(slot)->setChecked(true);
    if (isPlaySlot(slot))
        CheckBox76Click();
}

void TPictureManagementPanel::cxImage76Click(int slot) {
    host_.runOnForm([this, slot](TSettingsForm&, TDisplayInfo&) {
        tavisto::cxImage76Click(host_.connection(), host_.operatorView(), slot);
    });
}

void TPictureManagementPanel::btn_SetToPlayClick() {
    RunSettingCommand(host_, tavisto::btn_SetToPlayClick);
}

void TPictureManagementPanel::btn_DownloadPictrueClick() {
    if (host_.busy())
        return;
    host_.editForm([](TSettingsForm& form, TDisplayInfo& info) { CollectSettings(form, info); });
    TSlotChecks checks = slotChecks();
    tavisto::btn_DownloadPictrueClick(host_.connection(), host_.operatorView(),
                                      FindModel(host_.displayModel()), host_.transferRunner(),
                                      slots_, checks);
    // Boxes of slots that had nothing to send may have been unchecked.
    if (checks != slotChecks()) {
        setSlotChecks(checks);
        CheckBox76Click();
    }
}

TSlotChecks TPictureManagementPanel::slotChecks() const {
    TSlotChecks checks{};
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot)
        checks[SlotIndex(slot)] = slotCheckBox(slot)->isChecked();
    return checks;
}

void TPictureManagementPanel::setSlotChecks(const TSlotChecks& checks) {
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot)
        slotCheckBox(slot)->setChecked(checks[SlotIndex(slot)]);
}

TImageBox* TPictureManagementPanel::slotImage(int slot) const {
    return slot >= kFirstPictureSlot && slot <= kLastPictureSlot
               ? slotImages_[slot - kFirstPictureSlot]
               : nullptr;
}

QCheckBox* TPictureManagementPanel::slotCheckBox(int slot) const {
    return slot >= kFirstPictureSlot && slot <= kLastPictureSlot
               ? slotCheckBoxes_[slot - kFirstPictureSlot]
               : nullptr;
}

QPushButton* TPictureManagementPanel::slotButton(int number) const {
    return number >= 1 && number <= 28 ? slotButtons_[number - 1] : nullptr;
}

void TPictureManagementPanel::SetGuestSlotVisible(bool visible) {
    for (QWidget* part : std::initializer_list<QWidget*>{cxImage86, CheckBox86, Button27, Button28})
        part->setVisible(visible);
}

void TPictureManagementPanel::resetSlotProgress(int maximum) {
    cxProgressBar2->setMaximum(maximum);
    cxProgressBar2->setValue(0);
}

void TPictureManagementPanel::setSlotProgressMax(int value) {
    cxProgressBar2->setMaximum(value);
}

void TPictureManagementPanel::setSlotProgress(int value) {
    cxProgressBar2->setValue(value);
    if (cxProgressBar2->value() >= cxProgressBar2->maximum())
        cxProgressBar2->hide();
}

void TPictureManagementPanel::showSlotProgress(int slot) {
    TImageBox* image = slotImage(slot);
    if (!image)
        return;
    const QPoint topLeft = image->mapTo(cxProgressBar2->parentWidget(), QPoint(0, 0));
    cxProgressBar2->setGeometry(QRect(topLeft, image->size()));
    cxProgressBar2->raise();
    cxProgressBar2->show();
}

void TPictureManagementPanel::hideSlotProgress() {
    cxProgressBar2->setValue(0);
    cxProgressBar2->hide();
}

} // namespace tavisto::ui
