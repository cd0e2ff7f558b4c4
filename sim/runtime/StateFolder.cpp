#include "sim/runtime/StateFolder.h"

#include "sim/device/Transfer.h"
#include "sim/runtime/SettingsReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tavisto::sim {

namespace {

constexpr const char* kSettings = "settings.ini";
constexpr const char* kFirmware = "firmware.bin";
constexpr const char* kFiles = "files";
constexpr const char* kFlash = "flash";

std::string systemError(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

bool makeFolder(const std::string& path, std::string& error) {
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    struct stat st {};
    if (errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return true;
    if (errno == EEXIST)
        errno = ENOTDIR;
    error = systemError(path);
    return false;
}

// Reads a whole regular file of at most `limit` bytes. False with a message, or with
// an empty message when the file does not exist.
bool readFile(const std::string& path, std::size_t limit, Bytes& out, std::string& error) {
    error.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            error = systemError(path);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok) {
        error = systemError(path);
    } else if (!S_ISREG(st.st_mode)) {
        error = path + ": not a regular file";
        ok = false;
    } else if (static_cast<std::uint64_t>(st.st_size) > limit) {
        error = path + ": " + std::to_string(st.st_size) + " bytes, more than the display's " +
                std::to_string(limit) + "-byte limit";
        ok = false;
    }
    if (ok) {
        out.assign(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t done = 0;
        while (ok && done < out.size()) {
            const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error = n < 0 ? systemError(path) : path + ": shorter than its size";
                ok = false;
            } else {
                done += static_cast<std::size_t>(n);
            }
        }
    }
    ::close(fd);
    return ok;
}

// Writes the file under a temporary name beside it, flushes it to the disk and renames
// it over the old one.
bool writeFileAtomically(const std::string& folder, const std::string& name, const Bytes& data,
                         std::string& error) {
    const std::string path = folder + "/" + name;
    const std::string temporary = folder + "/." + name + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = systemError(temporary);
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            ok = false;
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    if (!ok)
        error = systemError(path);
    if (::close(fd) != 0 && ok) {
        error = systemError(path);
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = systemError(path);
        ok = false;
    }
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool removeFile(const std::string& path, std::string& error) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return true;
    error = systemError(path);
    return false;
}

// The names in a folder, leaving out "." and ".." and the temporary files of writes
// that did not finish (they begin with a dot).
bool listFolder(const std::string& path, std::vector<std::string>& names, std::string& error) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir) {
        error = systemError(path);
        return false;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    return true;
}

// Upper-case hex only: the one spelling the folder writes.
int hexDigit(char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string addressFileName(std::uint32_t address) {
    char name[16];
    std::snprintf(name, sizeof name, "%08X.bin", address);
    return name;
}

bool addressOfFileName(const std::string& name, std::uint32_t& address) {
    if (name.size() != 12 || name.compare(8, 4, ".bin") != 0)
        return false;
    address = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const int digit = hexDigit(name[i]);
        if (digit < 0)
            return false;
        address = address * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

} // namespace

std::string StateFolder::fileNameOf(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || (c == '.' && i > 0);
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

bool StateFolder::nameOfFile(const std::string& fileName, std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < fileName.size(); ++i) {
        if (fileName[i] != '%') {
            out += fileName[i];
            continue;
        }
        if (i + 2 >= fileName.size())
            return false;
        const int high = hexDigit(fileName[i + 1]);
        const int low = hexDigit(fileName[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    // Only the one spelling this folder writes, so that two files never hold one name.
    if (out.empty() || fileNameOf(out) != fileName)
        return false;
    name = std::move(out);
    return true;
}

bool StateFolder::open(const std::string& dir, std::string& error) {
    dir_ = dir;
    settings_.reset();
    storage_ = Storage{};
    savedRevision_.reset();
    if (!makeFolder(dir_, error) || !makeFolder(dir_ + "/" + kFiles, error) ||
        !makeFolder(dir_ + "/" + kFlash, error))
        return false;

    Bytes bytes;
    const std::string settingsPath = dir_ + "/" + kSettings;
    if (readFile(settingsPath, 1 << 20, bytes, error)) {
        DeviceSettings settings;
        if (!readSettingsText(bytes, settings, error)) {
            error = settingsPath + ": " + error;
            return false;
        }
        settings_ = settings;
    } else if (!error.empty()) {
        return false;
    }

    const std::size_t limit = BlockTransfer::kMaxLength;
    std::vector<std::string> names;
    if (!listFolder(dir_ + "/" + kFiles, names, error))
        return false;
    for (const std::string& fileName : names) {
        const std::string path = dir_ + "/" + kFiles + "/" + fileName;
        std::string name;
        if (!nameOfFile(fileName, name)) {
            error = path + ": not a name this folder writes (bytes other than letters, digits, "
                           "'.', '_' and '-' are written as %XX with upper-case hex)";
            return false;
        }
        if (!readFile(path, limit, storage_.files[name], error))
            return false;
    }
    names.clear();
    if (!listFolder(dir_ + "/" + kFlash, names, error))
        return false;
    for (const std::string& fileName : names) {
        const std::string path = dir_ + "/" + kFlash + "/" + fileName;
        std::uint32_t address = 0;
        if (!addressOfFileName(fileName, address)) {
            error = path + ": not an address (8 upper-case hex digits and .bin)";
            return false;
        }
        if (!readFile(path, limit, storage_.flash[address], error))
            return false;
    }
    if (!readFile(dir_ + "/" + kFirmware, limit, storage_.firmware, error) && !error.empty())
        return false;
    error.clear();
    return true;
}

bool StateFolder::save(const DeviceSettings& settings, const Storage& storage, std::string& error) {
    if (settings_ != settings) {
        if (!writeFileAtomically(dir_, kSettings, settingsText(settings), error))
            return false;
        settings_ = settings;
    }
    if (savedRevision_ == storage.revision)
        return true;
    if (!saveStorage(storage, error))
        return false;
    savedRevision_ = storage.revision;
    return true;
}

bool StateFolder::saveStorage(const Storage& storage, std::string& error) {
    const std::string flash = dir_ + "/" + kFlash;
    for (const auto& [address, data] : storage.flash) {
        auto kept = storage_.flash.find(address);
        if (kept != storage_.flash.end() && kept->second == data)
            continue;
        if (!writeFileAtomically(flash, addressFileName(address), data, error))
            return false;
        storage_.flash[address] = data;
    }
    for (auto it = storage_.flash.begin(); it != storage_.flash.end();) {
        if (storage.flash.count(it->first) != 0) {
            ++it;
            continue;
        }
        if (!removeFile(flash + "/" + addressFileName(it->first), error))
            return false;
        it = storage_.flash.erase(it);
    }

    const std::string files = dir_ + "/" + kFiles;
    for (const auto& [name, data] : storage.files) {
        auto kept = storage_.files.find(name);
        if (kept != storage_.files.end() && kept->second == data)
            continue;
        if (!writeFileAtomically(files, fileNameOf(name), data, error))
            return false;
        storage_.files[name] = data;
    }
    for (auto it = storage_.files.begin(); it != storage_.files.end();) {
        if (storage.files.count(it->first) != 0) {
            ++it;
            continue;
        }
        if (!removeFile(files + "/" + fileNameOf(it->first), error))
            return false;
        it = storage_.files.erase(it);
    }

    if (storage.firmware != storage_.firmware) {
        const bool ok = storage.firmware.empty()
                            ? removeFile(dir_ + "/" + kFirmware, error)
                            : writeFileAtomically(dir_, kFirmware, storage.firmware, error);
        if (!ok)
            return false;
        storage_.firmware = storage.firmware;
    }
    return true;
}

} // namespace tavisto::sim
