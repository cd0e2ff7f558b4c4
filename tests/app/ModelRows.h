#pragma once

namespace tavisto::testing {

// Rows of DisplayModels the workflow tests take their models from: KT350--MKA (small
// panel, addressed transfers), KT350-MKC (large panel, addressed) and KT350-MK (named).
constexpr int kMka = 0, kMkc = 2, kMk = 5;

} // namespace tavisto::testing
