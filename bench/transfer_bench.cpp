// Measures the payload rate of the two transfer styles against the virtual display
// moving bytes at the real wire rate (115200 baud, ten bits a byte), through the
// same single-item download the window and the command line run. The rate is taken
// over the transfer itself: from the job's start (setup echoed or Make File
// accepted) to the display's verdict. The job's fixed steps (the pause before the
// start command, the verdict) are about 1 % of a 100 KB job, so the goals are
// judged on the block phase: from the first progress (its blocks counted as already
// moved, which leaves one block's wire time against the rate) to the verdict.
//
//   transfer_bench [BYTES] [--screen] [--load N] [--no-idle-cores]
//                  [--addressed | --named]
//   (default 102400 bytes, both styles)
//
// The file goes to CP850, whose room on the addressed models is 102,400 bytes; a
// larger file is refused there before a byte is sent.
//
// With --screen a viewer asks the display for its screen every 100 ms during the
// transfer, as the window's open "Virtual display" does; the rates should stay within
// 1 % of those without it.
//
// With --load N, N threads spin beside the transfer for its whole run, as other
// displays' workers or other programs would on a busy machine: --load 4 on two cores
// oversubscribes the CPU two times. The goal is then at least 0.97 of the addressed
// ceiling.
//
// With --no-idle-cores, one lowest-priority (SCHED_IDLE) thread per core spins, so
// no core halts. On a virtual machine a halted virtual CPU can take milliseconds to
// be run again when the host is busy, and the transfer then waits on the hypervisor,
// not on this program; a SCHED_IDLE thread gives way at once to any other thread, so
// it takes no time from the transfer. Quiet runs on such a machine vary from run to
// run without it.
//
// Wire ceilings at 115200 baud (11,520 B/s): the addressed style moves 256 payload
// bytes per 274-byte block plus a 16-byte request, 10,169 B/s; the named style
// streams the file, 11,520 B/s.

#include "app/Operator.h"
#include "app/storage/SingleDownload.h"
#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferRunner.h"
#include "pictures/ByteFiles.h"
#include "resources/EmbeddedResources.h"
#include "sim/runtime/VirtualDisplay.h"
#include "sim/screen/ScreenFeed.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <thread>
#include <vector>

using namespace tavisto;
using Steady = std::chrono::steady_clock;

namespace {

// Notes when the job starts and when its verdict comes; prints failures.
class TimingOperator final : public TOperator {
public:
    std::optional<Steady::time_point> started;
    std::optional<Steady::time_point> firstProgress;
    int firstBlocks = 0;
    std::optional<Steady::time_point> ended;
    std::string verdict;

    int ShowMsgBox(const std::string& text, int) override {
        std::printf("  box: %s\n", text.c_str());
        return kIdOk;
    }
    void BeginProgress(const std::string&, int, TProgressKind) override {}
    void EndProgress() override {}
    void SetProgressMax(int, int) override { started = Steady::now(); }
    void SetProgress(int blocks, int) override {
        if (firstProgress)
            return;
        firstProgress = Steady::now();
        firstBlocks = blocks;
    }
    void ShowProgressItem(const std::string&, const std::string&, int) override {}
    void ShowLogOnRichEdit(const std::string& text, bool) override {
        ended = Steady::now();
        verdict = text;
    }
    void actBtnDisableExecute() override {}
    void actBtnEnableExecute() override {}
};

// Looks at the display's screen every 100 ms, as the window's view does while open.
class ScreenViewer {
public:
    explicit ScreenViewer(const sim::VirtualDisplay& display)
        : feed_(display, EmbeddedResourceView), thread_([this] {
              while (!stop_) {
                  drawings_ += feed_.refresh(Steady::now()) ? 1 : 0;
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
          }) {}
    ~ScreenViewer() {
        stop_ = true;
        thread_.join();
    }
    int drawings() const { return drawings_; }

private:
    sim::ScreenFeed feed_;
    std::atomic<bool> stop_{false};
    std::atomic<int> drawings_{0};
    std::thread thread_;
};

bool run(const char* title, int model, std::size_t size, double ceiling, double goal,
         const std::string& file, bool withScreen) {
    sim::SimOptions options;
    options.model = model;
    options.baudRate = 115200;
    options.faults.pacing = true;
    sim::VirtualDisplay display(options);
    std::string error;
    if (!display.start(error)) {
        std::printf("%s: %s\n", title, error.c_str());
        return false;
    }
    std::optional<ScreenViewer> viewer;
    if (withScreen)
        viewer.emplace(display);
    TConnection connection;
    connection.CurrentPortName = display.devicePath();
    connection.CurrentBaudRate = 115200;
    TimingOperator op;
    BlockingOwnerLoop loop;
    TTransferRunner runner(connection, op, loop, TJobSources{});
    // Row 6 (CP850): an address on the addressed models, a file name on the named.
    if (!btn_CharacterSetDownSingleClick(connection, op, FindModel(model), runner, 6, file))
        return false;
    loop.runUntil([&] { return !runner.engine().Running(); });
    if (!op.started || !op.firstProgress || !op.ended || op.verdict != "CP850 [Succeed]") {
        std::printf("%s: transfer failed (%s)\n", title, op.verdict.c_str());
        return false;
    }
    const double seconds = std::chrono::duration<double>(*op.ended - *op.started).count();
    const double rate = static_cast<double>(size) / seconds;
    const double blockSeconds =
        std::chrono::duration<double>(*op.ended - *op.firstProgress).count();
    const double moved = static_cast<double>(op.firstBlocks) * 256;
    const double blockRate = (static_cast<double>(size) - moved) / blockSeconds;
    std::printf("%-26s %9zu bytes in %7.2f s: %8.0f B/s, %.3f of the ceiling %.0f B/s; "
                "block phase %.3f (goal %.2f)%s\n",
                title, size, seconds, rate, rate / ceiling, ceiling, blockRate / ceiling, goal,
                blockRate / ceiling >= goal ? "" : "  BELOW GOAL");
    if (viewer)
        std::printf("%-26s screen viewed, %d new pictures\n", "", viewer->drawings());
    return true;
}

// Threads that spin until destroyed: at normal priority they load the CPU; at
// SCHED_IDLE they run only when a core would otherwise be idle, keeping it from halting.
class Spinners {
public:
    Spinners(int threads, bool idlePriority) {
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this, idlePriority] {
                sched_param none{};
                if (idlePriority && pthread_setschedparam(pthread_self(), SCHED_IDLE, &none) != 0)
                    return;
                std::uint64_t x = 1;
                while (!stop_.load(std::memory_order_relaxed))
                    for (int k = 0; k < 10000; ++k)
                        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
                sink_ += x;
            });
    }
    ~Spinners() {
        stop_ = true;
        for (auto& thread : threads_)
            thread.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> sink_{0};
    std::vector<std::thread> threads_;
};

} // namespace

int main(int argc, char** argv) {
    std::size_t size = 102400;
    bool withScreen = false;
    bool noIdleCores = false;
    int load = 0;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screen") {
            withScreen = true;
        } else if (arg == "--no-idle-cores") {
            noIdleCores = true;
        } else if (arg == "--addressed" || arg == "--named") {
            only = arg;
        } else if (arg == "--load" && i + 1 < argc) {
            load = std::atoi(argv[++i]);
        } else if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos) {
            size = std::strtoul(arg.c_str(), nullptr, 10);
        } else {
            std::fprintf(stderr,
                         "usage: transfer_bench [BYTES] [--screen] [--load N] [--no-idle-cores]\n"
                         "                      [--addressed | --named]\n");
            return 2;
        }
    }
    const double addressedGoal = load > 0 ? 0.97 : 0.95;
    if (load > 0)
        std::printf("%d busy threads beside the transfer on %u cores\n", load,
                    std::thread::hardware_concurrency());
    if (noIdleCores)
        std::printf("cores kept from idling by a SCHED_IDLE thread each\n");
    const Spinners busy(load, false);
    const Spinners idle(noIdleCores ? static_cast<int>(std::thread::hardware_concurrency()) : 0,
                        true);
    Bytes data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    const auto path = std::filesystem::temp_directory_path() / "tavisto-transfer-bench.bin";
    SaveBytesToFile(path.string(), data);

    const double addressedCeiling = 11520.0 * 256 / (274 + 16);
    bool ok = true;
    if (only != "--named")
        ok = run("addressed (KT350--MKA)", 0, size, addressedCeiling, addressedGoal, path.string(),
                 withScreen);
    if (only != "--addressed")
        ok = run("named (KT350-MK)", 5, size, 11520.0, 0.98, path.string(), withScreen) && ok;
    std::filesystem::remove(path);
    return ok ? 0 : 1;
}
