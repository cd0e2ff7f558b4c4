#pragma once

#include <QLatin1String>
#include <utility>

namespace tavisto::ui {

// Creates a widget and gives it its object name, so that every control can be
// found by the name the workflows and the language table use.
template <class T, class... Args> T* named(const char* name, Args&&... args) {
    T* widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace tavisto::ui
