#include "reminders/store/recent_firings.h"

#include <algorithm>
#include <utility>

#include "platform/clock/clock.h"

namespace workmemo {

RecentFirings::RecentFirings(RepeatedSpanAt repeatedSpanAt) : repeatedSpanAt_(std::move(repeatedSpanAt)) {
  if (!repeatedSpanAt_) repeatedSpanAt_ = [](std::int64_t wallSecond) { return platform::clock::RepeatedSpanAt(wallSecond); };
}

std::vector<int> RecentFirings::BeginCheck(std::int64_t second) {
  current_ = second;
  if (any_ && second < newest_ - reach_) Clear();
  if (!any_ || second > newest_) {
    any_ = true;
    newest_ = second;
    // While the newest second lies in a stretch shown twice, the memory reaches back as far
    // as the stretch is long, so its first pass is held whole when the second comes.
    reach_ = std::max(kSpanSeconds, repeatedSpanAt_(second));
    bySecond_.erase(bySecond_.begin(), bySecond_.lower_bound(newest_ - reach_));
    return {};
  }
  const auto it = bySecond_.find(second);
  if (it == bySecond_.end()) return {};
  std::sort(it->second.begin(), it->second.end());
  return it->second;
}

void RecentFirings::Record(int id) { bySecond_[current_].push_back(id); }

void RecentFirings::Forget(int id) {
  for (auto it = bySecond_.begin(); it != bySecond_.end();) {
    std::erase(it->second, id);
    it = it->second.empty() ? bySecond_.erase(it) : std::next(it);
  }
}

void RecentFirings::Forget(int id, std::int64_t second) {
  const auto it = bySecond_.find(second);
  if (it == bySecond_.end()) return;
  std::erase(it->second, id);
  if (it->second.empty()) bySecond_.erase(it);
}

void RecentFirings::Clear() {
  bySecond_.clear();
  any_ = false;
}

std::size_t RecentFirings::PairsHeld() const {
  std::size_t n = 0;
  for (const auto& [second, ids] : bySecond_) n += ids.size();
  return n;
}

}  // namespace workmemo
