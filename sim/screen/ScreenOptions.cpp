#include "sim/screen/ScreenOptions.h"

namespace tavisto::sim {

std::string screenUsageText() {
    return "Screen:\n"
           "  --screen FILE.png     keep a picture of the display's screen in FILE.png,\n"
           "                        rewritten (atomically) whenever the screen changes\n"
           "  --screen-every MS     rewrite it at most every MS milliseconds (default 200)\n";
}

} // namespace tavisto::sim
