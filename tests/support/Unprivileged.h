#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>

namespace tavisto::testing {

// Runs file operations as a user whom file permissions stop. The superuser ignores
// permission bits, so under root the action runs in a forked child that has become
// "nobody"; any other user runs it in the test process itself.
class Unprivileged {
public:
    Unprivileged();

    // False under root on a system without a "nobody" user.
    bool available() const { return available_; }
    bool separateUser() const { return separate_; }
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }

    // Gives `path` to the acting user (under root; otherwise it is the user's already).
    void own(const std::filesystem::path& path) const;

    // What `action` returns when run as the user, or a text starting "child" when the
    // child could not run it.
    std::string run(const std::function<std::string()>& action) const;

private:
    bool available_ = true;
    bool separate_ = false;
    uid_t uid_;
    gid_t gid_;
};

} // namespace tavisto::testing
