#pragma once

#include "pictures/Bitmap.h"
#include "pictures/PictureConvert.h"

#include <QDialog>
#include <QMessageBox>
#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QScrollArea;

namespace tavisto {

namespace ui {
class TDesktopDialogs;
}
class PreviewImage;
class SelectionFrame;

// The image conversion dialog: opens a PNG, JPEG or BMP picture, scales a large one
// down until one side fits the target, lets the operator drag a frame of the target's
// size over it, and returns (OK) or saves (Save) the part under the frame.
class TfrmImageConvert : public QDialog {
    Q_OBJECT

public:
    static const char* const kOpenFilter;
    static const char* const kSaveFilter;

    // `dialogs` answers the file dialogs and shows messages; null uses the native ones.
    explicit TfrmImageConvert(QWidget* owner, ui::TDesktopDialogs* dialogs = nullptr);
    ~TfrmImageConvert() override;

    // Takes the target size and slot number, creates the result bitmap and clears FbOK.
    void SetTarget(int pictureNo, int width, int height);

    void FormShow();
    void actOpenExecute();
    void actEnterExecute();
    void actSaveExecute();
    void actEscExecute();
    // Moves the frame back onto the picture view.
    void ClampSelection();

    bool HasPicture() const { return picture_ != nullptr; }
    // The target-sized bitmap of the part under the frame; requires a picture.
    Bitmap BuildResultBitmap() const;

    Bitmap fBitmap;
    int nWidth = 0;
    int nHeigth = 0;
    int fPictureNo = 0;
    bool FbOK = false;

    QScrollArea* ScrollBox1;
    QWidget* Panel1;
    PreviewImage* Image1;
    SelectionFrame* panSelect;
    QLabel* Panel4;
    QPushButton* btnOpen;
    QPushButton* btnOK;
    QPushButton* btnSave;
    QAction* actOpen;
    QAction* actEnter;
    QAction* actSave;
    QAction* actEsc;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreInPanel();
    void showMessage(QMessageBox::Icon icon, const QString& text);

    std::unique_ptr<ui::TDesktopDialogs> nativeDialogs_;
    ui::TDesktopDialogs* dialogs_;
    std::shared_ptr<const OpenedPicture> picture_;
    bool shownOnce_ = false;
};

// Shows the dialog modally for a target of `target`'s size. On OK, `target` receives
// the converted picture and the result is true; otherwise `target` is left unchanged.
// The main window passes its own dialogs, so its tests answer this dialog's too.
bool OpenImageConvert(QWidget* owner, int pictureNo, Bitmap& target,
                      ui::TDesktopDialogs* dialogs = nullptr);

} // namespace tavisto
