#include "app/ui/ParentConsole.h"

namespace tavisto::ui {

void UseParentConsole() {}

} // namespace tavisto::ui
