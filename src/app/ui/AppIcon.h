#pragma once

#include <QIcon>

namespace tavisto::ui {

// The application icon: the desktop theme's "tavisto" when the icon theme knows it
// (installed under /usr or /usr/local), else the PNG sizes installed beside the
// program (PREFIX/share/icons/hicolor/NxN/apps/tavisto.png for PREFIX/bin/tavisto),
// so an install under any prefix shows it. Null when neither is there (a build tree).
QIcon ApplicationIcon();

} // namespace tavisto::ui
