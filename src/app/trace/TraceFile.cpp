#include "app/trace/TraceFile.h"

#include "app/trace/TraceText.h"
#include "files/Utf8Path.h"

#include <cerrno>
#include <cstring>

namespace tavisto {

TraceFile::TraceFile(std::string path, std::ofstream stream)
    : path_(std::move(path)), stream_(std::move(stream)) {}

std::unique_ptr<TraceFile> TraceFile::Open(const std::string& path, Trace& trace,
                                           std::string& message) {
    errno = 0;
    std::ofstream stream(PathFromUtf8(path), std::ios::app);
    if (!stream.is_open()) {
        message = "cannot write the trace file " + path + ": " +
                  (errno != 0 ? std::strerror(errno) : "it does not open");
        return nullptr;
    }
    std::unique_ptr<TraceFile> file(new TraceFile(path, std::move(stream)));
    // The trace calls observers one at a time under its own lock, so the stream and
    // the error are only ever touched by one thread at once; Finish resets the
    // subscription before it reads them.
    file->subscription_ = trace.subscribe([raw = file.get()](const TraceEntry& entry) {
        if (raw->writeError_ != 0)
            return;
        errno = 0;
        raw->stream_ << ReadableTraceLine(entry) << '\n' << std::flush;
        if (!raw->stream_)
            raw->writeError_ = errno != 0 ? errno : EIO;
    });
    message = "OK";
    return file;
}

bool TraceFile::Finish(std::string& message) {
    subscription_.reset();
    if (writeError_ == 0) {
        stream_.close();
        if (!stream_.fail()) {
            message = "OK";
            return true;
        }
        writeError_ = EIO;
    }
    message = "the trace file " + path_ + " is incomplete: " + std::strerror(writeError_);
    return false;
}

} // namespace tavisto
