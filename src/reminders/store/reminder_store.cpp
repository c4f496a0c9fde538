// The timed-reminder store: connection, loading, saving and the user row. The schedule rules
// themselves are pure (schedule.h); this file carries out the writes they report.
#include "reminders/store/reminder_store.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

#include "common/date_format.h"
#include "common/digest.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/text/text.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

namespace db = platform::db;

// A load keeps only the start of each content; the windows read the rest when they need it.
constexpr int kLoadedContentBytes = 100;

// A table that cannot be read as a whole (a damaged page) is read one row at a time in id
// order, stepping over the ids whose page cannot be read, so the list keeps every reminder
// that is left. The walk ends at the last row, or after this many unreadable ids in a row.
constexpr int kUnreadableIdsBeforeGivingUp = 2000;

const char kFullLoadQuery[] = "select * from txsj";
// The order of the list page's queries. The full load reads in it too, so that the one read
// at start also gives the list page its rows (the list itself is sorted afterwards).
const char kListOrder[] = " order by ksdate,id";
const char kNewestRowQuery[] = "select top 1 * from txsj order by id desc";

// Values as they are spliced into statements: texts and date-times quoted, integers bare.
std::string Quoted(std::string_view text) { return "'" + db::EscapeSqlText(text) + "'"; }
std::string QuotedDate(double dateTime) { return "'" + FormatDateTime(dateTime, 0) + "'"; }

// Builds the comma-separated values of an insert, or the assignments of an update.
class Columns {
 public:
  explicit Columns(bool assignments) : assignments_(assignments) {}
  Columns& Date(const char* name, double v) { return Add(name, QuotedDate(v)); }
  Columns& Int(const char* name, int v) { return Add(name, std::to_string(v)); }
  Columns& Text(const char* name, std::string_view v) { return Add(name, Quoted(v)); }
  const std::string& names() const { return names_; }
  const std::string& values() const { return values_; }

 private:
  Columns& Add(const char* name, const std::string& value) {
    if (!values_.empty()) {
      names_ += ',';
      values_ += ',';
    }
    names_ += name;
    if (assignments_) values_ += std::string(name) + "=";
    values_ += value;
    return *this;
  }
  bool assignments_;
  std::string names_, values_;
};

// The columns of txsj a record carries, in one place for the insert and the update.
void AddRecordColumns(Columns& c, const ReminderRecord& r) {
  c.Date("ksdate", r.ksdate).Date("jsdate", r.jsdate).Date("kstime", r.kstime)
      .Date("jstime", r.jstime).Date("txdate", r.txdate)
      .Int("txfs", r.txfs).Int("txrw", r.txrw).Int("cfsj", r.cfsj).Int("cfdw", r.cfdw)
      .Int("tqsj", r.tqsj).Int("tqdw", r.tqdw)
      .Text("txweek", r.txweek).Text("notxweek", r.notxweek).Text("txmonth", r.txmonth)
      .Text("txdays", r.txdays).Int("nlyear", r.nlyear).Int("nlry", r.nlry)
      .Text("txbt", r.txbt).Text("txnr", r.txnr).Text("txyy", r.txyy).Text("txcx", r.txcx)
      .Text("txwy", r.txwy).Text("txlx", r.txlx)
      .Int("cfcs", r.cfcs).Int("cfjs", r.cfjs).Int("cfcsdw", r.cfcsdw).Int("bytx", r.bytx)
      .Int("txzt", r.txzt).Int("xctx", r.xctx).Int("djsj", r.djsj).Int("gbcksj", r.gbcksj)
      .Int("gjys", r.gjys).Int("qzzx", r.qzzx).Int("txdz", r.txdz);
}

int Int(const db::RecordSet& rs, const char* column) {
  return static_cast<int>(rs.Integer(column));
}

// The positions of the loaded columns of txsj in one result, found once per query rather
// than by name for every field of every row.
struct RowColumns {
  explicit RowColumns(const db::Row& row)
      : id(row.Column("id")), ksdate(row.Column("ksdate")), jsdate(row.Column("jsdate")),
        kstime(row.Column("kstime")), jstime(row.Column("jstime")), txdate(row.Column("txdate")),
        txfs(row.Column("txfs")), cfsj(row.Column("cfsj")), cfdw(row.Column("cfdw")),
        txweek(row.Column("txweek")), notxweek(row.Column("notxweek")), txmonth(row.Column("txmonth")),
        nlyear(row.Column("nlyear")), txdays(row.Column("txdays")), nlry(row.Column("nlry")),
        cfcs(row.Column("cfcs")), cfcsdw(row.Column("cfcsdw")), bytx(row.Column("bytx")),
        txzt(row.Column("txzt")), xctx(row.Column("xctx")), txlx(row.Column("txlx")),
        txbt(row.Column("txbt")), txrw(row.Column("txrw")), tqsj(row.Column("tqsj")),
        tqdw(row.Column("tqdw")), txnr(row.Column("txnr")), txyy(row.Column("txyy")),
        txcx(row.Column("txcx")), txwy(row.Column("txwy")), cfjs(row.Column("cfjs")),
        djsj(row.Column("djsj")), gbcksj(row.Column("gbcksj")), gjys(row.Column("gjys")),
        qzzx(row.Column("qzzx")), txdz(row.Column("txdz")) {}
  int id, ksdate, jsdate, kstime, jstime, txdate, txfs, cfsj, cfdw, txweek, notxweek, txmonth,
      nlyear, txdays, nlry, cfcs, cfcsdw, bytx, txzt, xctx, txlx, txbt, txrw, tqsj, tqdw, txnr,
      txyy, txcx, txwy, cfjs, djsj, gbcksj, gjys, qzzx, txdz;
};

// Every loaded column of the current row, as it stands in the table.
ReminderRecord ReadRow(const db::Row& row, const RowColumns& c) {
  const auto integer = [&row](int column) { return static_cast<int>(row.IntegerAt(column)); };
  ReminderRecord r;
  r.id = integer(c.id);
  r.ksdate = row.DateTimeAt(c.ksdate);
  r.jsdate = row.DateTimeAt(c.jsdate);
  r.kstime = row.DateTimeAt(c.kstime);
  r.jstime = row.DateTimeAt(c.jstime);
  r.txdate = row.DateTimeAt(c.txdate);
  r.txfs = integer(c.txfs);
  r.cfsj = integer(c.cfsj);
  r.cfdw = integer(c.cfdw);
  r.txweek = row.TextAt(c.txweek);
  r.notxweek = row.TextAt(c.notxweek);
  r.txmonth = row.TextAt(c.txmonth);
  r.nlyear = integer(c.nlyear);
  r.txdays = row.TextAt(c.txdays);
  r.nlry = integer(c.nlry);
  r.cfcs = integer(c.cfcs);
  r.cfcsdw = integer(c.cfcsdw);
  r.bytx = integer(c.bytx);
  r.txzt = integer(c.txzt);
  r.xctx = integer(c.xctx);
  r.txlx = row.TextAt(c.txlx);
  r.txbt = row.TextAt(c.txbt);
  r.txrw = integer(c.txrw);
  r.tqsj = integer(c.tqsj);
  r.tqdw = integer(c.tqdw);
  r.txnr = row.TextAt(c.txnr);
  r.txyy = row.TextAt(c.txyy);
  r.txcx = row.TextAt(c.txcx);
  r.txwy = row.TextAt(c.txwy);
  r.cfjs = integer(c.cfjs);
  r.djsj = integer(c.djsj);
  r.gbcksj = integer(c.gbcksj);
  r.gjys = integer(c.gjys);
  r.qzzx = integer(c.qzzx);
  r.txdz = integer(c.txdz);
  return r;
}

// The rows of a query of txsj as records, read as they come. 1 when the query read as a
// whole; 0 and no rows when it failed, wherever it failed.
int ReadRecords(db::Connection& connection, std::string_view sql, ReminderList& out) {
  out.clear();
  std::optional<RowColumns> columns;
  const int result = db::ReadRows(connection, sql, [&](const db::Row& row) {
    if (!columns) columns.emplace(row);
    out.push_back(ReadRow(row, *columns));
  });
  if (result != 1) ReminderList().swap(out);
  return result;
}

// The repeat-mode codes whose full names hold `text`, as a list for "in (...)"; a code no
// mode has when none does, so the list is never empty.
std::string RepeatModesNamed(std::string_view text) {
  std::string codes;
  for (int code = RepeatMode::Once; code <= RepeatMode::LunarYearly; ++code) {
    if (platform::text::FindChars(RepeatModeName(code, 0), text) == std::string::npos) continue;
    if (!codes.empty()) codes += ',';
    codes += std::to_string(code);
  }
  return codes.empty() ? "-1" : codes;
}

// The loaded list holds only the start of each content. Cut where the rows were read, so that
// a read on another thread frees and allocates in one place.
void CutLoadedContents(ReminderList& rows) {
  for (ReminderRecord& r : rows) {
    // A content within the bound stays the string it is: no second copy made and the first freed.
    if (r.txnr.size() >= static_cast<std::size_t>(kLoadedContentBytes))
      r.txnr = TruncateText(r.txnr, kLoadedContentBytes);
  }
}

void ComputeNoticeFields(ReminderRecord& r, double now) {
  if (r.tqsj > 0) r.NoticeTime = ComputeNoticeTime(r, r.NoticeUnitsLeft, now);
}

int CountRows(db::Connection& connection) {
  db::RecordSet records;
  if (records.Open(connection, "select count(*) from txsj") != 1 || records.Eof()) return 0;
  return static_cast<int>(records.IntegerAt(1));
}

ReminderList ReadRowsOneByOne(db::Connection& connection) {
  ReminderList rows;
  std::int64_t after = 0;
  ReminderList one;
  for (int unreadable = 0; unreadable < kUnreadableIdsBeforeGivingUp;) {
    if (ReadRecords(connection, "select top 1 * from txsj where id>" + std::to_string(after) + " order by id",
                    one) != 1) {
      ++after;
      ++unreadable;
      continue;
    }
    if (one.empty()) break;
    rows.push_back(std::move(one.front()));
    after = rows.back().id;
    unreadable = 0;
  }
  return rows;
}

// The read half of a load by `query` (empty: the full load); it touches only `connection`.
ReminderStore::ReadRows ReadForLoad(db::Connection& connection, std::string_view query, ReminderList* whole,
                                    bool releaseCache) {
  ReminderStore::ReadRows read;
  // Counted first (from the smallest index, without reading the rows), the list grows once
  // instead of doubling: 100,000 reminders would otherwise hold half as many again in slack.
  if (query.empty()) read.rows.reserve(static_cast<std::size_t>(std::max(CountRows(connection), 0)));
  read.result = ReadRecords(connection, query.empty() ? std::string(kFullLoadQuery) + kListOrder : std::string(query),
                            read.rows);
  if (read.result != 1 && connection.IsOpen()) read.rows = ReadRowsOneByOne(connection);
  // Given back before the copies are made, the cache's memory takes them.
  if (releaseCache) connection.ReleaseCache();
  if (whole && read.result == 1) *whole = read.rows;
  CutLoadedContents(read.rows);
  return read;
}

}  // namespace

int ReminderStore::OpenFile(db::Connection& connection, std::string_view path, std::string_view password) {
  if (connection.Open(db::ConnectionText(path, password)) != 1) return 0;
  // An empty or foreign file opens as a database without our table: that is no data file.
  // Only the schema is read, so a file with a damaged page still opens for what it holds.
  if (!connection.HasTable("txsj")) {
    connection.Close();
    return 0;
  }
  return 1;
}

int ReminderStore::OpenDatabase(std::string_view path, std::string_view password) {
  CloseDatabase();
  if (OpenFile(connection_, path, password) != 1) return 0;
  path_ = path;
  password_ = password;
  return 1;
}

void ReminderStore::AdoptDatabase(db::Connection connection, std::string_view path, std::string_view password) {
  CloseDatabase();
  connection_ = std::move(connection);
  path_ = path;
  password_ = password;
}

void ReminderStore::CloseDatabase() {
  records_.Close();
  connection_.Close();
}

int ReminderStore::Execute(const std::string& sql) {
  std::int64_t changed = 0;
  return connection_.Execute(sql, &changed) == 1 && changed > 0 ? 1 : 0;
}

int ReminderStore::CountReminders() { return CountRows(connection_); }

int ReminderStore::LoadReminders(std::string_view query, ReminderList* target) {
  records_.Close();
  // A load keeps the page cache for the searches after it.
  return AdoptReminders(ReadForLoad(connection_, query, target, false), target);
}

ReminderStore::ReadRows ReminderStore::ReadAllReminders(db::Connection& connection, ReminderList* whole) {
  return ReadForLoad(connection, {}, whole, true);
}

int ReminderStore::AdoptReminders(ReadRows read, ReminderList* target) {
  list_ = std::move(read.rows);
  // The ids of a restored or imported file may name other reminders.
  recent_.Clear();
  const int result = read.result;
  const double loadTime = platform::clock::Now();
  ResetSpentRemindAgains(0, result == 1 ? target : nullptr, loadTime);

  // ksdate, then id: reminders due in the same second fire in the same order on every load.
  // Positions are sorted, then the records follow: sorting whole records would hold half the
  // list again as the sort's buffer.
  std::vector<int> order(list_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    const ReminderRecord& ra = list_[static_cast<std::size_t>(a)];
    const ReminderRecord& rb = list_[static_cast<std::size_t>(b)];
    const std::int64_t sa = LinearSeconds(ra.ksdate), sb = LinearSeconds(rb.ksdate);
    return sa != sb ? sa < sb : ra.id < rb.id;
  });
  ArrangeReminders(list_, order);

  StartLoadedRuns(0, loadTime);
  schedule_.Rebuild(list_);
  if (target && result != 1) *target = list_;
  return result;
}

int ReminderStore::ReloadSameRows() {
  RecentFirings kept = std::move(recent_);
  const int result = LoadReminders();
  recent_ = std::move(kept);
  return result;
}

int ReminderStore::LoadRemindersAfter(int afterId, ReminderList* added) {
  records_.Close();
  ReminderList rows;
  const std::string query = std::string(kFullLoadQuery) + " where id>" + std::to_string(afterId) + kListOrder;
  if (ReadRecords(connection_, query, rows) != 1) return 0;
  // A reminder is never loaded twice: it would fire twice.
  std::erase_if(rows, [this](const ReminderRecord& r) { return FindLoadedReminder(r.id) != 0; });
  if (added) *added = rows;
  CutLoadedContents(rows);
  const std::size_t first = list_.size();
  list_.insert(list_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  const double loadTime = platform::clock::Now();
  ResetSpentRemindAgains(first, added, loadTime);
  StartLoadedRuns(first, loadTime);
  schedule_.Rebuild(list_);
  return 1;
}

void ReminderStore::ResetSpentRemindAgains(std::size_t first, ReminderList* asRead, double loadTime) {
  const std::int64_t loadSecond = LinearSeconds(loadTime);
  for (std::size_t i = first; i < list_.size(); ++i) {
    ReminderRecord& r = list_[i];
    // A remind-again whose moment passed while nothing checked it is spent.
    if (r.xctx != 1 || loadSecond <= LinearSeconds(r.txdate)) continue;
    r.xctx = 0;
    r.txdate = r.ksdate;
    if (WriteRemindAgain(r.id, 0, r.ksdate) != 1) {
      if (plainMessage_) plainMessage_("修改提醒时间失败！");
    } else if (asRead) {
      (*asRead)[i - first].xctx = 0;  // the rows as read follow the table
      (*asRead)[i - first].txdate = r.ksdate;
    }
  }
}

void ReminderStore::StartLoadedRuns(std::size_t first, double loadTime) {
  for (std::size_t i = first; i < list_.size(); ++i) {
    ReminderRecord& r = list_[i];
    if (r.txfs == RepeatMode::Interval) {
      if (r.cfdw == IntervalUnit::MinuteSinceLoad) {
        r.ksdate = r.jsdate = r.kstime = r.jstime = loadTime;
        if (r.xctx != 1) r.txdate = loadTime;  // a pending remind-again keeps its moment
      }
    } else if (r.cfcsdw != RepeatCountUnit::TimesTotal) {
      r.cfjs = 0;  // a per-run count starts afresh; a total one goes on from the table
    }
    ComputeNoticeFields(r, loadTime);
  }
}

ReminderRecord ReminderStore::CopyReminder(int id) {
  const int position = FindLoadedReminder(id);
  if (position > 0) {
    // The list holds only the start of the content: a copy whose full content could not be
    // read is no copy, or a caller that moves the reminder would lose the rest.
    if (records_.Open(connection_, "select * from txsj where id=" + std::to_string(id)) != 1) return {};
    ReminderRecord r = list_[static_cast<std::size_t>(position) - 1];
    r.txnr = records_.Eof() ? std::string() : records_.Text("txnr");
    return r;
  }
  // Not loaded (imported or found by a search): the row itself, so a save updates it.
  ReminderList rows;
  if (ReadRecords(connection_, "select * from txsj where id=" + std::to_string(id), rows) == 1 && !rows.empty())
    return std::move(rows.front());
  return {};
}

int ReminderStore::ReadNewestReminder(int& id, double& start, std::string& title) {
  if (records_.Open(connection_, kNewestRowQuery) != 1 || records_.Eof()) return 0;
  id = Int(records_, "id");
  start = records_.DateTime("ksdate");
  title = records_.Text("txbt");
  return 1;
}

std::string ReminderStore::ReadReminderContent(int id) {
  if (records_.Open(connection_, "select * from txsj where id=" + std::to_string(id)) != 1 ||
      records_.Eof())
    return {};
  return records_.Text("txnr");
}

std::string ReminderStore::ReadReminderTitle(int id) {
  if (records_.Open(connection_, "select * from txsj where id=" + std::to_string(id)) != 1 ||
      records_.Eof())
    return {};
  return records_.Text("txbt");
}

int ReminderStore::SaveReminder(ReminderRecord& record) {
  const double now = platform::clock::Now();
  if (record.id <= 0) {
    Columns c(false);
    AddRecordColumns(c, record);
    c.Date("tjdate", now).Date("gxdate", now);
    if (Execute("insert into txsj(" + c.names() + ") values (" + c.values() + ")") != 1) return 0;
    // The insert itself names its row: a read of "the newest row" could fail or find another.
    record.id = static_cast<int>(connection_.LastInsertId());
    list_.push_back(record);
    ComputeNoticeFields(list_.back(), now);
    schedule_.Refresh(list_, list_.size() - 1);
    return 1;
  }
  Columns c(true);
  AddRecordColumns(c, record);
  c.Date("gxdate", now);
  if (Execute("update txsj set " + c.values() + " where id=" + std::to_string(record.id)) != 1)
    return 0;
  // A changed reminder is a new one: it fires in a second shown again, as one just added does.
  recent_.Forget(record.id);
  if (const int position = FindLoadedReminder(record.id); position > 0) {
    ReminderRecord& loaded = list_[static_cast<std::size_t>(position) - 1];
    loaded = record;
    ComputeNoticeFields(loaded, now);
    schedule_.Refresh(list_, static_cast<std::size_t>(position) - 1);
  }
  return 1;
}

int ReminderStore::WriteRemindAgain(int id, int flag, double stored) {
  return Execute("update txsj set xctx=" + std::to_string(flag) + ",txdate=" + QuotedDate(stored) +
                 " where id=" + std::to_string(id));
}

int ReminderStore::SetRemindAgain(int id, int flag, double when) {
  const int position = FindLoadedReminder(id);
  if (position == 0) return 0;
  ReminderRecord& r = list_[static_cast<std::size_t>(position) - 1];
  const int xctx = flag == 1 ? 1 : 0;
  const double stored = xctx == 1 ? when : r.ksdate;
  const int result = WriteRemindAgain(id, xctx, stored);
  // Memory follows whatever the table did: a spent remind-again must never fire again.
  r.xctx = xctx;
  r.txdate = stored;
  schedule_.Refresh(list_, static_cast<std::size_t>(position) - 1);
  if (xctx == 1) recent_.Forget(id, LinearSeconds(stored));
  return result;
}

int ReminderStore::SetRepeatCounter(int id, int counter) {
  if (FindLoadedReminder(id) == 0) return 0;
  return Execute("update txsj set cfjs=" + std::to_string(counter) + " where id=" + std::to_string(id));
}

int ReminderStore::SetPaused(int id, int mode) {
  const int position = FindLoadedReminder(id);
  if (position == 0 || mode < 0 || mode > 2) return 0;
  ReminderRecord& r = list_[static_cast<std::size_t>(position) - 1];
  const int paused = mode == 0 ? 0 : 1;
  // A stored pause that the table refused (a deleted row) leaves the list as it was, so the
  // list never shows a state the next load would not.
  if (mode != 2 && Execute("update txsj set txzt=" + std::to_string(paused) + " where id=" + std::to_string(id)) != 1)
    return 0;
  r.txzt = paused;
  return 1;
}

int ReminderStore::SearchReminders(std::string_view label, std::string_view text, ReminderList& target) {
  target.clear();
  std::string query = kFullLoadQuery;
  const std::string pattern = db::LikeContaining(text);
  if (label == "提醒标题：")
    query += " where txbt " + pattern;
  else if (label == "提醒内容：")
    query += " where txnr " + pattern;
  else if (label == "提醒类型：")
    query += " where txlx " + pattern;
  else if (label == "提醒方式：")
    query += " where txfs in (" + RepeatModesNamed(text) + ")";
  else if (!label.empty())
    return 0;
  query += kListOrder;
  records_.Close();
  if (ReadRecords(connection_, query, target) != 1) return 0;
  return static_cast<int>(target.size());
}

std::vector<std::string> ReminderStore::CategoryComboItems(int addAll) {
  std::vector<std::string> items;
  if (addAll == 1) items.emplace_back("全部提醒");
  records_.Open(connection_, "select distinct(txlx) as lx from txsj");
  if (records_.RowCount() <= 0) {
    items.emplace_back("普通提醒");
    return items;
  }
  for (records_.MoveFirst(); !records_.Eof(); records_.MoveNext()) items.push_back(records_.Text("lx"));
  // The drop-downs list the categories sorted, whatever order the rows were added in.
  std::sort(items.begin() + (addAll == 1 ? 1 : 0), items.end(),
            [](const std::string& a, const std::string& b) { return TextSortsBefore(a, b); });
  return items;
}

void ReminderStore::CollectDueReminders(double second, ReminderList& out) {
  const std::int64_t s = LinearSeconds(second);
  if (checkedAny_ && s == lastCheckedSecond_) {
    out.clear();
    return;
  }
  checkedAny_ = true;
  lastCheckedSecond_ = s;
  putOff_.clear();
  const std::vector<DueWrite> writes = schedule_.CollectDue(list_, second, out, recent_.BeginCheck(s), &putOff_);
  for (const ReminderRecord& r : out) recent_.Record(r.id);
  for (const int id : putOff_) recent_.Record(id);
  for (const DueWrite& w : writes) {
    if (w.kind == DueWrite::ClearRemindAgain)
      SetRemindAgain(w.id, 0, w.ksdate);
    else
      SetRepeatCounter(w.id, w.cfjs);
  }
}

int ReminderStore::RemoveLoadedReminder(int id) {
  const int position = FindLoadedReminder(id);
  if (position == 0) return 0;
  list_.erase(list_.begin() + (position - 1));
  schedule_.Erase(list_, static_cast<std::size_t>(position) - 1);
  recent_.Forget(id);  // the id may come again with a new reminder
  return 1;
}

void ReminderStore::CollectDays(double firstDay, int count, DayLists& out) const {
  schedule_.CollectDays(list_, firstDay, count, out);
}

void ReminderStore::CollectRemindersOnDay(double day, ReminderList& out) const {
  DayLists lists;
  CollectDays(day, 1, lists);
  // Copies go into the slots the array already has, whose texts keep their buffers.
  const std::vector<std::uint32_t>& positions = lists.days[0];
  if (out.size() > positions.size()) out.resize(positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    if (i < out.size())
      out[i] = list_[positions[i]];
    else
      out.push_back(list_[positions[i]]);
  }
}

int ReminderStore::CountRemindersOnDay(double day) const {
  DayLists lists;
  CollectDays(day, 1, lists);
  return static_cast<int>(lists.days[0].size());
}

int ReminderStore::GetReminderState(const ReminderRecord& record) const {
  return workmemo::GetReminderState(record, platform::clock::Now());
}

std::optional<std::string> ReminderStore::ReadStoredPasswordHash() {
  if (records_.Open(connection_, "select top 1 * from yhsj") != 1) return std::nullopt;
  return records_.Eof() ? std::string() : records_.Text("mm");
}

std::string ReminderStore::ReadPasswordHash() { return ReadStoredPasswordHash().value_or(std::string()); }

int ReminderStore::VerifyPassword(std::string_view typed) {
  if (records_.Open(connection_, "select top 1 * from yhsj") != 1 || records_.Eof()) return 0;
  return EncodePassword(typed) == records_.Text("mm") ? 1 : 0;
}

int ReminderStore::StorePassword(std::string_view storedForm) {
  return Execute("update yhsj set mm=" + Quoted(storedForm) + " where yh='admin'");
}

int ReminderStore::StoreAdminRights(const ProtectedActions& a) {
  return Execute("update yhsj set cktxqx=" + std::to_string(a.cktxqx) +
                 ",tjtxqx=" + std::to_string(a.tjtxqx) + ",xgtxqx=" + std::to_string(a.xgtxqx) +
                 ",sctxqx=" + std::to_string(a.sctxqx) + ",txlqx=" + std::to_string(a.txlqx) +
                 ",jsbqx=" + std::to_string(a.jsbqx) + " where yh='admin'");
}

int ReminderStore::StoreLoginMode(int flag) {
  return Execute(std::string("update yhsj set yhdlfs=") + (flag != 0 ? "1" : "0") + " where yh='admin'");
}

int ReminderStore::ReadAdminRights(ProtectedActions& rights) {
  const int result = records_.Open(connection_, "select * from yhsj where yh='admin'");
  // A column the table lacks (files made from the empty images have none) reads 0.
  rights.cktxqx = Int(records_, "cktxqx");
  rights.tjtxqx = Int(records_, "tjtxqx");
  rights.xgtxqx = Int(records_, "xgtxqx");
  rights.sctxqx = Int(records_, "sctxqx");
  rights.txlqx = Int(records_, "txlqx");
  rights.jsbqx = Int(records_, "jsbqx");
  return result;
}

}  // namespace workmemo
