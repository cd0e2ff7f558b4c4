#pragma once

#include "app/settings/SettingsForm.h"
#include "link/Connection.h"
#include "tests/app/RecordingOperator.h"
#include "tests/support/FakeLine.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace tavisto::testing {

using namespace std::chrono_literals;

// A scripted display on a fake line with a virtual clock: it answers the model query,
// echoes the frames that the display echoes, and answers the configuration query with
// `configuration`. Frames listed in `silentFor` get no answer, those in `wrongEchoFor`
// a wrong one.
class DisplayTest : public ::testing::Test {
protected:
    DisplayTest() {
        connection.CurrentPortName = "/dev/ttyFAKE0";
        connection.CurrentBaudRate = 9600;
        line.onWrite = [this](const Bytes& frame) {
            answer(frame);
        };
    }

    void answer(const Bytes& frame) {
        if (silentFor.count(frame) || silent)
            return;
        if (frame == wire("02 07 16 01")) {
            line.arrive(Bytes("KT350-MK") + '\0', 10ms);
        } else if (frame == wire("02 07 16 05")) {
            if (!configuration.empty())
                line.arrive(configuration + '\0', 10ms);
        } else if (isEchoed(frame)) {
            Bytes reply = frame;
            if (wrongEchoFor.count(frame))
                reply.back() = static_cast<char>(reply.back() ^ 0x01);
            line.arrive(reply, 20ms);
        }
    }

    // Colour, header-mode and main-text-lines frames come back as they were sent.
    static bool isEchoed(const Bytes& frame) {
        if (frame.size() < 3 || frame[0] != 0x02 || frame[1] != 0x07)
            return false;
        const std::set<int> echoed = {0x09, 0x0A, 0x0B, 0x0C, 0x0E, 0x0F, 0x10, 0x11, 0x14};
        return echoed.count(static_cast<unsigned char>(frame[2])) != 0;
    }

    // Every frame written, with the readiness probes left out.
    std::vector<Bytes> commandsSent() const {
        std::vector<Bytes> sent;
        for (const Bytes& frame : line.writes()) {
            if (frame != wire("02 07 16 01"))
                sent.push_back(frame);
        }
        return sent;
    }

    std::set<Bytes> silentFor;
    std::set<Bytes> wrongEchoFor;
    bool silent = false;
    Bytes configuration;

    VirtualClock clock;
    FakeLine line{clock};
    TConnection connection{line, clock};
    RecordingOperator op;
    TSettingsForm form;
    TDisplayInfo info;
};

} // namespace tavisto::testing
