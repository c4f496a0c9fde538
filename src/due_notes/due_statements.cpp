#include "due_notes/due_statements.h"

#include "common/date_format.h"
#include "platform/db/db.h"

namespace workmemo::due_sql {

namespace {

constexpr char kByDueDate[] = " order by dqdate";

std::string Quoted(std::string_view text) { return "'" + platform::db::EscapeSqlText(text) + "'"; }

// The text typed matches as it is: a '%' or '_' in it is no wildcard.
std::string ColumnContains(std::string_view column, std::string_view text) {
  return "select * from dqsj where " + std::string(column) + " " + platform::db::LikeContaining(text) + kByDueDate;
}

std::string Stored(double serial) { return Quoted(FormatDateTime(serial, 0)); }

std::string StoredStart(double serial) { return serial == 0 ? std::string("NULL") : Stored(serial); }

}  // namespace

std::string AllRows() { return std::string("select * from dqsj") + kByDueDate; }

std::string DueWithinDays(int days) {
  const std::string n = std::to_string(days);
  return "select * from dqsj where datediff('D',now(),dqdate)<" + n +
         " and datediff('D',now(),dqdate)>=0" + kByDueDate;
}

std::string OverdueByDays(int days) {
  const std::string n = std::to_string(days);
  return "select * from dqsj where datediff('D',now(),dqdate)>=-" + n +
         " and datediff('D',now(),dqdate)<0" + kByDueDate;
}

std::string ProjectNameContains(std::string_view text) { return ColumnContains("xmmc", text); }
std::string ProjectTypeContains(std::string_view text) { return ColumnContains("xmlx", text); }
std::string RemarkContains(std::string_view text) { return ColumnContains("bz", text); }
std::string CustomerNameContains(std::string_view text) { return ColumnContains("khmc", text); }

std::string DueDateBeginsWith(std::string_view text) {
  return "select * from dqsj where dqdate " + platform::db::LikeStartingWith(text) + kByDueDate;
}

std::string ProgressEquals(int progress) {
  return "select * from dqsj where wcjd=" + std::to_string(progress) + kByDueDate;
}

std::string StartDateContains(std::string_view text) {
  return "select * from dqsj where ksdate " + platform::db::LikeContaining(text) + " order by ksdate";
}

std::string OneRow(int id) { return "select * from dqsj where id=" + std::to_string(id); }

std::string NewestRow() { return "select top 1 * from dqsj order by id desc"; }

std::string SetProgress(int id, int progress) {
  return "update dqsj set wcjd=" + std::to_string(progress) + " where id=" + std::to_string(id);
}

std::string DeleteRow(int id) { return "delete from dqsj where id=" + std::to_string(id); }

std::string ProjectNames() { return "select distinct(xmmc) as xmmc1 from dqsj"; }
std::string ProjectTypes() { return "select distinct(xmlx) as xmlx1 from dqsj"; }
std::string CustomerNames() { return "select distinct(khmc) as khmc1 from dqsj"; }

std::string Insert(const DueItem& item, double now) {
  return "insert into dqsj(khmc,xmmc,xmlx,wcjd,bz,ksdate,dqdate,tjdate,gxdate) values (" +
         Quoted(item.khmc) + "," + Quoted(item.xmmc) + "," + Quoted(item.xmlx) + ",'" +
         std::to_string(item.wcjd) + "'," + Quoted(item.bz) + "," + StoredStart(item.ksdate) + "," +
         Stored(item.dqdate) + "," + Stored(now) + "," + Stored(now) + ")";
}

std::string Update(int id, const DueItem& item, double now) {
  return "update dqsj set khmc=" + Quoted(item.khmc) + ",xmmc=" + Quoted(item.xmmc) +
         ",xmlx=" + Quoted(item.xmlx) + ",wcjd=" + std::to_string(item.wcjd) + ",bz=" + Quoted(item.bz) +
         ",ksdate=" + StoredStart(item.ksdate) + ",dqdate=" + Stored(item.dqdate) + ",gxdate=" + Stored(now) +
         " where id=" + std::to_string(id);
}

}  // namespace workmemo::due_sql
