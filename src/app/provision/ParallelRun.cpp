#include "cli/FleetPorts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace tavisto::cli {

std::vector<std::string> ParsePortList(const std::string& text) {
    std::vector<std::string> ports;
    std::set<std::string> seen;
    std::istringstream list(text);
    std::string port;
    while (std::getline(list, port, ',')) {
        if (port.empty())
            throw UsageError("the port list '" + text + "' has an empty entry");
        if (!seen.insert(port).second)
            throw UsageError("port " + port + " is given twice");
        ports.push_back(port);
    }
    if (ports.empty() || text.back() == ',')
        throw UsageError("the port list '" + text + "' has an empty entry");
    return ports;
}

bool ChosenPorts(CliContext& context, const PortChoice& choice, std::vector<std::string>& ports) {
    if (!choice.all) {
        ports = choice.listed;
        return true;
    }
    std::string message;
    if (!context.enumPorts(ports, message)) {
        context.err << message << '\n';
        return false;
    }
    if (ports.empty()) {
        context.err << "No serial port found; name the ports with --ports P1,P2,...\n";
        return false;
    }
    return true;
}

void RunInParallel(std::size_t count, std::size_t jobs,
                   const std::function<void(std::size_t)>& work,
                   const std::function<void()>& waiting) {
    const std::size_t threads = jobs == 0 ? count : std::min(jobs, count);
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable ended;
    std::size_t running = threads;
    std::vector<std::thread> pool;
    for (std::size_t t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            for (std::size_t i = next++; i < count; i = next++)
                work(i);
            const std::lock_guard lock(mutex);
            --running;
            ended.notify_all();
        });
    }
    {
        std::unique_lock lock(mutex);
        while (running > 0) {
            ended.wait_for(lock, std::chrono::milliseconds(200));
            if (waiting && running > 0) {
                lock.unlock();
                waiting();
                lock.lock();
            }
        }
    }
    for (auto& thread : pool)
        thread.join();
}

} // namespace tavisto::cli
