#include "app/ui/ButtonRoom.h"

#include <QPushButton>
#include <QVariant>
#include <algorithm>

namespace tavisto::ui {

namespace {

constexpr int kButtonMinimumWidth = 96;
// Beyond the style's own margin, each side of the caption.
constexpr int kCaptionMargin = 8;
constexpr const char* kBuiltMinimumWidth = "tavistoBuiltMinimumWidth";

} // namespace

void GiveButtonsRoom(QWidget& root) {
    for (QPushButton* button : root.findChildren<QPushButton*>()) {
        if (button->maximumWidth() != QWIDGETSIZE_MAX)
            continue;
        // The width a panel asked for when it made the button, kept from the first
        // run, so that a later run follows a shorter caption back down.
        QVariant built = button->property(kBuiltMinimumWidth);
        if (!built.isValid()) {
            built = button->minimumWidth();
            button->setProperty(kBuiltMinimumWidth, built);
        }
        // The size hint follows the caption alone, whatever minimum is set.
        const int captionWidth = button->sizeHint().width() + 2 * kCaptionMargin;
        button->setMinimumWidth(std::max({built.toInt(), kButtonMinimumWidth, captionWidth}));
    }
}

} // namespace tavisto::ui
