#include "due_notes/note_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "notes_fixture.h"

namespace workmemo::notes_test {
namespace {

// The note editor opened from the notes page; `use` drives it inside its modal loop, and
// the window is closed after it when `use` left it open. A button that opens no editor fails
// the test, whatever `use` would have checked.
class NoteEditorTest : public NotesPageTest {
 protected:
  void Open(std::string_view button, std::function<void(ui::Window&)> use) {
    bool opened = false;
    script->AnswerWindow([this, &opened, use = std::move(use)](ui::Window& w) {
      opened = true;
      editor = &w;
      use(w);
      if (!w.IsClosed()) w.Close();
    });
    Click(button);
    editor = nullptr;
    EXPECT_TRUE(opened) << Show(button) << " opened no note editor";
  }
  ui::Unit& U(std::string_view name) { return editor->Unit(name); }
  ui::ComboBox& Types() { return editor->UnitAs<ui::ComboBox>("记事本类型组合框"); }
  std::vector<std::string> TypeItems() {
    std::vector<std::string> items;
    for (int i = 0; i < Types().ItemCount(); ++i) items.push_back(Types().ItemText(i));
    return items;
  }
  void Save() { editor->UnitAs<ui::PictureButton>("图形按钮4").Click(); }
  std::string Stored(int id, const std::string& column) {
    platform::db::RecordSet rs;
    if (rs.Open(Databases().NotesConnection, "select * from jsbsj where id=" + std::to_string(id)) != 1 || rs.Eof())
      return "(none)";
    return rs.Text(column);
  }

  ui::Window* editor = nullptr;
};

TEST_F(NoteEditorTest, AnEmptyFileOffersTheDefaultTypeAndTheChecksComeInOrder) {
  Open("添加记事管理按钮", [this](ui::Window& w) {
    EXPECT_EQ(w.Width(), 856);
    EXPECT_EQ(w.Height(), 486);
    EXPECT_EQ(Show(U("标题标签").Text()), Show("添加记事"));
    EXPECT_EQ(TypeItems(), std::vector<std::string>{"普通记事"});
    EXPECT_EQ(Show(U("记事本类型框").Text()), Show("普通记事"));
    EXPECT_EQ(U("记事年框").Text() + U("记事月框").Text() + U("记事日框").Text(), "20160207");

    Save();  // no content
    U("记事框").SetText("内容");
    U("记事本类型框").SetText("");
    Save();  // no type
    U("记事框").SetText("");
    Save();  // neither: the content is asked for first
  });
  EXPECT_EQ(Show(messages.size() == 3 ? messages[0] + messages[1] + messages[2] : "?"),
            Show("请输入内容!请输入记事类型！请输入内容!"));
  EXPECT_EQ(CountRows(), 0);
  EXPECT_EQ(script->Unanswered(), 0);
}

TEST_F(NoteEditorTest, AddsInOneOpeningJoinTheEndOfTheList) {
  AddNumbered(20);
  FillNotesList(2);  // the last screen
  const std::string long120 = std::string(120, 'a') + "rest";
  const std::string split = std::string(119, 'b') + "中文";  // the 120th byte starts a character
  Open("添加记事管理按钮", [&](ui::Window&) {
    U("记事年框").SetText("2015");
    U("记事月框").SetText("2");
    U("记事日框").SetText("31");
    U("记事本类型框").SetText("新类型");
    U("记事框").SetText(long120);
    Save();
    // The form is empty again, dated today, and keeps the type, which the list now offers.
    EXPECT_EQ(U("标题框").Text(), "");
    EXPECT_EQ(U("记事框").Text(), "");
    EXPECT_EQ(U("记事日框").Text(), "07");
    EXPECT_EQ(Show(U("记事本类型框").Text()), Show("新类型"));
    EXPECT_EQ(Show(TypeItems().back()), Show("新类型"));
    U("记事框").SetText(split);
    Save();
    EXPECT_EQ(Show(TypeItems().back()), Show("新类型"));  // offered once
  });
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(CountRows(), 22);
  EXPECT_EQ(Stored(21, "bt"), std::string(120, 'a'));
  EXPECT_EQ(Stored(21, "nr"), long120);
  EXPECT_EQ(Stored(21, "jsdate"), "2015-02-28");
  EXPECT_EQ(Stored(21, "gxdate"), "2016-02-07");
  EXPECT_EQ(Stored(22, "bt"), std::string(119, 'b'));
  EXPECT_EQ(Show(Stored(22, "lx")), Show("新类型"));
  EXPECT_EQ(Stored(22, "jsdate"), "2016-02-07");
  // Both at the end of the list, which followed them to its new last screen.
  EXPECT_EQ(NotesPage().NotesPanelFirstRow, 4);
  EXPECT_EQ(ShownIds().back(), 22);
  EXPECT_EQ(NotesPage().NotesPanelRows[20].id, 21);
  EXPECT_EQ(Show(List().CellText(19, 3)), Show("新类型"));
}

TEST_F(NoteEditorTest, TheTypeListKeepsTheTablesOrderAndANewNoteTakesItsFirst) {
  Add("a", Day(2016, 3, 5), "生活");
  Add("b", Day(2016, 1, 5), "工作");
  Add("c", Day(2016, 2, 5), "生活");
  QueryNotes();
  Open("添加记事管理按钮", [this](ui::Window&) {
    EXPECT_EQ(TypeItems(), (std::vector<std::string>{"生活", "工作"}));
    EXPECT_EQ(Show(U("记事本类型框").Text()), Show("生活"));
  });
}

TEST_F(NoteEditorTest, AChangedNoteKeepsItsQuotesAndTheEditorCloses) {
  const int id = Add("O'Brien", Day(2016, 3, 5), "生活", "第一行\r\n第二行");
  QueryNotes();
  ClickRow(1);
  Open("修改记事管理按钮", [&](ui::Window& w) {
    EXPECT_EQ(Show(U("标题标签").Text()), Show("修改记事"));
    EXPECT_EQ(Show(w.Title()), Show("修改记事"));  // as the window system shows it
    EXPECT_EQ(U("标题框").Text(), "O'Brien");
    EXPECT_EQ(Show(U("记事框").Text()), Show("第一行\r\n第二行"));
    EXPECT_EQ(Show(U("记事本类型框").Text()), Show("生活"));
    EXPECT_EQ(U("记事年框").Text() + U("记事月框").Text() + U("记事日框").Text(), "20160305");
    U("记事框").SetText("it's new");
    Save();
    EXPECT_TRUE(w.IsClosed());
  });
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(CountRows(), 1);
  EXPECT_EQ(Stored(id, "bt"), "O'Brien");
  EXPECT_EQ(Stored(id, "nr"), "it's new");
  EXPECT_EQ(NotesPage().NotesPanelRows[0].nr, "it's new");
  EXPECT_EQ(List().CellText(1, 4), "O'Brien");
}

TEST_F(NoteEditorTest, ANoteGoneBeforeTheEditorOpensIsNeverAddedInstead) {
  const int id = Add("gone", Day(2016, 3, 5));
  QueryNotes();
  ClickRow(1);
  ASSERT_EQ(DeleteNoteRow(Databases(), id), 1);
  Open("修改记事管理按钮", [&](ui::Window& w) {
    EXPECT_EQ(Show(U("标题标签").Text()), Show("修改记事"));
    EXPECT_EQ(U("标题框").Text(), "");
    U("记事框").SetText("typed anyway");
    Save();
    EXPECT_FALSE(w.IsClosed());
    // 取消 empties the form and closes without saving.
    w.UnitAs<ui::PictureButton>("图形按钮5").Click();
    EXPECT_TRUE(w.IsClosed());
  });
  EXPECT_EQ(Show(messages.size() == 2 ? messages[0] + messages[1] : "?"),
            Show("读取记事本数据失败，可能该记录已删除！修改记事失败！"));
  EXPECT_EQ(CountRows(), 0);
}

TEST_F(NoteEditorTest, EnterMovesAlongTheFormAndTheCalendarFillsTheDate) {
  Open("添加记事管理按钮", [&](ui::Window& w) {
    const char* order[] = {"记事年框", "记事月框", "记事日框", "标题框", "记事本类型框", "记事框"};
    w.Activate();
    Pump(50);
    U(order[0]).SetFocus();
    for (int i = 0; i + 1 < 6; ++i) {
      const std::string before = U(order[i]).Text();
      drive::Key(U(order[i]), 13);
      EXPECT_TRUE(U(order[i + 1]).HasFocus()) << Show(order[i + 1]);
      EXPECT_EQ(U(order[i]).Text(), before);
    }

    // The calendar drops down under the date row and writes the day picked.
    w.UnitAs<ui::PictureButton>("月历下拉按钮1").Click();
    EXPECT_TRUE(U("月历外形框").IsVisible());
    EXPECT_EQ(U("月历外形框").Left(), 31);
    EXPECT_EQ(U("月历外形框").Top(), 113);
    // February 2016 begins on a Monday: the 15th is the second column of the third week.
    drive::Press(U("画板1"), 5 + 38 + 19, 30 + 18 + 2 * 28 + 14);
    EXPECT_EQ(U("记事年框").Text() + U("记事月框").Text() + U("记事日框").Text(), "20160215");
    EXPECT_FALSE(U("月历外形框").IsVisible());
    // A second press closes it again.
    w.UnitAs<ui::PictureButton>("月历下拉按钮1").Click();
    w.UnitAs<ui::PictureButton>("月历下拉按钮1").Click();
    EXPECT_FALSE(U("月历外形框").IsVisible());
  });
}

TEST_F(NoteEditorTest, TheContentMenuCopiesAndPastes) {
  Open("添加记事管理按钮", [&](ui::Window& w) {
    auto& content = w.UnitAs<ui::RichEditBox>("记事框");
    content.SetText("记事内容");
    content.SelectAll();
    script->AnswerMenu("复制");
    drive::Click(content, 20, 20, drive::Button::Right);
    content.SetText("");
    script->AnswerMenu("粘贴");
    drive::Click(content, 20, 20, drive::Button::Right);
    EXPECT_EQ(Show(content.Text()), Show("记事内容"));
    EXPECT_EQ(script->Menus().size(), 2u);
  });
}

}  // namespace
}  // namespace workmemo::notes_test
