#pragma once

#include "tests/protocol/ConnectionFixture.h"

namespace tavisto::testing {

// A connection whose line answers one frame with a scripted reply, for what no
// display in the simulated display's repertoire says.
class ProtocolTest : public ConnectionTest {
protected:
    // Every frame equal to `query` is answered with `reply` after `delay`.
    void answer(const Bytes& query, const Bytes& reply, Micros delay = 10ms) {
        line.onWrite = [this, query, reply, delay](const Bytes& written) {
            if (written == query)
                line.arrive(reply, delay);
        };
    }
};

} // namespace tavisto::testing
