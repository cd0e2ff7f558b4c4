#pragma once

#include "app/provision/Profile.h"
#include "app/transfer/JobSources.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavisto::provision {

// One transfer job a port will run: its step, its item's name in the download list
// and the bytes it sends.
struct PlannedJob {
    std::string step;
    std::string item;
    std::uint64_t bytes = 0;

    bool operator==(const PlannedJob&) const = default;
};

// Every transfer job of a port, in the order they run, for a display of one model:
// the firmware file (when it is due), the pictures and the fonts, each loaded as the
// transfer engine loads it.
using TransferPlan = std::vector<PlannedJob>;

TransferPlan PlanTransfers(const Profile& profile, const DisplayModel& model, bool firmwareDue,
                           const decltype(TJobSources::resource)& resource);

// The time a port's whole queue still needs: the bytes of its transfer jobs not yet
// sent, at the rate its transfers have reached so far (their set-up included).
class QueueTimeLeft {
public:
    explicit QueueTimeLeft(TransferPlan plan = {}) : plan_(std::move(plan)) {}

    // The transfer step `step` ended after `seconds`: its jobs count as done.
    void stepEnded(const std::string& step, double seconds);
    // Whole seconds left while the job of `item` in `step` has sent `itemDone` bytes
    // and the step has run `seconds`; -1 while no rate is known yet. The jobs run in
    // the plan's order, so those before the item are done.
    int secondsLeft(const std::string& step, const std::string& item, std::uint64_t itemDone,
                    double seconds);

private:
    TransferPlan plan_;
    std::size_t current_ = 0; // the first job not known to be done
    std::uint64_t doneBytes_ = 0;
    double doneSeconds_ = 0;
};

} // namespace tavisto::provision
