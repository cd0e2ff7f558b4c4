#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace tavisto::sim {

// The display's end of a pseudo-terminal pair. The host opens the slave path as it
// would a serial device. The line keeps a descriptor of its own on the slave side
// (read only to discard what a departed host left) so that the master does not hang up between the
// host's opens, reads the line speed the host set there, and watches the slave for opens and closes
// so that, as on a real port, bytes sent while the host has the port closed are lost.
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
    // Readable when the host opened or closed the slave; -1 when not watched.
    int watchFd() const { return watch_; }

    // The speed the host set on its side of the line, or -1 when unknown.
    int hostBaudRate() const;

    // Non-blocking read and write on the master: bytes read, 0 for none, -1 on error.
    ssize_t read(char* buffer, std::size_t size);
    ssize_t write(const char* data, std::size_t size);

    // Takes in the open and close notifications. When the host's last descriptor
    // closes, bytes it did not read are discarded (as a real port's close does) and a
    // stale exclusive-use flag (left by a host that died) is cleared. The host can
    // reopen before this has run, and then still sees those bytes: the display can
    // only catch up with a close, not stop it.
    struct Attachment {
        int opened = 0;
        int closed = 0;
        std::size_t discarded = 0;
    };
    Attachment updateAttachment();
    // Whether the host has the slave open (true when that cannot be watched).
    bool hostAttached() const { return watch_ < 0 || hostOpens_ > 0; }

    // A symbolic link to the slave path; removed again by close().
    bool createLink(const std::string& path, std::string& error);

private:
    std::size_t discardUnread();

    int master_ = -1;
    int slave_ = -1;
    int watch_ = -1;
    int hostOpens_ = 0;
    std::string slavePath_;
    std::string link_;
};

} // namespace tavisto::sim
