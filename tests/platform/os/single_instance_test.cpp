#include "platform/os/single_instance.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

extern char** environ;

namespace {

// A copy of the helper program with its own WORKMEMO_HOME, talking through two pipes. An
// empty `runtime` leaves XDG_RUNTIME_DIR unset; `temp`, when given, is its TMPDIR.
class Copy {
 public:
  Copy(const std::string& home, const std::string& runtime, const std::string& temp = {}) {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) return;
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::strncmp(*e, "WORKMEMO_HOME=", 14) != 0 && std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0 &&
          std::strncmp(*e, "TMPDIR=", 7) != 0)
        env.emplace_back(*e);
    }
    env.push_back("WORKMEMO_HOME=" + home);
    if (!runtime.empty()) env.push_back("XDG_RUNTIME_DIR=" + runtime);
    if (!temp.empty()) env.push_back("TMPDIR=" + temp);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    char* argv[] = {const_cast<char*>(SINGLE_INSTANCE_HELPER), nullptr};
    if (::posix_spawn(&pid_, SINGLE_INSTANCE_HELPER, &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~Copy() {
    CloseInput();
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
  }

  // The next line the copy prints, or "" when it prints none before the guard runs out.
  std::string Line() {
    std::string line;
    for (;;) {
      const std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      pollfd p{output_, POLLIN, 0};
      if (::poll(&p, 1, 20000) <= 0) return {};
      char chunk[256];
      const ssize_t n = ::read(output_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  void CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }

  // Exit code after the copy ended on its own; -1 when it was killed.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void Kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffer_;
};

class SingleInstanceTest : public ::testing::Test {
 protected:
  // A later copy in `home` that finds the running one, asks it to show itself and ends.
  void StartLaterCopy(const std::string& home) {
    Copy later(home, runtime.path());
    EXPECT_EQ(later.Line(), "another");
    EXPECT_EQ(later.Wait(), 0);
  }

  testsupport::TempDir runtime;
  testsupport::TempDir homes;
};

TEST_F(SingleInstanceTest, ASecondCopyAsksTheFirstToShowItselfAndEndsWithZero) {
  const std::string home = homes.File("home");
  const std::string other = homes.File("other");
  const std::string link = homes.File("link");
  std::filesystem::create_directory(home);
  std::filesystem::create_directory_symlink(home, link);

  Copy first(home, runtime.path());
  ASSERT_EQ(first.Line(), "first");
  StartLaterCopy(link);  // the same directory through another name is the same program
  EXPECT_EQ(first.Line(), "shown");
  StartLaterCopy(home);
  EXPECT_EQ(first.Line(), "shown");

  // Another program directory runs a copy of its own, created when missing.
  Copy elsewhere(other, runtime.path());
  EXPECT_EQ(elsewhere.Line(), "first");
  EXPECT_TRUE(std::filesystem::is_directory(other));
  EXPECT_EQ(testsupport::ModeOf(other), "700");

  first.CloseInput();
  elsewhere.CloseInput();
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(elsewhere.Wait(), 0);
  // A copy that ended cleanly leaves neither lock nor socket behind.
  EXPECT_TRUE(std::filesystem::is_empty(runtime.path()));
}

// Whatever else reaches the socket is let go without a word: a wrong line, too many bytes
// without an end of line, a caller that hangs up. The running copy goes on answering.
TEST_F(SingleInstanceTest, AnythingButTheRequestIsIgnored) {
  const std::string home = homes.File("home");
  Copy first(home, runtime.path());
  ASSERT_EQ(first.Line(), "first");
  std::string socketPath;
  for (const auto& entry : std::filesystem::directory_iterator(runtime.path())) {
    if (entry.path().extension() == ".socket") socketPath = entry.path();
  }
  ASSERT_FALSE(socketPath.empty());
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
  for (const std::string& sent : {std::string("hide\n"), std::string(100, 'x'), std::string("sh")}) {
    SCOPED_TRACE(sent);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::send(fd, sent.data(), sent.size(), MSG_NOSIGNAL), static_cast<ssize_t>(sent.size()));
    if (sent == "sh") {
      ::close(fd);  // hangs up halfway through
      continue;
    }
    char answer[8];
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_EQ(::recv(fd, answer, sizeof answer, 0), 0);  // closed without an answer
    ::close(fd);
  }
  StartLaterCopy(home);
  EXPECT_EQ(first.Line(), "shown");
  first.CloseInput();
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(first.Line(), "");  // shown once only
}

TEST_F(SingleInstanceTest, TheLockOfACopyThatDiedIsTakenOver) {
  const std::string home = homes.File("home");
  {
    Copy dead(home, runtime.path());
    ASSERT_EQ(dead.Line(), "first");
    dead.Kill();
  }
  ASSERT_FALSE(std::filesystem::is_empty(runtime.path()));  // its lock and socket stay behind

  Copy next(home, runtime.path());
  ASSERT_EQ(next.Line(), "first");
  StartLaterCopy(home);
  EXPECT_EQ(next.Line(), "shown");
}

// Without a runtime directory the lock and socket go in a folder of the user's own below the
// temporary directory, never straight into that shared directory, where another user could
// take the lock first and keep the program from starting.
TEST_F(SingleInstanceTest, WithoutARuntimeDirectoryTheLockIsKeptInAFolderOfTheUsersOwn) {
  const std::string home = homes.File("home");
  const std::string temp = runtime.path();
  const std::string own = runtime.File("workmemo-" + std::to_string(::geteuid()));
  {
    Copy first(home, "", temp);
    ASSERT_EQ(first.Line(), "first");
    std::vector<std::string> inTemp, inOwn;
    for (const auto& entry : std::filesystem::directory_iterator(temp)) inTemp.push_back(entry.path());
    for (const auto& entry : std::filesystem::directory_iterator(own)) inOwn.push_back(entry.path().extension());
    std::sort(inOwn.begin(), inOwn.end());
    EXPECT_EQ(inTemp, std::vector<std::string>{own});
    EXPECT_EQ(inOwn, (std::vector<std::string>{".lock", ".socket"}));
    EXPECT_EQ(testsupport::ModeOf(own), "700");
    Copy later(home, "", temp);
    EXPECT_EQ(later.Line(), "another");
    EXPECT_EQ(later.Wait(), 0);
    EXPECT_EQ(first.Line(), "shown");
    first.CloseInput();
    EXPECT_EQ(first.Wait(), 0);
  }

  // A folder of that name that is not the user's alone is left as it is and no lock is taken
  // (the program then runs on without one). One of the user's own that others may enter is
  // closed to them.
  const std::string elsewhere = homes.File("elsewhere");
  std::filesystem::create_directory(elsewhere);
  const struct {
    const char* name;
    void (*make)(const std::string& own, const std::string& elsewhere);
    const char* said;
  } cases[] = {
      {"made by another user",
       [](const std::string& own, const std::string&) {
         ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
         ASSERT_EQ(::chown(own.c_str(), 4242, 4242), 0);
       },
       "failed"},
      {"a link to another folder",
       [](const std::string& own, const std::string& elsewhere) {
         std::filesystem::create_directory_symlink(elsewhere, own);
       },
       "failed"},
      {"the user's own, open to all",
       [](const std::string& own, const std::string&) {
         ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
         ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
       },
       "first"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(own);
    c.make(own, elsewhere);
    Copy copy(home, "", temp);
    EXPECT_EQ(copy.Line(), c.said);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    if (std::string(c.said) == "first") {
      EXPECT_EQ(testsupport::ModeOf(own), "700");
    } else {
      EXPECT_TRUE(std::filesystem::is_empty(own));
    }
  }
}

}  // namespace
