#include "app/provision/ProvisionWorker.h"

#include "app/connect/IdentifyDisplay.h"
#include "app/pictures/PictureDownload.h"
#include "app/pictures/PlaySetting.h"
#include "app/pictures/SlotPictures.h"
#include "app/provision/CountingPort.h"
#include "app/provision/ProvisionOperator.h"
#include "app/provision/ProvisionQueue.h"
#include "app/provision/QueueTimeLeft.h"
#include "app/settings/AllDownload.h"
#include "app/settings/SettingCommands.h"
#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
#include "app/transfer/ProgressText.h"
#include "files/Utf8Path.h"
#include "link/PortAccess.h"
#include "protocol/Discovery.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "protocol/Session.h"

#include <chrono>
#include <exception>
#include <memory>

namespace tavisto::provision {

namespace {

// How a step ended: its result and, for a failure, why.
struct StepEnd {
    std::string result;
    std::string error;
};

StepEnd succeeded() {
    return {kSucceeded, ""};
}
StepEnd failed(std::string error) {
    return {kFailed, std::move(error)};
}

class PortWorker {
public:
    PortWorker(const std::string& port, const Profile& profile,
               const WorkerEnvironment& environment, const std::atomic<bool>& stop,
               ProvisionEvents& events)
        : profile_(profile), stop_(stop), events_(events), resource_(environment.resource),
          transferThreads_(environment.transferThreads), clock_(environment.clock),
          opener_(environment.opener), connection_(opener_, environment.clock),
          op_([this](const std::string& text, bool) { note(text); }) {
        connection_.SystemLangId = environment.langId;
        connection_.CurrentPortName = port;
        result_.port = port;
    }

    PortResult run() {
        const TimePoint start = clock_.now();
        result_.result = kSucceeded;
        runStep(kStepIdentify, [this] { return identify(); });
        if (profile_.firmware)
            runStep(kStepFirmware, [this] { return firmware(); });
        if (profile_.settings)
            runStep(kStepSettings, [this] { return settings(); });
        if (!profile_.pictures.empty())
            runStep(kStepPictures, [this] { return pictures(); });
        if (profile_.play)
            runStep(kStepPlay, [this] { return play(); });
        if (profile_.builtInFonts || !profile_.fontItems.empty())
            runStep(kStepFonts, [this] { return fonts(); });
        result_.seconds = secondsSince(start);
        events_.portEnded(result_.port, result_);
        return result_;
    }

private:
    template <typename Step> void runStep(const char* name, Step step) {
        if (result_.result != kSucceeded)
            return;
        if (stop_.load()) {
            result_.result = kInterrupted;
            return;
        }
        events_.stepStarted(result_.port, name);
        op_.clear();
        const TimePoint start = clock_.now();
        const std::uint64_t before = opener_.written();
        step_ = {name, start};
        StepEnd end;
        try {
            end = step();
        } catch (const std::exception& error) {
            end = failed(error.what());
        }
        StepResult stepResult{name, end.result, opener_.written() - before, secondsSince(start),
                              end.error};
        events_.stepEnded(result_.port, stepResult);
        result_.steps.push_back(stepResult);
        if (isTransferStep(name) && end.result != kSkipped)
            timeLeft_.stepEnded(name, stepResult.seconds);
        if (end.result == kFailed || end.result == kInterrupted) {
            result_.result = end.result;
            if (end.result == kFailed)
                result_.error = std::string(name) + ": " + end.error;
        }
    }

    StepEnd openFailed(int code) const {
        return failed(
            OneLine(WithPortOpenHint(OpenCodeMessage(code, connection_.SystemLangId),
                                     connection_.CurrentPortName, connection_.SystemLangId)));
    }

    StepEnd identify() {
        // Every step opens and closes the port as the commands do; the lock keeps
        // other programs out in between, from before the first byte to the last.
        const int locked = opener_.lock(connection_.CurrentPortName, portLock_);
        if (locked != link::kOpenOk)
            return openFailed(locked);
        const TDisplayIdentity found = IdentifyDisplay(connection_, op_, TIdentifyRequest{});
        if (found.failure == TIdentifyFailure::PortNotOpened)
            return openFailed(found.openCode);
        if (!found.found())
            return failed(OneLine(found.cause));
        model_ = found.model;
        result_.model = std::string(model_->name);
        if (found.firmwareVersion) {
            version_ = found.firmwareVersion;
            result_.firmware = "V" + std::to_string(*version_);
        } else if (ModelHasFirmwareCheck(model_)) {
            note("firmware version not read: " + OneLine(found.versionCause));
        }
        events_.identified(result_.port,
                           {*result_.model, result_.firmware, connection_.CurrentBaudRate});
        if (profile_.model && *profile_.model != model_->name)
            return failed("the display is a " + *result_.model + ", not the profile's " +
                          *profile_.model + "; nothing was sent to it");
        const bool firmwareDue =
            profile_.firmware && version_ && *version_ < profile_.firmware->version;
        timeLeft_ = QueueTimeLeft(PlanTransfers(profile_, *model_, firmwareDue, resource_));
        return succeeded();
    }

    StepEnd firmware() {
        const ProfileFirmware& firmware = *profile_.firmware;
        if (!version_)
            return failed("the display did not report its firmware version, so the firmware "
                          "file is not sent");
        if (*version_ >= firmware.version) {
            note("firmware V" + std::to_string(*version_) + " is not below the profile's V" +
                 std::to_string(firmware.version) + "; not sent");
            return {kSkipped, ""};
        }
        return queue(1, TJobSources{}, [&](TTransferRunner& runner) {
            return btn_CharacterSetDownSingleClick(connection_, op_, model_, runner,
                                                   kFirmwarePosition, Utf8FromPath(firmware.file),
                                                   firmware.contents);
        });
    }

    StepEnd settings() {
        // The worker's own copy: the workflows collect the form into the record.
        ProfileSettings settings = *profile_.settings;
        const TAllDownloadResult all = AllDownload(connection_, settings.form, settings.info, op_);
        if (!all.allSucceeded)
            return failed("All Download: " + firstFailed(all.items));
        auto extra = [this](const TOutcome& outcome) -> std::optional<StepEnd> {
            if (outcome.succeeded)
                return std::nullopt;
            note(OneLine(outcome.cause));
            return failed(outcome.name + ": " + OneLine(outcome.cause));
        };
        if (settings.commandMode) {
            if (auto end = extra(SendCommandMode(connection_, settings.form)))
                return *end;
        }
        if (settings.mainText) {
            if (auto end = extra(SendMainText(connection_, settings.form, settings.info)))
                return *end;
        }
        // The line speed last: the port follows the display to its new speed.
        if (settings.baudRate) {
            const int before = connection_.CurrentBaudRate;
            if (auto end = extra(SendBaudRate(connection_, settings.form, settings.info)))
                return *end;
            if (auto end = confirmSpeed(before))
                return *end;
        }
        return succeeded();
    }

    // The speed command has no answer, and the next steps talk at the new speed at
    // once: the display must answer there first, or the port is failed with the speed
    // it still answers at, instead of sending the rest to a display that cannot read it.
    std::optional<StepEnd> confirmSpeed(int before) {
        const int after = connection_.CurrentBaudRate;
        std::string message;
        if (after == before || ConfirmNewLineSpeed(connection_, before, after, message))
            return std::nullopt;
        return failed("baud rate: " + OneLine(message));
    }

    StepEnd pictures() {
        // The pictures were cut for every size their slot has when the profile was read.
        std::vector<TSlotPicture> pictures;
        for (const ProfilePicture& picture : profile_.pictures) {
            TSlotPicture placed{picture.slot, Utf8FromPath(picture.file)};
            if (const auto size = SlotPictureSize(*model_, picture.slot)) {
                placed.converted = picture.sizedFor(*size);
                if (!placed.converted)
                    return failed(placed.file + ": not prepared for " +
                                  std::to_string(size->width) + "x" + std::to_string(size->height));
            }
            pictures.push_back(placed);
        }
        TFilledSlots filled = PutPicturesInSlots(*model_, pictures);
        if (const auto& problem = filled.problem) {
            if (problem->noSuchSlot)
                return failed("the " + std::string(model_->name) + " has no slot " +
                              std::to_string(problem->slot) + " (" + problem->item + ")");
            return failed(problem->file + ": " + problem->cause);
        }
        return queue(static_cast<int>(profile_.pictures.size()), filled.sources(),
                     [&](TTransferRunner& runner) {
                         return btn_DownloadPictrueClick(connection_, op_, model_, runner,
                                                         *filled.slots, filled.checked);
                     });
    }

    StepEnd play() {
        const ProfilePlay& play = *profile_.play;
        const TOutcome sent =
            PlaySettingSent(connection_, play.pictures, play.standby, play.interval);
        if (sent.succeeded)
            return succeeded();
        note(OneLine(sent.cause));
        return failed(OneLine(sent.cause));
    }

    StepEnd fonts() {
        if (profile_.builtInFonts) {
            TJobSources sources;
            sources.resource = resource_;
            const StepEnd end = queue(kAnyJobCount, sources, [&](TTransferRunner& runner) {
                return btn_CharacterSetDownAllClick(connection_, op_, model_, runner);
            });
            if (end.result != kSucceeded)
                return end;
        }
        for (const ProfileItem& item : profile_.fontItems) {
            const StepEnd end = queue(1, TJobSources{}, [&](TTransferRunner& runner) {
                return btn_CharacterSetDownSingleClick(connection_, op_, model_, runner,
                                                       item.position, Utf8FromPath(item.file),
                                                       item.contents);
            });
            if (end.result != kSucceeded)
                return end;
        }
        return succeeded();
    }

    template <typename Start> StepEnd queue(int expected, TJobSources sources, Start start) {
        const QueueOutcome outcome = RunWorkerQueue(
            connection_, op_, std::move(sources), expected, start, stop_,
            [this](const TTransferStatus& status) { transferStatus(status); }, transferThreads_);
        switch (outcome.result) {
        case QueueResult::Stored:
            return succeeded();
        case QueueResult::Interrupted:
            return {kInterrupted, "interrupted; the display is back at " +
                                      std::to_string(connection_.CurrentBaudRate) + " baud"};
        case QueueResult::Failed:
            break;
        }
        return failed(transferCause(outcome));
    }

    // Why a queue failed: its first failed job as the log line names it, else why the
    // engine stopped, else why the workflow did not start the queue.
    std::string transferCause(const QueueOutcome& outcome) const {
        for (const TOutcome& job : outcome.jobs) {
            if (!job.succeeded)
                return OneLine(job.name + " [Failed]:" + job.cause);
        }
        if (!outcome.stopCause.empty())
            return OneLine(outcome.stopCause);
        return op_.error().empty() ? "the transfer did not store everything" : op_.error();
    }

    // The percentage is the current job's; the time left is the whole queue's: every
    // transfer step of the port still to come, at the rate reached so far.
    void transferStatus(const TTransferStatus& status) {
        if (!status.running || status.bytesTotal == 0)
            return;
        // The port's plan spans every transfer step; the engine's own figure covers the
        // running step's queue only, and stands in while the plan knows no rate yet.
        TTransferStatus queue = status;
        if (const int left = timeLeft_.secondsLeft(step_.name, status.item, status.bytesDone,
                                                   secondsSince(step_.start));
            left >= 0)
            queue.queueSecondsLeft = left;
        events_.progress(result_.port,
                         {static_cast<int>(100.0 * status.bytesDone / status.bytesTotal),
                          RateText(status), TimeLeftText(queue)});
    }

    static bool isTransferStep(const std::string& step) {
        return step == kStepFirmware || step == kStepPictures || step == kStepFonts;
    }

    // The first item All Download could not send, as its report names it.
    static std::string firstFailed(const std::vector<TOutcome>& items) {
        for (const TOutcome& item : items) {
            if (!item.succeeded)
                return item.name + " Failed";
        }
        return "not every item was sent";
    }

    void note(const std::string& text) { events_.note(result_.port, text); }

    double secondsSince(TimePoint start) const {
        return std::chrono::duration<double>(clock_.now() - start).count();
    }

    const Profile& profile_;
    const std::atomic<bool>& stop_;
    ProvisionEvents& events_;
    const decltype(TJobSources::resource) resource_;
    const QueueThreadsMaker transferThreads_;
    // Times the steps, as the waits on the line are timed.
    Clock& clock_;
    CountingOpener opener_;
    // Declared before the connection, so that it goes after the connection's port.
    link::PortLockHandle portLock_;
    TConnection connection_;
    ProvisionOperator op_;
    PortResult result_;
    const DisplayModel* model_ = nullptr;
    std::optional<std::uint32_t> version_;
    // The step running: its name and start.
    struct {
        std::string name;
        TimePoint start;
    } step_;
    QueueTimeLeft timeLeft_;
};

} // namespace

PortResult ProvisionPort(const std::string& port, const Profile& profile,
                         const WorkerEnvironment& environment, const std::atomic<bool>& stop,
                         ProvisionEvents& events) {
    PortWorker worker(port, profile, environment, stop, events);
    return worker.run();
}

} // namespace tavisto::provision
