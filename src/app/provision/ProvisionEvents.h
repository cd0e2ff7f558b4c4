#pragma once

#include <optional>
#include <string>

namespace tavisto::provision {

struct StepResult;
struct PortResult;

// What the display on a port was found to be.
struct PortIdentity {
    std::string model;
    std::optional<std::string> firmware; // "V14", for the models that report one
    int baud = 0;                        // the speed it answered at
};

// How far the transfer of a port's current step has come.
struct TransferProgress {
    int percent = 0;  // of the bytes of the current transfer job
    std::string rate; // "12.3 KB/s", or empty
    std::string left; // "0:13 left", or empty
};

// What a provisioning run tells while it runs, for a front end to show: the terminal's
// port lines or log lines, or a window's. Called on the workers' own threads, each
// port's events in order; an implementation must take calls for several ports at once.
class ProvisionEvents {
public:
    virtual ~ProvisionEvents() = default;

    // A step of the port begins (kStepIdentify, kStepFirmware, ...).
    virtual void stepStarted(const std::string& port, const std::string& step) = 0;
    // The display on the port answered and told what it is.
    virtual void identified(const std::string& port, const PortIdentity& identity) = 0;
    // The current step's transfer moved on; about once a second.
    virtual void progress(const std::string& port, const TransferProgress& progress) = 0;
    // A line of what the workflows of the current step say (the transfer engine's log
    // lines, a warning, a step left out), on one line.
    virtual void note(const std::string& port, const std::string& text) = 0;
    // A step ended: its result, bytes, time and cause.
    virtual void stepEnded(const std::string& port, const StepResult& step) = 0;
    // The port's run ended; nothing more comes for it.
    virtual void portEnded(const std::string& port, const PortResult& result) = 0;
};

} // namespace tavisto::provision
