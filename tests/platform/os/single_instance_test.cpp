#include "platform/os/single_instance.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files/files.h"
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

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  // A later copy in `home` that finds the running one, asks it to show itself and ends; with
  // `said` "noanswer", one that got no answer and says so.
  void StartLaterCopy(const std::string& home) { StartLaterCopy(home, runtime.path()); }
  void StartLaterCopy(const std::string& home, const std::string& runtimeDir, const std::string& temp = {},
                      const char* said = "another") {
    Copy later(home, runtimeDir, temp);
    EXPECT_EQ(later.Line(), said);
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
  // A copy that ended cleanly leaves no socket behind; the lock file stays, and means nothing.
  EXPECT_EQ(Names(home), std::vector<std::string>{".workmemo.lock"});
  EXPECT_EQ(Names(other), std::vector<std::string>{".workmemo.lock"});
  EXPECT_TRUE(std::filesystem::is_empty(runtime.path()));
}

// Whatever else reaches the socket is let go without a word: a wrong line, too many bytes
// without an end of line, a caller that hangs up. The running copy goes on answering.
TEST_F(SingleInstanceTest, AnythingButTheRequestIsIgnored) {
  const std::string home = homes.File("home");
  Copy first(home, runtime.path());
  ASSERT_EQ(first.Line(), "first");
  std::string socketPath;
  for (const auto& entry : std::filesystem::directory_iterator(home)) {
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
  ASSERT_FALSE(std::filesystem::is_empty(home));  // its lock and socket stay behind

  Copy next(home, runtime.path());
  ASSERT_EQ(next.Line(), "first");
  StartLaterCopy(home);
  EXPECT_EQ(next.Line(), "shown");
}

std::string FirstLineOf(const std::string& path) {
  std::string line;
  std::getline(std::ifstream(path), line);
  return line;
}

// Whatever a lock file holds, only a lock that a running copy holds stops a start: a file
// written on another computer sharing the folder (its host name and ids), or one naming a
// process that now lives under the same id and name, as a copy in a PID namespace gets the
// same low id each time.
TEST_F(SingleInstanceTest, ALockFileLeftBehindStopsNoStart) {
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  const std::string elsewhere = homes.File("elsewhere");
  Copy alive(elsewhere, runtime.path());  // a live process of this program's name
  ASSERT_EQ(alive.Line(), "first");
  const std::string name = std::filesystem::path(SINGLE_INSTANCE_HELPER).filename();
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"written on another computer",
       "2817\n" + name + "\nworkstation-7\n3f1c0d9e8b7a46d5a1e2f3b4c5d6e7f8\n9b2e4c1a-7d3f-4e8b-a6c5-0f1e2d3c4b5a\n"},
      {"naming a live process of the same name on this host",
       std::to_string(alive.pid()) + "\n" + name + "\n" + host + "\n" + FirstLineOf("/etc/machine-id") + "\n" +
           FirstLineOf("/proc/sys/kernel/random/boot_id") + "\n"},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string home = homes.File("home" + std::to_string(++run));
    std::filesystem::create_directory(home);
    std::ofstream(home + "/.workmemo.lock") << c.content;
    ASSERT_EQ(::chmod((home + "/.workmemo.lock").c_str(), 0600), 0);
    Copy first(home, runtime.path());
    ASSERT_EQ(first.Line(), "first");
    StartLaterCopy(home);
    EXPECT_EQ(first.Line(), "shown");
    first.CloseInput();
    EXPECT_EQ(first.Wait(), 0);
  }
}

// A running copy that cannot answer (stopped here) is said to be there without an answer;
// the later copy does not run.
TEST_F(SingleInstanceTest, ARunningCopyThatDoesNotAnswerIsSaid) {
  const std::string home = homes.File("home");
  Copy stopped(home, runtime.path());
  ASSERT_EQ(stopped.Line(), "first");
  ASSERT_EQ(::kill(stopped.pid(), SIGSTOP), 0);
  StartLaterCopy(home, runtime.path(), {}, "noanswer");
  ASSERT_EQ(::kill(stopped.pid(), SIGCONT), 0);
}

constexpr uid_t kOtherUser = 65534;

// The name the lock of `home` had in a runtime directory: from its canonical path.
std::string RuntimeLockName(const std::string& home) {
  const std::string canonical = std::filesystem::canonical(home);
  return "workmemo-" +
         QCryptographicHash::hash(QByteArray::fromStdString(canonical), QCryptographicHash::Sha1)
             .toHex()
             .left(16)
             .toStdString() +
         ".lock";
}

// Another local user gets in first where the lock and socket used to be kept: at
// <tmp>/workmemo-<uid> when XDG_RUNTIME_DIR is unset (a folder, a link or a file of theirs), or
// in an XDG_RUNTIME_DIR everyone shares, under the lock's name there. One copy runs all the
// same, a second one finds it and asks it to show itself, and what is theirs stays as it was.
TEST_F(SingleInstanceTest, WhatOtherUsersPutInTheTemporaryOrRuntimeDirectoryStopsNoStart) {
  const std::string elsewhere = homes.File("elsewhere");
  std::filesystem::create_directory(elsewhere);
  const struct {
    const char* name;
    bool sharedRuntime;  // XDG_RUNTIME_DIR is the shared folder; else it is unset
    void (*make)(const std::string& place, const std::string& elsewhere);
  } cases[] = {
      {"a folder of another user", false,
       [](const std::string& place, const std::string&) {
         ASSERT_EQ(::mkdir(place.c_str(), 0700), 0);
         ASSERT_EQ(::chown(place.c_str(), kOtherUser, kOtherUser), 0);
       }},
      {"a link to another folder", false,
       [](const std::string& place, const std::string& elsewhere) {
         std::filesystem::create_directory_symlink(elsewhere, place);
       }},
      {"a file of another user", false,
       [](const std::string& place, const std::string&) {
         std::ofstream(place) << "theirs";
         ASSERT_EQ(::chown(place.c_str(), kOtherUser, kOtherUser), 0);
       }},
      {"another user's lock file in a shared runtime directory", true,
       [](const std::string& place, const std::string&) {
         // As a running program writes it: a live process (this one) by its name, this host.
         char host[256] = {};
         ::gethostname(host, sizeof host - 1);
         std::ofstream(place) << ::getpid() << "\n"
                              << std::filesystem::read_symlink("/proc/self/exe").filename().string() << "\n"
                              << host << "\n";
         ASSERT_EQ(::chown(place.c_str(), kOtherUser, kOtherUser), 0);
       }},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string home = homes.File("home" + std::to_string(++run));
    std::filesystem::create_directory(home);
    testsupport::TempDir shared;  // the temporary directory, and the runtime directory when shared
    ASSERT_EQ(::chmod(shared.path().c_str(), 01777), 0);
    const std::string place = shared.File(c.sharedRuntime ? RuntimeLockName(home)
                                                          : "workmemo-" + std::to_string(::geteuid()));
    c.make(place, elsewhere);
    const std::string runtimeDir = c.sharedRuntime ? shared.path() : std::string();

    Copy first(home, runtimeDir, shared.path());
    ASSERT_EQ(first.Line(), "first");
    StartLaterCopy(home, runtimeDir, shared.path());
    EXPECT_EQ(first.Line(), "shown");
    first.CloseInput();
    EXPECT_EQ(first.Wait(), 0);

    EXPECT_EQ(Names(shared.path()), std::vector<std::string>{std::filesystem::path(place).filename()});
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    if (std::filesystem::is_directory(std::filesystem::symlink_status(place))) {
      EXPECT_TRUE(std::filesystem::is_empty(place));
    }
  }
}

// The socket lies beside the lock in the program directory. Where its path is too long for a
// socket address, or no socket can be made there, it goes in XDG_RUNTIME_DIR, but only in one
// of the user's alone; without either the second copy still finds the lock taken, cannot ask,
// and says that the running copy does not answer.
TEST_F(SingleInstanceTest, TheSocketLiesBesideTheLockOrElseInARuntimeDirectoryOfTheUsersAlone) {
  const struct {
    const char* name;
    bool longPath;
    bool blocked;  // a folder holds the socket's name in the program directory: bind fails there
    bool sharedRuntime;
    std::vector<std::string> socketIn;
  } cases[] = {
      {"a short path", false, false, false, {"home"}},
      {"a path too long for a socket address", true, false, false, {"runtime"}},
      {"no socket can be made in the program directory", false, true, false, {"runtime"}},
      {"too long, and a runtime directory others may use", true, false, true, {}},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir runtimeDir;
    if (c.sharedRuntime) {
      ASSERT_EQ(::chmod(runtimeDir.path().c_str(), 01777), 0);
    }
    // A socket address holds 107 bytes.
    const std::string home = homes.File(std::string(c.longPath ? 100 : 4, 'h') + std::to_string(++run));
    if (c.blocked) {
      std::filesystem::create_directories(home + "/.workmemo.socket");
    }
    Copy first(home, runtimeDir.path());
    ASSERT_EQ(first.Line(), "first");
    EXPECT_EQ(testsupport::ModeOf(home + "/.workmemo.lock"), "600");
    std::vector<std::string> sockets;
    for (const std::string& dir : {home, runtimeDir.path()}) {
      for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_socket()) sockets.push_back(dir == home ? "home" : "runtime");
      }
    }
    EXPECT_EQ(sockets, c.socketIn);

    StartLaterCopy(home, runtimeDir.path(), {}, c.socketIn.empty() ? "noanswer" : "another");
    if (!c.socketIn.empty()) {
      EXPECT_EQ(first.Line(), "shown");
    }
    first.CloseInput();
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(first.Line(), "");
  }
}

// Only where no one else can make files does the lock keep a second copy off the program's
// files: a program directory that is not the user's own, or that others can write into,
// takes no lock. Either way its mode is left as it is: one of the user's own that others may
// only read is fit.
TEST_F(SingleInstanceTest, AProgramDirectoryNotTheUsersOwnTakesNoLock) {
  const std::string theirs = homes.File("theirs");
  ASSERT_EQ(::mkdir(theirs.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(theirs.c_str(), 0755), 0);
  ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
  const struct {
    const char* name;
    void (*make)(const std::string& home, const std::string& theirs);
    const char* said;
    const char* mode;  // of the program directory afterwards, not followed when a link
  } cases[] = {
      {"made by another user",
       [](const std::string& home, const std::string&) {
         ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
         ASSERT_EQ(::chmod(home.c_str(), 0755), 0);
         ASSERT_EQ(::chown(home.c_str(), kOtherUser, kOtherUser), 0);
       },
       "failed", "755"},
      {"a link to another user's folder",
       [](const std::string& home, const std::string& theirs) {
         std::filesystem::create_directory_symlink(theirs, home);
       },
       "failed", "777"},
      {"a file where it belongs",
       [](const std::string& home, const std::string&) { std::ofstream(home) << "not a directory"; },
       "failed", nullptr},
      {"the user's own, open to all",
       [](const std::string& home, const std::string&) {
         ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
         ASSERT_EQ(::chmod(home.c_str(), 0777), 0);
       },
       "failed", "777"},
      {"the user's own, its group may write into it",
       [](const std::string& home, const std::string&) {
         ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
         ASSERT_EQ(::chmod(home.c_str(), 0770), 0);
       },
       "failed", "770"},
      {"the user's own, as mkdir makes it",
       [](const std::string& home, const std::string&) {
         ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
         ASSERT_EQ(::chmod(home.c_str(), 0755), 0);
       },
       "first", "755"},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string home = homes.File("home" + std::to_string(++run));
    c.make(home, theirs);
    Copy copy(home, runtime.path());
    EXPECT_EQ(copy.Line(), c.said);
    copy.CloseInput();
    copy.Wait();
    if (c.mode != nullptr) {
      EXPECT_EQ(testsupport::ModeOf(home), c.mode);
    }
    EXPECT_EQ(testsupport::ModeOf(theirs), "755");
    EXPECT_TRUE(std::filesystem::is_empty(theirs));
    EXPECT_TRUE(std::filesystem::is_empty(runtime.path()));
  }
}

// A program directory that cannot be made, or a lock file that cannot be written, takes no lock.
TEST_F(SingleInstanceTest, NoLockIsTakenWhenTheProgramDirectoryOrTheLockFileCannotBeWritten) {
  const char* const saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedRuntime = saved != nullptr ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  for (const auto op : {platform::files::Op::MakeDirs, platform::files::Op::Write}) {
    SCOPED_TRACE(static_cast<int>(op));
    const std::string home = homes.File("home" + std::to_string(static_cast<int>(op)));
    platform::files::InjectFaultForTest(op, platform::files::Fault::IoError);
    platform::os::SingleInstance instance(home);
    const auto result = instance.Acquire();
    platform::files::ClearFaultsForTest();
    EXPECT_EQ(result, platform::os::SingleInstance::Result::Failed);
    EXPECT_FALSE(std::filesystem::exists(instance.LockFilePath()));
    EXPECT_EQ(instance.SocketPath(), "");
  }
  EXPECT_TRUE(std::filesystem::is_empty(runtime.path()));
  if (saved != nullptr) ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
  else ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
