#pragma once
// The queries of the due-date page and the floating due-date window: a field label (the
// selector's item followed by "：") and a value give the statement to run.
#include <optional>
#include <string>
#include <string_view>

namespace workmemo {

inline constexpr char kDueWithinLabel[] = "几天内到期的提醒：";
inline constexpr char kOverdueLabel[] = "过期几天内的提醒：";
inline constexpr char kStartDateLabel[] = "开始日期：";
// The message for a day count below 1.
inline constexpr char kDaysMustBePositive[] = "天数必须大于0";

// The day count of a text: the number it starts with, cut toward zero (and held within the
// 32-bit range); a text that is no number counts 0.
int DueDayCount(std::string_view text);

// The due-within statement, or the overdue one for the overdue label; none when the day
// count of `dayText` is below 1.
std::optional<std::string> DaysQuery(std::string_view label, std::string_view dayText);

// The page's statement for a field label and a value: the two days queries as DaysQuery;
// project name, type, remark and customer name contain the value; the due date begins with
// it; the progress equals it; the start date contains it; every row for an empty or any
// other label.
std::optional<std::string> DueListQuery(std::string_view label, std::string_view value);

}  // namespace workmemo
