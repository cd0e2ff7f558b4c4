#include "cli/Inventory.h"

#include "app/connect/IdentifyDisplay.h"
#include "cli/ProvisionOperator.h"
#include "protocol/ModelTable.h"
#include "protocol/Session.h"

#include <cstdint>
#include <cstdio>

namespace tavisto::cli {

std::string SettingsDigest(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

InventoryEntry TakeInventory(const std::string& port, link::PortOpener& opener, Clock& clock,
                             std::uint16_t langId) {
    InventoryEntry entry;
    entry.port = port;
    TConnection connection(opener, clock);
    connection.SystemLangId = langId;
    connection.CurrentPortName = port;
    ProvisionOperator notes;
    const TDisplayIdentity found = IdentifyDisplay(connection, notes, TIdentifyRequest{});
    if (found.failure == TIdentifyFailure::PortNotOpened) {
        entry.error = OneLine(OpenCodeMessage(found.openCode, langId));
        return entry;
    }
    if (!found.found()) {
        entry.error = OneLine(found.cause);
        return entry;
    }
    entry.model = std::string(found.model->name);
    entry.baud = connection.CurrentBaudRate;
    if (found.firmwareVersion)
        entry.firmware = "V" + std::to_string(*found.firmwareVersion);
    else if (ModelHasFirmwareCheck(found.model))
        entry.error = "firmware version: " + OneLine(found.versionCause);
    std::string message;
    std::string text;
    LcdGetConfiguration(connection, message, text);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    if (!text.empty())
        entry.settingsDigest = SettingsDigest(text);
    else if (entry.error.empty())
        entry.error = "settings text: " + OneLine(message);
    return entry;
}

} // namespace tavisto::cli
