#include "platform/os/power.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

using platform::os::PowerRequest;
using platform::os::RecordingPowerBackend;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Sets a variable for the test's lifetime and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_) ::setenv(name_, old_.c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(PowerTest, TheRecordingFakeInPlaceReceivesEveryRequest) {
  RecordingPowerBackend fake;
  platform::os::SetPowerBackend(&fake);
  EXPECT_TRUE(platform::os::CurrentPowerBackend().Perform(PowerRequest::Restart, true));
  fake.succeed = false;
  EXPECT_FALSE(platform::os::CurrentPowerBackend().Perform(PowerRequest::LockScreen, false));
  platform::os::SetPowerBackend(nullptr);
  const std::vector<RecordingPowerBackend::Call> expected = {{PowerRequest::Restart, true},
                                                             {PowerRequest::LockScreen, false}};
  EXPECT_EQ(fake.calls, expected);
  EXPECT_NE(&platform::os::CurrentPowerBackend(), &fake);
}

TEST(PowerTest, DryRunIsOnForAnyValueButEmptyOrZero) {
  const struct {
    const char* value;
    bool dryRun;
  } cases[] = {{"1", true}, {"yes", true}, {"0", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    // Only the answer is read here; no request is made while the variable is off.
    ScopedEnv env("WORKMEMO_POWER_DRY_RUN", c.value);
    EXPECT_EQ(platform::os::PowerDryRun(), c.dryRun);
  }
}

// Under the dry run the desktop's backend only writes its log line: it connects to no bus
// and starts no program. Both buses point at a socket of this test, and the monitor tool's
// name finds a script of this test that leaves a mark when it runs.
TEST(PowerTest, TheDesktopBackendUnderDryRunOnlyLogs) {
  testsupport::TempDir dir;
  const std::string log = dir.File("power.log");
  const std::string socketPath = dir.File("bus");
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
  std::strcpy(address.sun_path, socketPath.c_str());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  const std::string mark = dir.File("xset-ran");
  const std::string tool = dir.File("xset");
  std::ofstream(tool) << "#!/bin/sh\ntouch '" << mark << "'\n";
  ::chmod(tool.c_str(), 0755);

  {
    ScopedEnv dryRun("WORKMEMO_POWER_DRY_RUN", "1");
    ScopedEnv logFile("WORKMEMO_POWER_LOG", log);
    ScopedEnv session("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socketPath);
    ScopedEnv system("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + socketPath);
    ScopedEnv path("PATH", dir.path());
    ScopedEnv display("DISPLAY", ":0");
    platform::os::SetPowerBackend(nullptr);
    auto& backend = platform::os::CurrentPowerBackend();
    EXPECT_TRUE(backend.Perform(PowerRequest::Shutdown, false));
    EXPECT_TRUE(backend.Perform(PowerRequest::Restart, true));
    EXPECT_TRUE(backend.Perform(PowerRequest::LogOff, true));
    EXPECT_TRUE(backend.Perform(PowerRequest::LockScreen, false));
    EXPECT_TRUE(backend.Perform(PowerRequest::MonitorOff, false));
    ::usleep(100 * 1000);  // a detached program, had one been started, would have run by now
  }

  EXPECT_EQ(::accept(listener, nullptr, nullptr), -1);
  EXPECT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK);
  ::close(listener);
  EXPECT_NE(::access(mark.c_str(), F_OK), 0);
  EXPECT_EQ(ReadAll(log),
            "workmemo power dry run: shutdown (not forced): would ask session manager shutdown, "
            "else logind PowerOff\n"
            "workmemo power dry run: restart (forced): would ask logind Reboot\n"
            "workmemo power dry run: log off (forced): would ask logind TerminateSession\n"
            "workmemo power dry run: lock screen: would ask logind Session.Lock\n"
            "workmemo power dry run: monitor off: would ask xset dpms force off\n");
}

}  // namespace
