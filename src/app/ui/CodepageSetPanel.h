#pragma once

#include "app/settings/SettingsForm.h"

#include <QWidget>
#include <cstdint>

class QPushButton;

namespace tavisto::ui {

class TPanelHost;
class TRadioGroup;

// "CodePage Setting": the display's international character set and code page.
class TCodepageSetPanel : public QWidget {
    Q_OBJECT
public:
    explicit TCodepageSetPanel(TPanelHost& host, QWidget* parent = nullptr);

    void readForm(TSettingsForm& form) const;
    void showForm(const TSettingsForm& form);
    // Refills the character sets in the language of `langId`, keeping the selection.
    void showInterCharNames(std::uint16_t langId);

    void btn_DownloadCodePageClick();
    void rg_Down_CodePageClick();
    void rg_Down_InterCharClick();

    TRadioGroup* rg_Down_InterChar = nullptr;
    TRadioGroup* rg_Down_CodePage = nullptr;
    QPushButton* btn_DownloadCodePage = nullptr;

private:
    TPanelHost& host_;
};

} // namespace tavisto::ui
