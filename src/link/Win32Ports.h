#pragma once

#include <string>
#include <vector>
#include <windows.h>

namespace tavisto {

// Lists the port names held as the values of a registry key, as EnumPorts does with
// HKEY_LOCAL_MACHINE "HARDWARE\DEVICEMAP\SERIALCOMM": sorted case-insensitively, the
// list left as it was and "Error opening registry key for serial port list" when the
// key cannot be opened or read.
bool EnumPortsInKey(HKEY root, const std::wstring& subKey, std::vector<std::string>& list,
                    std::string& message);

} // namespace tavisto
