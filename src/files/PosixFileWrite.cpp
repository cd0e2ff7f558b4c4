#include "files/FileWrite.h"
#include "files/PosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <sys/resource.h>

namespace tavisto {
namespace fs = std::filesystem;
using posix::SystemReason;
using posix::UniqueFd;

namespace {

// As many links as the kernel itself follows before giving up.
constexpr int kMaxLinkHops = 40;

enum class Outcome { Saved, Failed, WriteInPlace };

bool fail(std::string& message, const char* action, const fs::path& path,
          const std::string& reason) {
    message = FileErrorMessage(action, path, reason);
    return false;
}

// The file that a save through `path` changes: symbolic links followed one at a time,
// so that a link to a file not made yet still says where the file goes. Returns 0 or
// the errno that stopped it.
int resolveLinks(const fs::path& path, fs::path& target) {
    target = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode))
            return 0;
        std::error_code error;
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            return error.value();
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ELOOP;
}

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

// Opens a file of a name nobody uses in the target's folder. The name is short, so a
// long target name cannot make it too long, and hidden.
int createTemporary(const fs::path& target, mode_t mode, fs::path& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << ".tavisto-" << std::hex << random() << random() << ".tmp";
        temporary = target.parent_path() / name.str();
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Removes the temporary file unless the save got as far as renaming it.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void keep() { path_.clear(); }

private:
    fs::path path_;
};

// Makes the rename itself durable; a failure here does not undo the save.
void syncFolder(const fs::path& folder) {
    UniqueFd fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

// Writes a complete new file beside `target` and renames it over it. `existing` is the
// target's state when there is one to keep. Gives up (WriteInPlace) without a message
// where the new file could not have the old one's folder, owner or group.
Outcome replaceByRename(const fs::path& path, const fs::path& target, const struct stat* existing,
                        const Bytes& bytes, std::string& message) {
    fs::path temporaryPath;
    UniqueFd file(createTemporary(target, existing ? 0600 : 0666, temporaryPath));
    if (!file.valid()) {
        if (existing && (errno == EACCES || errno == EPERM))
            return Outcome::WriteInPlace;
        fail(message, "create", path, SystemReason(errno));
        return Outcome::Failed;
    }
    TemporaryFile temporary(temporaryPath);
    if (existing) {
        struct stat made {};
        if (::fstat(file.get(), &made) != 0) {
            fail(message, "create", path, SystemReason(errno));
            return Outcome::Failed;
        }
        // Owner first: changing it can clear the set-user-ID bits the mode then restores.
        if ((made.st_uid != existing->st_uid || made.st_gid != existing->st_gid) &&
            ::fchown(file.get(), existing->st_uid, existing->st_gid) != 0)
            return Outcome::WriteInPlace;
        if (::fchmod(file.get(), existing->st_mode & 07777) != 0) {
            fail(message, "create", path, SystemReason(errno));
            return Outcome::Failed;
        }
    }
    if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
        fail(message, "write", path, SystemReason(errno));
        return Outcome::Failed;
    }
    if (const int error = file.close(); error != 0) {
        fail(message, "write", path, SystemReason(error));
        return Outcome::Failed;
    }
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        fail(message, "create", path, SystemReason(errno));
        return Outcome::Failed;
    }
    temporary.keep();
    syncFolder(target.parent_path());
    return Outcome::Saved;
}

// Finds out before the old content is overwritten whether the new content fits: the
// process's file size limit and, on Linux, the disk space, reserved without changing
// the file's size. Returns 0 or the errno to report.
int reserveSpace(int fd, std::size_t size) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        size > limit.rlim_cur)
        return EFBIG;
#ifdef __linux__
    // File systems that cannot reserve space answer EOPNOTSUPP; then the write tells.
    if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        return errno;
#else
    (void)fd;
#endif
    return 0;
}

// Overwrites the open file from its start and cuts it to the new length.
bool writeInPlace(const fs::path& path, UniqueFd& file, const Bytes& bytes, std::string& message) {
    if (const int flags = ::fcntl(file.get(), F_GETFL); flags >= 0)
        ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (const int error = reserveSpace(file.get(), bytes.size()); error != 0)
        return fail(message, "write", path, SystemReason(error));
    if (!writeAll(file.get(), bytes) ||
        ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(file.get()) != 0)
        return fail(message, "write", path, SystemReason(errno));
    if (const int error = file.close(); error != 0)
        return fail(message, "write", path, SystemReason(error));
    return true;
}

} // namespace

bool SaveFile(const fs::path& path, const Bytes& bytes, std::string& message) {
    fs::path target;
    if (const int error = resolveLinks(path, target); error != 0)
        return fail(message, "create", path, SystemReason(error));

    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return fail(message, "create", path, SystemReason(errno));
        if (replaceByRename(path, target, nullptr, bytes, message) != Outcome::Saved)
            return false;
        message = "OK";
        return true;
    }
    if (!S_ISREG(existing.st_mode))
        return fail(message, "create", path, NotRegularFileReason(posix::KindOf(existing.st_mode)));
    // Only opening the file for writing asks the system whether this process may
    // write it (mode bits, access lists, read-only mounts); opening without
    // truncating changes nothing. Not blocking keeps a named pipe put there in the
    // meantime from stopping the save.
    UniqueFd file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid() || ::fstat(file.get(), &existing) != 0)
        return fail(message, "create", path, SystemReason(errno));
    if (!S_ISREG(existing.st_mode))
        return fail(message, "create", path, NotRegularFileReason(posix::KindOf(existing.st_mode)));

    // A rename would take the name away from the file's other hard links.
    if (existing.st_nlink <= 1) {
        const Outcome outcome = replaceByRename(path, target, &existing, bytes, message);
        if (outcome == Outcome::Failed)
            return false;
        if (outcome == Outcome::Saved) {
            message = "OK";
            return true;
        }
    }
    if (!writeInPlace(path, file, bytes, message))
        return false;
    message = "OK";
    return true;
}

} // namespace tavisto
