#pragma once
// What the due check did with each reminder in the last hour of seconds it checked, or in
// all of a stretch the time zone shows twice: which reminders fired in a second, or would have
// but for a pending remind-again that put them off. A clock set back, or the zone's offset
// dropping (daylight saving ending), shows those seconds again; a reminder the memory holds
// for a second is not checked in it again, so nothing fires twice, while a reminder saved
// since does.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace workmemo {

class RecentFirings {
 public:
  // The length of the stretch of wall clock the time zone shows twice around a wall second,
  // 0 where it shows it once (platform::clock::RepeatedSpanAt).
  using RepeatedSpanAt = std::function<std::int64_t(std::int64_t wallSecond)>;
  // Empty: the process's time zone.
  explicit RecentFirings(RepeatedSpanAt repeatedSpanAt = {});

  // How far back from the newest second checked the memory reaches, at the least: a clock set
  // back by up to an hour fires nothing twice, and the second pass of an hour daylight saving
  // repeats finds all of the first held (its 01:00:00 is 3,599 s before its 01:59:59). While
  // the newest second lies in a longer stretch shown twice, it reaches over all of that.
  static constexpr std::int64_t kSpanSeconds = 3600;

  // The check of `second` begins: gives the ids the memory holds for it, sorted (none for a
  // second not checked before). A second further back than the memory reaches starts afresh.
  std::vector<int> BeginCheck(std::int64_t second);
  // `id` fired, or was put off, in the second whose check began last.
  void Record(int id);

  // The reminder changed into a new one (saved, deleted): nothing it did is held any more.
  void Forget(int id);
  // Its remind-again was set for `second`: that is a firing of its own, whatever the
  // reminder did in that second before.
  void Forget(int id, std::int64_t second);
  void Clear();

  std::size_t PairsHeld() const;

 private:
  RepeatedSpanAt repeatedSpanAt_;
  std::map<std::int64_t, std::vector<int>> bySecond_;
  bool any_ = false;
  std::int64_t newest_ = 0;
  std::int64_t reach_ = kSpanSeconds;  // how far back from newest_ it reaches
  std::int64_t current_ = 0;
};

}  // namespace workmemo
