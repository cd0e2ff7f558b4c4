#pragma once

#include "sim/line/LineFraming.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace tavisto::sim {

// The display's end of a pseudo-terminal pair. The host opens the slave path as it
// would a serial device. The line holds only the master: while no host has the slave
// open the kernel hangs the master up, which is how the line knows, at any moment and
// without counting events, whether a host is there. As on a real port, bytes sent while
// no host has the port open are lost, and what a host leaves unread when it closes is
// gone. The line reads the host's line speed through the master.
class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Creates the pair; false with a message on failure.
    bool open(std::string& error);
    void close();

    const std::string& slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }
    // Readable when somebody opened the slave: the wake-up while no host is attached
    // (the hung-up master cannot be polled then); -1 when not watched.
    int watchFd() const { return watch_; }

    // The speed the host set on its side of the line, or -1 when unknown.
    int hostBaudRate() const;
    // The framing the host set on its side and what its line discipline does with
    // damaged characters; false when unknown.
    bool hostFraming(Framing& framing, ErrorHandling& errors) const;

    // Non-blocking read and write on the master: bytes read, 0 for none, -1 on error.
    ssize_t read(char* buffer, std::size_t size);
    ssize_t write(const char* data, std::size_t size);

    // Compares whether a host has the port open with what was seen last time. When
    // the host let go, bytes that reached the slave after its close are discarded and a
    // stale exclusive-use flag (left by a host that died) is cleared. A host that
    // closes and reopens between two looks is not seen to have left; the kernel has
    // then already dropped what the first one left unread.
    struct Attachment {
        bool opened = false;
        bool closed = false;
        std::size_t discarded = 0;
    };
    Attachment updateAttachment();
    // Whether a host has the slave open now.
    bool hostAttached() const;

    // A symbolic link to the slave path; removed again by close().
    bool createLink(const std::string& path, std::string& error);

private:
    std::size_t clearAfterHost();

    int master_ = -1;
    int watch_ = -1;
    bool attached_ = false;
    std::string slavePath_;
    std::string link_;
};

} // namespace tavisto::sim
