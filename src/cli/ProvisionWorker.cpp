#include "cli/ProvisionWorker.h"

#include "app/connect/IdentifyDisplay.h"
#include "app/pictures/PictureDownload.h"
#include "app/pictures/PlaySetting.h"
#include "app/pictures/SlotPictures.h"
#include "app/settings/AllDownload.h"
#include "app/settings/SettingCommands.h"
#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
#include "app/transfer/ProgressText.h"
#include "cli/CountingPort.h"
#include "cli/ProvisionOperator.h"
#include "cli/ProvisionQueue.h"
#include "files/Utf8Path.h"
#include "link/PortAccess.h"
#include "protocol/Discovery.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "protocol/Session.h"
#include "resources/EmbeddedResources.h"

#include <chrono>
#include <exception>
#include <memory>

namespace tavisto::cli {

namespace {

using SteadyClock = std::chrono::steady_clock;

double secondsSince(SteadyClock::time_point start) {
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

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
               const WorkerEvents& events)
        : profile_(profile), stop_(stop), events_(events), opener_(environment.opener),
          connection_(opener_, environment.clock),
          op_([this](const std::string& text, bool) { log(text); }) {
        connection_.SystemLangId = environment.langId;
        connection_.CurrentPortName = port;
        result_.port = port;
    }

    PortResult run() {
        const auto start = SteadyClock::now();
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
        status_.finished = true;
        status_.step.clear();
        status_.percent = -1;
        status_.result = result_.result;
        showStatus();
        log(result_.result + (result_.error.empty() ? "" : ": " + result_.error));
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
        status_.step = name;
        status_.percent = -1;
        status_.rate.clear();
        status_.left.clear();
        showStatus();
        op_.clear();
        const auto start = SteadyClock::now();
        const std::uint64_t before = opener_.written();
        StepEnd end;
        try {
            end = step();
        } catch (const std::exception& error) {
            end = failed(error.what());
        }
        StepResult stepResult{name, end.result, opener_.written() - before, secondsSince(start),
                              end.error};
        log(std::string(name) + ": " + end.result + (end.error.empty() ? "" : ": " + end.error));
        result_.steps.push_back(stepResult);
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
        status_.model = result_.model.value();
        if (found.firmwareVersion) {
            version_ = found.firmwareVersion;
            result_.firmware = "V" + std::to_string(*version_);
        } else if (ModelHasFirmwareCheck(model_)) {
            log("firmware version not read: " + OneLine(found.versionCause));
        }
        log("found " + *result_.model +
            (result_.firmware ? ", firmware " + *result_.firmware : "") + ", " +
            std::to_string(connection_.CurrentBaudRate) + " baud");
        if (profile_.model && *profile_.model != model_->name)
            return failed("the display is a " + *result_.model + ", not the profile's " +
                          *profile_.model + "; nothing was sent to it");
        return succeeded();
    }

    StepEnd firmware() {
        const ProfileFirmware& firmware = *profile_.firmware;
        if (!version_)
            return failed("the display did not report its firmware version, so the firmware "
                          "file is not sent");
        if (*version_ >= firmware.version) {
            log("firmware V" + std::to_string(*version_) + " is not below the profile's V" +
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
            return failed("All Download: " + firstFailedLine(all.report));
        auto extra = [&](const char* what, auto button) -> std::optional<StepEnd> {
            op_.clear();
            if (button(connection_, settings.form, settings.info, op_))
                return std::nullopt;
            return failed(std::string(what) + ": " + op_.error());
        };
        if (settings.commandMode) {
            if (auto end = extra("command mode", btn_commandSetClick))
                return *end;
        }
        if (settings.mainText) {
            if (auto end = extra("main text", btn_TextSetClick))
                return *end;
        }
        // The line speed last: the port follows the display to its new speed.
        if (settings.baudRate) {
            const int before = connection_.CurrentBaudRate;
            if (auto end = extra("baud rate", btn_baudrateSetClick))
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
        // A profile that names the model has its pictures cut for it already; the
        // display is of that model, or identify refused it.
        std::vector<TSlotPicture> pictures;
        for (const ProfilePicture& picture : profile_.pictures)
            pictures.push_back({picture.slot, Utf8FromPath(picture.file), picture.format,
                                &picture.bytes, picture.converted ? &*picture.converted : nullptr});
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
        if (SendPlaySetting(connection_, op_, play.pictures, play.standby, play.interval))
            return succeeded();
        return failed(op_.error());
    }

    StepEnd fonts() {
        if (profile_.builtInFonts) {
            TJobSources sources;
            sources.resource = [](const std::string& name) {
                return EmbeddedResourceBytes(name);
            };
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
        const QueueResult result =
            RunWorkerQueue(connection_, op_, std::move(sources), expected, start, stop_,
                           [this](const TTransferStatus& status) { transferStatus(status); });
        status_.percent = -1;
        switch (result) {
        case QueueResult::Stored:
            return succeeded();
        case QueueResult::Interrupted:
            return {kInterrupted, "interrupted; the display is back at " +
                                      std::to_string(connection_.CurrentBaudRate) + " baud"};
        case QueueResult::Failed:
            break;
        }
        return failed(op_.error().empty() ? "the transfer did not store everything" : op_.error());
    }

    void transferStatus(const TTransferStatus& status) {
        if (!status.running || status.bytesTotal == 0)
            return;
        status_.percent = static_cast<int>(100.0 * status.bytesDone / status.bytesTotal);
        status_.rate = RateText(status);
        status_.left = TimeLeftText(status);
        showStatus();
    }

    static std::string firstFailedLine(const std::string& report) {
        const std::string line = OneLine(report);
        std::size_t end = line.find("Failed");
        if (end == std::string::npos)
            return line;
        std::size_t begin = line.rfind("; ", end);
        begin = begin == std::string::npos ? 0 : begin + 2;
        std::string item = line.substr(begin, end - begin);
        // The label is padded to 30 characters: one space is enough here.
        std::string squeezed;
        for (const char c : item) {
            if (c != ' ' || squeezed.empty() || squeezed.back() != ' ')
                squeezed += c;
        }
        return squeezed + "Failed";
    }

    void log(const std::string& text) {
        if (events_.log)
            events_.log(result_.port, text);
    }
    void showStatus() {
        if (events_.status)
            events_.status(result_.port, status_);
    }

    const Profile& profile_;
    const std::atomic<bool>& stop_;
    const WorkerEvents& events_;
    CountingOpener opener_;
    // Declared before the connection, so that it goes after the connection's port.
    link::PortLockHandle portLock_;
    TConnection connection_;
    ProvisionOperator op_;
    PortResult result_;
    PortStatus status_;
    const DisplayModel* model_ = nullptr;
    std::optional<std::uint32_t> version_;
};

} // namespace

PortResult ProvisionPort(const std::string& port, const Profile& profile,
                         const WorkerEnvironment& environment, const std::atomic<bool>& stop,
                         const WorkerEvents& events) {
    PortWorker worker(port, profile, environment, stop, events);
    return worker.run();
}

} // namespace tavisto::cli
