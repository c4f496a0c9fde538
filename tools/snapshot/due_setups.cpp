// The due-date windows for the snapshot tool, over a data file of their own with a few items
// around today: some overdue, one due today, some later.
#include <string>

#include "due_notes/due_editor.h"
#include "due_notes/due_panel.h"
#include "due_notes/due_statements.h"
#include "due_notes/due_window.h"
#include "platform/clock/clock.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "setup_hooks.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace snapshot {

namespace {

struct Sample {
  int days;
  const char* customer;
  const char* type;
  const char* name;
  int progress;
  const char* remark;
};

constexpr Sample kSamples[] = {
    {-12, "华东机电", "软件开发", "仓储管理系统二期验收", 90, "等客户签字"},
    {-3, "南方物流", "系统集成", "分拣线控制柜改造", 60, "备件已到"},
    {-1, "新华书店", "年度维保", "门店收银终端巡检", 30, ""},
    {0, "华东机电", "软件开发", "报表模块上线", 80, "今晚发布"},
    {2, "明远科技", "咨询服务", "信息化规划报告", 40, "第二稿"},
    {5, "南方物流", "年度维保", "服务器保修续约", 0, "联系销售 O'Neil"},
    {20, "新华书店", "系统集成", "会员系统接口对接", 10, ""},
    {45, "明远科技", "软件开发", "移动端审批应用", 0, "需求评审中"},
};

// The program-wide state of a start with default settings, and the items once.
void PrepareDueData() {
  static bool done = false;
  if (done) return;
  done = true;
  UseFreshProgramDirectory();
  workmemo::Settings().ListFontSize = 11;
  workmemo::Settings().TaskbarHeight = 40;
  workmemo::OpenDataFiles();
  const double today = workmemo::DateOf(platform::clock::Now());
  workmemo::ProgramDatabases& db = workmemo::Databases();
  for (const Sample& s : kSamples) {
    workmemo::due_sql::DueItem item{s.customer, s.name, s.type, s.progress, s.remark, today + s.days - 30,
                                     today + s.days};
    db.DueConnection.Execute(workmemo::due_sql::Insert(item, today));
  }
  // The item the copy variant copies: due on 31 March.
  workmemo::due_sql::DueItem march{"华东机电", "季度巡检报告", "年度维保", 100, "按季度提交",
                                   workmemo::MakeDateTime(2025, 3, 1, 0, 0, 0),
                                   workmemo::MakeDateTime(2025, 3, 31, 0, 0, 0)};
  db.DueConnection.Execute(workmemo::due_sql::Insert(march, today));
}

int NewestId() {
  workmemo::ProgramDatabases& db = workmemo::Databases();
  db.DueRecordSet.Open(db.DueConnection, workmemo::due_sql::NewestRow());
  return static_cast<int>(db.DueRecordSet.Integer("id"));
}

}  // namespace

void RegisterDueSetups() {
  // The page as it shows inside the main window (never on its own): on its panel area.
  RegisterSetupHook("DuePanel", [](platform::ui::Window& page) {
    PrepareDueData();
    workmemo::MainWindow& main = ProgramMainWindow();
    main.Load();
    const workmemo::PanelRect& area = main.PanelArea();
    workmemo::SetDuePanelHost({nullptr, area.left, area.top, area.width, area.height,
                               workmemo::PanelPicture{&main, nullptr}});
    workmemo::SetUpDuePanel(page);
  });
  RegisterSetupHook("DueEditorWindow", [](platform::ui::Window& window) {
    PrepareDueData();
    workmemo::DuePage().SelectedDueId = 0;
    workmemo::SetUpDueEditor(window);
  });
  RegisterSetupHook("DueEditorWindow:复制", [](platform::ui::Window& window) {
    PrepareDueData();
    workmemo::DuePanelState& page = workmemo::DuePage();
    page.SelectedDueId = NewestId();
    page.CopyAddOneMonth = 1;
    workmemo::SetUpDueEditor(window);
  });
  RegisterSetupHook("DueRemindersWindow", [](platform::ui::Window& window) {
    PrepareDueData();
    workmemo::SetUpDueRemindersWindow(window);
  });
  RegisterSetupHook("DueRemindersWindow:密码", [](platform::ui::Window& window) {
    PrepareDueData();
    workmemo::Settings().LoginByPassword = 1;
    workmemo::Run().PasswordEntered = 0;
    workmemo::SetUpDueRemindersWindow(window);
  });
}

}  // namespace snapshot
