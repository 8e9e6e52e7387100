// The built-in word pairs (data/pairs-en.tsv), read from their text.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

#include "predict/words.h"

namespace osk {

// Each context (a list word, or the start of a sentence) has its commonest
// followers with their counts, and the counts of the text they came from
// before pruning: how often the word was followed at all, and by how many
// different words. A line that does not read is left out, and so is a word
// the list does not have: what remains still counts.
class PairTable {
 public:
  // The list entry of a folded word; -1 when the list lacks it.
  using FindWord = std::function<std::int32_t(std::string_view)>;

  struct Follower {
    std::uint32_t word;  // list entry
    std::uint32_t count;
  };
  struct Context {
    std::uint32_t key = 0;  // list entry + 1; 0 for the start of a sentence
    double total = 0;
    double kinds = 0;
    std::uint32_t first = 0;  // its followers in followers_
    std::uint32_t end = 0;
  };

  PairTable(std::span<const std::string_view> chunks, const FindWord& find) {
    bool open = false;  // the last context read is in contexts_
    std::string_view openFirst;
    for (std::string_view chunk : chunks) {
      while (!chunk.empty()) {
        const std::size_t nl = chunk.find('\n');
        const std::string_view line = chunk.substr(0, nl);
        chunk.remove_prefix(nl == std::string_view::npos ? chunk.size() : nl + 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        const std::string_view first = line.substr(0, tab);
        const std::string_view rest = line.substr(tab + 1);
        const std::size_t tab2 = rest.find('\t');
        if (tab2 == std::string_view::npos) continue;
        const std::string_view second = rest.substr(0, tab2);
        const std::string_view numbers = rest.substr(tab2 + 1);
        if (second.empty()) {
          open = startContext(find, first, numbers);
          openFirst = first;
          continue;
        }
        std::uint32_t count = 0;
        if (!open || !number(numbers, count) || count == 0 || !predict::isWord(second)) continue;
        // A follower of another context than the one open is damage.
        if (first != openFirst) continue;
        Context& ctx = contexts_.back();
        const std::int32_t b = find(predict::fold(second));
        if (b < 0 || static_cast<double>(count) > ctx.total) continue;
        followers_.push_back({static_cast<std::uint32_t>(b), count});
        ctx.end = static_cast<std::uint32_t>(followers_.size());
      }
    }
    followers_.shrink_to_fit();
    std::erase_if(contexts_, [](const Context& c) { return c.first == c.end; });
    std::sort(contexts_.begin(), contexts_.end(),
              [](const Context& a, const Context& b) { return a.key < b.key; });
    // A context given twice keeps its first.
    contexts_.erase(std::unique(contexts_.begin(), contexts_.end(),
                                [](const Context& a, const Context& b) { return a.key == b.key; }),
                    contexts_.end());
  }

  // The context of a list entry (-1: the start of a sentence); nothing when
  // the table has no pairs for it.
  const Context* find(std::int64_t listEntry) const {
    const auto key = static_cast<std::uint32_t>(listEntry + 1);
    const auto it = std::lower_bound(contexts_.begin(), contexts_.end(), key,
                                     [](const Context& c, std::uint32_t k) { return c.key < k; });
    return it != contexts_.end() && it->key == key ? &*it : nullptr;
  }
  std::span<const Follower> followers(const Context& c) const {
    return std::span(followers_).subspan(c.first, c.end - c.first);
  }
  std::size_t size() const {
    std::size_t n = 0;
    for (const Context& c : contexts_) n += c.end - c.first;
    return n;
  }

 private:
  static bool number(std::string_view text, std::uint32_t& out) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size();
  }
  // 0 for the start of a sentence, list entry + 1 for a word, and an
  // impossible key for a word the list lacks.
  static std::uint32_t keyOf(const FindWord& find, std::string_view first) {
    if (first.empty()) return 0;
    if (!predict::isWord(first)) return std::numeric_limits<std::uint32_t>::max();
    const std::int32_t b = find(predict::fold(first));
    return b < 0 ? std::numeric_limits<std::uint32_t>::max() : static_cast<std::uint32_t>(b) + 1;
  }
  bool startContext(const FindWord& find, std::string_view first, std::string_view numbers) {
    const std::size_t tab = numbers.find('\t');
    std::uint32_t total = 0;
    std::uint32_t kinds = 0;
    if (tab == std::string_view::npos || !number(numbers.substr(0, tab), total) ||
        !number(numbers.substr(tab + 1), kinds) || total == 0 || kinds == 0 || kinds > total)
      return false;
    const std::uint32_t key = keyOf(find, first);
    if (key == std::numeric_limits<std::uint32_t>::max()) return false;
    const auto at = static_cast<std::uint32_t>(followers_.size());
    contexts_.push_back({key, static_cast<double>(total), static_cast<double>(kinds), at, at});
    return true;
  }

  std::vector<Context> contexts_;  // by key once read
  std::vector<Follower> followers_;
};

}  // namespace osk
