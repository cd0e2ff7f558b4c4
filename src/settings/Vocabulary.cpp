#include "settings/Vocabulary.h"

#include <algorithm>

namespace tavisto {
namespace {

// Linear scan from row 0; never reads past the table whatever highestIndex says.
template <typename Row, typename Key>
int indexOfFirst(std::span<const Row> table, int highestIndex, int key, Key keyOf) {
    const auto last = std::min<long long>(highestIndex, static_cast<long long>(table.size()) - 1);
    for (long long i = 0; i <= last; ++i) {
        if (keyOf(table[static_cast<std::size_t>(i)]) == key)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

int IndexOfBaudRate(std::span<const TBaudRates> table, int highestIndex, int key) {
    return indexOfFirst(table, highestIndex, key, [](const TBaudRates& r) { return r.BaudRateNo; });
}

int IndexOfCommandMode(std::span<const TCommandModes> table, int highestIndex, int key) {
    return indexOfFirst(table, highestIndex, key,
                        [](const TCommandModes& r) { return r.CommandNo; });
}

int IndexOfInterChar(std::span<const TInterChars> table, int highestIndex, int key) {
    return indexOfFirst(table, highestIndex, key,
                        [](const TInterChars& r) { return r.InterCharNo; });
}

int IndexOfCodePage(std::span<const TCodePages> table, int highestIndex, int key) {
    return indexOfFirst(table, highestIndex, key,
                        [](const TCodePages& r) { return r.CodePageNoNew; });
}

} // namespace tavisto
