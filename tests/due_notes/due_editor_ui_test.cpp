#include "due_fixture.h"

namespace workmemo::duetest {
namespace {

class DueEditorTest : public DueTest {
 protected:
  void SetUp() override {
    DueTest::SetUp();
    OpenPage();
  }
  ui::Unit& Box(std::string_view name) { return editor->Unit(name); }
  void Fill(std::string_view name, std::string_view type, std::string_view progress) {
    Box("项目名称框").SetText(name);
    Box("项目类型框").SetText(type);
    Box("完成进度框").SetText(progress);
  }
  std::string Date(std::string_view suffix) {
    const std::string s(suffix);
    return Box("年框" + s).Text() + "-" + Box("月框" + s).Text() + "-" + Box("日框" + s).Text();
  }
  void Ok() { editor->UnitAs<ui::PictureButton>("到期提醒确认按钮").Click(); }
  int NewestId() {
    ProgramDatabases& db = Databases();
    db.DueRecordSet.Open(db.DueConnection, due_sql::NewestRow());
    return static_cast<int>(db.DueRecordSet.Integer("id"));
  }
  // The editor opened on a copy of row `id`, a month or a year on.
  void OpenCopy(int id, bool oneYear) {
    DuePage().SelectedDueId = id;
    DuePage().CopyAddOneMonth = oneYear ? 0 : 1;
    DuePage().CopyAddOneYear = oneYear ? 1 : 0;
    OpenEditor();
  }
};

TEST_F(DueEditorTest, ValidationStopsAtTheFirstFaultAndLettersAreNoProgress) {
  OpenEditor();
  EXPECT_EQ(Show(Box("标题标签").Text()), Show("添加到期提醒"));
  EXPECT_EQ(Show(editor->Title()), Show("添加到期提醒"));
  EXPECT_EQ(Date(""), "2025-03-10");
  EXPECT_EQ(Date("1"), "2025-03-10");
  EXPECT_EQ(Box("完成进度框").Text(), "0");
  struct Case {
    const char* name;
    const char* type;
    const char* progress;
    const char* message;  // nullptr: saved
    int stored;
  } cases[] = {
      {"", "t", "10", "请输入项目名称！", 0},
      {"n", "", "10", "请输入项目类型！", 0},
      {"n", "t", "", "请输入项目进度！", 0},
      {"n", "t", "100.5", "进度数值只能在0~100之间！", 0},
      {"n", "t", "-1", "进度数值只能在0~100之间！", 0},
      {"n100", "t", "100", nullptr, 100},
      {"n0", "t", "0", nullptr, 0},
      {"n55", "t", "55.7", nullptr, 55},
      {"letters", "t", "abc", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.name) + "/" + c.type + "/" + c.progress);
    messages.clear();
    const int before = NewestId();
    Fill(c.name, c.type, c.progress);
    Ok();
    if (c.message != nullptr) {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(Show(messages[0]), Show(c.message));
      EXPECT_EQ(NewestId(), before);
      EXPECT_EQ(Box("完成进度框").Text(), c.progress);  // the fields stay as typed
    } else {
      EXPECT_TRUE(messages.empty());
      EXPECT_NE(NewestId(), before);
      EXPECT_EQ(Row(NewestId()).Integer("wcjd"), c.stored);
      EXPECT_EQ(Row(NewestId()).Text("xmmc"), c.name);
    }
  }
  EXPECT_FALSE(editor->IsClosed());  // an add keeps the window open
}

TEST_F(DueEditorTest, TwoAddsInOneOpeningEndTheListAndTeachTheLists) {
  const int existing = Add("已有", Today() + 1, 0, "老客户", "维保");
  RefreshDuePanel();
  OpenEditor();
  auto& types = editor->UnitAs<ui::ComboBox>("项目类型组合框");
  ASSERT_EQ(types.ItemCount(), 1);
  EXPECT_EQ(Box("项目类型框").Text(), "");  // nothing chosen in a freshly filled list

  Fill("第一项", "新类型", "20");
  Box("客户名称框").SetText("O'Neil");
  Box("备注框").SetText("it's 备注");
  Ok();
  const int first = NewestId();
  EXPECT_EQ(Row(first).Text("bz"), "it's 备注");
  EXPECT_EQ(Row(first).Text("khmc"), "O'Neil");
  // Reset for the next item, the type preset to the first known one; the new one is offered.
  EXPECT_EQ(Box("项目名称框").Text(), "");
  EXPECT_EQ(Box("完成进度框").Text(), "0");
  EXPECT_EQ(Show(Box("项目类型框").Text()), Show("维保"));
  ASSERT_EQ(types.ItemCount(), 2);
  EXPECT_EQ(Show(types.ItemText(1)), Show("新类型"));
  // A choice from the list goes into the box.
  types.SetCurrentIndex(1);
  ui::EventArgs chosen;
  editor->Fire("项目类型组合框", ui::Event::Changed, chosen);
  EXPECT_EQ(Show(Box("项目类型框").Text()), Show("新类型"));

  // The second item is due before the first row, yet it ends the page's list until the next query.
  Box("年框1").SetText("2025");
  Box("月框1").SetText("1");
  Box("日框1").SetText("2");
  Fill("第二项", "新类型", "0");
  Ok();
  const int second = NewestId();
  EXPECT_EQ(Row(second).Text("dqdate"), "2025-01-02 00:00:00");
  EXPECT_EQ(ShownIds(DuePanelList()), (std::vector<int>{existing, first, second}));
  EXPECT_EQ(types.ItemCount(), 2);  // not added twice
  EXPECT_FALSE(editor->IsClosed());
  RefreshDuePanel();
  EXPECT_EQ(ShownIds(DuePanelList()), (std::vector<int>{second, first, existing}));
}

TEST_F(DueEditorTest, CopiesLandOnTheLastDayOfAShorterMonth) {
  struct Case {
    double due;
    bool oneYear;
    const char* expected;
  } cases[] = {
      {MakeDateTime(2025, 3, 31, 0, 0, 0), false, "2025-04-30"},
      {MakeDateTime(2024, 1, 31, 0, 0, 0), false, "2024-02-29"},
      {MakeDateTime(2025, 1, 31, 0, 0, 0), false, "2025-02-28"},
      {MakeDateTime(2025, 12, 15, 0, 0, 0), false, "2026-01-15"},
      {MakeDateTime(2024, 2, 29, 0, 0, 0), true, "2025-02-28"},
      {MakeDateTime(2025, 6, 30, 0, 0, 0), true, "2026-06-30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const int id = Add("原项目", c.due, 40, "客户", "类型", "备注", MakeDateTime(2024, 1, 5, 0, 0, 0));
    OpenCopy(id, c.oneYear);
    EXPECT_EQ(Date("1"), c.expected);
    EXPECT_EQ(Date(""), "2024-01-05");  // the start date stays as loaded
    EXPECT_EQ(Show(Box("标题标签").Text()), Show("添加到期提醒"));
    EXPECT_EQ(DuePage().SelectedDueId, 0);
    editor->Close();
    EXPECT_EQ(DuePage().CopyAddOneMonth, 0);  // cleared when the window goes
  }

  // Saved, the copy is a new row; the copied one is unchanged.
  const int original = Add("三月", MakeDateTime(2025, 3, 31, 0, 0, 0), 40);
  OpenCopy(original, false);
  Ok();
  const int copy = NewestId();
  EXPECT_NE(copy, original);
  EXPECT_EQ(Row(copy).Text("dqdate"), "2025-04-30 00:00:00");
  EXPECT_EQ(Row(copy).Text("xmmc"), Row(original).Text("xmmc"));
  EXPECT_EQ(Row(original).Text("dqdate"), "2025-03-31 00:00:00");
}

TEST_F(DueEditorTest, AModificationStoresTheStartDateAndKeepsTheRowInPlace) {
  const std::vector<int> ids = AddNumbered(3);
  RefreshDuePanel();
  ClickLine(*page, DuePanelList(), 2);
  // The modal editor this opens is closed at once by the test driver; the test opens its own.
  ModifySelectedDue();
  ASSERT_EQ(DuePage().SelectedDueId, ids[1]);
  OpenEditor();
  EXPECT_EQ(Show(Box("标题标签").Text()), Show("修改到期提醒"));
  EXPECT_EQ(Show(editor->Title()), Show("修改到期提醒"));  // as the window system shows it
  EXPECT_EQ(Box("项目名称框").Text(), "n2");
  Box("年框").SetText("2024");
  Box("月框").SetText("12");
  Box("日框").SetText("31");
  Box("项目名称框").SetText("renamed");
  Ok();
  EXPECT_TRUE(editor->IsClosed());
  EXPECT_EQ(Row(ids[1]).Text("ksdate"), "2024-12-31 00:00:00");
  EXPECT_EQ(Row(ids[1]).Text("xmmc"), "renamed");
  EXPECT_EQ(ShownIds(DuePanelList()), ids);
  EXPECT_EQ(DuePanelList().CellText(2, 5), "renamed");
  EXPECT_EQ(DuePanelList().SelectedId(), ids[1]);

  // A row deleted meanwhile: the modification fails, the window stays open.
  DuePage().SelectedDueId = ids[2];
  OpenEditor();
  Databases().DueConnection.Execute(due_sql::DeleteRow(ids[2]));
  Ok();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(Show(messages.back()), Show("修改到期提醒失败！"));
  EXPECT_FALSE(editor->IsClosed());
}

TEST_F(DueEditorTest, ARowWithoutAStartDateKeepsNoneUnlessOneIsTyped) {
  // An imported row can come without a start date.
  ASSERT_EQ(Databases().DueConnection.Execute("insert into dqsj(khmc,xmmc,xmlx,wcjd,dqdate) values "
                                              "('客户','导入','类型',10,'2025-03-20 00:00:00')"),
            1);
  const int id = NewestId();
  RefreshDuePanel();
  ClickLine(*page, DuePanelList(), 1);
  ModifySelectedDue();  // the driver closes the modal editor this opens; the test opens its own
  ASSERT_EQ(DuePage().SelectedDueId, id);
  OpenEditor();
  Box("项目名称框").SetText("改名");
  Ok();
  EXPECT_TRUE(editor->IsClosed());
  EXPECT_EQ(Show(Row(id).Text("xmmc")), Show("改名"));
  EXPECT_EQ(Row(id).Text("ksdate"), "");

  // A copy a month on keeps it without one too.
  OpenCopy(id, false);
  Ok();
  const int copy = NewestId();
  ASSERT_NE(copy, id);
  EXPECT_EQ(Row(copy).Text("dqdate"), "2025-04-20 00:00:00");
  EXPECT_EQ(Row(copy).Text("ksdate"), "");
  editor->Close();

  // A start date the user types is stored.
  DuePage().SelectedDueId = id;
  OpenEditor();
  Box("年框").SetText("2025");
  Box("月框").SetText("01");
  Box("日框").SetText("02");
  Ok();
  EXPECT_EQ(Row(id).Text("ksdate"), "2025-01-02 00:00:00");
}

TEST_F(DueEditorTest, DateBoxesAreCorrectedAndTheCalendarFillsTheChosenSet) {
  OpenEditor();
  Box("年框1").SetText("2025");
  Box("月框1").SetText("2");
  Box("日框1").SetText("31");
  Box("完成进度框").SetFocus();
  ui::EventArgs lost;
  editor->Fire("日框1", ui::Event::FocusLost, lost);
  EXPECT_EQ(Date("1"), "2025-02-28");

  // Enter walks the form from the due date to the remark.
  editor->Activate();
  Pump();
  Box("客户名称框").SetFocus();
  drive::Key(Box("客户名称框"), 13);
  EXPECT_TRUE(Box("项目类型框").HasFocus());

  // The second calendar button opens the calendar over (31, 75) for the due date.
  editor->UnitAs<ui::PictureButton>("月历下拉按钮2").Click();
  ui::Unit& panel = editor->Unit("月历画板");
  EXPECT_TRUE(panel.IsVisible());
  EXPECT_EQ(editor->Unit("月历外形框").Left(), 31);
  EXPECT_EQ(editor->Unit("月历外形框").Top(), 75);
  EXPECT_EQ(DueEditor().DueEditorDateField, 2);
  // 1 February 2025 is a Saturday: the 3rd lies in the second row's Monday column.
  drive::Press(panel, 5 + 1 * 39 + 10, 30 + 18 + 29 + 10);
  EXPECT_FALSE(panel.IsVisible());
  EXPECT_EQ(Date("1"), "2025-02-03");
  EXPECT_EQ(Date(""), "2025-03-10");
  editor->UnitAs<ui::PictureButton>("月历下拉按钮1").Click();
  EXPECT_EQ(DueEditor().DueEditorDateField, 1);
  editor->UnitAs<ui::PictureButton>("月历下拉按钮1").Click();
  EXPECT_FALSE(panel.IsVisible());
}

}  // namespace
}  // namespace workmemo::duetest
