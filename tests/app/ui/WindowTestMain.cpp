// The main of a window test program: runs every registered test class, in name order,
// each with QTest::qExec and the program's arguments, and fails when any class failed.
// QtTest names each class at the start and end of its output.
#include "tests/app/ui/WindowTestMain.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>

namespace tavisto::testing {
namespace {

std::map<std::string, WindowTestFactory>& registry() {
    static std::map<std::string, WindowTestFactory> tests;
    return tests;
}

} // namespace

bool RegisterWindowTest(const char* name, WindowTestFactory factory) {
    return registry().emplace(name, std::move(factory)).second;
}

} // namespace tavisto::testing

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QTEST_DISABLE_KEYPAD_NAVIGATION
    int failedClasses = 0;
    // TAVISTO_WINDOW_TEST_LOGS names a folder for one log file a class, for where
    // QtTest's own output does not reach the caller (under wine).
    const QString logs = qEnvironmentVariable("TAVISTO_WINDOW_TEST_LOGS");
    for (const auto& [name, make] : tavisto::testing::registry()) {
        const auto test = make();
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        if (!logs.isEmpty())
            arguments << QStringLiteral("-o")
                      << QStringLiteral("%1/%2.txt,txt").arg(logs, QString::fromStdString(name));
        if (QTest::qExec(test.get(), arguments) != 0) {
            std::fprintf(stderr, "FAILED: %s\n", name.c_str());
            ++failedClasses;
        }
    }
    return failedClasses == 0 ? 0 : 1;
}
