#include "reminders/store/recent_firings.h"

#include <algorithm>

namespace workmemo {

std::vector<int> RecentFirings::BeginCheck(std::int64_t second) {
  current_ = second;
  if (any_ && second < newest_ - kSpanSeconds) Clear();
  if (!any_ || second > newest_) {
    any_ = true;
    newest_ = second;
    bySecond_.erase(bySecond_.begin(), bySecond_.lower_bound(newest_ - kSpanSeconds));
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
