#include "link/Trace.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace tavisto {
namespace {

TEST(TraceTest, SinkAndObserversGetTheLinesAsTraced) {
    Trace trace;
    EXPECT_FALSE(trace.enabled());
    std::vector<std::string> sunk;
    std::vector<TraceEntry> observed;
    trace.setSink([&](const std::string& line) { sunk.push_back(line); });
    const auto before = std::chrono::system_clock::now();
    {
        Trace::Subscription subscription =
            trace.subscribe([&](const TraceEntry& entry) { observed.push_back(entry); });
        trace.TraceLine("----> 02071601");
        trace.TraceLine("");
        // A moved subscription keeps the observer registered.
        Trace::Subscription moved = std::move(subscription);
        trace.TraceLine("<---- 4B5400");
    }
    trace.TraceLine("----> 0C");

    EXPECT_EQ(sunk, (std::vector<std::string>{"----> 02071601", "<---- 4B5400", "----> 0C"}));
    ASSERT_EQ(observed.size(), 2u);
    EXPECT_EQ(observed[0].line, "----> 02071601");
    EXPECT_EQ(observed[1].line, "<---- 4B5400");
    EXPECT_GE(observed[0].time, before);
    EXPECT_LE(observed[1].time, std::chrono::system_clock::now());
}

TEST(TraceTest, AnObserverAloneEnablesTheTrace) {
    Trace trace;
    Trace::Subscription subscription = trace.subscribe([](const TraceEntry&) {});
    EXPECT_TRUE(trace.enabled());
    subscription.reset();
    EXPECT_FALSE(trace.enabled());
}

// Threads trace while observers come and go: every observer sees whole lines, and
// each thread's lines in the order traced (ThreadSanitizer checks the rest).
TEST(TraceTest, LinesFromSeveralThreadsStayWholeAndInOrder) {
    Trace trace;
    std::vector<std::string> sunk;
    trace.setSink([&](const std::string& line) { sunk.push_back(line); });
    constexpr int kLines = 500;
    std::vector<std::thread> tracers;
    for (char who : {'A', 'B'}) {
        tracers.emplace_back([&trace, who] {
            for (int i = 0; i < kLines; ++i)
                trace.TraceLine(std::string(1, who) + std::to_string(i));
        });
    }
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> seen;
        Trace::Subscription subscription =
            trace.subscribe([&](const TraceEntry& entry) { seen.push_back(entry.line); });
        std::this_thread::yield();
        subscription.reset();
        int lastA = -1;
        for (const std::string& line : seen) {
            if (line[0] != 'A')
                continue;
            const int number = std::stoi(line.substr(1));
            EXPECT_GT(number, lastA);
            lastA = number;
        }
    }
    for (auto& tracer : tracers)
        tracer.join();
    EXPECT_EQ(sunk.size(), 2u * kLines);
}

} // namespace
} // namespace tavisto
