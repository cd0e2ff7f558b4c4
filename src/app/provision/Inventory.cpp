#include "app/provision/Inventory.h"

#include "app/provision/ProvisionOperator.h"
#include "protocol/Discovery.h"
#include "protocol/ModelTable.h"
#include "protocol/Session.h"

#include <cstdint>
#include <cstdio>

namespace tavisto::provision {

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
    link::PortHandle probe;
    const int code = OpenPort(connection, probe, port, kScanBaudRates.front());
    if (code != link::kOpenOk) {
        entry.error = OneLine(OpenCodeMessage(code, langId));
        return entry;
    }
    probe.reset();
    const ScanResult scan = ScanForDisplay(connection);
    if (scan.model < 0) {
        entry.error = OneLine(scan.message);
        return entry;
    }
    const DisplayModel* model = FindModel(scan.model);
    entry.model = std::string(model->name);
    entry.baud = connection.CurrentBaudRate;
    std::string message;
    if (ModelHasFirmwareCheck(model)) {
        // Asked again when a busy machine missed the answer: the query changes nothing.
        std::uint32_t version = 0;
        for (int attempt = 0; attempt < 3 && message != "OK"; ++attempt)
            version = LcdReadVersion(connection, message);
        if (message == "OK")
            entry.firmware = "V" + std::to_string(version);
        else
            entry.error = "firmware version: " + OneLine(message);
    }
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

} // namespace tavisto::provision
