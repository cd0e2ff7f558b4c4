#pragma once

#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferEngine.h"
#include "tests/app/transfer/InlineThreads.h"
#include "tests/app/transfer/LogLines.h"
#include "tests/app/transfer/ScriptedDisplay.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace tavisto::testing {

// The engine on a scripted display, one thread, virtual time. The session is open
// at 9600 baud (the stored rate), as the download workflows leave it.
class EngineTest : public ::testing::Test {
protected:
    explicit EngineTest(const std::string& model = "KT350--MKA") : display(line, model) {
        connection.CurrentPortName = "/dev/ttyFAKE0";
        connection.CurrentBaudRate = 9600;
        threads.engine = [this]() -> TTransferEngine& {
            return engine;
        };
        std::string message;
        LcdOpenSession(connection, connection.CurrentPortName, 9600, message);
    }

    // Runs the queue marked in `positions` to its end (or 120 s of virtual time).
    void run(int model, std::initializer_list<int> positions, bool fromResources = true,
             const Bytes& chosenData = {}) {
        engine.SetDownListNull();
        for (int p : positions)
            engine.Mark(p);
        TTransferEngine::TQueueStart start;
        start.model = FindModel(model);
        start.fromResources = fromResources;
        start.chosenData = chosenData;
        start.firstPosition = 1;
        engine.StartQueue(start);
        finished = loop.runUntil([this] { return !engine.Running(); }, 120s);
    }

    std::vector<std::string> logLines() const { return LogLines(op); }

    // The block frame the host must send: header, block number, 256 bytes, CRC.
    static Bytes expectedBlock(std::uint32_t number, const Bytes& data) {
        Bytes body = data;
        body.resize(256, '\0');
        Bytes frame = "ACT=0,L=100," + be32(number) + body;
        const std::uint16_t crc = referenceCrc(frame);
        return frame + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
    }

    static Bytes pattern(std::size_t size, int seed = 7) {
        Bytes bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(seed)) & 0xFF);
        return bytes;
    }

    VirtualClock clock;
    FakeLine line{clock};
    TConnection connection{line, clock};
    ScriptedDisplay display;
    RecordingOperator op;
    BlockingOwnerLoop loop{clock};
    InlineThreads threads{connection, loop};
    std::map<std::string, Bytes> resources;
    std::map<int, Bitmap> slots;
    TTransferEngine engine{connection, op, loop, threads,
                           TJobSources{[this](const std::string& name) -> std::optional<Bytes> {
                                           // Resource names are not case-sensitive.
                                           std::string key = name;
                                           for (char& c : key)
                                               c = static_cast<char>(std::toupper(c));
                                           auto it = resources.find(key);
                                           if (it == resources.end())
                                               return std::nullopt;
                                           return it->second;
                                       },
                                       [this](int slot) {
                                           auto it = slots.find(slot);
                                           return it == slots.end() ? Bitmap() : it->second;
                                       }}};
    bool finished = false;
};

} // namespace tavisto::testing
