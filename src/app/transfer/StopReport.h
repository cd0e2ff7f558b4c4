#pragma once

#include "app/transfer/TransferEngine.h"

#include <string>

namespace tavisto {

// The box after a queue the operator stopped: that the display is back at
// `baudRate`, how many of the queue's items were done (stored or failed), and which
// were not sent, the one it stopped in first.
std::string StoppedQueueText(const TTransferEngine& engine, int baudRate);

} // namespace tavisto
