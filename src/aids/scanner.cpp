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
  lightRows(now, 0);
}

void Scanner::stop() {
  stage_ = Stage::Stopped;
  rows_.clear();
}

void Scanner::lightRows(Instant now, std::size_t row) {
  stage_ = Stage::Rows;
  row_ = row;
  key_ = 0;
  passes_ = 0;
  ++rowLights_;
  litSince_ = now;
  litFor_ = step_;
}

std::optional<KeyId> Scanner::pressed(Instant now) {
  if (stage_ != Stage::Stopped) rowLights_ = 0;
  switch (stage_) {
    case Stage::Stopped:
      return std::nullopt;
    case Stage::Resting:
      lightRows(now, 0);
      return std::nullopt;
    case Stage::Rows:
      stage_ = Stage::Keys;
      key_ = 0;
      passes_ = 0;
      litSince_ = now;
      litFor_ = step_;
      return std::nullopt;
    case Stage::Keys: {
      const KeyId click = rows_[row_][key_];
      lightRows(now, 0);
      return click;
    }
  }
  return std::nullopt;
}

void Scanner::tick(Instant now) {
  if (stage_ == Stage::Stopped || stage_ == Stage::Resting || now < litSince_ + litFor_) return;
  if (stage_ == Stage::Rows) {
    if (rowLights_ >= kRoundsBeforeRest * rows_.size())
      stage_ = Stage::Resting;
    else
      lightRows(now, (row_ + 1) % rows_.size());
    return;
  }
  if (++key_ == rows_[row_].size()) {
    key_ = 0;
    if (++passes_ == kPassesBeforeRows) {
      lightRows(now, row_);
      return;
    }
  }
  litSince_ = now;
  litFor_ = step_;
}

std::span<const KeyId> Scanner::lit() const {
  switch (stage_) {
    case Stage::Stopped:
    case Stage::Resting:
      return {};
    case Stage::Rows:
      return rows_[row_];
    case Stage::Keys:
      return std::span(rows_[row_]).subspan(key_, 1);
  }
  return {};
}

std::optional<Millis> Scanner::wakeIn(Instant now) const {
  if (stage_ == Stage::Stopped || stage_ == Stage::Resting) return std::nullopt;
  return delayUntil(litSince_ + litFor_, now);
}

}  // namespace osk::aids
