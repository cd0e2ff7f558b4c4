// A firmware update on a named model through the real serial layer (a pseudo-terminal),
// the named worker's thread and a blocking owner loop in real time, against the virtual
// display; the other storage workflows run on the virtual clock (StorageSimTest).
#include "app/storage/StorageWorkflows.h"
#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferRunner.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/app/RecordingOperator.h"

#include <gtest/gtest.h>
#include <map>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kMk = 5;

class StoragePtyTest : public ::testing::Test {
protected:
    void startDisplay(int model, std::uint32_t version = 14) {
        sim::SimOptions options;
        options.model = model;
        options.baudRate = 9600;
        options.version = version;
        display = std::make_unique<sim::VirtualDisplay>(options);
        std::string error;
        ASSERT_TRUE(display->start(error)) << error;
        connection.CurrentPortName = display->devicePath();
        connection.CurrentBaudRate = 9600;
    }

    // A stand-in image that names itself, so what the display stored shows which
    // resource it came from.
    void provide(const std::string& name) {
        Bytes bytes = name + ":";
        while (bytes.size() < 40)
            bytes += name;
        resources[name] = bytes;
    }

    bool finish(Millis limit) {
        return loop.runUntil([this] { return !runner.engine().Running(); }, limit);
    }

    std::unique_ptr<sim::VirtualDisplay> display;
    TConnection connection;
    RecordingOperator op;
    BlockingOwnerLoop loop;
    std::map<std::string, Bytes> resources;
    TTransferRunner runner{connection, op, loop,
                           TJobSources{[this](const std::string& name) -> std::optional<Bytes> {
                                           std::string key = name;
                                           for (char& c : key)
                                               c = static_cast<char>(
                                                   std::toupper(static_cast<unsigned char>(c)));
                                           const auto found = resources.find(key);
                                           if (found == resources.end())
                                               return std::nullopt;
                                           return found->second;
                                       },
                                       {}}};
};

TEST_F(StoragePtyTest, FirmwareFromVersionTwelveOnIsSentAlone) {
    for (std::uint32_t version : {11u, 12u}) {
        SCOPED_TRACE(version);
        startDisplay(kMk, version);
        provide("BIG52GBK");
        provide("KT350MK");
        ASSERT_TRUE(btn_updateClick(connection, op, FindModel(kMk), runner));
        ASSERT_TRUE(finish(60s));
        EXPECT_EQ(display->storage().firmware, resources["KT350MK"]);
        const bool table = display->storage().files.count("big52gbk.bin") != 0;
        EXPECT_EQ(table, version < 12);
        EXPECT_EQ(op.lastBox().text,
                  version < 12 ? "Done! [Succeed 2 / Failed 0]" : "Done! [Succeed 1 / Failed 0]");
    }
}

} // namespace
} // namespace tavisto::testing
