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

  void lit(const Control& key, Clock::Instant at) {
    std::erase_if(lit_, [&](const auto& entry) { return entry.first == &key; });
    lit_.emplace_back(&key, at);
  }

  // True while the key's flash is too young to end. Called by the reset,
  // which also lets go of flashes that are old enough.
  bool holds(const Control& key, Clock::Instant now) {
    std::erase_if(lit_, [&](const auto& entry) { return now - entry.second >= kShortestFlash; });
    return std::any_of(lit_.begin(), lit_.end(), [&](const auto& entry) { return entry.first == &key; });
  }

 private:
  std::vector<std::pair<const Control*, Clock::Instant>> lit_;
};

}  // namespace osk
