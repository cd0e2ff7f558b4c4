#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace tavisto::testing {

// The window test programs hold several QtTest classes each; every class registers
// itself here (TAVISTO_WINDOW_TEST below) and WindowTestMain.cpp runs them all.
using WindowTestFactory = std::function<std::unique_ptr<QObject>()>;
bool RegisterWindowTest(const char* name, WindowTestFactory factory);

} // namespace tavisto::testing

// In place of QTEST_MAIN(Class): runs Class in the program's shared main.
#define TAVISTO_WINDOW_TEST(Class)                                                                 \
    [[maybe_unused]] static const bool registered##Class =                                         \
        tavisto::testing::RegisterWindowTest(#Class, [] { return std::make_unique<Class>(); });
