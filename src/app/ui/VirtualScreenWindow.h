#pragma once

#include "app/ui/ScreenPicture.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class QComboBox;
class QMainWindow;
class QMenu;

namespace tavisto::ui {

// A window of its own showing the live screen of the virtual display the program
// runs (--simulate), scaled to fit with its proportions kept. It asks the display for
// its screen only while it is shown, a few times a second; the display draws only
// when something changed, so transfers run as fast with it open as closed. With
// `flags` Qt::Widget it is a part of another window (the preview's screen).
class TVirtualScreenWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 100;

    explicit TVirtualScreenWindow(TScreenSource source, QWidget* parent = nullptr,
                                  Qt::WindowFlags flags = Qt::Window);

    // The window's title in the interface's language.
    void SelectLanguage(bool chinese);

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

// The main window's "View" menu in the interface's language, made on first use.
QMenu* ViewMenu(QMainWindow& window, bool chinese);

// Gives the main window's "View" menu "Virtual display" (Ctrl+D), which presents
// `screen`; the entry and the window's title in the interface's language.
void AddVirtualDisplayMenu(QMainWindow& window, TVirtualScreenWindow& screen, bool chinese);

// Marks the port list's entry `port` as the virtual display's: the list shows the mark
// after the port's name, while the entry's text, which Connect opens, stays the name.
void MarkVirtualDisplayPort(QComboBox& ports, const QString& port, bool chinese);

} // namespace tavisto::ui
