#pragma once

#include "app/ui/ScreenPicture.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;

namespace tavisto::ui {

class TVirtualScreenWindow;
class TfrmTavistoMain;

// Draws the screen of the current form on a display of a model (0..6): fills `picture`
// and returns true when it differs from the last one handed out.
using TPreviewSource = std::function<bool(int model, TScreenPicture& picture)>;

// A window beside the main window showing the screen a display will show once the
// form is sent, redrawn as the form changes. Its model list picks the panel before
// Connect and follows the model each Connect finds (`connectedModel`, -1 for none).
class TPreviewWindow : public QWidget {
    Q_OBJECT
public:
    TPreviewWindow(TPreviewSource source, std::function<int()> connectedModel, bool chinese,
                   QWidget* parent = nullptr);

    // Shows the window beside its parent, or brings it to the front when it is open.
    void present();

    // The model whose screen is shown.
    int model() const;
    QComboBox* modelList() const { return modelList_; }
    TVirtualScreenWindow& screen() const { return *screen_; }

private:
    bool draw(TScreenPicture& picture);

    TPreviewSource source_;
    std::function<int()> connectedModel_;
    int followed_ = -1; // the connected model last seen
    bool placed_ = false;
    QLabel* modelLabel_ = nullptr;
    QComboBox* modelList_ = nullptr;
    TVirtualScreenWindow* screen_ = nullptr;
};

// Gives the main window's "View" menu "Preview" (Ctrl+P): a preview window of the
// window's own form, settings record and picture slots, drawn with the virtual
// display's screen drawing. Returns the preview window, which the main window owns.
TPreviewWindow* AddPreviewMenu(TfrmTavistoMain& window);

} // namespace tavisto::ui
