#include "sim/screen/ScreenLayout.h"

namespace tavisto::sim {

ScreenLayout layoutOf(int model) {
    ScreenLayout l;
    l.large = model >= 2;
    if (l.large) {
        l.width = 800;
        l.height = 480;
        l.header = {0, 0, 800, 80};
        l.headerLogo = {0, 0, 240, 80};
        l.headerPicture = {240, 0, 560, 80};
        l.footer = {0, 432, 800, 48};
        l.cellWidth = 40;
        l.cellHeight = 80;
        l.miniWidth = 24;
        l.miniHeight = 48;
    } else {
        l.width = 480;
        l.height = 272;
        l.header = {0, 0, 480, 40};
        l.headerLogo = {0, 0, 120, 40};
        l.headerPicture = {120, 0, 360, 40};
        l.footer = {0, 240, 480, 32};
        l.cellWidth = 24;
        l.cellHeight = 48;
        l.miniWidth = 16;
        l.miniHeight = 32;
    }
    l.main = {0, l.header.bottom(), l.width, l.footer.y - l.header.bottom()};
    return l;
}

} // namespace tavisto::sim
