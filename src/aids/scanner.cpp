#include "aids/scanner.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace osk::aids {
namespace {

constexpr int kPassesBeforeRows = 2;
constexpr std::size_t kRoundsBeforeRest = 3;

}  // namespace

ScanRows scanRows(std::vector<ScanItem> items) {
  std::ranges::stable_sort(items, [](const ScanItem& a, const ScanItem& b) {
    return std::pair(a.rect.top, a.rect.left) < std::pair(b.rect.top, b.rect.left);
  });
  std::vector<std::vector<ScanItem>> grouped;
  for (const ScanItem& item : items) {
    if (grouped.empty()) {
      grouped.push_back({item});
      continue;
    }
    const TwipsRect& first = grouped.back().front().rect;
    if (item.rect.top < first.top + first.height / 2)
      grouped.back().push_back(item);
    else
      grouped.push_back({item});
  }
  ScanRows rows;
  rows.reserve(grouped.size());
  for (auto& row : grouped) {
    std::ranges::stable_sort(row, {}, [](const ScanItem& i) { return i.rect.left; });
    std::vector<KeyId>& keys = rows.emplace_back();
    keys.reserve(row.size());
    std::ranges::transform(row, std::back_inserter(keys), &ScanItem::key);
  }
  return rows;
}

void Scanner::start(Instant now, ScanRows rows) {
  std::erase_if(rows, [](const std::vector<KeyId>& r) { return r.empty(); });
  rows_ = std::move(rows);
  if (rows_.empty()) {
    stop();
    return;
  }
  rowLights_ = 0;
  beforeTick_.reset();
  lightRows(now, firstRow());
}

void Scanner::relightRows(Instant now) {
  if (stage_ != Stage::Rows || rowLights_ != 1) return;
  rowLights_ = 0;
  beforeTick_.reset();
  lightRows(now, firstRow());
}

void Scanner::stop() {
  beforeTick_.reset();
  stage_ = Stage::Stopped;
  rows_.clear();
}

bool Scanner::rowInReach(std::size_t row) const { return std::ranges::any_of(rows_[row], reachable_); }

std::size_t Scanner::rowsInReach() const {
  std::size_t n = 0;
  for (std::size_t row = 0; row < rows_.size(); ++row)
    if (rowInReach(row)) ++n;
  return n;
}

std::optional<std::size_t> Scanner::keyInReach(std::size_t from) const {
  const std::vector<KeyId>& keys = rows_[row_];
  for (std::size_t key = from; key < keys.size(); ++key)
    if (reachable_(keys[key])) return key;
  return std::nullopt;
}

void Scanner::lightRows(Instant now, std::size_t row) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const std::size_t candidate = (row + i) % rows_.size();
    if (!rowInReach(candidate)) continue;
    stage_ = Stage::Rows;
    row_ = candidate;
    key_ = 0;
    passes_ = 0;
    ++rowLights_;
    litSince_ = now;
    litFor_ = step_;
    return;
  }
  // Nothing to light: as after rounds unused, the next press looks again.
  stage_ = Stage::Resting;
}

void Scanner::lightKey(Instant now, std::size_t key) {
  stage_ = Stage::Keys;
  key_ = key;
  litSince_ = now;
  litFor_ = step_;
}

void Scanner::nextKey(Instant now) {
  std::optional<std::size_t> next = keyInReach(key_ + 1);
  if (!next) {
    if (++passes_ == kPassesBeforeRows) {
      lightRows(now, row_);
      return;
    }
    next = keyInReach(0);
    if (!next) {
      lightRows(now, row_);
      return;
    }
  }
  lightKey(now, *next);
}

void Scanner::restore(const Light& l) {
  stage_ = l.stage;
  row_ = l.row;
  key_ = l.key;
  passes_ = l.passes;
  litSince_ = l.since;
  litFor_ = l.litFor;
}

std::optional<KeyId> Scanner::pressed(Instant now) {
  if (beforeTick_ && stage_ != Stage::Stopped && now - litSince_ < grace_) restore(*beforeTick_);
  beforeTick_.reset();
  if (stage_ != Stage::Stopped) rowLights_ = 0;
  switch (stage_) {
    case Stage::Stopped:
      return std::nullopt;
    case Stage::Resting:
      lightRows(now, firstRow());
      return std::nullopt;
    case Stage::Rows:
      passes_ = 0;
      if (const std::optional<std::size_t> first = keyInReach(0))
        lightKey(now, *first);
      else
        lightRows(now, row_);
      return std::nullopt;
    case Stage::Keys: {
      const KeyId click = rows_[row_][key_];
      // A key gone out of reach since it was lit is never clicked.
      if (!reachable_(click)) {
        nextKey(now);
        return std::nullopt;
      }
      lightRows(now, firstRow());
      return click;
    }
  }
  return std::nullopt;
}

void Scanner::tick(Instant now) {
  if (stage_ == Stage::Stopped || stage_ == Stage::Resting || now < litSince_ + litFor_) return;
  beforeTick_ = light();
  if (stage_ == Stage::Rows) {
    if (rowLights_ >= kRoundsBeforeRest * rowsInReach())
      stage_ = Stage::Resting;
    else
      lightRows(now, row_ + 1);
    return;
  }
  nextKey(now);
}

bool Scanner::reachChanged(Instant now) {
  // What was lit before may be out of reach now.
  beforeTick_.reset();
  switch (stage_) {
    case Stage::Stopped:
    case Stage::Resting:
      return false;
    case Stage::Rows:
      if (rowInReach(row_)) return false;
      lightRows(now, row_);
      return true;
    case Stage::Keys:
      if (reachable_(rows_[row_][key_])) return false;
      nextKey(now);
      return true;
  }
  return false;
}

std::vector<KeyId> Scanner::lit() const {
  std::vector<KeyId> keys;
  switch (stage_) {
    case Stage::Stopped:
    case Stage::Resting:
      break;
    case Stage::Rows:
      std::ranges::copy_if(rows_[row_], std::back_inserter(keys), reachable_);
      break;
    case Stage::Keys:
      if (reachable_(rows_[row_][key_])) keys.push_back(rows_[row_][key_]);
      break;
  }
  return keys;
}

std::optional<Millis> Scanner::wakeIn(Instant now) const {
  if (stage_ == Stage::Stopped || stage_ == Stage::Resting) return std::nullopt;
  return delayUntil(litSince_ + litFor_, now);
}

}  // namespace osk::aids
