#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tavisto {
namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

std::string systemReason(int error) {
    return std::strerror(error);
}

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now and reports whether the last buffered data made it.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

bool writeAll(int fd, const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Opens a temporary file of a name nobody uses, next to `target`.
int createTemporary(const fs::path& target, fs::path& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() /
                    ("." + target.filename().string() + ".tmp-" + std::to_string(random()));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Makes the rename itself durable; a failure here does not undo the save.
void syncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

fs::path SettingsFileName(const fs::path& chosen) {
    fs::path name = chosen;
    if (name.extension() != ".ini")
        name.replace_extension(".ini");
    return name;
}

bool HasFileNamePart(const fs::path& chosen, std::string& message) {
    const fs::path name = chosen.filename();
    if (!name.empty() && name != "." && name != "..")
        return true;
    message = "Cannot save " + quoted(chosen) + ": the name has no file part.";
    return false;
}

bool WriteFileAtomically(const fs::path& path, const Bytes& bytes, std::string& message) {
    fs::path target = path;
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        const fs::path resolved = fs::weakly_canonical(path, error);
        if (!error)
            target = resolved;
    }

    fs::path temporary;
    FileDescriptor file(createTemporary(target, temporary));
    if (file.get() < 0) {
        message = "Cannot create file " + quoted(path) + ". " + systemReason(errno);
        return false;
    }
    // Nothing but the complete file may take the target's place.
    auto fail = [&](const char* what, int reason) {
        if (file.get() >= 0)
            file.close();
        ::unlink(temporary.c_str());
        message = std::string(what) + quoted(path) + ". " + systemReason(reason);
        return false;
    };

    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.get(), existing.st_mode & 07777);
    if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0)
        return fail("Cannot write file ", errno);
    if (file.close() != 0)
        return fail("Cannot write file ", errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail("Cannot create file ", errno);
    syncFolder(target.parent_path());
    message = "OK";
    return true;
}

bool ReadWholeFile(const fs::path& path, Bytes& bytes, std::string& message, std::size_t limit) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        message = "Cannot open file " + quoted(path) + ". " + systemReason(errno);
        return false;
    }
    struct stat info {};
    int reason = 0;
    if (::fstat(file.get(), &info) != 0)
        reason = errno;
    else if (S_ISDIR(info.st_mode))
        reason = EISDIR;
    else if (!S_ISREG(info.st_mode))
        reason = EINVAL; // a device or a pipe is no settings file
    if (reason != 0) {
        message = "Cannot open file " + quoted(path) + ". " + systemReason(reason);
        return false;
    }
    Bytes content;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            message = "Cannot read file " + quoted(path) + ". " + systemReason(errno);
            return false;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
        if (content.size() > limit) {
            message = "The file " + quoted(path) + " is too large for a settings file.";
            return false;
        }
    }
    bytes = std::move(content);
    message = "OK";
    return true;
}

} // namespace tavisto
