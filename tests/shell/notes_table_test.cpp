#include "shell/notes_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "shell/data_files.h"
#include "test_support.h"

namespace {

using namespace workmemo;
using testsupport::Show;
namespace db = platform::db;

double Day(int y, int m, int d, int hh = 0, int mm = 0) { return platform::clock::SerialFromFields({y, m, d, hh, mm, 0}); }

// A notes file written from its empty image and opened as the start-up opens it.
class NotesTable : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = dir.File("jsb2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "jsb2.dat"));
    ASSERT_EQ(data.NotesConnection.Open(db::ConnectionText(path, kDatabasePassword)), 1);
  }
  int Add(std::string title, std::string content, std::string type, double date) {
    NoteRecordRow note{0, std::move(title), std::move(content), std::move(type), date};
    EXPECT_EQ(InsertNoteRow(data, note, Day(2024, 6, 1, 15, 30)), 1);
    return note.id;
  }
  std::vector<int> Ids(const std::string& label, const std::string& value) {
    std::vector<int> ids;
    for (const NoteRecordRow& row : QueryNoteRows(data, NotesQueryStatement(label, value))) ids.push_back(row.id);
    return ids;
  }
  std::string Stored(int id, const std::string& column) {
    db::RecordSet rs;
    if (rs.Open(data.NotesConnection, "select * from jsbsj where id=" + std::to_string(id)) != 1 || rs.Eof())
      return "(none)";
    return rs.Text(column);
  }

  testsupport::TempDir dir;
  ProgramDatabases data;
};

TEST_F(NotesTable, AnEmptyTableHasNoRowsAndNoTypes) {
  for (const char* label : {"", "标题：", "内容：", "类型："}) EXPECT_TRUE(Ids(label, "x").empty()) << Show(label);
  EXPECT_TRUE(ReadNoteTypes(data).empty());
  EXPECT_FALSE(ReadNote(data, 1).has_value());
}

TEST_F(NotesTable, NotesAreStoredByDayAndReadBackWhole) {
  const int id = Add("O'Brien 的记事", "第一行\r\n'quoted' ''", "普通记事", Day(2015, 2, 28, 17, 45));
  ASSERT_EQ(id, 1);
  // Both dates are day texts: the time of day is never stored.
  EXPECT_EQ(Stored(id, "jsdate"), "2015-02-28");
  EXPECT_EQ(Stored(id, "gxdate"), "2024-06-01");
  const auto note = ReadNote(data, id);
  ASSERT_TRUE(note.has_value());
  EXPECT_EQ(Show(note->bt), Show("O'Brien 的记事"));
  EXPECT_EQ(Show(note->nr), Show("第一行\r\n'quoted' ''"));
  EXPECT_EQ(note->jsdate, Day(2015, 2, 28));

  NoteRecordRow changed = *note;
  changed.bt = "it's changed";
  changed.jsdate = Day(2016, 3, 1, 8);
  EXPECT_EQ(UpdateNoteRow(data, changed, Day(2024, 7, 2, 9)), 1);
  EXPECT_EQ(Stored(id, "bt"), "it's changed");
  EXPECT_EQ(Stored(id, "jsdate"), "2016-03-01");
  EXPECT_EQ(Stored(id, "gxdate"), "2024-07-02");

  // A row that is not there is neither changed nor deleted.
  changed.id = 99;
  EXPECT_EQ(UpdateNoteRow(data, changed, Day(2024, 7, 2)), 0);
  EXPECT_EQ(DeleteNoteRow(data, 99), 0);
  EXPECT_EQ(DeleteNoteRow(data, id), 1);
  EXPECT_EQ(DeleteNoteRow(data, id), 0);
  EXPECT_EQ(Stored(id, "bt"), "(none)");

  // A title over the column's 255 characters is refused and adds nothing.
  NoteRecordRow tooLong{0, std::string(256, 't'), "c", "t", Day(2016, 1, 1)};
  EXPECT_EQ(InsertNoteRow(data, tooLong, Day(2024, 6, 1)), 0);
  EXPECT_TRUE(Ids("", "").empty());
}

TEST_F(NotesTable, QueriesMatchAnywhereInTheirFieldInDateOrder) {
  const int late = Add("会议纪要", "讨论预算", "工作", Day(2016, 5, 1));
  const int early = Add("纪要：季度会议", "O'Brien 来电", "工作", Day(2016, 1, 3));
  const int sameDay = Add("会 议", "100% 完成", "生活", Day(2016, 5, 1));
  const int middle = Add("年会议程", "a_b", "生活琐事", Day(2016, 3, 9));

  const struct {
    const char* label;
    std::string value;
    std::vector<int> ids;
  } cases[] = {
      {"", "", {early, middle, late, sameDay}},  // notes of one day stay in the order added
      {"其他：", "会议", {early, middle, late, sameDay}},
      {"标题：", "会议", {early, middle, late}},  // at the start, middle and end; "会 议" is not
      {"标题：", "纪要", {early, late}},
      {"内容：", "O'Brien", {early}},              // a quote stays part of the value
      {"内容：", "预算", {late}},
      {"内容：", "100%", {sameDay}},               // '%' and '_' are no wildcards
      {"内容：", "a_b", {middle}},
      {"内容：", "_", {middle}},
      {"类型：", "生活", {middle, sameDay}},
      {"类型：", "琐事", {middle}},
      {"标题：", "不存在", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.label) + " " + Show(c.value));
    EXPECT_EQ(Ids(c.label, c.value), c.ids);
  }

  Add("x", "", "Beta", Day(2016, 1, 1));
  Add("y", "", "alpha", Day(2016, 1, 1));
  // In the order the notes first used them, not sorted.
  EXPECT_EQ(ReadNoteTypes(data), (std::vector<std::string>{"工作", "生活", "生活琐事", "Beta", "alpha"}));
}

}  // namespace
