#include "shell/notes_table.h"

#include "common/date_format.h"
#include "platform/db/db.h"
#include "shell/data_files.h"
#include "shell/password_gate.h"

namespace workmemo {

namespace db = platform::db;

const char kDefaultNoteType[] = "普通记事";

namespace {

std::string Quoted(std::string_view text) { return "'" + db::EscapeSqlText(text) + "'"; }

std::string Day(double serial) { return Quoted(FormatDateTime(serial, 1)); }

// A search value matches anywhere in the column, as typed: its quotes, '%' and '_' are
// itself, not parts of the statement or wildcards.
std::string Containing(std::string_view column, std::string_view value) {
  return std::string(column) + " " + db::LikeContaining(value);
}

NoteRecordRow ReadRow(const db::RecordSet& rs) {
  NoteRecordRow row;
  row.id = static_cast<int>(rs.Integer("id"));
  row.bt = rs.Text("bt");
  row.nr = rs.Text("nr");
  row.lx = rs.Text("lx");
  row.jsdate = rs.DateTime("jsdate");
  return row;
}

}  // namespace

std::string NotesQueryStatement(std::string_view fieldLabel, std::string_view value) {
  std::string sql = "select * from jsbsj";
  if (fieldLabel == "标题：") {
    sql += " where " + Containing("bt", value);
  } else if (fieldLabel == "内容：") {
    sql += " where " + Containing("nr", value);
  } else if (fieldLabel == "类型：") {
    sql += " where " + Containing("lx", value);
  }
  return sql + " order by jsdate,id";
}

NoteRows QueryNoteRows(ProgramDatabases& data, std::string_view sql) {
  NoteRows rows;
  db::RecordSet& rs = data.NotesRecordSet;
  if (rs.Open(data.NotesConnection, sql) != 1) return rows;
  rows.reserve(static_cast<std::size_t>(rs.RowCount()));
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) rows.push_back(ReadRow(rs));
  return rows;
}

std::optional<NoteRecordRow> ReadNote(ProgramDatabases& data, int id) {
  NoteRows rows = QueryNoteRows(data, "select * from jsbsj where id=" + std::to_string(id));
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

int InsertNoteRow(ProgramDatabases& data, NoteRecordRow& note, double today) {
  const std::string insert = "insert into jsbsj(bt,nr,lx,gxdate,jsdate) values (" + Quoted(note.bt) + "," +
                             Quoted(note.nr) + "," + Quoted(note.lx) + "," + Day(today) + "," +
                             Day(note.jsdate) + ")";
  if (data.NotesConnection.Execute(insert) != 1) return 0;
  // The insert itself names its row: a read of "the newest row" could fail or find another.
  note.id = static_cast<int>(data.NotesConnection.LastInsertId());
  return 1;
}

int UpdateNoteRow(ProgramDatabases& data, const NoteRecordRow& note, double today) {
  const std::string update = "update jsbsj set bt=" + Quoted(note.bt) + ",nr=" + Quoted(note.nr) +
                             ",lx=" + Quoted(note.lx) + ",jsdate=" + Day(note.jsdate) +
                             ",gxdate=" + Day(today) + " where id=" + std::to_string(note.id);
  return ExecuteChangingRow(data.NotesConnection, update);
}

int DeleteNoteRow(ProgramDatabases& data, int id) {
  return ExecuteChangingRow(data.NotesConnection, "delete from jsbsj where id=" + std::to_string(id));
}

std::vector<std::string> ReadNoteTypes(ProgramDatabases& data) {
  std::vector<std::string> types;
  db::RecordSet& rs = data.NotesRecordSet;
  if (rs.Open(data.NotesConnection, "select distinct(lx) as lx1 from jsbsj") != 1) return types;
  // In the order the table gives them: the first is the type a new note starts with.
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) types.push_back(rs.Text("lx1"));
  return types;
}

}  // namespace workmemo
