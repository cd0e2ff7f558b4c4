#include "resources/EmbeddedResources.h"

#include <algorithm>

namespace tavisto {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace

std::optional<std::span<const std::uint8_t>>
FindResourceIn(std::span<const TEmbeddedResource> table, std::string_view name) {
    for (const TEmbeddedResource& resource : table) {
        if (SameNameIgnoringCase(resource.name, name))
            return resource.bytes;
    }
    return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> FindEmbeddedResource(std::string_view name) {
    return FindResourceIn(EmbeddedResources(), name);
}

std::optional<std::string_view> EmbeddedResourceView(std::string_view name) {
    const auto bytes = FindEmbeddedResource(name);
    if (!bytes)
        return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

std::optional<std::string> EmbeddedResourceBytes(std::string_view name) {
    if (const auto view = EmbeddedResourceView(name))
        return std::string(*view);
    return std::nullopt;
}

} // namespace tavisto
