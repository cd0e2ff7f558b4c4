#pragma once

#include "link/Clock.h"
#include "link/SerialPort.h"

namespace tavisto::ui {

class TfrmTavistoMain;

// Gives the main window a "Tools" menu with "Provision…", which opens the Provision
// dialog on the window's port list, its current settings and picture slots. The
// workers open ports through `opener` and wait on `clock` on their own threads.
void AddProvisionMenu(TfrmTavistoMain& window, link::PortOpener& opener, Clock& clock);

} // namespace tavisto::ui
