#pragma once
// The notes table jsbsj of the notes database: the in-memory row of one note and every
// statement the program runs on the table, on the program's notes connection and record set.
// The notes page and editor, the move of a timed reminder into the notes and data
// maintenance all go through here. Dates are written as day texts, so a stored note carries
// its date at 00:00:00.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workmemo {

struct ProgramDatabases;

// One note in memory.
struct NoteRecordRow {
  int id = 0;
  std::string bt;  // title
  std::string nr;  // content
  std::string lx;  // type
  double jsdate = 0;
};
using NoteRows = std::vector<NoteRecordRow>;

extern const char kDefaultNoteType[];  // "普通记事"

// The statement of the notes page's query: the notes whose title ("标题："), content
// ("内容：") or type ("类型：") holds `value` anywhere as typed, every note for any other label;
// ordered by jsdate, notes of one day in the order they were added.
std::string NotesQueryStatement(std::string_view fieldLabel, std::string_view value);

// Runs a query of notes and reads every row; a query that fails reads as no rows.
NoteRows QueryNoteRows(ProgramDatabases& db, std::string_view sql);

// The note with that id; none when there is no such row or it cannot be read.
std::optional<NoteRecordRow> ReadNote(ProgramDatabases& db, int id);

// Inserts the note dated by the day of its jsdate, last changed `today`, and gives it the id
// the insert produced. 1 or 0.
int InsertNoteRow(ProgramDatabases& db, NoteRecordRow& note, double today);

// Writes title, content, type and day of the note's row, last changed `today`. 1 when the
// row was changed; 0 also when no row has that id.
int UpdateNoteRow(ProgramDatabases& db, const NoteRecordRow& note, double today);

// Deletes the note's row: 1 when a row went, 0 also when none had that id.
int DeleteNoteRow(ProgramDatabases& db, int id);

// The types the notes use, each once, in the order the table gives them (the order of their
// first use).
std::vector<std::string> ReadNoteTypes(ProgramDatabases& db);

}  // namespace workmemo
