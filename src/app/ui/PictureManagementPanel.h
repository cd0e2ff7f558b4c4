#pragma once

#include "app/pictures/PictureSlotContents.h"
#include "app/settings/SettingsForm.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tavisto::ui {

class TImageBox;
class TPanelHost;
class TUpDown;

// "Picture Management": the fourteen picture slots 73 to 86 with their check boxes
// and "-" / "+" buttons, the idle-play settings, and the progress bar that sits over
// the slot being sent.
class TPictureManagementPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPictureManagementPanel(TPanelHost& host, QWidget* parent = nullptr);

    void readForm(TSettingsForm& form) const;
    void showForm(const TSettingsForm& form);

    void CheckBox76Click();
    void chkSelectALLClick();
    // "-" of slot n: back to its default picture, unchecked, not flagged.
    void Button21Click(int slot);
    // "+" of slot n: the image conversion dialog at the slot's size for the connected
    // model; OK places the picture, flags and checks the slot.
    void Button22Click(int slot);
    // A click on the preview of slot 76..85: the display shows that picture.
    void cxImage76Click(int slot);
    void btn_DownloadPictrueClick();
    void btn_SetToPlayClick();

    // The pictures loaded with "+" and PicList; the transfer engine sends from here.
    const TPictureSlots& slotContents() const { return slots_; }
    // Every slot back to its default picture, unflagged (start-up).
    void ShowDefaultPictures();

    // The preview, check box, "-" and "+" of a slot 73..86 (null outside).
    TImageBox* slotImage(int slot) const;
    QCheckBox* slotCheckBox(int slot) const;
    QPushButton* slotButton(int number) const; // Button1..Button28
    // Slot 86 (the guest picture) and its controls.
    void SetGuestSlotVisible(bool visible);

    // The slot progress bar cxProgressBar2: reset with a maximum, follow the status
    // bar's, and sit over a slot's preview while that slot is sent.
    void resetSlotProgress(int maximum);
    void setSlotProgressMax(int value);
    void setSlotProgress(int value); // hidden once it reaches its maximum
    void showSlotProgress(int slot);
    void hideSlotProgress();

    QGroupBox* grp_pictureslots = nullptr;
    TImageBox *cxImage73 = nullptr, *cxImage74 = nullptr, *cxImage75 = nullptr,
              *cxImage76 = nullptr, *cxImage77 = nullptr, *cxImage78 = nullptr,
              *cxImage79 = nullptr, *cxImage80 = nullptr, *cxImage81 = nullptr,
              *cxImage82 = nullptr, *cxImage83 = nullptr, *cxImage84 = nullptr,
              *cxImage85 = nullptr, *cxImage86 = nullptr;
    QCheckBox *CheckBox73 = nullptr, *CheckBox74 = nullptr, *CheckBox75 = nullptr,
              *CheckBox76 = nullptr, *CheckBox77 = nullptr, *CheckBox78 = nullptr,
              *CheckBox79 = nullptr, *CheckBox80 = nullptr, *CheckBox81 = nullptr,
              *CheckBox82 = nullptr, *CheckBox83 = nullptr, *CheckBox84 = nullptr,
              *CheckBox85 = nullptr, *CheckBox86 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr,
                *Button5 = nullptr, *Button6 = nullptr, *Button7 = nullptr, *Button8 = nullptr,
                *Button9 = nullptr, *Button10 = nullptr, *Button11 = nullptr, *Button12 = nullptr,
                *Button13 = nullptr, *Button14 = nullptr, *Button15 = nullptr, *Button16 = nullptr,
                *Button17 = nullptr, *Button18 = nullptr, *Button19 = nullptr, *Button20 = nullptr,
                *Button21 = nullptr, *Button22 = nullptr, *Button23 = nullptr, *Button24 = nullptr,
                *Button25 = nullptr, *Button26 = nullptr, *Button27 = nullptr, *Button28 = nullptr;
    QProgressBar* cxProgressBar2 = nullptr;
    QCheckBox* chkSelectALL = nullptr;
    QLabel* lbl_selected = nullptr;
    QLabel* lbl_selected_nums = nullptr;
    QPushButton* btn_DownloadPictrue = nullptr;
    QGroupBox* grp_playsetting = nullptr;
    QLabel* lbl_standbytime = nullptr;
    QLineEdit* edt_StandbyTime = nullptr;
    TUpDown* ud_StandbyTime = nullptr;
    QLabel* lbl_standbytime_memo = nullptr;
    QLabel* lbl_playinteral = nullptr;
    QLineEdit* edt_PlayInterval = nullptr;
    TUpDown* ud_PlayInterval = nullptr;
    QLabel* lbl_playinterval_memo = nullptr;
    QPushButton* btn_SetToPlay = nullptr;

private:
    void buildSlots();
    void buildPlaySetting();
    void wire();
    void showDefaultPicture(int slot);
    // The check boxes of all fourteen slots, read and written together.
    TSlotChecks slotChecks() const;
    void setSlotChecks(const TSlotChecks& checks);

    TPanelHost& host_;
    TPictureSlots slots_;
    std::array<TImageBox*, kPictureSlotCount> slotImages_{};
    std::array<QCheckBox*, kPictureSlotCount> slotCheckBoxes_{};
    std::array<QPushButton*, 28> slotButtons_{};
};

} // namespace tavisto::ui
