#pragma once

#include "sim/device/Checksum.h"
#include "tests/app/ModelRows.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/support/Wire.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <vector>

namespace tavisto::testing {

// The engine against the simulated display, one thread, virtual time. The session is
// open at 9600 baud (the stored rate), as the download workflows leave it; `faults`
// reach the display when the queue starts.
class EngineTest : public SimulatedWorkflowTest {
protected:
    explicit EngineTest(int model = kMka) {
        startDisplay(model);
        std::string message;
        LcdOpenSession(connection, connection.CurrentPortName, 9600, message);
    }

    // Runs the queue marked in `positions` to its end (or `limit` of virtual time).
    void run(int model, const std::vector<int>& positions, Millis limit = 120s) {
        display->setFaults(faults);
        engine.SetDownListNull();
        for (int p : positions)
            engine.Mark(p);
        TTransferEngine::TQueueStart start;
        start.model = FindModel(model);
        start.fromResources = true;
        start.firstPosition = 1;
        engine.StartQueue(start);
        finished = finish(limit);
    }

    sim::Storage stored() const { return display->storage(); }

    // The blocks the display took in so far.
    long blocksTaken() const {
        return std::ranges::count_if(display->log(), [](const sim::LogEntry& e) {
            return e.kind == sim::LogKind::Received && e.bytes.starts_with("ACT=0,L=100,");
        });
    }

    static Bytes be32(std::uint32_t v) {
        return Bytes{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 8), static_cast<char>(v)};
    }

    // A frame with its CRC (worked out by the display's own code) appended.
    static Bytes withCrc(Bytes frame) {
        const std::uint16_t crc = sim::crc16(frame);
        return frame + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
    }

    // The block frame the host must send: header, block number, 256 bytes, CRC.
    static Bytes expectedBlock(std::uint32_t number, const Bytes& data) {
        Bytes body = data;
        body.resize(256, '\0');
        return withCrc("ACT=0,L=100," + be32(number) + body);
    }

    static Bytes pattern(std::size_t size, int seed = 7) {
        Bytes bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(seed)) & 0xFF);
        return bytes;
    }

    TTransferEngine& engine = runner.engine();
    sim::Faults faults;
    bool finished = false;
};

} // namespace tavisto::testing
