#pragma once

#include "link/Connection.h"
#include "protocol/TransferFrames.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace tavisto {

// The frame splitter of an addressed job, which answers the display's block
// requests from the file's bytes as soon as they are complete. It runs on whichever
// thread reads the port (the receiver, so that a block costs one wake-up), and only
// there: the owner sets it up with Begin before the receiver starts and leaves it
// alone until the receiver has stopped. The file is the engine's FileData, which
// does not change while the job runs.
class TBlockAnswerer {
public:
    // What one batch of received bytes came to.
    struct TAnswered {
        int blocks = 0;                        // block requests answered
        std::uint32_t lastBlock = 0;           // the number of the last one answered
        std::optional<TDisplayFrame> finished; // the display's download-finished frame
        bool withheld = false; // a block request was not answered: a stop was asked for
    };

    // A new job: bytes left from an earlier one cannot belong to it. `stopRequested`,
    // when set, is asked before each block goes out (on the reading thread); once it
    // says yes, no block is answered any more and the owner is to stop the queue.
    void Begin(TConnection& connection, const Bytes& fileData,
               std::function<bool()> stopRequested = {});

    // Appends `sRead` to the receive buffer and acts on every complete frame: a block
    // request is answered at once, the finished frame ends the job's reading (bytes
    // behind it are dropped and later batches ignored) and is handed back.
    TAnswered TransmitSwap(const Bytes& sRead);

    // Bytes still missing from a frame begun in the buffer; 0 when none is begun.
    std::size_t Missing() const;

private:
    TConnection* connection_ = nullptr;
    const Bytes* FileData = nullptr;
    std::function<bool()> stopRequested_;
    Bytes sReadBuff;
    bool finished_ = false;
};

} // namespace tavisto
