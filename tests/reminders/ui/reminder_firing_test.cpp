// The reminder check of one second on the settable clock, with the recording fakes for power,
// sound and the shell's opener: what each due reminder does and what the second ends with.
#include "reminders/ui/reminder_firing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "popup_fixture.h"
#include "reminders/ui/reminder_actions.h"

namespace workmemo::testing {
namespace {

using platform::os::PowerRequest;
using platform::os::RecordingSoundBackend;
using Player = RecordingSoundBackend::Player;

class FiringTest : public PopupFixture {};

// Whether `opened` is the reminders' own lists of targets merged, each in its own order: each
// reminder opens on a thread of its own, side by side with the others.
bool MergeOf(const std::vector<std::string>& opened, const std::vector<std::vector<std::string>>& each) {
  std::size_t total = 0;
  for (const std::vector<std::string>& list : each) {
    total += list.size();
    auto from = opened.begin();
    for (const std::string& target : list) {
      from = std::find(from, opened.end(), target);
      if (from == opened.end()) return false;
      ++from;
    }
  }
  return total == opened.size();
}

// A shell opener whose look at a file waits until the test lets it go, as a look at a path on
// a mount that stopped answering waits for the server. Should the window thread be the one
// waiting, a watchdog lets it go after `patience`: the test fails instead of hanging.
class HeldShellOpener : public platform::os::RecordingShellOpener {
 public:
  explicit HeldShellOpener(std::chrono::seconds patience = std::chrono::seconds(10)) : patience_(patience) {
    watchdog_ = std::thread([this] {
      std::unique_lock<std::mutex> lock(mutex_);
      if (changed_.wait_for(lock, patience_, [this] { return released_; })) return;
      released_ = forced_ = true;
      changed_.notify_all();
    });
  }
  ~HeldShellOpener() override {
    Release();
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());
    watchdog_.join();
  }
  FileFound FindFile(const std::string& path) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ++looking_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return released_; });
    }
    return RecordingShellOpener::FindFile(path);
  }
  // Waits, within the patience, until a look has begun; false when none did.
  bool Looking() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, patience_, [this] { return looking_ > 0; });
  }
  // Lets every look go, those waiting and those to come.
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  // Whether the watchdog had to let a look go.
  bool Forced() {
    std::lock_guard<std::mutex> lock(mutex_);
    return forced_;
  }

 private:
  const std::chrono::seconds patience_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int looking_ = 0;
  bool released_ = false, forced_ = false;
  std::thread watchdog_;
};

TEST_F(FiringTest, EachDueReminderActsAndTheSecondEndsWithOnePopupFill) {
  const std::string wav = MakeFile("a.wav"), mp3 = MakeFile("b.MP3");
  const std::string programA = MakeFile("a.sh", true), programB = MakeFile("b.sh", true);
  struct Due {
    int task = ReminderTask::Remind;
    int txdz = 0;
    std::string sound, program, web;
    int gjys = 0, qzzx = 0;
  };
  struct Case {
    const char* name;
    std::vector<Due> due;
    std::string counter;  // empty: no pop-up
    std::vector<RecordingSoundBackend::Call> sounds;
    std::vector<std::vector<std::string>> opened;  // each reminder's, in its order
    std::vector<PowerRequest> power;
    int pendingTask = 0, seconds = 0, force = 0;
  } cases[] = {
      {"two reminders pop up in one second",
       {{0, 0, wav, programA, "a.example"}, {0, 0, mp3, programB, "HTTPS://b.example"}},
       "2/2",
       {{Player::Mp3, mp3}},
       {{programA, "http://a.example"}, {programB, "https://b.example"}}},
      {"a reminder, then a shutdown",
       {{0, 0, wav, "", ""}, {ReminderTask::Shutdown, 0, "", "", "", 20, 0}},
       "1/1",
       {{Player::Other, wav}},
       {},
       {},
       ReminderTask::Shutdown, 20, 0},
      {"two reminders without the pop-up",
       {{0, 1, wav, "", "a.example"}, {0, 1, mp3, "", "mailto:b@example.com"}},
       "",
       {{Player::Other, wav}, {Player::Mp3, mp3}},
       {{"http://a.example"}, {"mailto:b@example.com"}}},
      {"two shutdowns", {{ReminderTask::Shutdown, 0, "", "", "", 20, 0}, {ReminderTask::Shutdown, 0, "", "", "", 50, 1}},
       "", {}, {}, {}, ReminderTask::Shutdown, 20, 0},
      {"a forced restart after 30 seconds", {{ReminderTask::Restart, 0, "", "", "", 30, 1}},
       "", {}, {}, {}, ReminderTask::Restart, 30, 1},
      {"two monitor-offs", {{ReminderTask::MonitorOff}, {ReminderTask::MonitorOff}},
       "", {}, {}, {PowerRequest::MonitorOff, PowerRequest::MonitorOff}},
      {"a lock", {{ReminderTask::LockComputer}}, "", {}, {}, {PowerRequest::LockScreen}},
  };
  double second = MakeDateTime(2016, 2, 7, 9, 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    second += 60.0 / 86400;
    for (const Due& d : c.due) {
      SaveOnce(second, [&d](ReminderRecord& r) {
        r.txrw = d.task;
        r.txdz = d.txdz;
        r.txyy = d.sound;
        r.txcx = d.program;
        r.txwy = d.web;
        r.gjys = d.gjys;
        r.qzzx = d.qzzx;
      });
    }
    Fire(second);

    EXPECT_EQ(Counter(), c.counter);
    EXPECT_EQ(PopupQueue().size(), static_cast<std::size_t>(c.counter.empty() ? 0 : c.counter.back() - '0'));
    EXPECT_EQ(sound.calls, c.sounds);
    const std::vector<std::string> opened = Opened();
    EXPECT_TRUE(MergeOf(opened, c.opened)) << ::testing::PrintToString(opened);
    std::vector<PowerRequest> requests;
    for (const auto& call : power.calls) requests.push_back(call.request);
    EXPECT_EQ(requests, c.power);
    EXPECT_EQ(countdown->LoadedWindow() != nullptr, c.pendingTask != 0);
    EXPECT_EQ(PowerTasks().PendingPowerTask, c.pendingTask);
    EXPECT_EQ(PowerTasks().PowerCountdownSeconds, c.seconds);
    EXPECT_EQ(PowerTasks().PendingPowerForce, c.force);
    if (c.pendingTask != 0) {
      EXPECT_EQ(startup->UnitAs<platform::ui::Timer>("关机时钟").Interval(), 1000);
    }

    CloseReminderPopup();
    countdown->Close();
    PowerTasks() = PowerTaskState();
    sound.calls.clear();
    opener.ClearCalls();
    power.calls.clear();
  }
}

TEST_F(FiringTest, APassingReminderIsRedrawnOnTheListPageAndAQuietSecondRedrawsNothing) {
  const double at = MakeDateTime(2016, 2, 7, 9, 0, 0);
  const int id = SaveOnce(at, [](ReminderRecord& r) { r.txbt = "stored title"; });
  // The page holds an older copy of it than the store.
  ReminderRecord older = Databases().Reminders.Reminders()[0];
  older.txbt = "older title";
  ListPageReminders() = {older};
  ListPages().ListPageRowCount = 1;
  ShowReminderListPage(1);
  ASSERT_EQ(TimedReminderList().CellText(1, 6), "older title");
  EXPECT_EQ(Databases().Reminders.GetReminderState(older), ReminderState::Pending);

  Fire(at);
  ASSERT_EQ(ListPageReminders().size(), 1u);
  EXPECT_EQ(ListPageReminders()[0].id, id);
  EXPECT_EQ(Databases().Reminders.GetReminderState(ListPageReminders()[0]), ReminderState::Passed);
  EXPECT_EQ(TimedReminderList().CellText(1, 6), "stored title");

  // A second with nothing due leaves the page as it was drawn.
  ListPageReminders()[0].txbt = "changed behind the page";
  Fire(at + 1.0 / 86400);
  EXPECT_EQ(TimedReminderList().CellText(1, 6), "stored title");
  EXPECT_TRUE(LastDueReminders().empty());
}

// Every second in which something fired redraws the page, whether or not a copy changed: an
// icon may change with the time alone, as that of a daily reminder whose range has ended.
TEST_F(FiringTest, EverySecondThatFiredRedrawsThePageForIconsThatFollowTheClock) {
  const int ended = SaveOnce(MakeDateTime(2016, 2, 6, 10, 0, 0), [](ReminderRecord& r) {
    r.txfs = RepeatMode::Daily;
    r.jsdate = r.jstime = MakeDateTime(2016, 2, 7, 10, 0, 0);
  });
  const double fires = MakeDateTime(2016, 2, 8, 0, 0, 5);
  SaveOnce(fires, [](ReminderRecord& r) { r.txfs = RepeatMode::Daily; });
  RefreshReminderList();
  SkinListView& list = TimedReminderList();
  ASSERT_EQ(list.RowIdOfSprite(list.RowSprite(1)), ended);
  auto& box = page->UnitAs<platform::ui::AnimationBox>(kReminderListBox);
  const int cell = list.CellSprite(1, 1);
  auto icon = [&] { return box.Capture(list.SpriteLeft(cell), list.SpriteTop(cell), 24, 24); };
  const std::string inRange = icon();

  Fire(fires);
  ASSERT_EQ(LastDueReminders().size(), 1u);
  EXPECT_EQ(Databases().Reminders.GetReminderState(ListPageReminders()[0]), ReminderState::Expired);
  EXPECT_TRUE(icon() != inRange);
}

TEST(WebPageAddressTest, OnlyAnAddressWithoutASchemeGetsTheWebPrefix) {
  const struct {
    const char* address;
    const char* opened;
  } cases[] = {
      {"www.example.com", "http://www.example.com"},
      {"http://a", "http://a"},
      {"HTTP://a", "HTTP://a"},
      {"HTTPS://a", "HTTPS://a"},
      {"ftp://a", "ftp://a"},
      {"svn+ssh://host/x", "svn+ssh://host/x"},
      {"mailto:a@b.c", "mailto:a@b.c"},
      {"MailTo:a@b.c", "MailTo:a@b.c"},
      {"example.com:8080", "http://example.com:8080"},
      {"://a", "http://://a"},
      {"1ftp://a", "http://1ftp://a"},
      {"网站.中国", "http://网站.中国"},
  };
  for (const auto& c : cases) EXPECT_EQ(WebPageAddress(c.address), c.opened) << c.address;
}

TEST_F(FiringTest, SoundFilesGoToTheirPlayerByTheirExtension) {
  const struct {
    const char* name;
    Player player;
  } cases[] = {{"a.mp3", Player::Mp3}, {"b.Mp3", Player::Mp3}, {"c.MP3", Player::Mp3},
               {"d.wav", Player::Other}, {"e.mid", Player::Other}, {"f.WMA", Player::Other},
               {"noextension", Player::Other}, {"g.mp3.wav", Player::Other}};
  for (const auto& c : cases) {
    sound.calls.clear();
    const std::string path = MakeFile(c.name);
    PlayReminderSound(path);
    EXPECT_EQ(sound.calls, (std::vector<RecordingSoundBackend::Call>{{c.player, path}})) << c.name;
  }
  sound.calls.clear();
  PlayReminderSound("");
  EXPECT_TRUE(sound.calls.empty());
}

// Through the desktop's players, which play nothing from a missing file, a folder or a named
// pipe. A pipe that a player opened would wait for a writer that never comes, as a file on a
// hung network mount would wait for its server: the second's check returns and the pop-up
// shows all the same.
TEST_F(FiringTest, ASoundFileThatCannotBePlayedNeitherStopsTheCheckNorThePopup) {
  platform::os::SetSoundBackend(nullptr);
  testsupport::PipeWatch pipes({home.File("pipe.mp3"), home.File("pipe.wav"), home.File("pipe.mid")});
  double at = MakeDateTime(2016, 2, 7, 9, 0, 0);
  for (const std::string& path : {home.File("pipe.mp3"), home.File("pipe.wav"), home.File("pipe.mid"),
                                  home.File("missing.wav"), home.path()}) {
    SCOPED_TRACE(path);
    at += 60.0 / 86400;
    SaveOnce(at, [&path](ReminderRecord& r) { r.txyy = path; });
    Fire(at);
    EXPECT_EQ(Counter(), "1/1");
    CloseReminderPopup();
  }
  EXPECT_FALSE(pipes.Finish()) << "a player waited on a pipe";
  EXPECT_TRUE(messages.empty());
}

// A reminder's program or document on a mount that stopped answering: the look at it waits
// for the server. The second's check returns, the pop-up shows and a later reminder fires
// meanwhile; once the mount answers, the program starts or the document opens, and then the
// reminder's web page.
TEST_F(FiringTest, AProgramOrDocumentWhoseLookWaitsNeitherStopsTheCheckNorThePopup) {
  const struct {
    const char* name;
    std::string target;
    bool program;
    std::string opened;
  } cases[] = {{"a program", MakeFile("tool.sh", true), true, home.File("tool.sh")},
               {"a document", MakeFile("notes.txt"), false, "file://" + home.File("notes.txt")}};
  double at = MakeDateTime(2016, 2, 7, 9, 0, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HeldShellOpener held;
    platform::os::SetShellOpener(&held);
    at += 60.0 / 86400;
    SaveOnce(at, [&c](ReminderRecord& r) {
      r.txcx = c.target;
      r.txwy = "a.example";
    });
    const double later = at + 1.0 / 86400;
    SaveOnce(later);
    Fire(at);
    EXPECT_EQ(Counter(), "1/1");
    EXPECT_TRUE(held.Looking());
    Fire(later);
    EXPECT_EQ(Counter(), "2/2");
    EXPECT_TRUE(held.Calls().empty()) << "opened before the look ended";

    held.Release();
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());
    EXPECT_FALSE(held.Forced()) << "the window thread waited for the look";
    const auto calls = held.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].program, c.program);
    EXPECT_EQ(calls[0].target, c.opened);
    EXPECT_EQ(calls[1].target, "http://a.example");
    platform::os::SetShellOpener(&opener);
    CloseReminderPopup();
  }
}

}  // namespace
}  // namespace workmemo::testing
