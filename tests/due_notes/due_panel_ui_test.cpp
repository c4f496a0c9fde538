#include "due_fixture.h"

namespace workmemo::duetest {
namespace {

class DuePanelTest : public DueTest {
 protected:
  SkinListView& List() { return DuePanelList(); }
  // The page's rows replaced in memory, as a query leaves them, and drawn from `first`.
  void Hold(int count, int first) {
    DuePanelState& st = DuePage();
    st.DuePanelRows.clear();
    for (int k = 1; k <= count; ++k) st.DuePanelRows.push_back({k, Today() + k, "c", "t", "n", "0", ""});
    st.DuePanelRowCount = count;
    st.DuePanelScrollMax = LargestFirstRow(count, st.DuePanelVisibleRows);
    FillDueList(first);
  }
  void Choose(int index) {
    page->UnitAs<ui::ComboBox>("查询项目类型组合框").SetCurrentIndex(index);
    ui::EventArgs chosen;
    page->Fire("查询项目类型组合框", ui::Event::Changed, chosen);  // as the user's choice reports it
  }
  void Search(std::string_view text) {
    page->Unit("到期查询框").SetText(text);
    drive::Key(page->Unit("到期查询框"), 13);
  }
};

TEST_F(DuePanelTest, PagesOfNineteenLinesFromAClampedFirstRow) {
  OpenPage();
  EXPECT_EQ(DuePage().DuePanelVisibleRows, 19);
  EXPECT_EQ(List().ColumnCount(), 7);
  EXPECT_EQ(List().ListHeight(), 588 - 46);
  EXPECT_EQ(page->Unit("界面功能框_到期提醒").Top(), 588 - 30 - 8);
  EXPECT_EQ(Show(List().QueryHeaderItem(2)), Show("到期日期"));
  EXPECT_EQ(Show(List().QueryHeaderItem(7)), Show("备注"));
  struct Case {
    int rows, first, shownFirst, scrollMax;
    bool bar;
  } cases[] = {
      {30, 20, 12, 12, true}, {30, 0, 1, 12, true}, {30, 5, 5, 12, true},
      {19, 3, 1, 1, false},   {20, 2, 2, 2, true},  {0, 4, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " rows from " + std::to_string(c.first));
    Hold(c.rows, c.first);
    EXPECT_EQ(DuePage().DuePanelScrollMax, c.scrollMax);
    EXPECT_EQ(DuePage().DuePanelFirstRow, c.shownFirst);
    EXPECT_EQ(List().IsThumbVisible(), c.bar);
    const std::vector<int> ids = ShownIds(List());
    const int shown = std::min(19, c.rows);
    ASSERT_EQ(static_cast<int>(ids.size()), shown);
    if (shown > 0) {
      EXPECT_EQ(ids.front(), c.shownFirst);
      EXPECT_EQ(ids.back(), c.shownFirst + shown - 1);
    }
  }
}

TEST_F(DuePanelTest, RowsShowTheirFieldsAndOverdueItemsThePinkClock) {
  const int late = Add("逾期项目", Today() - 1, 30, "华东机电", "维保", "第一行\r\n第二行");
  const int due = Add("今天到期", Today(), 100, "新华书店", "开发", std::string(200, 'r'));
  OpenPage();
  ASSERT_EQ(ShownIds(List()), (std::vector<int>{late, due}));
  EXPECT_EQ(List().CellText(1, 2), "2025-03-09");
  EXPECT_EQ(Show(List().CellText(1, 3)), Show("华东机电"));
  EXPECT_EQ(Show(List().CellText(1, 4)), Show("维保"));
  EXPECT_EQ(Show(List().CellText(1, 5)), Show("逾期项目"));
  EXPECT_EQ(List().CellText(1, 6), "30");
  EXPECT_EQ(Show(List().CellText(1, 7)), Show("第一行\r"));  // the first line only
  const std::string cut = List().CellText(2, 7);
  EXPECT_LT(cut.size(), 200u);
  EXPECT_TRUE(cut.ends_with("..."));
  EXPECT_TRUE(IconIsPink(*page, List(), 1));
  EXPECT_FALSE(IconIsPink(*page, List(), 2));
}

TEST_F(DuePanelTest, QueriesByTheChosenFieldAndBackToEveryRow) {
  const int late = Add("逾期", Today() - 2, 50);
  const int soon = Add("快到期", Today() + 3, 5);
  const int later = Add("以后", Today() + 30, 50);
  OpenPage();
  EXPECT_EQ(ShownIds(List()).size(), 3u);

  // The first field is the due-within count.
  EXPECT_EQ(Show(page->Unit("查询项目类型标签").Text()), Show("几天内到期的提醒："));
  Search("8");
  EXPECT_EQ(ShownIds(List()), std::vector<int>{soon});
  Search("abc");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("天数必须大于0"));
  EXPECT_EQ(ShownIds(List()), std::vector<int>{soon});  // unchanged

  Choose(1);
  EXPECT_EQ(Show(page->Unit("查询项目类型标签").Text()), Show("过期几天内的提醒："));
  Search("2");
  EXPECT_EQ(ShownIds(List()), std::vector<int>{late});
  Choose(6);
  Search("50");
  EXPECT_EQ(ShownIds(List()), (std::vector<int>{late, later}));

  // An empty box asks for a text and runs nothing.
  page->Unit("到期查询框").SetText({});
  page->UnitAs<ui::PictureButton>("到期提醒查询按钮").Click();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(Show(messages[1]), Show("请输入要查询的内容！"));
  EXPECT_EQ(ShownIds(List()).size(), 2u);

  RefreshDuePanel();
  EXPECT_EQ(ShownIds(List()), (std::vector<int>{late, soon, later}));
  EXPECT_EQ(page->Unit("到期查询框").Text(), "");
}

TEST_F(DuePanelTest, ProgressChangesOneRowAndKeepsTheScrollPosition) {
  const std::vector<int> ids = AddNumbered(30);
  OpenPage();
  for (int i = 0; i < 9; ++i) drive::Wheel(page->Unit("背景动画框"), 600, 200, -120);
  ASSERT_EQ(DuePage().DuePanelFirstRow, 10);
  ClickLine(*page, List(), 3);  // row 12
  ASSERT_EQ(List().SelectedId(), ids[11]);
  page->UnitAs<ui::MenuItem>("50").Choose();
  EXPECT_EQ(Row(ids[11]).Integer("wcjd"), 50);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 10);
  EXPECT_EQ(List().ScrollPosition(), 10);
  EXPECT_EQ(List().CellText(3, 6), "50");
  EXPECT_EQ(List().CellText(2, 6), "0");
  EXPECT_EQ(List().CellText(4, 6), "0");
  EXPECT_EQ(Row(ids[10]).Integer("wcjd"), 0);
  EXPECT_TRUE(messages.empty());

  // A row deleted meanwhile: the update changes nothing and says so.
  Databases().DueConnection.Execute(due_sql::DeleteRow(ids[11]));
  page->UnitAs<ui::MenuItem>("70").Choose();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("修改完成进度失败！"));
  EXPECT_EQ(List().CellText(3, 6), "50");

  // Without a selection.
  List().SetSelectedId(0);
  SetDueProgress(20);
  EXPECT_EQ(Show(messages.back()), Show("请先要设置完成进度的到期提醒！"));
}

TEST_F(DuePanelTest, DeletingTheLastRowOfAScrolledListKeepsTheLinesFull) {
  const std::vector<int> ids = AddNumbered(29);
  const int last = Add(std::string(40, 'x') + "的项目", Today() + 40);
  OpenPage();
  FillDueList(12);
  ClickLine(*page, List(), 19);
  ASSERT_EQ(List().SelectedId(), last);

  confirmAnswer = false;
  page->UnitAs<ui::PictureButton>("删除到期提醒按钮").Click();
  ASSERT_EQ(questions.size(), 1u);
  // The question names the project cut to 30 bytes.
  EXPECT_EQ(Show(questions[0]), Show(std::string("是否真的要删除选中的到期提醒？|") + std::string(30, 'x')));
  EXPECT_EQ(Row(last).RowCount(), 1);

  confirmAnswer = true;
  DeleteDueRecord();
  EXPECT_EQ(Row(last).RowCount(), 0);
  EXPECT_EQ(DuePage().DuePanelRowCount, 29);
  EXPECT_EQ(DuePage().DuePanelScrollMax, 11);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 11);
  const std::vector<int> shown = ShownIds(List());
  ASSERT_EQ(shown.size(), 19u);
  EXPECT_EQ(shown.front(), ids[10]);
  EXPECT_EQ(shown.back(), ids[28]);
  EXPECT_EQ(List().SelectedId(), -1);
  EXPECT_TRUE(messages.empty());

  // No selection; and a row deleted meanwhile stays listed with the failure.
  DeleteDueRecord();
  EXPECT_EQ(Show(messages.back()), Show("请选择要删除的记录！"));
  ClickLine(*page, List(), 1);
  Databases().DueConnection.Execute(due_sql::DeleteRow(ids[10]));
  DeleteDueRecord();
  EXPECT_EQ(Show(messages.back()), Show("删除到期提醒失败！"));
  EXPECT_EQ(ShownIds(List()).front(), ids[10]);
}

TEST_F(DuePanelTest, ScrollingMovesOneRowPerNotchWithinTheList) {
  AddNumbered(25);
  OpenPage();
  auto& box = page->UnitAs<ui::AnimationBox>("背景动画框");
  drive::Wheel(box, 600, 200, -120);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 2);
  for (int i = 0; i < 10; ++i) drive::Wheel(box, 600, 200, -120);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 7);  // the last screen
  drive::Wheel(box, 600, 200, 120);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 6);
}

TEST_F(DuePanelTest, OpenersNeedASelectionExceptAdd) {
  OpenPage();
  ModifySelectedDue();
  CopyDueAddOneMonth();
  CopyDueAddOneYear();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(Show(messages[0]), Show("请选择要修改的记录！"));
  EXPECT_EQ(Show(messages[1]), Show("请先要复制的到期提醒！"));
  EXPECT_EQ(Show(messages[2]), Show("请先要复制的到期提醒！"));
}

}  // namespace
}  // namespace workmemo::duetest
