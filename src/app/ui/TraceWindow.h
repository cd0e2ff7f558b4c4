#pragma once

#include "link/Trace.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace tavisto::ui {

class TDesktopDialogs;

// A window of its own beside the main window that shows the protocol trace as a
// person reads it (time, direction, hex and printable characters, one frame a line)
// and saves it to a text file. It takes the trace's lines from the moment it is
// made, shown or not, so opening it shows what has happened so far. The oldest lines
// go once it holds kMaxLines.
class TTraceWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 20000;

    // `trace` must outlive the window.
    TTraceWindow(Trace& trace, TDesktopDialogs& dialogs, QWidget* parent = nullptr);
    ~TTraceWindow() override;

    // Shows the window, or brings it to the front when it is open already.
    void present();

    // The captions in Chinese or in English, as the main window's.
    void SelectLanguage(bool chinese);

    QPlainTextEdit* lines() const { return lines_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* clearButton() const { return clear_; }

private:
    void append(const QString& line);
    void saveClick();

    TDesktopDialogs& dialogs_;
    QPlainTextEdit* lines_;
    QPushButton* save_;
    QPushButton* clear_;
    QPushButton* close_;
    bool chinese_ = false;
    bool placed_ = false; // opened over the main window once
    // Last, so that it stops the trace's calls before the widgets go.
    Trace::Subscription subscription_;
};

} // namespace tavisto::ui
