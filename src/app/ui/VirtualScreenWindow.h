#pragma once

#include "app/ui/ScreenPicture.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class QMainWindow;

namespace tavisto::ui {

// A window of its own showing the live screen of the virtual display the program
// runs (--simulate), scaled to fit with its proportions kept. It asks the display for
// its screen only while it is shown, a few times a second; the display draws only
// when something changed, so transfers run as fast with it open as closed.
class TVirtualScreenWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 100;

    explicit TVirtualScreenWindow(TScreenSource source, QWidget* parent = nullptr);

    // Shows the window, or brings it to the front when it is open already.
    void present();
    // Takes a new picture from the display if its screen changed; true when it did.
    bool refresh();

    const QImage& picture() const { return picture_; }
    // Where the picture is drawn in the window's current size.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TScreenSource source_;
    TScreenPicture screen_;
    QImage picture_;
    QTimer timer_;
};

// Gives the main window a "View" menu with "Virtual display" (Ctrl+D), which
// presents `screen`.
void AddVirtualDisplayMenu(QMainWindow& window, TVirtualScreenWindow& screen);

} // namespace tavisto::ui
