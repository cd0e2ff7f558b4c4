#include "app/transfer/BlockAnswerer.h"

#include "protocol/FileTransfer.h"

namespace tavisto {

void TBlockAnswerer::Begin(TConnection& connection, const Bytes& fileData,
                           std::function<bool()> stopRequested) {
    connection_ = &connection;
    FileData = &fileData;
    stopRequested_ = std::move(stopRequested);
    sReadBuff.clear();
    finished_ = false;
}

TBlockAnswerer::TAnswered TBlockAnswerer::TransmitSwap(const Bytes& sRead) {
    TAnswered answered;
    if (finished_ || !connection_)
        return answered;
    sReadBuff += sRead;
    while (auto frame = TakeDisplayFrame(sReadBuff)) {
        if (frame->kind == 9) {
            finished_ = true;
            sReadBuff.clear();
            answered.finished = std::move(frame);
            break;
        }
        // Between blocks the display can be set back to its speed; every block sent
        // after a stop was asked for is time on the wire the operator did not want.
        if (stopRequested_ && stopRequested_()) {
            finished_ = true;
            sReadBuff.clear();
            answered.withheld = true;
            break;
        }
        // A failed write is not acted on here: the display asks again or stops
        // asking, and the engine's watchdog ends a job that no longer advances.
        std::string message;
        LcdSendBlock(*connection_, frame->bytes.substr(12, 4), BlockData(*FileData, frame->number),
                     message);
        ++answered.blocks;
        answered.lastBlock = frame->number;
    }
    return answered;
}

std::size_t TBlockAnswerer::Missing() const {
    if (finished_ || sReadBuff.empty() || sReadBuff.size() >= kDisplayFrameLength)
        return 0;
    return kDisplayFrameLength - sReadBuff.size();
}

} // namespace tavisto
