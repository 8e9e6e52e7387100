// The built-in word pairs (data/pairs-en.tsv), read from their text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "predict/words.h"

namespace osk {

// Each context (a list word, two list words in a row, or the start of a
// sentence) has its commonest followers with their counts, and the counts of the text they came from
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
    std::uint32_t before = 0;  // for two words, the first's list entry + 1; else 0
    std::uint32_t key = 0;     // list entry + 1; 0 for the start of a sentence
    double total = 0;
    double kinds = 0;
    std::uint32_t first = 0;  // its followers in followers_
    std::uint32_t end = 0;
  };

  PairTable(std::span<const std::string_view> chunks, const FindWord& find);

  // The context of a list entry (-1: the start of a sentence); nothing when
  // the table has no pairs for it.
  const Context* find(std::int64_t listEntry) const {
    return lookup(0, static_cast<std::uint32_t>(listEntry + 1));
  }
  // The context of two list entries in a row; nothing when the table has no
  // words after them.
  const Context* find(std::uint32_t first, std::uint32_t second) const {
    return lookup(std::uint64_t{first} + 1, second + 1);
  }
  // In the order of their list entries.
  std::span<const Follower> followers(const Context& c) const {
    return std::span(followers_).subspan(c.first, c.end - c.first);
  }
  // The pair of a context and a list entry; nothing when the table lacks it.
  // A common word has a thousand followers, and this is asked for every
  // word the user's own pairs offer.
  const Follower* follower(const Context& c, std::uint32_t listEntry) const {
    const std::span<const Follower> all = followers(c);
    const auto it = std::lower_bound(all.begin(), all.end(), listEntry,
                                     [](const Follower& f, std::uint32_t w) { return f.word < w; });
    return it != all.end() && it->word == listEntry ? &*it : nullptr;
  }
  std::size_t size() const {
    std::size_t n = 0;
    for (const Context& c : contexts_) n += c.end - c.first;
    return n;
  }

 private:
  // A line of the table; a context's line opens it (openFirst_ is its first
  // word), a follower's line goes to the context open.
  void readLine(const FindWord& find, std::string_view line);
  const Context* lookup(std::uint64_t before, std::uint32_t key) const {
    const std::uint64_t k = (before << 32U) | key;
    const auto it = std::lower_bound(contexts_.begin(), contexts_.end(), k,
                                     [](const Context& c, std::uint64_t x) { return order(c) < x; });
    return it != contexts_.end() && order(*it) == k ? &*it : nullptr;
  }
  static std::uint64_t order(const Context& c) { return (std::uint64_t{c.before} << 32U) | c.key; }
  bool startContext(const FindWord& find, std::string_view first, std::string_view numbers);

  std::string_view openFirst_;
  bool open_ = false;              // the last context read is in contexts_
  std::vector<Context> contexts_;  // by key once read
  std::vector<Follower> followers_;
};

}  // namespace osk
