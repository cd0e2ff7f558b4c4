#pragma once

#include <string>

namespace tavisto {

// An 8-bit string of arbitrary bytes (zero bytes allowed) that carries its own length.
// Frames, replies and texts already converted to a display code page are all Bytes.
using Bytes = std::string;

} // namespace tavisto
