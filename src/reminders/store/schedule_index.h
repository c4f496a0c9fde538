#pragma once
// What the store derives once from each loaded reminder when it is loaded or saved, and the
// fast answers built on it: a loaded reminder by id, the reminders of a run of days in one
// pass over the list, and a due check that runs the rules only on the reminders that can fire
// in the second checked. Every answer equals that of the plain per-record rules (schedule.h),
// which stay the definition of the behaviour.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "reminders/store/reminder_record.h"
#include "reminders/store/schedule.h"

namespace workmemo {

// The reminders listed on each day of a run of days: 0-based positions in the list, in list
// order. The inner arrays keep their buffers from one call to the next.
struct DayLists {
  std::vector<std::vector<std::uint32_t>> days;
};

class ScheduleIndex {
 public:
  // Derives the facts of every record; positions and ids follow the list.
  void Rebuild(const ReminderList& list);
  // The record at `pos` (0-based) changed, or was appended when pos is the old size.
  void Refresh(const ReminderList& list, std::size_t pos);
  // The record at `pos` was erased from the list.
  void Erase(const ReminderList& list, std::size_t pos);

  // 1-based position of the first record with the id, 0 when there is none.
  int Find(int id) const;

  // The records with an id of 1 or more that FallsOnDay lists on each of `count` days from
  // the day of `firstDay`.
  void CollectDays(const ReminderList& list, double firstDay, int count, DayLists& out) const;

  // The same as CollectDue(list, now, fired) of schedule.h, which it replaces for a list
  // this index follows. The records whose ids are in `settled` (sorted) are passed over
  // untouched: this second was checked before and they were dealt with then. `putOff`, when
  // given, receives the ids of the records whose mode a pending remind-again held back.
  std::vector<DueWrite> CollectDue(ReminderList& list, double now, ReminderList& fired,
                                   const std::vector<int>& settled = {}, std::vector<int>* putOff = nullptr);

  // The facts the day lists read, derived from the record alone.
  struct DayFacts {
    std::uint8_t rule = 0;
    std::uint8_t weekdays = 0;  // bit w - 1 set: listed on weekday w (1 = Sunday)
    std::uint8_t leap = 0;
    std::uint8_t ranged = 0;
    std::uint8_t listable = 0;  // an id of 1 or more
    std::uint8_t limited = 0;   // a total repeat limit, whose counter moves in the list
    std::int32_t day = 0;       // the wanted day of the month, clamped to 0..31
    std::int32_t month = 0;     // the wanted month as its text reads
    std::int32_t startDay = 0;  // day number of ksdate
    std::int32_t rangeFrom = 0, rangeTo = 0;
    std::uint32_t amount = 0;   // the interval amount without sign
    std::int32_t startYear = 0;
    std::uint8_t startMonth = 0, startDayOfMonth = 0, startWeekday = 0;
  };

 private:
  void Derive(const ReminderRecord& r, std::size_t pos);
  void SetDueKeys(const ReminderRecord& r, std::size_t pos);
  void Link(std::int32_t entry, std::int32_t key);
  void Unlink(std::int32_t entry);
  void RebuildIds(const ReminderList& list);

  std::vector<DayFacts> facts_;
  std::vector<int> ids_;  // the id each record had when its facts were derived
  std::unordered_map<int, std::uint32_t> positions_;
  // The due check's buckets: two entries per record (its occurrence and its notice), each in
  // the list of the one key it can fire at, or none. Intrusive lists over entry numbers.
  std::vector<std::int32_t> heads_;
  std::vector<std::int32_t> next_, prev_, keys_;
  std::vector<std::uint32_t> candidates_;
};

}  // namespace workmemo
