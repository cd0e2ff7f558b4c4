#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <optional>

class QWidget;

namespace tavisto::ui {

// One file dialog as the code asks for it.
struct TFileDialog {
    bool save = false;    // a save dialog, else an open dialog
    QString folder;       // where it opens; empty leaves it to the toolkit
    QString proposedName; // the file name it proposes; may be empty
    // "Description|*.a;*.b|Description|*.c": description and patterns in turns.
    QString filter;
};

// Everything the windows ask of the desktop: file, colour and message dialogs. The
// main window and the image conversion dialog both go through it, so tests answer
// every dialog in one place and the image dialog opened from the main window shares
// the window's.
class TDesktopDialogs {
public:
    virtual ~TDesktopDialogs() = default;
    // The chosen path, or an empty text when the operator cancels.
    virtual QString chooseFile(QWidget* parent, const TFileDialog& dialog) = 0;
    // The chosen colour, or nothing when cancelled. The dialog opens on its own
    // default colour.
    virtual std::optional<QColor> chooseColor(QWidget* parent) = 0;
    // Presents a box prepared by PrepareMessageBox and returns the button pressed
    // (NoButton when it was closed without one).
    virtual QMessageBox::StandardButton showMessageBox(QMessageBox& box) = 0;
};

// The toolkit's own modal dialogs.
class TNativeDialogs final : public TDesktopDialogs {
public:
    QString chooseFile(QWidget* parent, const TFileDialog& dialog) override;
    std::optional<QColor> chooseColor(QWidget* parent) override;
    QMessageBox::StandardButton showMessageBox(QMessageBox& box) override;
};

// Sets up a box titled "Tavisto" with a plain text, an icon and either an OK button
// or Yes and No (Yes the default).
void PrepareMessageBox(QMessageBox& box, const QString& text, QMessageBox::Icon icon, bool yesNo);

// Shows an OK box through `dialogs`.
void ShowMessage(TDesktopDialogs& dialogs, QWidget* parent, QMessageBox::Icon icon,
                 const QString& text);

// A "Description|*.a;*.b|..." filter in Qt's name-filter form, "Description (*.a *.b);;...".
// The patterns come from the pattern part, which is what filters; a parenthesised list
// already in the description is replaced by them.
QString QtNameFilters(const QString& filter);

} // namespace tavisto::ui
