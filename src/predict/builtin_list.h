// The word list built into the program, loaded at its first use.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "predict/words.h"

namespace osk::predict {

class BuiltinList {
 public:
  BuiltinList();

  std::size_t size() const { return entries_.size(); }
  std::string_view key(std::uint32_t i) const {
    return std::string_view(folded_).substr(entries_[i].key, entries_[i].keyLen);
  }
  std::string_view form(std::uint32_t i) const { return {entries_[i].form, entries_[i].formLen}; }
  // Share of all the list's words; 0 for a second entry of a word.
  double probability(std::uint32_t i) const { return entries_[i].count / total_; }

  // Entries in order of key, from the first that begins with `folded`.
  std::span<const std::uint32_t> withPrefix(std::string_view folded) const {
    const auto first = std::lower_bound(byKey_.begin(), byKey_.end(), folded,
                                        [&](std::uint32_t i, std::string_view p) { return key(i) < p; });
    const auto last = std::partition_point(first, byKey_.end(),
                                           [&](std::uint32_t i) { return key(i).starts_with(folded); });
    return {first, last};
  }

  std::int32_t find(std::string_view folded) const {
    const auto range = withPrefix(folded);
    if (range.empty() || key(range.front()) != folded) return -1;
    return static_cast<std::int32_t>(range.front());
  }

  std::size_t bytes() const {
    return folded_.capacity() + entries_.capacity() * sizeof(Entry) +
           byKey_.capacity() * sizeof(std::uint32_t);
  }

 private:
  // "word<TAB>count" lines.
  void addLines(std::string_view text);
  void add(std::string_view form, std::uint32_t count) {
    const std::string key = fold(form);
    entries_.push_back({form.data(), static_cast<std::uint32_t>(folded_.size()),
                        static_cast<std::uint8_t>(key.size()), static_cast<std::uint8_t>(form.size()),
                        count});
    folded_ += key;
  }

  struct Entry {
    const char* form;  // in the program's own text of the list
    std::uint32_t key;
    std::uint8_t keyLen, formLen;
    std::uint32_t count;
  };
  std::string folded_;
  std::vector<Entry> entries_;  // most common first
  std::vector<std::uint32_t> byKey_;
  double total_ = 0;
};

// Built on first use, so that a keyboard with prediction off never pays
// for it, and shared by every predictor.
const BuiltinList& builtin();

}  // namespace osk::predict
