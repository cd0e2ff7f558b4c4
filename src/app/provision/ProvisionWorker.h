#pragma once

#include "app/provision/Profile.h"
#include "app/provision/ProvisionEvents.h"
#include "app/provision/ProvisionQueue.h"
#include "app/transfer/JobSources.h"
#include "link/Connection.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavisto::provision {

// The steps of provisioning, always in this order; a step the profile does not ask
// for is left out.
inline constexpr const char* kStepIdentify = "identify";
inline constexpr const char* kStepFirmware = "firmware";
inline constexpr const char* kStepSettings = "settings";
inline constexpr const char* kStepPictures = "pictures";
inline constexpr const char* kStepPlay = "play";
inline constexpr const char* kStepFonts = "fonts";

// Results of a step and of a port.
inline constexpr const char* kSucceeded = "succeeded";
inline constexpr const char* kFailed = "failed";
inline constexpr const char* kInterrupted = "interrupted";
inline constexpr const char* kSkipped = "skipped"; // firmware not due

struct StepResult {
    std::string step;
    std::string result;
    std::uint64_t bytes = 0; // written to the port
    double seconds = 0;
    std::string error; // empty when none
};

struct PortResult {
    std::string port;
    std::optional<std::string> model;    // the model found
    std::optional<std::string> firmware; // "V14", for the models that report one
    std::string result;
    double seconds = 0;
    std::string error; // the first error, naming its step; empty when none
    std::vector<StepResult> steps;
};

// What a worker needs from outside: where ports come from and the clock. Everything
// else (connection, engine, owner queue, the form) is its own.
struct WorkerEnvironment {
    link::PortOpener& opener;
    Clock& clock;
    std::uint16_t langId = kLangEnglish;
    // The built-in font images and table the front end carries, for "fonts": true.
    decltype(TJobSources::resource) resource;
    // Tests on a virtual clock run each queue's helpers on the worker's thread; empty
    // for the helper threads in real time.
    QueueThreadsMaker transferThreads = {};
};

// Provisions the display on `port` with the profile, step by step, and stops at the
// first step that fails. When `stop` turns true the worker stops at the next safe
// point (between steps, or where the transfer engine can stop), the display at its
// own speed, and the port's result is "interrupted".
// What happens is told to `events` as it happens.
PortResult ProvisionPort(const std::string& port, const Profile& profile,
                         const WorkerEnvironment& environment, const std::atomic<bool>& stop,
                         ProvisionEvents& events);

} // namespace tavisto::provision
