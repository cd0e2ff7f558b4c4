#include "app/provision/ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tavisto::provision {

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

std::vector<PortResult> ProvisionPorts(const std::vector<std::string>& ports,
                                       const Profile& profile, const WorkerEnvironment& environment,
                                       std::size_t jobs, const std::atomic<bool>& stop,
                                       ProvisionEvents& events,
                                       const std::function<void()>& waiting) {
    std::vector<PortResult> results(ports.size());
    RunInParallel(
        ports.size(), jobs,
        [&](std::size_t i) {
            results[i] = ProvisionPort(ports[i], profile, environment, stop, events);
        },
        waiting);
    return results;
}

} // namespace tavisto::provision
