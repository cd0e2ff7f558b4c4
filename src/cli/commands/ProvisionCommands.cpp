#include "app/connect/IdentifyDisplay.h"
#include "app/provision/ParallelRun.h"
#include "app/provision/Profile.h"
#include "app/provision/ProfileWriter.h"
#include "app/provision/ProvisionOperator.h"
#include "app/provision/ProvisionReport.h"
#include "app/settings/SettingsForm.h"
#include "app/settings/SettingsWorkflows.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/shell/Console.h"
#include "cli/commands/FleetPorts.h"
#include "cli/shell/InterruptSignals.h"
#include "cli/commands/ProvisionProgress.h"
#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "protocol/ModelTable.h"
#include "resources/EmbeddedResources.h"
#include "settings/SettingsFile.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <memory>
#include <system_error>

namespace tavisto::cli {
namespace {

using namespace provision;

constexpr std::string_view kProfileCheckHelp = R"(usage: tavisto-cli profile-check PROFILE

Reads the provisioning profile PROFILE and every file it names, as provision
does before it opens any port, and says what is wrong: the file, the key and
why. Prints "PROFILE: OK" when the profile can be used. See the README for the
profile's keys.
)";

constexpr std::string_view kProfileFromHelp = R"(usage: tavisto-cli profile-from PORT PROFILE

Writes a provisioning profile from the display on PORT, which is already set
up: its model, its settings (saved as a settings file beside PROFILE, named
after it with .ini, and sent with the command mode, main text and line speed)
and its idle play. Pictures, fonts and firmware cannot be read back from a
display; add them to the profile by hand.
)";

constexpr std::string_view kProvisionHelp =
    R"(usage: tavisto-cli provision PROFILE --ports P1,P2,... | --all-ports
                   | --retry-failed REPORT [--jobs N] [--report FILE]

Brings every display on the ports to what the profile PROFILE names, all ports
at once, each in a worker of its own (its own connection and transfer engine).
Every port runs the same steps in this order: identify, firmware (when the
display's version is below the profile's), settings, pictures, play, fonts.
A port stops at its first failed step; the other ports go on.

  --ports P1,P2,...     the ports to provision
  --all-ports           every serial port the machine lists
  --retry-failed REPORT only the ports that did not succeed in an earlier report
  --jobs N              at most N ports at a time (default: all at once)
  --report FILE         write the JSON report to FILE (see the README)

The profile and its files are read and checked before any port is opened.
On a terminal, standard error shows a line per port, redrawn in place;
otherwise standard output gets a log line per event, "PORT: text". At the end a
table gives each port's model, firmware, result, time and first error.

Exit status: 0 when every port succeeded, 1 when any failed, 130 when Ctrl+C
(or SIGTERM, SIGHUP) stopped the run: each worker stops at a safe point with
its display at its own speed, and the report says what was done.
)";

// Whether two paths name the same file: by the file system's identity when both are
// there (links, "..", another spelling of the folder), else by their normalized paths.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::exists(a, error) && std::filesystem::exists(b, error)) {
        const bool same = std::filesystem::equivalent(a, b, error);
        if (!error)
            return same;
    }
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(a, ignored), ignored) ==
           std::filesystem::weakly_canonical(std::filesystem::absolute(b, ignored), ignored);
}

// The files a provisioning run reads, each with what it is to the run.
std::vector<std::pair<std::filesystem::path, std::string>>
inputsOf(const Profile& profile, const std::string& profileFile,
         const std::optional<std::string>& retryReport) {
    std::vector<std::pair<std::filesystem::path, std::string>> inputs;
    inputs.emplace_back(PathFromUtf8(profileFile), "the profile");
    if (profile.settings)
        inputs.emplace_back(profile.settings->file, "the profile's \"settings\"");
    for (const ProfilePicture& picture : profile.pictures)
        inputs.emplace_back(picture.file,
                            "the profile's \"pictures." + std::to_string(picture.slot) + "\"");
    for (std::size_t i = 0; i < profile.fontItems.size(); ++i)
        inputs.emplace_back(profile.fontItems[i].file,
                            "the profile's \"fonts." + std::to_string(i) + ".file\"");
    if (profile.firmware)
        inputs.emplace_back(profile.firmware->file, "the profile's \"firmware\"");
    if (retryReport)
        inputs.emplace_back(PathFromUtf8(*retryReport), "the --retry-failed report");
    return inputs;
}

// Why the report could not be written at the end of the run, found before the run
// starts: it would replace a file the run reads, or its place cannot be written.
// Empty when it can be written.
std::string
reportProblem(const std::filesystem::path& report,
              const std::vector<std::pair<std::filesystem::path, std::string>>& inputs) {
    for (const auto& [input, what] : inputs) {
        if (sameFile(report, input))
            return "--report " + Utf8FromPath(report) + " would overwrite " + Utf8FromPath(input) +
                   ", " + what;
    }
    std::error_code error;
    const auto status = std::filesystem::status(report, error);
    if (std::filesystem::exists(status)) {
        if (!std::filesystem::is_regular_file(status))
            return "--report " + Utf8FromPath(report) + ": is not a regular file";
        if (!std::ofstream(report, std::ios::binary | std::ios::app))
            return "--report " + Utf8FromPath(report) + ": cannot be written (" +
                   std::generic_category().message(errno) + ")";
        return {};
    }
    std::filesystem::path folder = std::filesystem::absolute(report, error).parent_path();
    if (!std::filesystem::is_directory(folder, error))
        return "--report " + Utf8FromPath(report) + ": the folder " + Utf8FromPath(folder) +
               " does not exist";
    // A file of our own in the folder shows that the report can be made there (the
    // folder's mode bits do not tell a superuser or a Windows ACL).
    const std::filesystem::path probe = folder / ".tavisto-report-check";
    const bool writable = static_cast<bool>(std::ofstream(probe, std::ios::binary));
    const int cause = errno;
    std::filesystem::remove(probe, error);
    if (!writable)
        return "--report " + Utf8FromPath(report) + ": the folder " + Utf8FromPath(folder) +
               " cannot be written (" + std::generic_category().message(cause) + ")";
    return {};
}

CliAction profileCheck(const std::vector<std::string>& args) {
    const std::string file = parseArgs(args, {}, 1, 1).positional[0];
    return [file](CliContext& context) {
        Profile profile;
        std::string error;
        if (!LoadProfile(PathFromUtf8(file), profile, error)) {
            context.err << error << '\n';
            return kExitFailed;
        }
        context.out << file << ": OK\n";
        return kExitOk;
    };
}

CliAction profileFrom(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 2, 2);
    const std::string port = parsed.positional[0];
    const std::filesystem::path file = PathFromUtf8(parsed.positional[1]);
    std::string message;
    if (!HasFileNamePart(Utf8FromPath(file), message))
        throw UsageError(message);
    return [port, file](CliContext& context) {
        // Written first and then overwritten by the profile, the settings would be lost.
        if (sameFile(SettingsFileFor(file), file)) {
            context.err << Utf8FromPath(file) << ": the settings file beside it would be "
                        << Utf8FromPath(SettingsFileFor(file))
                        << ", the same file; give the profile another extension (.json).\n";
            return kExitFailed;
        }
        TConnection& connection = context.connection;
        connection.CurrentPortName = port;
        ProvisionOperator op;
        TIdentifyRequest request;
        request.versionAttempts = 0;
        const TDisplayIdentity found = IdentifyDisplay(connection, op, request);
        if (!found.found()) {
            context.err << port << ": " << OneLine(found.cause) << '\n';
            return kExitFailed;
        }
        TSettingsForm form;
        TDisplayInfo info;
        if (!actDefaultSettingExecute(form, info, op) ||
            !btn_GetSettingClick(connection, form, info, op)) {
            context.err << port << ": " << op.error() << '\n';
            return kExitFailed;
        }
        CollectSettings(form, info);
        std::filesystem::path settingsFile;
        std::string error;
        if (!WriteProfile(file, {std::string(found.model->name), info, {}}, settingsFile,
                          error)) {
            context.err << error << '\n';
            return kExitFailed;
        }
        context.out << "Wrote " << Utf8FromPath(file) << " and " << Utf8FromPath(settingsFile)
                    << '\n';
        return kExitOk;
    };
}

struct ProvisionRequest {
    std::string profileFile;
    PortChoice ports;
    std::optional<std::string> retryReport;
    std::size_t jobs = 0;
    std::optional<std::string> reportFile;
    Profile profile; // read by the load step
};

int exitCodeOf(const std::vector<PortResult>& results, bool stopped) {
    if (stopped)
        return kExitInterrupted;
    for (const PortResult& result : results) {
        if (result.result != kSucceeded)
            return kExitFailed;
    }
    return kExitOk;
}

int runProvision(CliContext& context, ProvisionRequest& request) {
    std::vector<std::string> ports;
    EarlierReport earlier;
    if (request.retryReport) {
        std::string error;
        if (!ReadEarlierReport(PathFromUtf8(*request.retryReport), earlier, error)) {
            context.err << error << '\n';
            return kExitFailed;
        }
        ports = earlier.retry;
        if (ports.empty()) {
            context.out << "Every port of " << *request.retryReport
                        << " succeeded; nothing to retry.\n";
            return kExitOk;
        }
    } else if (!ChosenPorts(context, request.ports, ports)) {
        return kExitFailed;
    }

    const bool terminal = StderrRedrawsLines() && &context.err == &std::cerr;
    ProvisionProgress progress(terminal ? context.err : context.out, terminal, ports);
    const WorkerEnvironment environment{context.connection.opener(), context.connection.clock(),
                                        context.connection.SystemLangId,
                                        [](const std::string& name) {
                                            return EmbeddedResourceBytes(name);
                                        },
                                        context.transferThreads};
    std::vector<PortResult> results;
    std::atomic<bool> stop{false};
    {
        const InterruptSignals signals;
        InterruptSignals::clear();
        results =
            ProvisionPorts(ports, request.profile, environment, request.jobs, stop, progress, [&] {
                if (InterruptSignals::received() != 0)
                    stop = true;
                progress.redraw();
            });
        progress.redraw();
    }
    const bool stopped = stop.load();
    if (stopped)
        context.err << "Interrupted: every worker stopped at a safe point; each display is at "
                       "its own speed.\n";
    context.out << ResultTable(results);
    int code = exitCodeOf(results, stopped);
    if (request.reportFile) {
        std::string message;
        if (!SaveFile(
                PathFromUtf8(*request.reportFile),
                ReportJson(request.profileFile, results, request.retryReport ? &earlier : nullptr),
                message)) {
            context.err << message << '\n';
            code = code == kExitOk ? kExitFailed : code;
        }
    }
    return code;
}

CliAction provision(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(
        args,
        {{"--ports", 1}, {"--all-ports", 0}, {"--retry-failed", 1}, {"--jobs", 1}, {"--report", 1}},
        1, 1);
    auto request = std::make_shared<ProvisionRequest>();
    request->profileFile = parsed.positional[0];
    const int choices =
        parsed.has("--ports") + parsed.has("--all-ports") + parsed.has("--retry-failed");
    if (choices != 1)
        throw UsageError("name the ports with one of --ports, --all-ports and --retry-failed");
    if (parsed.has("--ports"))
        request->ports.listed = ParsePortList(parsed.options.at("--ports")[0]);
    request->ports.all = parsed.has("--all-ports");
    if (parsed.has("--retry-failed"))
        request->retryReport = parsed.options.at("--retry-failed")[0];
    if (parsed.has("--jobs"))
        request->jobs =
            static_cast<std::size_t>(parseNumber(parsed.options.at("--jobs")[0], "N", 1, 1024));
    if (parsed.has("--report")) {
        request->reportFile = parsed.options.at("--report")[0];
        std::string message;
        if (!HasFileNamePart(*request->reportFile, message))
            throw UsageError(message);
    }
    auto load = [request](CliContext& context) {
        std::string error;
        if (!LoadProfile(PathFromUtf8(request->profileFile), request->profile, error)) {
            context.err << error << '\n' << "Nothing was sent.\n";
            return kExitFailed;
        }
        if (request->reportFile) {
            const std::string problem = reportProblem(
                PathFromUtf8(*request->reportFile),
                inputsOf(request->profile, request->profileFile, request->retryReport));
            if (!problem.empty()) {
                context.err << problem << ".\nNothing was sent.\n";
                return kExitFailed;
            }
        }
        return kExitOk;
    };
    auto run = [request](CliContext& context) {
        return runProvision(context, *request);
    };
    return CliAction(load, run);
}

} // namespace

std::vector<CliCommand> ProvisionCommands() {
    return {
        {"profile-check", "check a provisioning profile and its files", kProfileCheckHelp,
         CliNeeds::Nothing, profileCheck},
        {"profile-from", "write a provisioning profile from a display", kProfileFromHelp,
         CliNeeds::Nothing, profileFrom},
        {"provision", "provision the displays on many ports at once", kProvisionHelp,
         CliNeeds::Nothing, provision},
    };
}

} // namespace tavisto::cli
