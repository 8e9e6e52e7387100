// When each key last flashed. The colour reset runs on a steady tick, so a
// flash just before a tick would be over within a few milliseconds: often
// too soon to see, on a busy machine too soon even to paint. The reset
// leaves a flash younger than kShortestFlash for the next tick, so every
// flash shows for that long at least and no more than a tick after it.
#pragma once

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "layout/model.h"
#include "platform/clock.h"

namespace osk {

class Flashes {
 public:
  static constexpr std::chrono::milliseconds kShortestFlash{150};

  void flashed(const Control& key, Clock::Instant at) {
    forget(key);
    lit_.emplace_back(&key, at);
  }

  // Lit since its flash and not yet put back by the reset.
  bool lit(const Control& key) const {
    return std::any_of(lit_.begin(), lit_.end(), [&](const auto& entry) { return entry.first == &key; });
  }

  void forget(const Control& key) {
    std::erase_if(lit_, [&](const auto& entry) { return entry.first == &key; });
  }

  // True while the key's flash is too young to end. Asked by the reset as
  // it puts a key back, so a flash old enough is over with the answer.
  bool holds(const Control& key, Clock::Instant now) {
    const auto entry = std::find_if(lit_.begin(), lit_.end(), [&](const auto& e) { return e.first == &key; });
    if (entry == lit_.end()) return false;
    if (now - entry->second < kShortestFlash) return true;
    lit_.erase(entry);
    return false;
  }

 private:
  std::vector<std::pair<const Control*, Clock::Instant>> lit_;
};

}  // namespace osk
