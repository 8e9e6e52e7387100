#include "predict/builtin_list.h"

#include <array>
#include <charconv>
#include <system_error>

#include "predict/builtin_words.h"

namespace osk::predict {

namespace {

// The list leaves out one-letter words; "I" and "a" are among the most
// common of all, so they are added with counts of the order of "to" and
// "and".
struct ExtraWord {
  std::string_view form;
  std::uint32_t count;
};
constexpr std::array kExtraWords{ExtraWord{"I", 80000}, ExtraWord{"a", 75000}};

}  // namespace

void BuiltinList::addLines(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    const std::string_view form = line.substr(0, tab);
    const std::string_view digits = line.substr(tab + 1);
    std::uint32_t count = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    // Entries we could never offer (digits, hyphens) only take room.
    if (ec != std::errc() || ptr != digits.data() + digits.size() || count == 0 || !isWord(form)) continue;
    add(form, count);
  }
}

BuiltinList::BuiltinList() {
  entries_.reserve(predict::builtinWordLines() + predict::builtinRareWordLines() + kExtraWords.size());
  for (const ExtraWord& extra : kExtraWords) add(extra.form, extra.count);
  for (const auto chunks : {predict::builtinWordChunks(), predict::builtinRareWordChunks()}) {
    for (std::string_view chunk : chunks) addLines(chunk);
  }
  // Most common first, as the list is; the two added words go in their place.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.count > b.count; });
  byKey_.resize(entries_.size());
  for (std::uint32_t i = 0; i < byKey_.size(); ++i) byKey_[i] = i;
  std::sort(byKey_.begin(), byKey_.end(),
            [&](std::uint32_t a, std::uint32_t b) { return key(a) != key(b) ? key(a) < key(b) : a < b; });
  // The list holds a few words twice; each is kept once, in the place and
  // spelling of its more common entry, with both counts.
  std::size_t kept = 0;
  for (const std::uint32_t i : std::vector<std::uint32_t>(byKey_)) {
    if (kept > 0 && key(byKey_[kept - 1]) == key(i)) {
      entries_[byKey_[kept - 1]].count += entries_[i].count;
      entries_[i].count = 0;
      continue;
    }
    byKey_[kept++] = i;
  }
  byKey_.resize(kept);
  for (const Entry& e : entries_) total_ += e.count;
}

const BuiltinList& builtin() {
  static const BuiltinList list;
  return list;
}

}  // namespace osk::predict
