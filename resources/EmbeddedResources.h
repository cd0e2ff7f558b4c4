#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavisto {

// One named binary resource built into the program: font images, the Big5/GBK
// conversion table, a firmware image, the default slot pictures.
struct TEmbeddedResource {
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

// The resource called `name` in `table`, compared without regard to letter case
// (ASCII), or nothing.
std::optional<std::span<const std::uint8_t>>
FindResourceIn(std::span<const TEmbeddedResource> table, std::string_view name);

// Every resource this program carries, in the order the build registered them.
std::span<const TEmbeddedResource> EmbeddedResources();

// The resource of this program called `name` (any letter case), or nothing.
std::optional<std::span<const std::uint8_t>> FindEmbeddedResource(std::string_view name);

// As FindEmbeddedResource, as a view of its bytes as 8-bit characters (no copy).
std::optional<std::string_view> EmbeddedResourceView(std::string_view name);

// As FindEmbeddedResource, as a copy of its bytes in the 8-bit string the protocol uses.
std::optional<std::string> EmbeddedResourceBytes(std::string_view name);

} // namespace tavisto
