#include "due_notes/due_queries.h"

#include "common/text_routines.h"
#include "due_notes/due_statements.h"

namespace workmemo {

int DueDayCount(std::string_view text) { return TextToInteger(text); }

std::optional<std::string> DaysQuery(std::string_view label, std::string_view dayText) {
  const int days = DueDayCount(dayText);
  if (days < 1) return std::nullopt;
  return label == kOverdueLabel ? due_sql::OverdueByDays(days) : due_sql::DueWithinDays(days);
}

std::optional<std::string> DueListQuery(std::string_view label, std::string_view value) {
  if (label == kDueWithinLabel || label == kOverdueLabel) return DaysQuery(label, value);
  struct Search {
    const char* label;
    std::string (*statement)(std::string_view);
  };
  static constexpr Search kSearches[] = {
      {"项目名称：", due_sql::ProjectNameContains}, {"项目类型：", due_sql::ProjectTypeContains},
      {"备注：", due_sql::RemarkContains},         {"客户名称：", due_sql::CustomerNameContains},
      {"到期日期：", due_sql::DueDateBeginsWith},   {kStartDateLabel, due_sql::StartDateContains},
  };
  for (const Search& s : kSearches) {
    if (label == s.label) return s.statement(value);
  }
  if (label == "完成进度：") return due_sql::ProgressEquals(TextToInteger(value));
  return due_sql::AllRows();
}

}  // namespace workmemo
