// The learned words as saved text, and back: a versioned UTF-8 text whose
// closing line counts its entries, so a file cut short anywhere is refused.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "predict/predictor.h"
#include "predict/words.h"

namespace osk {

namespace {

constexpr std::string_view kHeader = "QM-OSK learned words\t1";
constexpr std::string_view kEnd = "end";
// Editors and sync tools on Windows may put one at the start of the file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Faded counts above this are not ones this program writes.
constexpr double kMaxSavedCount = 1e9;

using predict::fold;
using predict::isWord;

std::string formatCount(double value) {
  std::array<char, 32> buf{};
  const auto [ptr, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 6);
  return ec == std::errc() ? std::string(buf.data(), ptr) : std::string("0");
}

bool parseCount(std::string_view text, double& out) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(out) && out > 0 &&
         out <= kMaxSavedCount;
}

bool parseIndex(std::string_view text, std::size_t limit, std::size_t& out) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size() && out < limit;
}

// The line at the start of `text`, taken off it, without its LF or CR LF;
// nothing when the text ends inside the line.
std::optional<std::string_view> takeLine(std::string_view& text) {
  const std::size_t nl = text.find('\n');
  if (nl == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(0, nl);
  text.remove_prefix(nl + 1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  for (;;) {
    const std::size_t tab = line.find('\t');
    out.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return out;
    line.remove_prefix(tab + 1);
  }
}

}  // namespace

// ---- the saved text --------------------------------------------------------
//
//   QM-OSK learned words<TAB>1
//   w<TAB><word><TAB><faded count>             words, numbered from 1
//   p<TAB><word number><TAB><word number><TAB><faded count>
//   end<TAB><number of w and p lines>
//
// A pair's first number is 0 at the start of a sentence. Lines run from the
// highest count down, a pair after both its words; the closing line shows
// that nothing was cut off. A copy that went through a Windows editor or a
// sync tool reads the same: a byte-order mark at the start and CR LF line
// ends are taken as they come, while a CR anywhere else is damage.

std::string Predictor::save(std::size_t maxBytes) const {
  struct Item {
    double count;
    double order;           // a pair goes no earlier than its words
    std::uint32_t context;  // words_ entry; for a word, the word itself
    std::uint32_t word;
    bool pair;
  };
  const double s = scale();
  std::vector<Item> items;
  items.reserve(index_.size() + pairs_);
  for (const auto& [key, id] : index_)
    items.push_back({words_[id].weight * s, words_[id].weight * s, id, id, false});
  for (std::uint32_t c = 0; c < words_.size(); ++c) {
    for (const Follower& f : words_[c].followers) {
      // A context used before its follower has faded further than the pair.
      double order = std::min(f.weight, words_[f.word].weight);
      if (c != 0) order = std::min(order, static_cast<double>(words_[c].weight));
      items.push_back({f.weight * s, order * s, c, f.word, true});
    }
  }
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    if (a.order != b.order) return a.order > b.order;
    if (a.pair != b.pair) return b.pair;
    return std::pair(a.context, a.word) < std::pair(b.context, b.word);
  });

  std::string out(kHeader);
  out += '\n';
  // Room for the closing line, whatever its count.
  const std::size_t closing = kEnd.size() + 1 + std::numeric_limits<std::size_t>::digits10 + 2;
  std::vector<std::uint32_t> number(words_.size(), 0);
  std::uint32_t written = 0;
  std::uint32_t wordsWritten = 0;
  for (const Item& item : items) {
    std::string line;
    if (item.pair) {
      if ((item.context != 0 && number[item.context] == 0) || number[item.word] == 0) continue;
      line = "p\t" + std::to_string(number[item.context]) + '\t' + std::to_string(number[item.word]);
    } else {
      line = "w\t" + words_[item.word].form;
    }
    const double count = std::min(item.count, kMaxSavedCount);
    line += '\t' + formatCount(count) + '\n';
    if (!(count > 0) || out.size() + line.size() + closing > maxBytes) continue;
    out += line;
    ++written;
    if (!item.pair) number[item.word] = ++wordsWritten;
  }
  out += std::string(kEnd) + '\t' + std::to_string(written) + '\n';
  return out;
}

// One "w" or "p" line of a saved text into this (empty) predictor; false
// when it is damaged. `ids` maps word numbers to entries.
bool Predictor::loadLine(const std::vector<std::string_view>& f, std::vector<std::uint32_t>& ids) {
  double count = 0;
  if (f[0] == "w" && f.size() == 3) {
    const std::string key = fold(f[1]);
    if (!isWord(f[1]) || findWord(key) != 0 || !parseCount(f[2], count)) return false;
    const std::uint32_t id = wordId(key, f[1]);
    words_[id].weight = static_cast<float>(count);
    total_ += static_cast<float>(count);
    ids.push_back(id);
    return true;
  }
  std::size_t a = 0;
  std::size_t b = 0;
  if (f[0] != "p" || f.size() != 4 || !parseIndex(f[1], ids.size(), a) || !parseIndex(f[2], ids.size(), b) ||
      b == 0 || !parseCount(f[3], count))
    return false;
  Learned& ctx = words_[ids[a]];
  const std::uint32_t id = ids[b];
  if (std::any_of(ctx.followers.begin(), ctx.followers.end(),
                  [&](const Follower& x) { return x.word == id; }))
    return false;
  ctx.followers.push_back({id, static_cast<float>(count)});
  ctx.followersWeight += static_cast<float>(count);
  ++pairs_;
  return true;
}

bool Predictor::load(std::string_view text) {
  forget();
  Predictor loaded;
  std::vector<std::uint32_t> ids{0};  // word number -> entry
  std::size_t lines = 0;
  bool ended = false;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (takeLine(text) != kHeader) return false;
  while (!text.empty()) {
    const std::optional<std::string_view> line = takeLine(text);
    if (!line) return false;  // cut off inside a line
    if (ended) return false;
    const std::vector<std::string_view> f = fields(*line);
    if (f[0] == "w" || f[0] == "p") {
      if (!loaded.loadLine(f, ids)) return false;
    } else if (f[0] == kEnd && f.size() == 2) {
      std::size_t n = 0;
      if (!parseIndex(f[1], std::numeric_limits<std::size_t>::max(), n) || n != lines) return false;
      ended = true;
      continue;
    } else {
      return false;
    }
    ++lines;
  }
  if (!ended) return false;
  *this = std::move(loaded);
  if (index_.size() > kMaxLearnedWords || pairs_ > kMaxLearnedPairs) prune();
  return true;
}

}  // namespace osk
