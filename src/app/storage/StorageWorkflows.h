#pragma once

#include "app/Operator.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

namespace tavisto {

// The version from which a display holds the Big5/GBK table in its firmware; an
// update of an older one sends the table before the firmware.
inline constexpr unsigned kTableInFirmwareVersion = 12;

// "Font Download" (btn_CharacterSetDownAllClick): prepares the link and queues every
// font row (1 to 76) and the conversion table (92) from the program's resources, for
// the resolution of model `model`. Rows a model does not take are logged as
// not supported by the engine. Returns true when the queue started; the engine ends
// it with the "Done!" box.
bool btn_CharacterSetDownAllClick(TConnection& connection, TOperator& op, const DisplayModel* model,
                                  TTransferRunner& runner);

// "Format" (btn_FormatClick): asks "Are you sure you want to format the storage?" and
// on Yes formats the display's storage. Returns true when the display was formatted;
// a failure shows the command's message in an error box.
bool btn_FormatClick(TConnection& connection, TOperator& op);

// "Update" (btn_updateClick): sends the firmware image this program carries for
// model `model` (and the conversion table to a display below version 12).
// A program that carries no image for the model says so and sends nothing, before
// asking anything. Returns true when the queue started.
bool btn_updateClick(TConnection& connection, TOperator& op, const DisplayModel* model,
                     TTransferRunner& runner);

// The error text for a program that carries no firmware image for `modelName`.
std::string NoFirmwareImageText(const std::string& modelName);

} // namespace tavisto
