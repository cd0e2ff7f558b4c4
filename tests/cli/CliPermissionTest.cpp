#include "cli/shell/Cli.h"
#include "tests/support/PtyPair.h"
#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tavisto::testing {
namespace {

// A serial port that belongs to root and the dialout group, rw for both (as udev
// sets them up), run on by a user outside that group.
class PortPermissionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!user.separateUser())
            GTEST_SKIP() << "needs root to give the port to root:dialout";
        if (!user.available())
            GTEST_SKIP() << "no unprivileged user to run as";
        const group* dialout = ::getgrnam("dialout");
        if (!dialout)
            GTEST_SKIP() << "no dialout group";
        ASSERT_EQ(::chown(pty.path().c_str(), 0, dialout->gr_gid), 0);
        ASSERT_EQ(::chmod(pty.path().c_str(), 0660), 0);
    }

    // Runs the command line as the unprivileged user with the real ports and this
    // port listed; the result is the exit code, stdout and stderr, one after another.
    std::string runAsUser(const std::vector<std::string>& args, std::uint16_t langId) {
        return user.run([&] {
            cli::CliEnvironment environment = cli::SystemEnvironment();
            environment.langId = langId;
            environment.enumPorts = [this](std::vector<std::string>& list, std::string& message) {
                list = {pty.path(), "/dev/null"};
                message = "OK";
                return true;
            };
            std::ostringstream out;
            std::ostringstream err;
            const int code = cli::RunCli(args, out, err, environment);
            return std::to_string(code) + "|" + out.str() + "|" + err.str();
        });
    }

    Unprivileged user;
    PtyPair pty;
};

TEST_F(PortPermissionTest, OpenErrorNamesTheGroupAndTheFix) {
    EXPECT_EQ(runAsUser({"--port", pty.path(), "--baud", "9600", "version"}, kLangEnglish),
              "1||" + pty.path() + ": Error opening serial port!\nNo permission to open " +
                  pty.path() +
                  " (group dialout): run sudo usermod -aG dialout $USER, then log in again.\n");
    EXPECT_EQ(runAsUser({"--port", pty.path(), "clear"}, kLangChinese),
              "1||" + pty.path() + ": 打开串口出错，此串口不存在或被占用!\n没有权限打开 " +
                  pty.path() +
                  "（属于 dialout 组）：请运行 sudo usermod -aG dialout $USER，然后重新登录。\n");
}

TEST_F(PortPermissionTest, PortListMarksThePortsTheUserCannotOpen) {
    EXPECT_EQ(runAsUser({"ports"}, kLangEnglish),
              "0|" + pty.path() + "  (no permission, group dialout)\n/dev/null\n|");
}

// A missing port is not a permission problem: the line says it is not there.
TEST_F(PortPermissionTest, AMissingPortIsNamedAsMissing) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCli({"--port", "/nonexistent/ttyUSB9", "--baud", "9600", "clear"}, out, err,
                          cli::SystemEnvironment()),
              1);
    EXPECT_EQ(err.str(), "/nonexistent/ttyUSB9: Error opening serial port!\n/nonexistent/ttyUSB9 "
                         "does not exist: check the port name and the cable (tavisto-cli ports "
                         "lists the ports there are).\n");
}

} // namespace
} // namespace tavisto::testing
