#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace tavisto::ui {

class TPanelHost;

// "Download File": fonts, single items, storage format, and the window's log pane,
// which the panel shows but the window writes.
class TDownloadFilePanel : public QWidget {
    Q_OBJECT
public:
    TDownloadFilePanel(TPanelHost& host, QTextEdit* log, QWidget* parent = nullptr);

    QPushButton* btn_CharacterSetDownAll = nullptr;
    QComboBox* cbbCharset = nullptr;
    QPushButton* btn_CharacterSetSelectFile = nullptr;
    QLabel* pnlCharsetFilename = nullptr;
    QLineEdit* edt_addr = nullptr;
    QLineEdit* edt_filename = nullptr;
    QPushButton* btn_CharacterSetDownSingle = nullptr;
    QPushButton* btn_Format = nullptr;

    // An item chosen in the list: "Select File" for it, "Download" once a file is chosen.
    void cbbCharsetChange();
    void btn_CharacterSetSelectFileClick();
    // Sends the chosen file as the selected item; the engine reports the end.
    void btn_CharacterSetDownSingleClick();
    // Sends every built-in font image and the conversion table.
    void btn_CharacterSetDownAllClick();
    // Asks, then formats the display's storage.
    void btn_FormatClick();

private:
    TPanelHost& host_;
};

} // namespace tavisto::ui
