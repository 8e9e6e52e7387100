#include "predict/pair_table.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <system_error>
#include <utility>

namespace osk {

namespace {

bool number(std::string_view text, std::uint32_t& out) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

constexpr std::uint32_t kNoKey = std::numeric_limits<std::uint32_t>::max();

// 0 for the start of a sentence, list entry + 1 for a word, and kNoKey for
// a word the list lacks.
std::uint32_t keyOf(const PairTable::FindWord& find, std::string_view first) {
  if (first.empty()) return 0;
  if (!predict::isWord(first)) return kNoKey;
  const std::int32_t b = find(predict::fold(first));
  return b < 0 ? kNoKey : static_cast<std::uint32_t>(b) + 1;
}

// The two keys of a context of one word ("the": 0 and its key) or of two
// ("of the"); kNoKey in either when a word is not in the list.
std::pair<std::uint32_t, std::uint32_t> keysOf(const PairTable::FindWord& find, std::string_view first) {
  const std::size_t space = first.find(' ');
  if (space == std::string_view::npos) return {0, keyOf(find, first)};
  const std::string_view one = first.substr(0, space);
  const std::string_view two = first.substr(space + 1);
  if (one.empty() || two.empty()) return {kNoKey, kNoKey};
  return {keyOf(find, one), keyOf(find, two)};
}

}  // namespace

PairTable::PairTable(std::span<const std::string_view> chunks, const FindWord& find) {
  for (std::string_view chunk : chunks) {
    while (!chunk.empty()) {
      const std::size_t nl = chunk.find('\n');
      readLine(find, chunk.substr(0, nl));
      chunk.remove_prefix(nl == std::string_view::npos ? chunk.size() : nl + 1);
    }
  }
  // It points into the text, which may go once the table is read.
  openFirst_ = {};
  std::erase_if(contexts_, [](const Context& c) { return c.first == c.end; });
  std::stable_sort(contexts_.begin(), contexts_.end(),
                   [](const Context& a, const Context& b) { return order(a) < order(b); });
  contexts_.erase(std::unique(contexts_.begin(), contexts_.end(),
                              [](const Context& a, const Context& b) { return order(a) == order(b); }),
                  contexts_.end());
  // Each context's followers by list entry, for looking one up; a follower
  // given twice keeps its first.
  std::vector<Follower> sorted;
  sorted.reserve(followers_.size());
  for (Context& c : contexts_) {
    const auto first = followers_.begin() + c.first;
    const auto end = followers_.begin() + c.end;
    std::stable_sort(first, end, [](const Follower& a, const Follower& b) { return a.word < b.word; });
    c.first = static_cast<std::uint32_t>(sorted.size());
    std::unique_copy(first, end, std::back_inserter(sorted),
                     [](const Follower& a, const Follower& b) { return a.word == b.word; });
    c.end = static_cast<std::uint32_t>(sorted.size());
  }
  followers_ = std::move(sorted);
}

void PairTable::readLine(const FindWord& find, std::string_view line) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return;
  const std::string_view first = line.substr(0, tab);
  const std::string_view rest = line.substr(tab + 1);
  const std::size_t tab2 = rest.find('\t');
  if (tab2 == std::string_view::npos) return;
  const std::string_view second = rest.substr(0, tab2);
  const std::string_view numbers = rest.substr(tab2 + 1);
  if (second.empty()) {
    open_ = startContext(find, first, numbers);
    openFirst_ = first;
    return;
  }
  std::uint32_t count = 0;
  // A follower belongs to the context open (named, or left blank); one of
  // another context is damage.
  if (!open_ || (!first.empty() && first != openFirst_) || !number(numbers, count) || count == 0 ||
      !predict::isWord(second))
    return;
  Context& ctx = contexts_.back();
  const std::int32_t b = find(predict::fold(second));
  if (b < 0 || static_cast<double>(count) > ctx.total) return;
  followers_.push_back({static_cast<std::uint32_t>(b), count});
  ctx.end = static_cast<std::uint32_t>(followers_.size());
}

bool PairTable::startContext(const FindWord& find, std::string_view first, std::string_view numbers) {
  const std::size_t tab = numbers.find('\t');
  std::uint32_t total = 0;
  std::uint32_t kinds = 0;
  if (tab == std::string_view::npos || !number(numbers.substr(0, tab), total) ||
      !number(numbers.substr(tab + 1), kinds) || total == 0 || kinds == 0 || kinds > total)
    return false;
  const auto [before, key] = keysOf(find, first);
  if (before == kNoKey || key == kNoKey) return false;
  const auto at = static_cast<std::uint32_t>(followers_.size());
  contexts_.push_back({before, key, static_cast<double>(total), static_cast<double>(kinds), at, at});
  return true;
}

}  // namespace osk
