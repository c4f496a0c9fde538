#include "due_notes/notes_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "due_notes/note_picture.h"
#include "notes_fixture.h"
#include "platform/image/image.h"

namespace workmemo::notes_test {
namespace {

TEST_F(NotesPageTest, TheListIsBuiltAsThePageNeedsIt) {
  EXPECT_EQ(NotesPage().NotesPanelVisibleRows, 19);
  EXPECT_EQ(List().ListWidth(), 1096);
  EXPECT_EQ(List().ListHeight(), 588 - 46);
  EXPECT_EQ(List().ColumnCount(), 4);
  EXPECT_EQ(Show(List().QueryHeaderItem(2)), Show("日期"));
  EXPECT_EQ(Show(List().QueryHeaderItem(3)), Show("类型"));
  EXPECT_EQ(Show(List().QueryHeaderItem(4)), Show("标题"));
  // The function bar lies where the timed-reminder page has its own.
  EXPECT_EQ(page->Unit("界面功能框_记事本").Top(), 588 - 30 - 8);
  EXPECT_EQ(page->Unit(kNotesBarBox).Top(), 588 - 30 - 8);
  // Every line carries the note picture, 48 x 48 scaled to 24 wide.
  const platform::image::Image picture = platform::image::Decode(NotePicture());
  EXPECT_EQ(picture.width, 48);
  EXPECT_EQ(picture.height, 48);
  EXPECT_EQ(List().SpriteWidth(List().CellSprite(19, 1)), 24);
  // An empty notes file: no rows, no scroll bar.
  EXPECT_EQ(NotesPage().NotesPanelRowCount, 0);
  EXPECT_TRUE(ShownIds().empty());
  EXPECT_FALSE(List().IsThumbVisible());
}

TEST_F(NotesPageTest, FirstRowsAreHeldWithinTheScrollRange) {
  struct Case {
    int notes, first, expectedFirst, scrollMax;
    bool bar;
  } cases[] = {{30, 20, 12, 12, true}, {30, 0, 1, 12, true}, {30, 5, 5, 12, true},
               {19, 5, 1, 1, false},   {20, 3, 2, 2, true},  {0, 3, 1, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.notes) + " notes from " + std::to_string(c.first));
    ASSERT_EQ(Databases().NotesConnection.Execute("delete from jsbsj"), 1);
    AddNumbered(c.notes);
    const int firstId = c.notes > 0 ? NotesPage().NotesPanelRows.front().id : 0;
    FillNotesList(c.first);
    EXPECT_EQ(NotesPage().NotesPanelScrollMax, c.scrollMax);
    EXPECT_EQ(NotesPage().NotesPanelFirstRow, c.expectedFirst);
    EXPECT_EQ(List().ScrollMax(), c.scrollMax);
    EXPECT_EQ(List().IsThumbVisible(), c.bar);
    const int shown = std::min(19, c.notes);
    EXPECT_EQ(ShownIds(), Range(firstId + c.expectedFirst - 1, firstId + c.expectedFirst + shown - 2));
  }
}

TEST_F(NotesPageTest, LinesShowTheDayAndCutTypesAndTitles) {
  const struct {
    std::string title, type, shownTitle, shownType;
  } cases[] = {
      // A line break before the limit ends the text; its carriage return stays.
      {std::string(9, 'a') + "\r\nsecond", "工作\r\n生活", std::string(9, 'a') + "\r", "工作\r"},
      {std::string(100, 'b'), "工作事务安排计划", std::string(92, 'b') + "...", "工作事务安排计划"},
      {std::string(94, 'c') + "\r\nrest", "a工作事务安排计划", std::string(92, 'c') + "...", "a工作事务安排计..."},
      // The 92nd byte would be half a character: the cut falls one byte earlier.
      {std::string(91, 'd') + "中文", "", std::string(91, 'd') + "...", ""},
      {std::string(92, 'e'), "O'Brien", std::string(92, 'e'), "O'Brien"},
  };
  for (const auto& c : cases) Add(c.title, Day(2016, 3, 1, 17, 45), c.type);
  QueryNotes();
  for (int line = 1; line <= 5; ++line) {
    const auto& c = cases[line - 1];
    SCOPED_TRACE(line);
    EXPECT_EQ(List().CellText(line, 2), "2016-03-01");
    EXPECT_EQ(Show(List().CellText(line, 3)), Show(c.shownType));
    EXPECT_EQ(Show(List().CellText(line, 4)), Show(c.shownTitle));
  }
}

TEST_F(NotesPageTest, DeleteAsksWithTheCutTitleAndKeepsTheListFull) {
  Click("删除记事管理按钮");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("请选择要删除的记录！"));

  AddNumbered(29);
  const int last = Add(std::string(28, 'x') + "最后一条记事", Day(2017, 1, 1));
  QueryNotes();
  FillNotesList(12);
  ClickRow(19);
  EXPECT_EQ(List().SelectedId(), last);

  // Cancelled: nothing changes.
  script->AnswerWindow([](ui::Window& box) { ClickSprite(box, "取消按钮"); });
  Click("删除记事管理按钮");
  EXPECT_EQ(CountRows(), 30);
  EXPECT_EQ(NotesPage().NotesPanelRowCount, 30);

  // OK: the row goes, the first row moves up so the lines stay full, no selection is left.
  std::string detail;
  script->AnswerWindow([&detail](ui::Window& box) {
    detail = SpriteText(box, "提示内容1");
    ClickSprite(box, "确定按钮");
  });
  Click("删除记事管理按钮");
  EXPECT_EQ(Show(detail), Show(std::string(28, 'x') + "最"));  // 30 bytes
  EXPECT_EQ(CountRows(), 29);
  EXPECT_EQ(NotesPage().NotesPanelRowCount, 29);
  EXPECT_EQ(NotesPage().NotesPanelScrollMax, 11);
  EXPECT_EQ(NotesPage().NotesPanelFirstRow, 11);
  EXPECT_EQ(ShownIds(), Range(11, 29));
  EXPECT_EQ(List().SelectedId(), -1);
  EXPECT_EQ(NotesPage().SelectedNoteId, 0);

  // A note deleted behind the page's back changes no row: a failure, and the line stays.
  ClickRow(19);
  ASSERT_EQ(Databases().NotesConnection.Execute("delete from jsbsj where id=29"), 1);
  script->AnswerWindow([](ui::Window& box) { ClickSprite(box, "确定按钮"); });
  Click("删除记事管理按钮");
  EXPECT_EQ(Show(messages.back()), Show("删除记事失败！"));
  EXPECT_EQ(NotesPage().NotesPanelRowCount, 29);
  EXPECT_EQ(ShownIds().back(), 29);

  // The only note of a list deleted: an empty list.
  QueryNotes("标题：", "note 7");
  ClickRow(1);
  script->AnswerWindow([](ui::Window& box) { ClickSprite(box, "确定按钮"); });
  Click("删除记事管理按钮");
  EXPECT_TRUE(ShownIds().empty());
  EXPECT_EQ(NotesPage().NotesPanelScrollMax, 1);
  EXPECT_FALSE(List().IsThumbVisible());
  EXPECT_EQ(script->Unanswered(), 0);
}

TEST_F(NotesPageTest, QueriesOfEachFieldAndTheWayBack) {
  const int meeting = Add("会议纪要", Day(2016, 5, 1), "工作", "预算 100% 通过");
  const int call = Add("电话", Day(2016, 1, 3), "生活", "O'Brien 来电");
  const int other = Add("购物", Day(2016, 3, 9), "生活琐事", "100 元");
  QueryNotes();
  ASSERT_EQ(ShownIds(), (std::vector<int>{call, other, meeting}));

  auto& combo = page->UnitAs<ui::ComboBox>("查询项目类型组合框");
  auto& box = page->Unit(kNotesQueryBox);
  auto query = [&](int field, const std::string& text) {
    combo.SetCurrentIndex(field);
    ui::EventArgs chosen;
    page->Fire("查询项目类型组合框", ui::Event::Changed, chosen);  // as the user's choice reports it
    box.SetText(text);
    drive::Key(box, 13);
    return ShownIds();
  };
  EXPECT_EQ(query(0, "纪要"), std::vector<int>{meeting});
  EXPECT_EQ(Show(page->Unit(kNotesQueryFieldLabel).Text()), Show("标题："));
  EXPECT_EQ(query(1, "O'Brien"), std::vector<int>{call});  // a quote is searched as itself
  EXPECT_EQ(Show(page->Unit(kNotesQueryFieldLabel).Text()), Show("内容："));
  EXPECT_EQ(query(2, "生活"), (std::vector<int>{call, other}));
  EXPECT_EQ(query(1, "100%"), std::vector<int>{meeting});  // so is a percent sign
  EXPECT_TRUE(messages.empty());

  // The refresh sprite, shown after the query, brings every note back and empties the bar.
  auto& sprites = page->UnitAs<ui::AnimationBox>(kNotesBarBox);
  const int refresh = sprites.FindObject(kNotesRefreshSprite);
  ASSERT_GT(refresh, 0);
  EXPECT_TRUE(sprites.IsObjectVisible(refresh));
  drive::Click(sprites, sprites.ObjectLeft(refresh) + 3, sprites.ObjectTop(refresh) + 3);
  EXPECT_EQ(ShownIds().size(), 3u);
  EXPECT_EQ(box.Text(), "");
  EXPECT_FALSE(sprites.IsObjectVisible(refresh));

  // An empty box asks for a text and leaves the list alone.
  Click("记事本查询按钮");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("请输入要查询的记事内容！"));
  EXPECT_EQ(ShownIds().size(), 3u);

  // The frame opened from the stand-in, typed into and closed by a click on the list: the
  // text shows on the bar and the list waits for 查询.
  const int frame = sprites.FindObject(kNotesQueryFrameSprite);
  drive::Click(sprites, sprites.ObjectLeft(frame) + 40, sprites.ObjectTop(frame) + 5);
  EXPECT_TRUE(page->Unit("外形框5").IsVisible());
  box.SetText("购物");
  drive::Click(Box(), 600, 500);
  EXPECT_FALSE(page->Unit("外形框5").IsVisible());
  EXPECT_EQ(Show(sprites.ObjectText(sprites.FindObject(kNotesQueryTextSprite))), Show("购物"));
  EXPECT_EQ(ShownIds().size(), 3u);
}

TEST_F(NotesPageTest, AnAppendedNoteComesIntoViewAtTheEnd) {
  AddNumbered(25);
  FillNotesList(7);  // the last screen
  AppendNoteToNotesPanel({100, "moved", "", kDefaultNoteType, Day(2000, 1, 1)});
  EXPECT_EQ(NotesPage().NotesPanelScrollMax, 8);
  EXPECT_EQ(NotesPage().NotesPanelFirstRow, 8);
  EXPECT_EQ(ShownIds().back(), 100);

  // A list scrolled elsewhere keeps its place.
  FillNotesList(2);
  AppendNoteToNotesPanel({101, "moved too", "", kDefaultNoteType, Day(2000, 1, 1)});
  EXPECT_EQ(NotesPage().NotesPanelFirstRow, 2);
  EXPECT_EQ(NotesPage().NotesPanelRowCount, 27);

  // Modify without a selection asks for one.
  Click("修改记事管理按钮");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("请选择要修改的记事！"));
}

}  // namespace
}  // namespace workmemo::notes_test
