#pragma once

#include "app/provision/ProvisionWorker.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tavisto::provision {

// Calls work(i) for i = 0 .. count - 1 on `jobs` threads at most (all at once when
// jobs is 0), and calls `waiting` on the calling thread about five times a second
// until every call has returned.
void RunInParallel(std::size_t count, std::size_t jobs,
                   const std::function<void(std::size_t)>& work,
                   const std::function<void()>& waiting = {});

// Provisions every port with the profile, `jobs` ports at a time (all at once when 0),
// each in a worker of its own, and returns their results in the order of `ports`.
// `stop` stops every worker at its next safe point; `waiting` is called on the calling
// thread about five times a second while the workers run (to look for a stop request,
// or to redraw).
std::vector<PortResult> ProvisionPorts(const std::vector<std::string>& ports,
                                       const Profile& profile, const WorkerEnvironment& environment,
                                       std::size_t jobs, const std::atomic<bool>& stop,
                                       ProvisionEvents& events,
                                       const std::function<void()>& waiting = {});

} // namespace tavisto::provision
