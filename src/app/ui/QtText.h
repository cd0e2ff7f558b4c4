#pragma once

#include <QString>
#include <string>

namespace tavisto::ui {

// The core's texts are UTF-8; the widgets take QString.
inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace tavisto::ui
