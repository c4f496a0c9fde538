// The organiser's executable started for real, offscreen, in a fresh program directory, and
// driven through its test command file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/calendar.h"
#include "reminders/store/reminder_store.h"
#include "test_support.h"

extern char** environ;

namespace {

using testsupport::Show;
using namespace std::chrono_literals;

constexpr auto kTimeout = 60s;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// One run of the program with its own command file and log.
class Program {
 public:
  // `commands` are there before the program starts, for the boxes of its start.
  Program(const std::string& dir, const std::string& tag, std::vector<std::string> args,
          const std::vector<std::string>& commands = {})
      : commands_(dir + "/" + tag + ".commands"), log_(dir + "/" + tag + ".log") {
    {
      std::ofstream out(commands_, std::ios::binary);
      for (const std::string& c : commands) out << c << "\n";
    }
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("WORKMEMO_POWER_DRY_RUN=1");
    env.push_back("WORKMEMO_TEST_COMMANDS=" + commands_);
    env.push_back("WORKMEMO_TEST_LOG=" + log_);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), WORKMEMO_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (dir + "/" + tag + ".out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    spawned_ = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Program() {
    if (spawned_ && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  bool Spawned() const { return spawned_; }
  std::string Log() const { return ReadFile(log_); }
  // Commands are GB18030 text, one a line.
  void Send(const std::string& command) {
    std::ofstream(commands_, std::ios::app | std::ios::binary) << command << "\n";
  }
  // Waits until the log holds `line` as a whole line.
  bool WaitFor(const std::string& line) {
    const auto until = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < until) {
      if (HasLine(line)) return true;
      if (Poll()) return HasLine(line);
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }
  bool HasLine(const std::string& line) const {
    return ("\n" + Log()).find("\n" + line + "\n") != std::string::npos;
  }
  // The exit code, or -1 when it did not end in time (or died of a signal).
  int Wait() {
    const auto until = std::chrono::steady_clock::now() + kTimeout;
    while (!Poll() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(20ms);
    return exited_ ? exitCode_ : -1;
  }
  bool Running() { return !Poll(); }
  void Signal(int signal) {
    if (spawned_ && !exited_) ::kill(pid_, signal);
  }

 private:
  bool Poll() {
    if (exited_ || !spawned_) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
    exited_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
  }

  std::string commands_;
  std::string log_;
  pid_t pid_ = 0;
  bool spawned_ = false;
  bool exited_ = false;
  int exitCode_ = -1;
};

// Every "[section] key=value" of config.ini.
std::set<std::string> ConfigItems(const std::string& path) {
  std::set<std::string> items;
  std::istringstream in(ReadFile(path));
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') section = line;
    else items.insert(section + " " + line);
  }
  return items;
}

// Sets an environment variable, or unsets it for nullptr, for the programs started while it
// lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
    else ::unsetenv(name_.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

constexpr uid_t kOtherUser = 65534;

class AppTest : public testsupport::TempHomeTest {
 protected:
  std::string Path(const std::string& name) const { return home() + "/" + name; }
};

TEST_F(AppTest, QuietStartWritesItsFilesAndASecondCopyShowsTheFirst) {
  Program first(home(), "first", {"aa"});
  ASSERT_TRUE(first.Spawned());
  ASSERT_TRUE(first.WaitFor("running")) << first.Log();

  std::set<std::string> items = ConfigItems(Path("config.ini"));
  // The main window, loaded hidden, leaves its native id for information; its value is the
  // window system's.
  auto hwnd = std::find_if(items.begin(), items.end(),
                           [](const std::string& item) { return item.rfind("[cx] hwnd=", 0) == 0; });
  ASSERT_NE(hwnd, items.end()) << "the main window did not load";
  EXPECT_GT(std::atoll(hwnd->substr(10).c_str()), 0) << *hwnd;
  items.erase(hwnd);
  const std::set<std::string> expected = {
      "[mrvbwl] bbh=3.2",      "[pf] bjtp=0",          "[pf] cstp=1",
      "[dqtx] cxdqtxTs=8",     "[dqtx] mdqtxbtx=1",    "[dstx] kjxsdqtxSz=1",
      "[dstx] jttxzd=1",       "[pltx] pltxzd=1",      "[gjsz] jltxtjsz=1",
      "[gjsz] gbrjmmsz=0",     "[gjsz] lbztdx=11",     "[gjsz] txckzd=1",
      "[xxtips] zxhtips=1",    "[txtips] cdtips81=1",
  };
  EXPECT_EQ(items, expected);
  for (const char* file : {"data/dstx2.dat", "data/dqtx2.dat", "data/jsb2.dat", "Skin/Green.cskn"})
    EXPECT_TRUE(platform::files::Exists(Path(file))) << file;
  // Started with "aa", the program shows no window of its own; its main window waits hidden
  // on the timed-reminder page.
  EXPECT_EQ(first.Log().find("shown "), std::string::npos) << Show(first.Log());
  const std::string log = first.Log();
  const auto firstPanel = log.find("panel ");
  ASSERT_NE(firstPanel, std::string::npos) << Show(log);
  EXPECT_EQ(log.substr(firstPanel, log.find('\n', firstPanel) - firstPanel), "panel 定时提醒");

  Program second(home(), "second", {});
  EXPECT_EQ(second.Wait(), 0) << ReadFile(Path("second.out"));
  EXPECT_FALSE(second.HasLine("running")) << "the second copy must not start";
  EXPECT_TRUE(first.WaitFor("show-requests 1")) << first.Log();
  EXPECT_TRUE(first.WaitFor("shown MainWindow")) << Show(first.Log());
  EXPECT_EQ(ConfigItems(Path("config.ini")).count("[cx] yyx=1"), 1u);

  // The exit question: cancel keeps the program running, OK ends it.
  first.Send("confirm 取消按钮");
  first.Send("tray-menu 退出");
  ASSERT_TRUE(first.WaitFor("modal ConfirmBoxWindow")) << first.Log();
  EXPECT_TRUE(first.Running());
  first.Send("confirm 确定按钮");
  first.Send("tray-menu 退出");
  EXPECT_EQ(first.Wait(), 0) << ReadFile(Path("first.out"));
  EXPECT_TRUE(first.HasLine("end"));

  // Everything the program wrote is the user's alone: no access for group or others.
  std::vector<std::string> written;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(home())) {
    const std::string ext = entry.path().extension();
    if (ext == ".commands" || ext == ".log" || ext == ".out") continue;  // the test's own
    written.push_back(entry.path().lexically_relative(home()).string() + " " + testsupport::ModeOf(entry.path()));
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{".workmemo.lock 600", "Skin 700", "Skin/Green.cskn 600", "config.ini 600",
                                               "data 700", "data/dqtx2.dat 600", "data/dstx2.dat 600",
                                               "data/jsb2.dat 600"}));
}

// Another user's folder where the lock was once kept without XDG_RUNTIME_DIR
// (<tmp>/workmemo-<uid>) changes nothing: one copy runs, and a second one shows it and ends.
TEST_F(AppTest, AnotherUsersFolderInTheTemporaryDirectoryStillLetsOnlyOneCopyRun) {
  testsupport::TempDir temp;  // the temporary directory, so that nothing shared is touched
  const std::string theirs = temp.File("workmemo-" + std::to_string(::geteuid()));
  ASSERT_EQ(::mkdir(theirs.c_str(), 0700), 0);
  ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
  ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
  ScopedEnv tmp("TMPDIR", temp.path().c_str());

  Program first(home(), "first", {"aa"});
  ASSERT_TRUE(first.Spawned());
  ASSERT_TRUE(first.WaitFor("running")) << first.Log();
  Program second(home(), "second", {});
  EXPECT_EQ(second.Wait(), 0) << ReadFile(Path("second.out"));
  EXPECT_FALSE(second.HasLine("running")) << "the second copy must not start";
  EXPECT_TRUE(first.WaitFor("show-requests 1")) << first.Log();
  EXPECT_TRUE(first.WaitFor("shown MainWindow")) << Show(first.Log());
  first.Send("confirm 确定按钮");
  first.Send("tray-menu 退出");
  EXPECT_EQ(first.Wait(), 0) << ReadFile(Path("first.out"));
  EXPECT_TRUE(std::filesystem::is_empty(theirs));
}

// In a program directory of another user's, or one others can write into, no lock keeps a
// second copy off the files: the start says so in a box naming the directory and ends before
// anything else of it runs, and leaves the directory as it was.
TEST_F(AppTest, AProgramDirectoryOfAnotherUserIsSaidAndTheProgramEnds) {
  testsupport::TempDir temp;
  ScopedEnv tmp("TMPDIR", temp.path().c_str());
  const struct {
    const char* name;
    void (*make)(const std::string& dir);
    const char* mode;
  } cases[] = {
      {"another user's", [](const std::string& dir) { ASSERT_EQ(::chown(dir.c_str(), kOtherUser, kOtherUser), 0); },
       "700"},
      {"others can write into it", [](const std::string& dir) { ASSERT_EQ(::chmod(dir.c_str(), 0777), 0); }, "777"},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string dir = Path("run" + std::to_string(++run));
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    c.make(dir);
    ScopedEnv programDirectory("WORKMEMO_HOME", dir.c_str());
    Program program(dir, "run", {});
    ASSERT_TRUE(program.Spawned());
    EXPECT_EQ(program.Wait(), 0) << ReadFile(dir + "/run.out");
    EXPECT_TRUE(program.HasLine("message 不能在程序目录中建立运行锁，无法保证只运行一个本软件，程序将退出：" + dir))
        << Show(program.Log());
    EXPECT_FALSE(program.HasLine("running"));
    EXPECT_EQ(program.Log().find("shown "), std::string::npos) << Show(program.Log());
    std::vector<std::string> there;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) there.push_back(entry.path().filename());
    std::sort(there.begin(), there.end());
    EXPECT_EQ(there, (std::vector<std::string>{"run.commands", "run.log", "run.out"}));
    EXPECT_EQ(testsupport::ModeOf(dir), c.mode);
  }
}

// A start whose running copy does not answer (stopped here) says so in the system's box,
// naming the program directory, and ends without running; it never ends without a word.
TEST_F(AppTest, AStartWhoseRunningCopyDoesNotAnswerSaysSoAndEnds) {
  Program first(home(), "first", {"aa"});
  ASSERT_TRUE(first.Spawned());
  ASSERT_TRUE(first.WaitFor("running")) << first.Log();
  first.Signal(SIGSTOP);
  Program second(home(), "second", {});
  EXPECT_EQ(second.Wait(), 0) << ReadFile(Path("second.out"));
  first.Signal(SIGCONT);
  EXPECT_TRUE(second.HasLine("message 本软件已在运行，但没有应答，无法显示它的主窗口，程序将退出：" + home()))
      << Show(second.Log());
  EXPECT_FALSE(second.HasLine("running"));
  first.Send("confirm 确定按钮");
  first.Send("tray-menu 退出");
  EXPECT_EQ(first.Wait(), 0) << ReadFile(Path("first.out"));
}

// A logout, a shutdown or a kill (SIGTERM, SIGHUP, SIGINT) ends the program as its own end
// does, whatever is open and without its questions: what the end writes is written, and the
// next start runs.
TEST_F(AppTest, TheSignalsThatAskForAnEndEndTheProgramAsItsOwnEndDoes) {
  const struct {
    const char* name;
    int signal;
    std::function<void(const std::string& dir)> prepare;
    bool duringStart;                   // the signal comes while the start waits on a box
    std::vector<std::string> commands;  // sent once the program runs, or before it starts then
    const char* waitFor;                // then the signal comes
    const char* modal;                  // the box open when it came
    const char* written;                // an item of config.ini that only the end writes
  } cases[] = {
      {"a pop-up open", SIGTERM, nullptr, false, {"remind-in 1 到点了"}, "popup 到点了", nullptr, "[dstx] txcWzX="},
      // The command's box opens before the program handles another event: the signal comes
      // while it is open.
      {"the exit question open", SIGINT, nullptr, false, {"confirm-after 600000 取消按钮", "tray-menu 退出"},
       "command tray-menu 退出", "modal ConfirmBoxWindow", nullptr},
      {"closing guarded by a password", SIGHUP,
       [](const std::string& dir) { std::ofstream(dir + "/config.ini") << "[gjsz]\r\ngbrjmmsz=1\r\n"; }, false, {},
       "running", nullptr, nullptr},
      {"a box of the start open", SIGTERM,
       [](const std::string& dir) {
         ASSERT_TRUE(platform::files::MakeDirs(dir + "/data"));
         std::ofstream(dir + "/data/dstx2.dat") << "not a database";
       },
       true, {"confirm-after 600000 确定按钮"}, "modal MessageBoxWindow", "modal MessageBoxWindow", nullptr},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string dir = Path("run" + std::to_string(++run));
    ASSERT_TRUE(platform::files::MakeDirs(dir));
    ScopedEnv programDirectory("WORKMEMO_HOME", dir.c_str());
    if (c.prepare) c.prepare(dir);
    Program program(dir, "run", {"aa"}, c.duringStart ? c.commands : std::vector<std::string>{});
    ASSERT_TRUE(program.Spawned());
    if (!c.duringStart) {
      ASSERT_TRUE(program.WaitFor("running")) << Show(program.Log());
      for (const std::string& command : c.commands) program.Send(command);
    }
    ASSERT_TRUE(program.WaitFor(c.waitFor)) << Show(program.Log());
    program.Signal(c.signal);
    EXPECT_EQ(program.Wait(), 0) << ReadFile(dir + "/run.out");
    EXPECT_TRUE(program.HasLine("end")) << Show(program.Log());
    const std::string log = program.Log();
    if (c.modal != nullptr) {
      EXPECT_TRUE(program.HasLine(c.modal)) << Show(log);
    }
    EXPECT_EQ(log.find("modal ConfirmBoxWindow"), log.rfind("modal ConfirmBoxWindow")) << Show(log);
    EXPECT_EQ(log.find("panel 密码验证"), std::string::npos) << Show(log);
    if (c.duringStart) {
      EXPECT_EQ(log.find("panel "), std::string::npos) << Show(log);  // no main window was built
    }
    if (c.written != nullptr) {
      const std::set<std::string> items = ConfigItems(dir + "/config.ini");
      EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                              [&](const std::string& item) { return item.rfind(c.written, 0) == 0; }))
          << c.written;
    }

    Program next(dir, "next", {"aa"}, {"confirm 确定按钮"});
    ASSERT_TRUE(next.WaitFor("panel 定时提醒")) << Show(next.Log());
    next.Signal(SIGTERM);
    EXPECT_EQ(next.Wait(), 0) << ReadFile(dir + "/next.out");
  }
}

TEST_F(AppTest, SplashShowsAndAGuardedCloseEndsOnTheRightPassword) {
  std::ofstream(Path("config.ini")) << "[gjsz]\r\ngbrjmmsz=1\r\n";
  Program program(home(), "run", {});
  ASSERT_TRUE(program.Spawned());
  ASSERT_TRUE(program.WaitFor("shown SplashWindow")) << program.Log();

  program.Send("tray-menu 退出");
  ASSERT_TRUE(program.WaitFor("panel 密码验证")) << program.Log();
  program.Send("password 123");
  ASSERT_TRUE(program.WaitFor("command password 123"));
  EXPECT_TRUE(program.Running());
  program.Send("password 731862");
  EXPECT_EQ(program.Wait(), 0) << ReadFile(Path("run.out"));
  // No question was asked on the way out.
  EXPECT_EQ(program.Log().find("modal ConfirmBoxWindow"), std::string::npos) << Show(program.Log());
}

// The splash's last tick comes while the message about a damaged file still waits for its
// answer; the main window shows all the same once the start has gone on.
TEST_F(AppTest, TheMainWindowShowsAfterAStartMessageAnsweredLate) {
  ASSERT_TRUE(platform::files::MakeDirs(Path("data")));
  std::ofstream(Path("data/dstx2.dat")) << "not a database";
  Program program(home(), "run", {}, {"confirm-after 7000 确定按钮"});
  ASSERT_TRUE(program.Spawned());
  ASSERT_TRUE(program.WaitFor("modal MessageBoxWindow")) << Show(program.Log());
  ASSERT_TRUE(program.WaitFor("closed SplashWindow")) << Show(program.Log());
  EXPECT_FALSE(program.HasLine("shown MainWindow"));  // the box is still open
  EXPECT_TRUE(program.WaitFor("shown MainWindow")) << Show(program.Log());
  const std::string log = program.Log();
  EXPECT_LT(log.find("closed SplashWindow"), log.find("shown MainWindow")) << Show(log);
  EXPECT_NE(log.find("数据文件已损坏"), std::string::npos) << Show(log);
}

TEST_F(AppTest, ASkinDirectoryThatCannotBeWrittenEndsWithAMessageNamingIt) {
  // A regular file where the skin directory belongs: the package can be neither written nor read.
  std::ofstream(Path("Skin")) << "not a directory";
  Program program(home(), "run", {"aa"});
  ASSERT_TRUE(program.Spawned());
  EXPECT_EQ(program.Wait(), 1) << ReadFile(Path("run.out"));
  EXPECT_TRUE(program.HasLine("message 无法写入目录：" + Path("Skin") + "\r")) << Show(program.Log());
  EXPECT_FALSE(program.HasLine("running"));

  // A package that is there but unreadable is still said to be so.
  ASSERT_TRUE(platform::files::Remove(Path("Skin")));
  ASSERT_TRUE(platform::files::MakeDirs(Path("Skin/Green.cskn")));
  Program again(home(), "again", {"aa"});
  EXPECT_EQ(again.Wait(), 1) << ReadFile(Path("again.out"));
  EXPECT_TRUE(again.HasLine("message 读取皮肤文件失败!")) << Show(again.Log());
}

TEST_F(AppTest, AReminderSavedASecondAheadOpensThePopupInItsSecond) {
  Program program(home(), "run", {"aa"});
  ASSERT_TRUE(program.Spawned());
  ASSERT_TRUE(program.WaitFor("running")) << program.Log();
  program.Send("remind-in 1 到点了：开会");
  ASSERT_TRUE(program.WaitFor("saved 到点了：开会")) << Show(program.Log());
  EXPECT_TRUE(program.WaitFor("popup 到点了：开会")) << Show(program.Log());
  program.Send("confirm 确定按钮");
  program.Send("tray-menu 退出");
  EXPECT_EQ(program.Wait(), 0) << ReadFile(Path("run.out"));
}

// A start that could not open a data file says so once and runs on: the reminder tick goes on
// with what did load, and the program ends as it always does.
TEST_F(AppTest, AStartWithADataFileNotOpenedRunsOnAndEndsCleanly) {
  struct Case {
    const char* name;
    std::function<void(const std::string& dir)> prepare;
    std::vector<std::string> firstLines;  // the first line of each message, in order
    const char* named;                    // a path every message names
    bool remindersWork;
  };
  const Case cases[] = {
      {"a file where the data directory belongs",
       [](const std::string& dir) { std::ofstream(dir + "/data") << "not a directory"; },
       {"创建提醒数据失败！", "创建记事本数据库失败！", "创建到期提醒数据库失败！"}, "无法写入目录：%/data", false},
      {"a notes file that cannot be opened",
       [](const std::string& dir) {
         ASSERT_TRUE(platform::files::MakeDirs(dir + "/data"));
         std::ofstream(dir + "/data/jsb2.dat") << "damaged";
       },
       {"数据文件已损坏，只能读出其中的一部分："}, "%/data/jsb2.dat", true},
  };
  int run = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string dir = Path("run" + std::to_string(++run));
    ASSERT_TRUE(platform::files::MakeDirs(dir));
    ::setenv("WORKMEMO_HOME", dir.c_str(), 1);
    c.prepare(dir);
    std::vector<std::string> answers(c.firstLines.size(), "confirm 确定按钮");
    Program program(dir, "run", {"aa"}, answers);
    ASSERT_TRUE(program.Spawned());
    ASSERT_TRUE(program.WaitFor("panel 定时提醒")) << Show(program.Log());
    std::string named = c.named;
    named.replace(named.find('%'), 1, dir);
    for (const std::string& first : c.firstLines) {
      EXPECT_TRUE(program.HasLine("message " + first + "\r")) << Show(program.Log());
    }
    const std::string log = program.Log();
    std::size_t said = 0;
    for (std::size_t at = log.find("\nmessage "); at != std::string::npos; at = log.find("\nmessage ", at + 1)) ++said;
    EXPECT_EQ(said, c.firstLines.size()) << Show(log);
    EXPECT_TRUE(program.HasLine(named + "\r")) << Show(log);

    // Every page opens with what loaded; ticks come and go, and a reminder a second ahead
    // fires where the timed file loaded.
    for (const char* page : {"到期提醒", "记事管理", "月历窗口", "备份数据", "密码管理", "高级设置", "更换皮肤", "定时提醒"})
      program.Send(std::string("page ") + page);
    program.Send("remind-in 1 到点了");
    if (c.remindersWork) {
      EXPECT_TRUE(program.WaitFor("popup 到点了")) << Show(program.Log());
    } else {
      EXPECT_TRUE(program.WaitFor("not-saved 到点了")) << Show(program.Log());
    }
    std::this_thread::sleep_for(2500ms);
    EXPECT_TRUE(program.Running()) << ReadFile(dir + "/run.out");
    program.Send("confirm 确定按钮");
    program.Send("tray-menu 退出");
    EXPECT_EQ(program.Wait(), 0) << ReadFile(dir + "/run.out");
  }
  ::setenv("WORKMEMO_HOME", home().c_str(), 1);
}

// A run killed in the middle of its writes leaves full-size copies beside its files, a
// restore's copy-in-progress among them; the next start removes those, and nothing else: the
// user's own .tmp files beside them stay.
TEST_F(AppTest, TheStartRemovesTheTemporaryFilesAKilledRunLeftBesideItsOwnFiles) {
  ASSERT_TRUE(platform::files::MakeDirs(Path("data")));
  ASSERT_TRUE(platform::files::MakeDirs(Path("Skin")));
  const std::vector<std::string> leftovers = {
      "config.ini.~workmemo-k3x9q1w2e3r4.tmp",
      "data/" + platform::files::BaseName(platform::files::TempName(Path("data"), "dstx2.dat")),
      "data/jsb2.dat.~workmemo-zz09zz09zz09.tmp-journal",
      "data/dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp.~workmemo-6f5e4d3c2b1a.tmp",
      "Skin/Green.cskn.~workmemo-q1w2e3r4t5y6.tmp"};
  const std::vector<std::string> kept = {"data/dstx2.dat.backup.tmp",
                                         "config.ini.notes1.tmp",
                                         "data/dqtx2.dat.a1b2c3.tmp",
                                         "data/dqtx2.dat.tmp",
                                         "dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp",
                                         "data/notes.~workmemo-a1b2c3d4e5f6.tmp",
                                         "data/dstx2.dat.bak",
                                         "config.ini.old"};
  for (const auto* names : {&leftovers, &kept}) {
    for (const std::string& name : *names) ASSERT_TRUE(platform::files::WriteAll(Path(name), "copy"));
  }
  Program program(home(), "run", {"aa"});
  ASSERT_TRUE(program.Spawned());
  ASSERT_TRUE(program.WaitFor("panel 定时提醒")) << Show(program.Log());
  for (const std::string& name : leftovers) EXPECT_FALSE(platform::files::Exists(Path(name))) << name;
  for (const std::string& name : kept) EXPECT_TRUE(platform::files::Exists(Path(name))) << name;
  program.Send("confirm 确定按钮");
  program.Send("tray-menu 退出");
  EXPECT_EQ(program.Wait(), 0) << ReadFile(Path("run.out"));
}

// A config.ini beyond its size limit is damaged: said once, every setting takes its default
// (here: closing asks the question, not for the password), and the file is kept as it was.
TEST_F(AppTest, AnOversizedConfigFileIsSaidOnceAndKeptWhileTheDefaultsApply) {
  std::string content = "[gjsz]\r\ngbrjmmsz=1\r\n";
  while (content.size() < (2u << 20)) content += "; padding padding padding padding padding padding\r\n";
  ASSERT_TRUE(platform::files::WriteAll(Path("config.ini"), content));
  Program program(home(), "run", {"aa"}, {"confirm 确定按钮"});
  ASSERT_TRUE(program.Spawned());
  ASSERT_TRUE(program.WaitFor("panel 定时提醒")) << Show(program.Log());
  EXPECT_TRUE(program.HasLine("message 设置文件已损坏，将使用默认设置：\r")) << Show(program.Log());
  EXPECT_TRUE(program.HasLine(Path("config.ini") + "\r")) << Show(program.Log());
  EXPECT_EQ(program.Log().find("\nmessage ", program.Log().find("message ") + 1), std::string::npos)
      << Show(program.Log());
  program.Send("confirm 确定按钮");
  program.Send("tray-menu 退出");
  EXPECT_EQ(program.Wait(), 0) << ReadFile(Path("run.out"));
  EXPECT_TRUE(program.HasLine("modal ConfirmBoxWindow")) << Show(program.Log());
  EXPECT_TRUE(platform::files::ReadAll(Path("config.ini")) == content);
}

// The start builds its windows while the timed reminders are still read: the list page and
// the calendar page's count show them all the same.
TEST_F(AppTest, TheStartsPagesShowTheRemindersReadBesideThem) {
  using namespace workmemo;
  // All three files there and sound: nothing to say before the windows are built.
  ASSERT_TRUE(platform::files::MakeDirs(Path("data")));
  for (const std::string name : {"dstx2.dat", "jsb2.dat", "dqtx2.dat"})
    ASSERT_TRUE(platform::files::WriteAll(Path("data/" + name), *platform::files::ReadResource(":/db/" + name)));
  int today = 0;
  {
    ReminderStore store;
    ASSERT_EQ(store.OpenDatabase(Path("data/dstx2.dat"), kDatabasePassword), 1);
    // Paused, so that none opens a pop-up; three fall on every day, two in a far year.
    for (int i = 0; i < 5; ++i) {
      ReminderRecord r;
      r.txbt = "reminder " + std::to_string(i);
      r.txfs = i < 3 ? RepeatMode::Daily : RepeatMode::Once;
      r.ksdate = r.kstime = r.txdate = i < 3 ? MakeDateTime(2020, 1, 1, 12, 0, 0) : MakeDateTime(2099, 1, 1, 12, 0, 0);
      r.jsdate = r.jstime = MakeDateTime(2099, 12, 31, 12, 0, 0);
      r.txzt = 1;
      ASSERT_EQ(store.SaveReminder(r), 1);
    }
    ASSERT_EQ(store.LoadReminders(), 1);
    today = store.CountRemindersOnDay(platform::clock::Now());
  }
  Program program(home(), "run", {"aa"});
  ASSERT_TRUE(program.Spawned());
  ASSERT_TRUE(program.WaitFor("running")) << program.Log();
  program.Send("shown-rows");
  EXPECT_TRUE(program.WaitFor("list-rows 5 calendar " + std::to_string(today) + " 条提醒")) << Show(program.Log());
  program.Send("confirm 确定按钮");
  program.Send("tray-menu 退出");
  EXPECT_EQ(program.Wait(), 0) << ReadFile(Path("run.out"));
}

}  // namespace
