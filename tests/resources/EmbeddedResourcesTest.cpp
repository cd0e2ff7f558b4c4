#include "resources/EmbeddedResources.h"

#include <array>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tavisto {
namespace {

constexpr std::array<std::uint8_t, 3> kFirst{1, 2, 3};
constexpr std::array<std::uint8_t, 1> kSecond{9};
constexpr std::array<TEmbeddedResource, 2> kTable{{
    {"CP437_480X272", kFirst},
    {"img73", kSecond},
}};

TEST(EmbeddedResources, NamesMatchInAnyLetterCaseButOnlyWhole) {
    for (const char* name : {"CP437_480X272", "cp437_480x272", "Cp437_480x272"}) {
        const auto found = FindResourceIn(kTable, name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->data(), kFirst.data());
        EXPECT_EQ(found->size(), 3u);
    }
    EXPECT_EQ(FindResourceIn(kTable, "IMG73")->data(), kSecond.data());
    for (const char* name : {"CP437", "CP437_480X272 ", "img7", "img730", ""})
        EXPECT_FALSE(FindResourceIn(kTable, name)) << '"' << name << '"';
}

TEST(EmbeddedResources, ProgramTableHasNoTwoNamesDifferingOnlyInCase) {
    std::set<std::string> seen;
    for (const TEmbeddedResource& resource : EmbeddedResources()) {
        std::string upper(resource.name);
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(upper).second) << resource.name;
        const auto bytes = EmbeddedResourceBytes(resource.name);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(bytes->size(), resource.bytes.size());
        EXPECT_TRUE(
            std::equal(bytes->begin(), bytes->end(), resource.bytes.begin(),
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    }
}

} // namespace
} // namespace tavisto
