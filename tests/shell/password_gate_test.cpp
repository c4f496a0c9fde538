#include "shell/password_gate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/digest.h"
#include "test_support.h"

namespace {

using namespace workmemo;
using testsupport::Show;

const std::string kRight = "731862";
const std::string kWrong = "731863";
const std::string kStoredDigest = "0b4d3323d40675a755df3476ef509455";  // of "731862"

// What the user does, in order.
struct Step {
  enum Kind { Open, Add, Modify, Delete, DeleteAll, Move, Exit, Type, Window, LogOut, TickOnce } kind;
  std::string text;  // the page of Open, the password of Type and Window
};

struct Case {
  const char* name;
  // Settings: login mode, password to close, add / modify / delete need the password.
  int login = 0, toClose = 0, add = 0, modify = 0, remove = 0;
  // State before the steps.
  int entered = 0, unlocked = 0;
  std::string current;
  std::vector<Step> steps;
  // Everything the gate did, in order: status lines of the pages shown, "msg:", "title:",
  // "hide:" of covers, and the actions performed.
  std::vector<std::string> log;
  // State after the steps.
  int endEntered = 0, endUnlocked = 0;
  std::string endCurrent;
  bool popupLoaded = true;
  bool answer = true;  // the answer to the closing question
};

class Cover : public PasswordCover {
 public:
  Cover(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  void HideCover() override { log_.push_back("hide:" + name_); }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

std::string Joined(const std::vector<std::string>& log) {
  std::string all;
  for (const std::string& entry : log) all += Show(entry) + " | ";
  return all;
}

std::string Msg(const std::string& text) { return "msg:" + text; }
std::string Title(const std::string& text) { return "title:" + text; }
std::string Gate(const std::string& request) { return "[" + request + "]->[密码验证]"; }

TEST(PasswordGate, PagesAndActionsThroughTheGate) {
  const std::string wrongMessage = Msg("密码错误，请重新输入！初始密码：731862");
  const std::string loggedIn = Title("枫汀阁工作备忘录 (已登录)");
  const std::vector<Case> cases = {
      {.name = "timed page, login off", .steps = {{Step::Open, "定时提醒"}},
       .log = {"[定时提醒]"}, .endCurrent = "定时提醒"},
      {.name = "timed page, login on: a wrong password keeps the request",
       .login = 1,
       .steps = {{Step::Open, "定时提醒"}, {Step::Type, kWrong}, {Step::Type, kRight}},
       .log = {Gate("定时提醒"), wrongMessage, "[定时提醒]"},
       .endUnlocked = 1, .endCurrent = "定时提醒"},
      {.name = "due page, login on, log in once ticked: every cover hides, notes open at once",
       .login = 1,
       .steps = {{Step::Open, "到期提醒"}, {Step::TickOnce, ""}, {Step::Type, kRight},
                 {Step::Open, "记事管理"}},
       .log = {Gate("到期提醒"), "tick:1", loggedIn, "hide:today", "hide:due", "hide:popup",
               "[到期提醒]", "[记事管理]"},
       .endEntered = 1, .endCurrent = "记事管理"},
      {.name = "due and notes pages, login off; notes already shown: nothing",
       .steps = {{Step::Open, "到期提醒"}, {Step::Open, "记事管理"}, {Step::Open, "记事管理"}},
       .log = {"[到期提醒]", "[记事管理]"}, .endCurrent = "记事管理"},
      {.name = "notes page, login on", .login = 1, .steps = {{Step::Open, "记事管理"}},
       .log = {Gate("记事管理")}, .endCurrent = "记事管理"},
      {.name = "password and backup pages ask even with login off, each time",
       .steps = {{Step::Open, "密码管理"}, {Step::Type, kRight}, {Step::Open, "备份数据"},
                 {Step::Type, kRight}, {Step::Open, "高级设置"}},
       .log = {Gate("密码管理"), "[密码管理]", Gate("备份数据"), "[备份数据]", Gate("高级设置")},
       .endUnlocked = 0, .endCurrent = "高级设置"},
      {.name = "advanced page when logged in, and again while shown",
       .login = 1, .entered = 1,
       .steps = {{Step::Open, "高级设置"}, {Step::Open, "高级设置"}},
       .log = {"[高级设置]"}, .endEntered = 1, .endCurrent = "高级设置"},
      {.name = "the calendar keeps the request and the unlock",
       .login = 1, .unlocked = 1, .current = "定时提醒",
       .steps = {{Step::Open, "月历窗口"}, {Step::Open, "定时提醒"}},
       .log = {"[月历]", Gate("定时提醒")}, .endUnlocked = 1, .endCurrent = "定时提醒"},
      {.name = "skin page needs no password and ends the unlock", .login = 1, .unlocked = 1,
       .current = "定时提醒", .steps = {{Step::Open, "更换皮肤"}},
       .log = {"[更换皮肤]"}, .endCurrent = "更换皮肤"},
      {.name = "add guarded: the password opens the editor, modify then passes, until the page changes",
       .add = 1, .modify = 1,
       .steps = {{Step::Open, "定时提醒"}, {Step::Add, ""}, {Step::Type, kRight}, {Step::Modify, ""},
                 {Step::Open, "记事管理"}, {Step::Open, "定时提醒"}, {Step::Modify, ""}},
       .log = {"[定时提醒]", Gate("添加提醒"), "[定时提醒]", "add", "modify", "[记事管理]",
               "[定时提醒]", Gate("修改提醒")},
       .endCurrent = "修改提醒"},
      {.name = "actions not guarded run at once; delete guarded asks",
       .remove = 1,
       .steps = {{Step::Add, ""}, {Step::Modify, ""}, {Step::Delete, ""}, {Step::Type, kWrong},
                 {Step::Type, kRight}},
       .log = {"add", "modify", Gate("删除提醒"), wrongMessage, "[定时提醒]", "delete"},
       .endUnlocked = 1, .endCurrent = "删除提醒"},
      {.name = "delete-all is a delete: guarded by the delete protection, performed after the password",
       .remove = 1,
       .steps = {{Step::DeleteAll, ""}, {Step::Type, kRight}, {Step::DeleteAll, ""}},
       .log = {Gate("全部删除"), "[定时提醒]", "delete all", "delete all"},
       .endUnlocked = 1, .endCurrent = "全部删除"},
      {.name = "guarded actions pass when logged in", .add = 1, .modify = 1, .remove = 1, .entered = 1,
       .steps = {{Step::Add, ""}, {Step::Modify, ""}, {Step::Delete, ""}, {Step::Move, ""}},
       .log = {"add", "modify", "delete", "move"},
       .endEntered = 1, .endCurrent = "删除提醒"},
      {.name = "move asks with log in once ticked for it; loaded covers only",
       .steps = {{Step::Move, ""}, {Step::Type, kRight}},
       .log = {"tick:1", Gate("移动提醒到记事管理"), loggedIn, "hide:today", "hide:due", "move",
               "[定时提醒]"},
       .endEntered = 1, .endUnlocked = 1, .endCurrent = "移动提醒到记事管理", .popupLoaded = false},
      {.name = "close without the password setting asks", .steps = {{Step::Exit, ""}},
       .log = {"ask", "close"}},
      {.name = "close answered with cancel", .steps = {{Step::Exit, ""}}, .log = {"ask"}, .answer = false},
      {.name = "close guarded: the right password ends without a question",
       .toClose = 1, .current = "定时提醒",
       .steps = {{Step::Exit, ""}, {Step::Type, kWrong}, {Step::Type, kRight}},
       .log = {Gate("关闭"), wrongMessage, "close"},
       .endUnlocked = 1, .endCurrent = "关闭"},
      {.name = "close guarded but logged in asks", .toClose = 1, .entered = 1,
       .steps = {{Step::Exit, ""}}, .log = {"ask", "close"}, .endEntered = 1, .endCurrent = "关闭"},
      {.name = "log out forgets the login and goes to the timed page",
       .login = 1, .entered = 1, .unlocked = 1, .current = "定时提醒",
       .steps = {{Step::LogOut, ""}},
       .log = {Title("枫汀阁工作备忘录"), Gate("定时提醒")}, .endCurrent = "定时提醒"},
      {.name = "due window password without log in once: its own cover, the page unlocked",
       .steps = {{Step::Window, kWrong}, {Step::Window, kRight}},
       .log = {Msg("密码错误，请重新输入！"), "hide:due"}, .endUnlocked = 1},
      {.name = "due window password with log in once: every loaded cover, then its own",
       .steps = {{Step::TickOnce, ""}, {Step::Window, kRight}},
       .log = {"tick:1", loggedIn, "hide:today", "hide:due", "hide:popup", "hide:due"},
       .endEntered = 1},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunState state;
    state.PasswordEntered = c.entered;
    state.TimedReminderPageUnlocked = c.unlocked;
    state.CurrentPageName = c.current;
    ProgramSettings settings;
    settings.LoginByPassword = c.login;
    settings.PasswordToClose = c.toClose;
    settings.AddReminderNeedsPassword = c.add;
    settings.ModifyReminderNeedsPassword = c.modify;
    settings.DeleteReminderNeedsPassword = c.remove;

    std::vector<std::string> log;
    std::string shown;
    Cover today("today", log), due("due", log), popup("popup", log);
    PasswordGate* gatePtr = nullptr;
    // Subsystem 3's openers apply their gate before they act.
    auto action = [&](GuardedAction a, const char* name) {
      if (!gatePtr->Guard(a)) log.push_back(name);
    };
    GateHooks hooks;
    hooks.ShowPanel = [&](std::string_view page) {
      shown = page;
      log.push_back(PanelStatusText(page, state.CurrentPageName));
    };
    hooks.IsPanelVisible = [&](std::string_view page) { return shown == page; };
    hooks.SetTitle = [&](std::string_view t) { log.push_back(Title(std::string(t))); };
    hooks.ShowMessage = [&](std::string_view m) { log.push_back(Msg(std::string(m))); };
    hooks.AskConfirm = [&](std::string_view q) {
      EXPECT_EQ(q, "是否真的要关闭退出！");
      log.push_back("ask");
      return c.answer;
    };
    hooks.ShowAskOnceTicked = [&](int on) { log.push_back("tick:" + std::to_string(on)); };
    hooks.LoadedCovers = [&] {
      std::vector<PasswordCover*> loaded = {&today, &due};
      if (c.popupLoaded) loaded.push_back(&popup);
      return loaded;
    };
    hooks.OpenAddReminderEditor = [&] { action(GuardedAction::AddReminder, "add"); };
    hooks.OpenModifyReminderEditor = [&] { action(GuardedAction::ModifyReminder, "modify"); };
    hooks.DeleteReminder = [&] { action(GuardedAction::DeleteReminder, "delete"); };
    hooks.DeleteAllReminders = [&] { action(GuardedAction::DeleteAllReminders, "delete all"); };
    hooks.MoveSelectedReminderToNotes = [&] { log.push_back("move"); };
    hooks.CloseProgram = [&] { log.push_back("close"); };
    PasswordGate gate(state, settings, StoredDigestCheck([] { return kStoredDigest; }), hooks);
    gatePtr = &gate;

    for (const Step& s : c.steps) {
      switch (s.kind) {
        case Step::Open: gate.OpenPage(s.text); break;
        case Step::Add: action(GuardedAction::AddReminder, "add"); break;
        case Step::Modify: action(GuardedAction::ModifyReminder, "modify"); break;
        case Step::Delete: action(GuardedAction::DeleteReminder, "delete"); break;
        case Step::DeleteAll: action(GuardedAction::DeleteAllReminders, "delete all"); break;
        case Step::Move: action(GuardedAction::MoveToNotes, "move"); break;
        case Step::Exit: gate.RequestExit(); break;
        case Step::Type: gate.ConfirmPasswordPrompt(s.text); break;
        case Step::Window: gate.CheckWindowPassword(s.text, due); break;
        case Step::LogOut: gate.LogOut(); break;
        case Step::TickOnce: gate.ToggleAskPasswordOnce(); break;
      }
    }
    EXPECT_TRUE(log == c.log) << "got:  " << Joined(log) << "\nwant: " << Joined(c.log);
    EXPECT_EQ(state.PasswordEntered, c.endEntered);
    EXPECT_EQ(state.TimedReminderPageUnlocked, c.endUnlocked);
    EXPECT_EQ(Show(state.CurrentPageName), Show(c.endCurrent));
  }
}

TEST(PasswordGate, StoredDigestMatchesOnlyTheExactPassword) {
  const struct {
    std::string stored, typed;
    bool match;
  } cases[] = {
      {kStoredDigest, "731862", true},
      {kStoredDigest, "731862 ", false},
      {kStoredDigest, "", false},
      {"0B4D3323D40675A755DF3476EF509455", "731862", false},  // stored bytes, not letters
      {"", "", false},                                         // no admin row
      {EncodePassword("O'Brien 口令"), "O'Brien 口令", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.typed));
    EXPECT_EQ(StoredDigestCheck([&] { return c.stored; })(c.typed), c.match);
  }
}

}  // namespace
